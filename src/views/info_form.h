#pragma once
// The info window: shows info.htm from the program directory, reloaded at every
// showing, and locks the main window while it is open.
#include "views/locking_window.h"

#include <memory>

namespace Ui {
class TInfoForm1;
}
class TForm1;

class TInfoForm1 : public LockingWindow {
    Q_OBJECT

public:
    explicit TInfoForm1(TForm1 *mainWindow);
    ~TInfoForm1() override;

    void FormShow() override;
    void btnOKClick();

private:
    std::unique_ptr<Ui::TInfoForm1> ui;
    QString programDir;
};
