#pragma once
// A window that behaves like a modal one although it is shown modelessly: it
// appears centred on the screen, disables the main window while it is shown and
// enables it again however it is closed. It is hidden, not destroyed, on closing.
#include <QWidget>

namespace toolkit {

class LockingWindow : public QWidget {
    Q_OBJECT

public:
    LockingWindow(QWidget *mainWindow, Qt::WindowFlags flags);

    virtual void FormShow();
    virtual void FormClose();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

    QWidget *const mainWindow;
};

} // namespace toolkit
