#include "drive/manual_drive.h"

#include "drive/drive_command.h"
#include "drive/fahrwerk.h"
#include "platform/game_controller.h"
#include "toolkit/companion_windows.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QWidget>
#include <algorithm>

namespace drive {

namespace {

struct DriveKey {
    Qt::Key key;
    ManualDrive::Action action;
    const char *name;
};

const DriveKey kKeys[] = {
    {Qt::Key_W, ManualDrive::Action::Forward, "W"},    {Qt::Key_S, ManualDrive::Action::Backward, "S"},
    {Qt::Key_A, ManualDrive::Action::SharpLeft, "A"},  {Qt::Key_D, ManualDrive::Action::SharpRight, "D"},
    {Qt::Key_H, ManualDrive::Action::Horn, "H"},       {Qt::Key_Space, ManualDrive::Action::Stop, QT_TRANSLATE_NOOP("drive::ManualDrive", "Leertaste")},
};

DriveCommand::Turn turnOf(ManualDrive::Action action)
{
    return action == ManualDrive::Action::SharpLeft ? DriveCommand::Turn::Left : DriveCommand::Turn::Right;
}

std::optional<ManualDrive::Action> actionOf(int key)
{
    for (const DriveKey &driveKey : kKeys)
        if (driveKey.key == key)
            return driveKey.action;
    return std::nullopt;
}

// Widgets that take typed text (line edits, spin boxes, editable text, a web
// page's input field) and drop-downs keep every key, a button its space key.
// A slider's own keys are none of the driving keys.
bool keepsKey(const QWidget &widget, int key)
{
    return widget.testAttribute(Qt::WA_InputMethodEnabled) || qobject_cast<const QComboBox *>(&widget) ||
           (key == Qt::Key_Space && qobject_cast<const QAbstractButton *>(&widget));
}

const char *const kWindowsLeft = QT_TRANSLATE_NOOP("drive::ManualDrive", "kein Fenster des Programms ist mehr aktiv");
const char *const kWindowChanged = QT_TRANSLATE_NOOP("drive::ManualDrive", "ein anderes Fenster wurde aktiv");
const char *const kLinkGone = QT_TRANSLATE_NOOP("drive::ManualDrive", "Verbindung 2 (Fahrwerk) getrennt");

} // namespace

QString ManualDrive::keyName(Action action)
{
    for (const DriveKey &driveKey : kKeys)
        if (driveKey.action == action)
            return tr(driveKey.name);
    return {};
}

ManualDrive::ManualDrive(DriveCommand &command, platform::GameController &pad,
                         const toolkit::CompanionWindows &windows, QObject *parent)
    : QObject(parent), command(command), pad(pad), windows(windows)
{
    // Keys go to the focused control first, so its events are watched too: the
    // active window's (keys no control took) and the focused one's.
    if (windows.contains(QApplication::activeWindow()))
        activeWindowChanged(QApplication::activeWindow());
    followFocus(nullptr, QApplication::focusWidget());
    connect(qApp, &QApplication::focusChanged, this, &ManualDrive::followFocus);
    connect(&windows, &toolkit::CompanionWindows::activeWindowChanged, this, &ManualDrive::activeWindowChanged);
    connect(&pad, &platform::GameController::padChanged, this, &ManualDrive::padChanged);
    connect(&pad, &platform::GameController::stateChanged, this, &ManualDrive::padStateChanged);
    showState();
}

void ManualDrive::setLinkOpen(bool open)
{
    if (open == linkOpen)
        return;
    linkOpen = open;
    actingChanged(tr(kLinkGone));
}

void ManualDrive::setPadTaken(bool taken)
{
    if (taken == padTaken)
        return;
    padTaken = taken;
    if (taken)
        letGoOfPad(tr("das Gamepad bewegt den Greifarm"));
    else
        takeUpPad();
    showState();
}

// Between the windows a held key's release may go astray: it ends at once.
void ManualDrive::activeWindowChanged(QWidget *window)
{
    if (window)
        window->installEventFilter(this);
    const bool wasActing = acting();
    const bool changedWithin = activeWindow && window;
    activeWindow = window;
    if (changedWithin)
        letGoOfKeys(tr(kWindowChanged));
    if (acting() != wasActing)
        actingChanged(tr(kWindowsLeft));
    showState();
}

void ManualDrive::actingChanged(const QString &endedBecause)
{
    if (acting()) {
        stopReason.clear();
        takeUpPad();
    } else {
        letGoOfPad(endedBecause);
        letGoOfKeys(endedBecause);
    }
    showState();
}

// A new dead zone applies from the next reading; a changed rule is taken up afresh.
void ManualDrive::setPadSettings(const PadSettings &settings)
{
    const bool ruleChanged = settings.deadMan != padDrive.settings().deadMan;
    if (ruleChanged)
        letGoOfPad(tr("Totmannschalter umgestellt"));
    padDrive.setSettings(settings);
    if (ruleChanged)
        takeUpPad();
    showState();
}

void ManualDrive::setKeySpeed(int percent) { keySpeedPercent = std::clamp(percent, kKeySpeedMin, kKeySpeedMax); }

void ManualDrive::padChanged(const QString &name)
{
    if (name.isEmpty())
        letGoOfPad(tr("Gamepad abgezogen"));
    else
        takeUpPad();
    showState();
}

void ManualDrive::padStateChanged(const platform::PadState &reading)
{
    if (acting() && !padTaken)
        apply(padDrive.next(reading));
}

void ManualDrive::apply(const PadIntent &intent)
{
    if (intent.stop == PadIntent::Stop::Button)
        stopBecause(tr("Stopp-Knopf B"));
    else if (intent.stop == PadIntent::Stop::DeadMan)
        stopBecause(tr("Totmannschalter losgelassen"));
    if (intent.horn != padHorn) {
        padHorn = intent.horn;
        command.setHorn(padHorn);
    }
    if (intent.driving) {
        stopReason.clear();
        command.setDirection(intent.richtung);
        command.setSpeed(intent.speed);
        command.setSteering(intent.steering);
    }
    showState();
}

void ManualDrive::takeUpPad()
{
    padDrive.disarm();
    if (acting() && !padTaken && !pad.padName().isEmpty())
        apply(padDrive.next(pad.state()));
}

void ManualDrive::letGoOfPad(const QString &why)
{
    const bool moving = padDrive.armed();
    padDrive.disarm();
    if (padHorn) {
        padHorn = false;
        command.setHorn(false);
    }
    if (moving)
        stopBecause(why);
}

void ManualDrive::followFocus(QWidget *old, QWidget *now)
{
    if (old && !windows.contains(old))
        old->removeEventFilter(this);
    if (now)
        now->installEventFilter(this);
}

bool ManualDrive::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    const auto *receiver = qobject_cast<const QWidget *>(watched);
    return receiver && windows.contains(receiver->window()) && takeKey(*receiver, *static_cast<QKeyEvent *>(event));
}

