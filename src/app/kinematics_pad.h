#pragma once
// The gamepad jogs the gripper while the window "Kinematik" is the active
// window, instead of driving the chassis: the pad is read as the arm's jog
// (drive::PadJog) under driving's settings (dead zone, dead-man rule), and its
// shares of the window's path speed become the move executor's held jog.
// Letting go of the trigger, leaving the window and unplugging the pad end the
// jog at once, B stops any move; link 1 going ends it in the executor. It lives
// here because it reaches across the arm, the drive and the pad.
#include "drive/pad_jog.h"
#include "platform/uitext.h"

#include <QObject>

namespace arm {
class KinematicsWindow;
class MoveExecutor;
} // namespace arm
namespace drive {
class ManualDrive;
}
namespace platform {
class GameController;
}

namespace app {

class KinematicsPad : public QObject {
public:
    KinematicsPad(platform::GameController &pad, drive::ManualDrive &driving, arm::KinematicsWindow &window,
                  arm::MoveExecutor &executor, QObject *parent);

private:
    void windowActivated(bool active);
    void padChanged(const QString &name);
    void readingChanged(const platform::PadState &reading);
    void endJog(const platform::UiText &why);

    platform::GameController &pad;
    drive::ManualDrive &driving;
    arm::KinematicsWindow &window;
    arm::MoveExecutor &executor;
    drive::PadJog padJog;
    bool taken = false;
};

} // namespace app
