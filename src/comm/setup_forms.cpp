#include "comm/setup_forms.h"

#include "ui_tsetupform1.h"
#include "ui_tsetupform2.h"
#include "views/centre_on_screen.h"

#include <QCloseEvent>

LockingToolWindow::LockingToolWindow(QWidget *mainWindow)
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint), mainWindow(mainWindow)
{
}

void LockingToolWindow::FormShow() { mainWindow->setEnabled(false); }

void LockingToolWindow::FormClose() { mainWindow->setEnabled(true); }

void LockingToolWindow::showEvent(QShowEvent *event)
{
    centreOnScreen(this);
    FormShow();
    QWidget::showEvent(event);
}

void LockingToolWindow::closeEvent(QCloseEvent *event)
{
    FormClose();
    QWidget::closeEvent(event);
}

TSetupForm1::TSetupForm1(QWidget *mainWindow)
    : LockingToolWindow(mainWindow), ui(std::make_unique<Ui::TSetupForm1>())
{
    ui->setupUi(this);
    setFixedSize(size());
}

TSetupForm1::~TSetupForm1() = default;

TSetupForm2::TSetupForm2(QWidget *mainWindow)
    : LockingToolWindow(mainWindow), ui(std::make_unique<Ui::TSetupForm2>())
{
    ui->setupUi(this);
    setFixedSize(size());
}

TSetupForm2::~TSetupForm2() = default;
