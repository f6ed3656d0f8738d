#pragma once
// The info window: shows info.htm, reloaded at every showing, and locks the
// main window while it is open.
#include "toolkit/locking_window.h"

#include <memory>

namespace Ui {
class TInfoForm1;
}
namespace views {

class TInfoForm1 : public toolkit::LockingWindow {
    Q_OBJECT

public:
    // infoPage is the path of info.htm.
    TInfoForm1(QWidget *mainWindow, const QString &infoPage);
    ~TInfoForm1() override;

    void FormShow() override;
    void btnOKClick();

private:
    std::unique_ptr<Ui::TInfoForm1> ui;
    QString infoPage;
};

} // namespace views
