#pragma once
// Driving the chassis by gamepad or keyboard through the drive command, as the
// drive group's controls do; the group shows it, and the chassis timer sends
// it. Both act only while the main window is the active window and link 2 is
// open. When either ends, or the pad is unplugged, while they move the chassis,
// it stops at once, and the state line says why.
//
// Keys without Ctrl, Alt or Meta, while the focus is not in a text field, a
// drop-down or a slider: W / S held drive forward / backward at the speed
// slider's speed, A / D held turn sharply left / right, H held sounds the horn,
// space stops. Releasing a key ends what it started; auto-repeat does nothing.
// The keys taken reach no control.
#include "drive/pad_drive.h"

#include <QObject>
#include <QString>
#include <optional>
#include <set>

class QKeyEvent;
class QWidget;
namespace platform {
class GameController;
struct PadState;
} // namespace platform

namespace drive {

class DriveCommand;

class ManualDrive : public QObject {
    Q_OBJECT

public:
    enum class Action { Forward, Backward, SharpLeft, SharpRight, Horn, Stop };
    // The key for an action, as the operator reads it.
    static QString keyName(Action action);

    // Watches the main window's activation and the keys of the main window and
    // of whichever control has the focus.
    ManualDrive(DriveCommand &command, platform::GameController &pad, QWidget &mainWindow, QObject *parent);

    void setLinkOpen(bool open);
    // While the arm's jog takes the pad, the pad does not drive.
    void setPadTaken(bool taken);
    void setPadSettings(const PadSettings &settings);
    const PadSettings &padSettings() const { return padDrive.settings(); }
    QString stateText() const { return state; }

signals:
    void stateChanged(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool acting() const { return windowActive && linkOpen; }
    void setWindowActive(bool active);
    void actingChanged(const QString &endedBecause);

    void padChanged(const QString &name);
    void padStateChanged(const platform::PadState &reading);
    void apply(const PadIntent &intent);
    // The pad's next reading arms it only by a fresh press of its trigger.
    void takeUpPad();
    void letGoOfPad(const QString &why);

    void followFocus(QWidget *old, QWidget *now);
    bool takeKey(const QWidget &receiver, const QKeyEvent &key);
    void startKey(Action action);
    void endKey(Action action);
    void letGoOfKeys(const QString &why);

    void stopBecause(const QString &why);
    void showState();

    DriveCommand &command;
    platform::GameController &pad;
    QWidget &mainWindow;
    PadDrive padDrive;
    bool padHorn = false;
    bool padTaken = false;
    bool windowActive = false;
    bool linkOpen = false;
    std::set<Action> heldKeys;
    // The held key whose direction or turn is in force: a later key takes over.
    std::optional<Action> directionKey;
    std::optional<Action> turnKey;
    QString stopReason;
    QString state;
};

} // namespace drive
