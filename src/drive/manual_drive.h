#pragma once
// Driving the chassis by gamepad or keyboard through the drive command, as the
// drive group's controls do; the group shows it, and the chassis timer sends
// it. Both act only while the main window or one of its companion windows is
// the active window and link 2 is open. When either ends, or the pad is
// unplugged, while they move the chassis, it stops at once, and the state line
// says why; a held key also stops when another of these windows becomes active.
//
// Keys without Ctrl, Alt or Meta, while the focus is not in a text field or a
// drop-down: W / S held drive forward / backward at the speed slider's speed, or
// at the key speed while the slider stands at 0; A / D held turn sharply left /
// right, or at a standstill turn on the spot at that speed; H held sounds the
// horn, space stops. Releasing a key ends what it started (the speed it set
// included); auto-repeat does nothing. The keys taken reach no control, except
// space, which a focused button keeps.
#include "drive/pad_drive.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <optional>
#include <set>

class QKeyEvent;
class QWidget;
namespace platform {
class GameController;
struct PadState;
} // namespace platform
namespace toolkit {
class CompanionWindows;
}

namespace drive {

class DriveCommand;

class ManualDrive : public QObject {
    Q_OBJECT

public:
    enum class Action { Forward, Backward, SharpLeft, SharpRight, Horn, Stop };
    // The key for an action, as the operator reads it.
    static QString keyName(Action action);

    static constexpr int kKeySpeedMin = 10;
    static constexpr int kKeySpeedMax = 100;
    static constexpr int kKeySpeedDefault = 50;

    // Watches which of the windows is active, and the keys of the active one
    // and of whichever control has the focus.
    ManualDrive(DriveCommand &command, platform::GameController &pad, const toolkit::CompanionWindows &windows,
                QObject *parent);

    void setLinkOpen(bool open);
    // While the arm's jog takes the pad, the pad does not drive.
    void setPadTaken(bool taken);
    void setPadSettings(const PadSettings &settings);
    const PadSettings &padSettings() const { return padDrive.settings(); }
    // In percent of full speed, kKeySpeedMin..kKeySpeedMax.
    void setKeySpeed(int percent);
    QString stateText() const { return state; }

signals:
    void stateChanged(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool acting() const { return activeWindow && linkOpen; }
    void activeWindowChanged(QWidget *window);
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
    // W / S or A / D: the key speed while the speed stands at 0.
    void startMoving(char richtung);
    void turnOnTheSpot(Action turn);
    // Back to stop, and to speed 0 if a key set the speed.
    void endMoving();
    void letGoOfKeys(const QString &why);

    void stopBecause(const QString &why);
    void showState();

    DriveCommand &command;
    platform::GameController &pad;
    const toolkit::CompanionWindows &windows;
    PadDrive padDrive;
    bool padHorn = false;
    QPointer<QWidget> activeWindow;
    bool padTaken = false;
    bool linkOpen = false;
    int keySpeedPercent = kKeySpeedDefault;
    std::set<Action> heldKeys;
    // The held key whose direction or turn is in force: a later key takes over.
    std::optional<Action> directionKey;
    std::optional<Action> turnKey;
    // The turn key turns on the spot, not sharply.
    bool spotTurn = false;
    // The speed a key set and will take back.
    std::optional<int> keySetSpeed;
    QString stopReason;
    QString state;
};

} // namespace drive
