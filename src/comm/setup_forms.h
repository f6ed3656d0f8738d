#pragma once
// The two communication setup windows: empty tool windows that lock the main
// window while one of them is shown.
#include <QWidget>
#include <memory>

namespace Ui {
class TSetupForm1;
class TSetupForm2;
} // namespace Ui

// Shared behaviour: centred and on top; showing disables the main window, closing enables it.
class LockingToolWindow : public QWidget {
    Q_OBJECT

public:
    explicit LockingToolWindow(QWidget *mainWindow);

    void FormShow();
    void FormClose();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *mainWindow;
};

class TSetupForm1 : public LockingToolWindow {
    Q_OBJECT

public:
    explicit TSetupForm1(QWidget *mainWindow);
    ~TSetupForm1() override;

private:
    std::unique_ptr<Ui::TSetupForm1> ui;
};

class TSetupForm2 : public LockingToolWindow {
    Q_OBJECT

public:
    explicit TSetupForm2(QWidget *mainWindow);
    ~TSetupForm2() override;

private:
    std::unique_ptr<Ui::TSetupForm2> ui;
};
