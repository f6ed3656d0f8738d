#include "toolkit/locking_window.h"

#include <QScreen>
#include <QShowEvent>
#include <QStyle>

namespace toolkit {

LockingWindow::LockingWindow(QWidget *mainWindow, Qt::WindowFlags flags)
    : QWidget(nullptr, flags), mainWindow(mainWindow)
{
}

void LockingWindow::FormShow() { mainWindow->setEnabled(false); }

void LockingWindow::FormClose() { mainWindow->setEnabled(true); }

// Only a show by the program: the window manager restoring the window from
// minimised sends a spontaneous show, which must neither move nor reload it.
void LockingWindow::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen()->availableGeometry()));
        FormShow();
    }
    QWidget::showEvent(event);
}

void LockingWindow::closeEvent(QCloseEvent *event)
{
    FormClose();
    QWidget::closeEvent(event);
}

} // namespace toolkit
