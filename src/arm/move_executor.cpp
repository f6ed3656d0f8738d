#include "arm/move_executor.h"

#include "arm/arm.h"
#include "arm/servo_timer.h"

#include <algorithm>
#include <cmath>

namespace arm {

namespace {

const platform::UiText kPlayerPlaying = UI_TEXT("arm::MoveExecutor", "Der Ablauf spielt");
const platform::UiText kNoLink = UI_TEXT("arm::MoveExecutor", "Verbindung 1 (Greifarm) ist nicht verbunden");
const platform::UiText kLinkGone = UI_TEXT("arm::MoveExecutor", "Verbindung 1 (Greifarm) getrennt");
const platform::UiText kProfileChanged = UI_TEXT("arm::MoveExecutor", "Profil geändert");
const platform::UiText kTakenOver = UI_TEXT("arm::MoveExecutor", "von einer neuen Bewegung abgelöst");

// How long a command may take to reach the controller. A stop, and a move that
// takes over, set out from where the arm will be by then, so it never turns back.
constexpr Millis kCommandLeadMs = 20;
// A held jog is planned a stretch ahead: this long, and at least this far, so
// that whole µs still move the arm at the slowest rates.
constexpr double kStretchSeconds = 0.1;
constexpr double kShortestStretch = 2; // mm, or degrees of pitch

bool sameRates(const JogRates &a, const JogRates &b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z && a.pitch == b.pitch && a.gripper == b.gripper
        && a.cylindrical == b.cylindrical;
}

} // namespace

MoveExecutor::MoveExecutor(Arm &arm, ServoTimer &armTimer, QObject *parent)
    : QObject(parent), arm(arm), armTimer(armTimer), wakeUp(this)
{
    clock.start();
    wakeUp.setSingleShot(true);
    wakeUp.setTimerType(Qt::PreciseTimer);
    connect(&wakeUp, &QTimer::timeout, this, &MoveExecutor::sendDue);
    connect(&arm, &Arm::positionSet, this, &MoveExecutor::otherChange);
    connect(&arm, &Arm::limitsSet, this, &MoveExecutor::otherChange);
    connect(&arm, &Arm::kanalSet, this, &MoveExecutor::otherChange);
    connect(&arm, &Arm::speedSet, this, [this](int joint, int) { otherChange(joint); });
}

void MoveExecutor::setProfile(const ArmProfile &profile)
{
    stop(kProfileChanged);
    armProfile = profile;
    emit profileChanged();
}

Kinematics MoveExecutor::kinematics() const
{
    TravelLimits limits;
    for (int joint = 0; joint < kJoints; ++joint)
        limits[joint] = {arm.joint(joint).getLimitMin(), arm.joint(joint).getLimitMax()};
    return Kinematics(armProfile, limits);
}

int MoveExecutor::remainingMs() const { return moving ? int(std::max<Millis>(0, schedule.lastArrival() - now())) : 0; }

CommandPulses MoveExecutor::commandedPulses() const { return arm.positions(); }

Pose MoveExecutor::commandedPose() const { return kinematics().poseAt(toJointPulses(commandedPulses())); }

void MoveExecutor::setLinkOpen(bool open)
{
    linkOpen = open;
    if (!open && moving) {
        end();
        emit stopped(kLinkGone);
    }
}

void MoveExecutor::setPlayerCheck(std::function<bool()> check) { playerPlaying = std::move(check); }

platform::UiText MoveExecutor::refusal() const
{
    if (playerPlaying && playerPlaying())
        return kPlayerPlaying;
    if (!linkOpen)
        return kNoLink;
    return {};
}

platform::UiText MoveExecutor::refuse(const platform::UiText &why)
{
    emit refused(why);
    return why;
}

platform::UiText MoveExecutor::moveTo(const Pose &target, double speed)
{
    if (const platform::UiText why = refusal(); !why.empty())
        return refuse(why);
    const CommandPulses from = reachedSoon();
    return begin(from, planLine(kinematics(), from, target, speed), target, std::nullopt);
}

platform::UiText MoveExecutor::jog(JogAxis axis, double step, double speed)
{
    if (const platform::UiText why = refusal(); !why.empty())
        return refuse(why);
    const CommandPulses from = reachedSoon();
    return begin(from, planJog(kinematics(), from, axis, step, speed), std::nullopt, std::nullopt);
}

// A held jog is planned a stretch at a time: the next one is planned from the
// end of the last piece as that piece goes out, and new rates take over from
// where the arm is at once. A stretch refused ends the jog there.
platform::UiText MoveExecutor::steer(const JogRates &rates)
{
    if (rates.isZero()) {
        if (heldRates) {
            stop({});
            emit finished();
        }
        return {};
    }
    if (heldRates && sameRates(*heldRates, rates))
        return {};
    if (const platform::UiText why = refusal(); !why.empty())
        return refuse(why);
    const CommandPulses from = reachedSoon();
    const MovePlan plan = stretchFrom(from, rates);
    if (plan.refused() && heldRates) {
        stop(plan.refusal);
        return plan.refusal;
    }
    return begin(from, plan, std::nullopt, rates);
}

platform::UiText MoveExecutor::begin(const CommandPulses &from, const MovePlan &plan,
                                     const std::optional<Pose> &target, const std::optional<JogRates> &held)
{
    if (plan.refused())
        return refuse(plan.refusal);
    const bool continuing = held && heldRates;
    if (moving && !continuing) {
        end();
        emit stopped(kTakenOver);
    }
    if (plan.pieces.empty()) {
        if (from != commandedPulses()) // a move that was under way halts where it has got to
            setJoints(from, int(kCommandLeadMs));
        emit started(commandedPose());
        emit finished();
        return {};
    }
    heldRates = held;
    schedule.begin(plan.pieces, from, now());
    goal = target ? *target : kinematics().poseAt(toJointPulses(plan.pieces.back().pulses));
    moving = true;
    if (!continuing)
        emit started(*goal);
    sendDue();
    return {};
}

MovePlan MoveExecutor::stretchFrom(const CommandPulses &from, const JogRates &rates) const
{
    const Kinematics arm = kinematics();
    const Pose start = arm.poseAt(toJointPulses(from));
    const double tipRate = std::sqrt(rates.x * rates.x + rates.y * rates.y + rates.z * rates.z);
    const double rate = std::max({tipRate, std::abs(rates.pitch), std::abs(rates.gripper)});
    const double seconds = std::max(kStretchSeconds, kShortestStretch / rate);
    Pose target{start.tip, start.pitch + rates.pitch * seconds, start.gripper + rates.gripper * seconds};
    target.tip.z += rates.z * seconds;
    if (rates.cylindrical) {
        CylinderPoint cylinder = toCylinder(start.tip);
        if (cylinder.radius < kShortestStretch)
            cylinder.angle = arm.valuesAt(toJointPulses(from))[kBasis]; // on the axis, out is where the base points
        cylinder.angle += toDegrees(rates.y * seconds / std::max(cylinder.radius, kShortestStretch));
        cylinder.radius += rates.x * seconds;
        cylinder.height = target.tip.z;
        target.tip = toCartesian(cylinder);
    } else {
        target.tip.x += rates.x * seconds;
        target.tip.y += rates.y * seconds;
    }
    return planLine(arm, from, target, rate);
}

CommandPulses MoveExecutor::reachedSoon() const
{
    return moving ? schedule.reachedAt(now() + kCommandLeadMs) : commandedPulses();
}

void MoveExecutor::sendDue()
{
    if (const std::optional<TimedPiece> piece = schedule.take(now())) {
        setJoints(piece->pulses, piece->timeMs);
        if (!moving) // the send lost the link
            return;
    }
    if (heldRates && schedule.allSent()) {
        const MovePlan next = stretchFrom(commandedPulses(), *heldRates);
        if (next.refused()) {
            stop(next.refusal);
            return;
        }
        schedule.follow(next.pieces, now());
        goal = kinematics().poseAt(toJointPulses(next.pieces.back().pulses));
    }
    if (schedule.arrived(now())) {
        end();
        emit finished();
        return;
    }
    wakeForNext();
}

void MoveExecutor::setJoints(const CommandPulses &pulses, int timeMs)
{
    settingJoints = true;
    arm.moveAllTo(pulses);
    settingJoints = false;
    armTimer.sendTimedMove(timeMs);
}

void MoveExecutor::stop(const platform::UiText &why)
{
    if (!moving)
        return;
    const Millis soon = now() + kCommandLeadMs;
    if (schedule.underWay(soon))
        setJoints(schedule.reachedAt(soon), int(kCommandLeadMs));
    end();
    if (!why.empty())
        emit stopped(why);
}

void MoveExecutor::otherChange(int joint)
{
    if (settingJoints || !moving)
        return;
    end();
    emit stopped(UI_TEXT("arm::MoveExecutor", "%1 wurde anderweitig verstellt").arg(jointName(joint)));
}

void MoveExecutor::end()
{
    moving = false;
    heldRates.reset();
    goal.reset();
    schedule.clear();
    wakeUp.stop();
}

std::optional<Pose> MoveExecutor::target() const { return goal; }

void MoveExecutor::wakeForNext()
{
    if (const std::optional<Millis> at = schedule.nextWakeAt(now()))
        wakeUp.start(int(std::max<Millis>(0, *at - now())));
    else
        wakeUp.stop();
}

} // namespace arm
