#include "app/kinematics_pad.h"

#include "arm/kinematics_window.h"
#include "arm/move_executor.h"
#include "drive/manual_drive.h"
#include "platform/game_controller.h"

namespace app {

KinematicsPad::KinematicsPad(platform::GameController &pad, drive::ManualDrive &driving,
                             arm::KinematicsWindow &window, arm::MoveExecutor &executor, QObject *parent)
    : QObject(parent), pad(pad), driving(driving), window(window), executor(executor)
{
    connect(&window, &arm::KinematicsWindow::activeChanged, this, &KinematicsPad::windowActivated);
    connect(&pad, &platform::GameController::padChanged, this, &KinematicsPad::padChanged);
    connect(&pad, &platform::GameController::stateChanged, this, &KinematicsPad::readingChanged);
}

// A trigger held as the window comes forward must be pressed afresh.
void KinematicsPad::windowActivated(bool active)
{
    if (active == taken)
        return;
    taken = active;
    padJog.disarm();
    driving.setPadTaken(active);
    if (active)
        readingChanged(pad.state());
    else
        endJog(UI_TEXT("app::KinematicsPad", "das Fenster Kinematik ist nicht mehr aktiv"));
}

void KinematicsPad::padChanged(const QString &name)
{
    padJog.disarm();
    if (name.isEmpty())
        endJog(UI_TEXT("app::KinematicsPad", "Gamepad abgezogen"));
}

void KinematicsPad::readingChanged(const platform::PadState &reading)
{
    if (!taken)
        return;
    padJog.setSettings(driving.padSettings());
    const drive::PadJogIntent intent = padJog.next(reading);
    if (intent.stop == drive::PadIntent::Stop::Button)
        executor.stop(UI_TEXT("app::KinematicsPad", "Stopp-Knopf B"));
    else if (intent.stop == drive::PadIntent::Stop::DeadMan)
        endJog(UI_TEXT("app::KinematicsPad", "Totmannschalter losgelassen"));
    if (!intent.jogging)
        return;
    const double speed = window.pathSpeed();
    executor.steer({intent.forward * speed, intent.left * speed, intent.up * speed, intent.pitch * speed,
                    intent.gripper * speed, window.cylindrical()});
}

void KinematicsPad::endJog(const platform::UiText &why)
{
    if (executor.isHeldJog())
        executor.stop(why);
}

} // namespace app
