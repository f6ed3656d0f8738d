#pragma once
// The window "Setup: Steuerung": the gamepad in use and its sticks and trigger
// as live bars (painted only while the window is shown), the dead zone and the
// dead-man rule, the key speed, the keys and pad controls as a table, and the
// state line of the driving by pad and keyboard. A companion of the main window
// (toolkit/companion_windows.h); closing it hides it. Its choices are kept in
// velmora.ini.
#include "settings/extension_settings.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QSpinBox;
namespace platform {
class GameController;
struct PadState;
} // namespace platform

namespace drive {

class AxisBar;
class ManualDrive;

class DriveSetupWindow : public QWidget {
    Q_OBJECT

public:
    // The choices stored in velmora.ini are handed to the driving at once.
    DriveSetupWindow(platform::GameController &pad, ManualDrive &driving, const settings::ProgramLocation &files);
    ~DriveSetupWindow() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildTable();
    void restoreChoices();
    void chooseDeadZone(int percent);
    void chooseDeadMan(bool on);
    void chooseKeySpeed(int percent);
    void showPad(const QString &name);
    void showReading(const platform::PadState &reading);

    platform::GameController &pad;
    ManualDrive &driving;
    settings::ExtensionSettings stored;
    QLabel *padLabel;
    AxisBar *steeringBar;
    AxisBar *driveBar;
    AxisBar *triggerBar;
    QSpinBox *deadZone;
    QCheckBox *deadMan;
    QSpinBox *keySpeed;
    QLabel *stateLine;
};

} // namespace drive
