#pragma once
// Answers the next file dialog the window opens: notes how it was set up, then
// types the given path into its name field and accepts, or cancels when the path
// is empty; a file that is there is replaced. A dialog that refuses the answer
// is cancelled too, so a test never hangs.
#include <QFileDialog>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>

class FileDialogAnswer : public QObject {
public:
    explicit FileDialogAnswer(const QString &path);

    bool answered() const { return seen && !refused; }

    QString objectName;
    QString directory;
    QStringList nameFilters;
    QString defaultSuffix;
    QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptOpen;

private:
    void answerIfOpen();

    QString answer;
    QTimer poll;
    QPointer<QFileDialog> handled;
    bool seen = false;
    bool refused = false;
};