// A held key's repeats and release are taken wherever the focus went since.
bool ManualDrive::takeKey(const QWidget &receiver, const QKeyEvent &key)
{
    const std::optional<Action> action = actionOf(key.key());
    if (!action)
        return false;
    const bool held = heldKeys.count(*action) > 0;
    if (key.type() == QEvent::KeyRelease) {
        if (held && !key.isAutoRepeat())
            endKey(*action);
        return held;
    }
    if (held)
        return true;
    // A key the focused control ignored comes by again on its way to the window.
    const QWidget *focus = QApplication::focusWidget();
    const bool combined = key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (!acting() || combined || keepsKey(focus ? *focus : receiver, key.key()))
        return false;
    if (!key.isAutoRepeat())
        startKey(*action);
    return true;
}

void ManualDrive::startKey(Action action)
{
    heldKeys.insert(action);
    switch (action) {
    case Action::Forward:
    case Action::Backward:
        directionKey = action;
        stopReason.clear();
        if (spotTurn) {
            spotTurn = false;
            command.startSharpTurn(turnOf(*turnKey));
        }
        startMoving(action == Action::Forward ? 'v' : 'r');
        break;
    case Action::SharpLeft:
    case Action::SharpRight:
        turnKey = action;
        if (!directionKey && (spotTurn || command.direction() == 's' || command.speed() == 0))
            turnOnTheSpot(action);
        else
            command.startSharpTurn(turnOf(action));
        break;
    case Action::Horn:
        command.setHorn(true);
        break;
    case Action::Stop:
        directionKey.reset();
        spotTurn = false;
        keySetSpeed.reset();
        command.stop();
        break;
    }
    showState();
}

void ManualDrive::endKey(Action action)
{
    heldKeys.erase(action);
    if (action == directionKey) {
        directionKey.reset();
        endMoving();
        // A turn key still held is now one held at a standstill.
        if (turnKey) {
            command.endSharpTurn();
            turnOnTheSpot(*turnKey);
        }
    } else if (action == turnKey) {
        turnKey.reset();
        if (spotTurn) {
            spotTurn = false;
            endMoving();
        } else {
            command.endSharpTurn();
        }
    } else if (action == Action::Horn) {
        command.setHorn(false);
    }
    showState();
}

void ManualDrive::startMoving(char richtung)
{
    command.setDirection(richtung);
    if (command.speed() == 0) {
        keySetSpeed = (keySpeedPercent * kFullSpeed + 50) / 100;
        command.setSpeed(*keySetSpeed);
    }
}

void ManualDrive::turnOnTheSpot(Action turn)
{
    spotTurn = true;
    startMoving(turn == Action::SharpLeft ? 'L' : 'R');
}

// A speed changed since on the slider stays.
void ManualDrive::endMoving()
{
    command.setDirection('s');
    if (keySetSpeed && command.speed() == *keySetSpeed)
        command.setSpeed(0);
    keySetSpeed.reset();
}

void ManualDrive::letGoOfKeys(const QString &why)
{
    const bool moving = directionKey || spotTurn;
    // Turn keys first: a turn key that outlived the direction keys would turn on the spot.
    while (!heldKeys.empty())
        endKey(*heldKeys.rbegin());
    if (moving)
        stopBecause(why);
}

void ManualDrive::stopBecause(const QString &why)
{
    command.stop();
    stopReason = why;
}

void ManualDrive::showState()
{
    QString text;
    if (!stopReason.isEmpty())
        text = tr("Angehalten: %1").arg(stopReason);
    else if (padDrive.armed())
        text = tr("Fährt mit dem Gamepad");
    else if (directionKey || spotTurn)
        text = tr("Fährt mit der Tastatur");
    else if (!linkOpen)
        text = tr("Wartet: Verbindung 2 (Fahrwerk) ist nicht verbunden");
    else if (!activeWindow)
        text = tr("Wartet: kein Fenster des Programms ist aktiv");
    else if (!pad.padName().isEmpty() && padDrive.settings().deadMan)
        text = tr("Bereit: zum Fahren den rechten Trigger halten");
    else
        text = tr("Bereit");
    if (text == state)
        return;
    state = text;
    emit stateChanged(state);
}

} // namespace drive
