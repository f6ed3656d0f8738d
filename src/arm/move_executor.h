#pragma once
// Carries out the moves of the gripper in millimetres (arm/straight_move.h)
// through the arm model, for the window "Kinematik", the gamepad and anything
// else that moves the arm by its pose. One move at a time:
//
//   moveTo(pose, speed)   "Anfahren": the tip in a straight line to the pose at
//                         the path speed (mm/s, 1..200), pitch and gripper evenly
//   jog(axis, step, speed) one jog step, the other coordinates held
//   steer(rates)          a jog held at rates (the gamepad) until the rates are
//                         all 0 (then it finishes) or stop()
//   stop(why)             ends the move where the arm is
//
// Each returns (where it can be refused) an empty text when the move set out,
// otherwise why not, for the operator, e.g. "Ziel außerhalb der Reichweite",
// "Schulter: Grenze überschritten", "Ziel unter der Tischebene", "Der Ablauf
// spielt", "Verbindung 1 (Greifarm) ist nicht verbunden"; a refused move sends
// nothing and leaves the arm where it is. The whole path is checked before the
// first piece goes out. A move asked for while one is under way takes over
// from where the arm is then.
//
// Each piece is set on the arm's joints, as a slider sets a joint, and goes out
// at once through the arm timer's group move with the time term T<ms>, at the
// piece's own time rather than with the next 100 ms tick: above 50 mm/s a 5 mm
// piece takes less than a tick. The speed terms chosen in the joint groups are
// left out of these commands (see GroupMove).
//
// The operator wins: any change of a joint's position, speed, limits or channel
// by anything else (a slider, the up/down buttons, park, a step, the player)
// ends the move at once, without a word to the controller. Link 1 going away
// ends it too; a stop for any other reason sends where the arm has got to.
#include "arm/piece_schedule.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>

namespace arm {

class Arm;
class ServoTimer;

// A jog held at rates: mm/s along x, y and z (cylindrical: along the radius,
// the tip's mm/s around the base axis counter-clockwise, and z), °/s of pitch,
// mm/s of the gripper's opening.
struct JogRates {
    double x = 0;
    double y = 0;
    double z = 0;
    double pitch = 0;
    double gripper = 0;
    bool cylindrical = false;

    bool isZero() const { return x == 0 && y == 0 && z == 0 && pitch == 0 && gripper == 0; }
};

class MoveExecutor : public QObject {
    Q_OBJECT

public:
    MoveExecutor(Arm &arm, ServoTimer &armTimer, QObject *parent = nullptr);

    // The arm's profile; a new one (checked with checkProfile) ends a move under way.
    const ArmProfile &profile() const { return armProfile; }
    void setProfile(const ArmProfile &profile);
    // The profile within the joints' present travel limits.
    Kinematics kinematics() const;
    // The joints as commanded (the last piece sent, not where the servos are yet).
    CommandPulses commandedPulses() const;
    Pose commandedPose() const;

    // Link 1 is open; moves are refused while it is not, and end when it goes.
    void setLinkOpen(bool open);
    // Asked before each move: while the motion-set player plays, moves are refused.
    void setPlayerCheck(std::function<bool()> playerPlaying);

    platform::UiText moveTo(const Pose &target, double speed);
    platform::UiText jog(JogAxis axis, double step, double speed);
    platform::UiText steer(const JogRates &rates);
    // An empty why stops without telling (the held jog's rates went to 0).
    void stop(const platform::UiText &why);

    bool isMoving() const { return moving; }
    bool isHeldJog() const { return heldRates.has_value(); }
    // How long the move under way has to go until it arrives, ms; 0 when none is.
    int remainingMs() const;
    // Where the move under way goes: its target, or the end of the stretch
    // planned for a held jog.
    std::optional<Pose> target() const;

signals:
    void started(const arm::Pose &target);
    // The move arrived, or a held jog's rates went to 0.
    void finished();
    // The move ended before it arrived: why, e.g. "Stopp", "Schulter wurde
    // anderweitig verstellt", "Verbindung 1 (Greifarm) getrennt".
    void stopped(const platform::UiText &why);
    // A move was refused (also told by the call's result).
    void refused(const platform::UiText &why);
    void profileChanged();

private:
    Millis now() const { return clock.elapsed(); }
    platform::UiText refusal() const;
    platform::UiText refuse(const platform::UiText &why);
    // Sets out on a plan from `from` (a move under way gives way, unless this
    // is the held jog under way going on at new rates).
    platform::UiText begin(const CommandPulses &from, const MovePlan &plan, const std::optional<Pose> &target,
                           const std::optional<JogRates> &held);
    // A held jog's next stretch from `from`; its plan may be refused.
    MovePlan stretchFrom(const CommandPulses &from, const JogRates &rates) const;
    // Where the arm will be when a command sent now reaches the controller.
    CommandPulses reachedSoon() const;
    void sendDue();
    void setJoints(const CommandPulses &pulses, int timeMs);
    void otherChange(int joint);
    void end();
    void wakeForNext();

    Arm &arm;
    ServoTimer &armTimer;
    ArmProfile armProfile;
    bool linkOpen = false;
    std::function<bool()> playerPlaying;
    PieceSchedule schedule;
    bool moving = false;
    bool settingJoints = false;
    std::optional<Pose> goal;
    std::optional<JogRates> heldRates;
    QElapsedTimer clock;
    QTimer wakeUp;
};

} // namespace arm
