#include "support/file_dialog_answer.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

FileDialogAnswer::FileDialogAnswer(const QString &path) : answer(path)
{
    connect(&poll, &QTimer::timeout, this, &FileDialogAnswer::answerIfOpen);
    poll.start(10);
}

void FileDialogAnswer::answerIfOpen()
{
    // The dialog's own question whether to replace a file that is there: yes.
    auto *question = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (question && handled && question->parent() == handled) {
        question->button(QMessageBox::Yes)->click();
        return;
    }
    auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
    if (!dialog)
        return;
    if (seen) {
        if (dialog == handled) {
            refused = true;
            dialog->reject();
        }
        return;
    }
    seen = true;
    handled = dialog;
    objectName = dialog->objectName();
    directory = dialog->directory().absolutePath();
    nameFilters = dialog->nameFilters();
    defaultSuffix = dialog->defaultSuffix();
    acceptMode = dialog->acceptMode();
    auto *nameField = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    if (answer.isEmpty() || !nameField) {
        refused = !answer.isEmpty();
        dialog->reject();
        return;
    }
    nameField->setText(answer);
    // Queued: a question the dialog asks at Return waits for this poll, which
    // does not fire again while it runs.
    QMetaObject::invokeMethod(
        nameField, [nameField] { QTest::keyClick(nameField, Qt::Key_Return); }, Qt::QueuedConnection);
}
