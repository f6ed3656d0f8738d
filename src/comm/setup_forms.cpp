#include "comm/setup_forms.h"

#include "ui_tsetupform1.h"
#include "ui_tsetupform2.h"

namespace comm {

TSetupForm1::TSetupForm1(QWidget *mainWindow)
    : LockingWindow(mainWindow, Qt::Tool | Qt::WindowStaysOnTopHint), ui(std::make_unique<Ui::TSetupForm1>())
{
    ui->setupUi(this);
    setFixedSize(size());
}

TSetupForm1::~TSetupForm1() = default;

TSetupForm2::TSetupForm2(QWidget *mainWindow)
    : LockingWindow(mainWindow, Qt::Tool | Qt::WindowStaysOnTopHint), ui(std::make_unique<Ui::TSetupForm2>())
{
    ui->setupUi(this);
    setFixedSize(size());
}

TSetupForm2::~TSetupForm2() = default;

} // namespace comm
