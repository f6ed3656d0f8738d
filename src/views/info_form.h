#pragma once
// The info window: shows info.htm from the program directory, reloaded at every
// showing, and locks the main window while it is open.
#include <QWidget>
#include <memory>

namespace Ui {
class TInfoForm1;
}
class TForm1;

class TInfoForm1 : public QWidget {
    Q_OBJECT

public:
    explicit TInfoForm1(TForm1 *mainWindow);
    ~TInfoForm1() override;

    void FormShow();
    void FormClose();
    void btnOKClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    std::unique_ptr<Ui::TInfoForm1> ui;
    TForm1 *mainWindow;
};
