#include "views/locking_window.h"

#include <QScreen>
#include <QStyle>

LockingWindow::LockingWindow(QWidget *mainWindow, Qt::WindowFlags flags)
    : QWidget(nullptr, flags), mainWindow(mainWindow)
{
}

void LockingWindow::FormShow() { mainWindow->setEnabled(false); }

void LockingWindow::FormClose() { mainWindow->setEnabled(true); }

void LockingWindow::showEvent(QShowEvent *event)
{
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen()->availableGeometry()));
    FormShow();
    QWidget::showEvent(event);
}

void LockingWindow::closeEvent(QCloseEvent *event)
{
    FormClose();
    QWidget::closeEvent(event);
}
