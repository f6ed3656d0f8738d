#pragma once
// The info window: shows info.htm from the program directory, reloaded at every
// showing, and locks the main window while it is open.
#include "toolkit/locking_window.h"

#include <memory>

namespace Ui {
class TInfoForm1;
}
namespace views {

class TInfoForm1 : public toolkit::LockingWindow {
    Q_OBJECT

public:
    // programDir, with a trailing separator, is where info.htm lies.
    TInfoForm1(QWidget *mainWindow, const QString &programDir);
    ~TInfoForm1() override;

    void FormShow() override;
    void btnOKClick();

private:
    std::unique_ptr<Ui::TInfoForm1> ui;
    QString programDir;
};

} // namespace views
