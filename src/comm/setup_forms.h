#pragma once
// The two communication setup windows: empty tool windows, on top of the others,
// that lock the main window while one of them is shown.
#include "toolkit/locking_window.h"

#include <memory>

namespace Ui {
class TSetupForm1;
class TSetupForm2;
} // namespace Ui

namespace comm {

class TSetupForm1 : public toolkit::LockingWindow {
    Q_OBJECT

public:
    explicit TSetupForm1(QWidget *mainWindow);
    ~TSetupForm1() override;

private:
    std::unique_ptr<Ui::TSetupForm1> ui;
};

class TSetupForm2 : public toolkit::LockingWindow {
    Q_OBJECT

public:
    explicit TSetupForm2(QWidget *mainWindow);
    ~TSetupForm2() override;

private:
    std::unique_ptr<Ui::TSetupForm2> ui;
};

} // namespace comm
