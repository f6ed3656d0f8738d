#include "remote/model_console.h"

#include "arm/arm.h"
#include "arm/kinematics.h"
#include "arm/move_executor.h"
#include "arm/straight_move.h"
#include "comm/connection.h"
#include "drive/drive_command.h"
#include "sequence/motion_set.h"
#include "sequence/move_time.h"
#include "sequence/player_window.h"
#include "telemetry/telemetry_record.h"
#include "telemetry/telemetry_stream.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace remote {

namespace {

const char *const kArmLinkDown = "Verbindung 1 ist nicht aufgebaut";
const char *const kChassisLinkDown = "Verbindung 2 ist nicht aufgebaut";

constexpr const char *kQuantityKeys[] = {"battery", "temperature", "distance"};

// Angles and lengths to a thousandth, which is finer than any joint moves.
double rounded(double value) { return std::round(value * 1000) / 1000; }

bool isOpen(const comm::Connection &link) { return link.state() == comm::Connection::State::Open; }

const char *stateName(comm::Connection::State state)
{
    switch (state) {
    case comm::Connection::State::Idle: return "idle";
    case comm::Connection::State::Connecting: return "connecting";
    case comm::Connection::State::Open: return "open";
    case comm::Connection::State::Closing: return "closing";
    case comm::Connection::State::Waiting: return "waiting";
    case comm::Connection::State::Reconnecting: return "reconnecting";
    }
    return "";
}

Json poseJson(const arm::Pose &pose)
{
    return Json::Object{{"x", rounded(pose.tip.x)},
                        {"y", rounded(pose.tip.y)},
                        {"z", rounded(pose.tip.z)},
                        {"pitch", rounded(pose.pitch)},
                        {"gripper", rounded(pose.gripper)}};
}

} // namespace

ModelConsole::ModelConsole(const ConsoleParts &parts, QObject *parent) : QObject(parent), parts(parts)
{
    lastPlayer = playerState();
    connectModels();
}

void ModelConsole::connectModels()
{
    const auto publishJoint = [this](int joint) {
        publish(Topic::Joint, [this, joint] { return Json::Object{{"joint", jointJson(joint)}}; });
    };
    connect(&parts.arm, &arm::Arm::positionSet, this, publishJoint);
    connect(&parts.arm, &arm::Arm::speedSet, this, publishJoint);
    connect(&parts.arm, &arm::Arm::limitsSet, this, publishJoint);
    for (comm::Connection *link : {&parts.armLink, &parts.chassisLink})
        connect(link, &comm::Connection::stateChanged, this,
                [this, link] { publish(Topic::Link, [this, link] { return linkJson(*link).asObject(); }); });
    connect(&parts.chassisLink, &comm::Connection::freed, this, [this] {
        if (listener())
            listener()->driveTakenAway(DriveEnd::LinkGone);
    });
    // A program's request changes several parts of the command: one event, once all are made.
    connect(&parts.driveCommand, &drive::DriveCommand::changed, this, [this] {
        if (drivingItself) {
            changedByProgram = true;
            return;
        }
        if (listener())
            listener()->driveTakenAway(DriveEnd::Operator);
        publishDrive();
    });
    connect(&parts.telemetry, &telemetry::TelemetryStream::readingArrived, this,
            [this](const telemetry::Reading &reading) {
                publish(Topic::Telemetry, [this, &reading] { return readingJson(reading).asObject(); });
            });
    connect(&parts.record, &telemetry::TelemetryRecord::alarmFired, this,
            [this](telemetry::Quantity quantity, double value) {
                publish(Topic::Alarm, [this, quantity, value] {
                    return Json::Object{{"fired", kQuantityKeys[telemetry::indexOf(quantity)]},
                                        {"value", value},
                                        {"alarms", alarmsJson()}};
                });
            });
    connect(&parts.record, &telemetry::TelemetryRecord::alarmRearmed, this,
            [this] {
                publish(Topic::Alarm, [this] { return Json::Object{{"fired", Json()}, {"alarms", alarmsJson()}}; });
            });
    // Only a program's own tip move is told to it when it ends.
    arm::MoveExecutor *executor = &parts.moveExecutor;
    connect(executor, &arm::MoveExecutor::started, this, [this] { programMove = startingProgramMove; });
    connect(executor, &arm::MoveExecutor::finished, this, [this] { endProgramMove({}); });
    connect(executor, &arm::MoveExecutor::stopped, this,
            [this](const platform::UiText &why) { endProgramMove(why.german()); });
    // The window shows the player after every tick; only a change is news.
    connect(&parts.player, &sequence::PlayerWindow::followed, this, [this] {
        if (!wanted(Topic::Player))
            return;
        Json now = playerState();
        if (now == lastPlayer)
            return;
        lastPlayer = now;
        publish(Topic::Player, [&now] { return now.asObject(); });
    });
}

void ModelConsole::publish(Topic topic, const std::function<Json::Object()> &event)
{
    if (wanted(topic))
        listener()->published(topic, event());
}

Json::Object ModelConsole::state() const
{
    return {{"arm", armJson()},
            {"links", Json::Array{linkJson(parts.armLink), linkJson(parts.chassisLink)}},
            {"telemetry", telemetryJson()},
            {"player", playerState()},
            {"chassis", chassisJson()}};
}

Json ModelConsole::jointJson(int joint) const
{
    const arm::ArmProfile &profile = parts.moveExecutor.profile();
    const arm::Servo &servo = parts.arm.joint(joint);
    return Json::Object{
        {"index", joint},
        {"name", std::string(arm::kJointNames[std::size_t(joint)])},
        {"channel", servo.getKanal()},
        {"pulse", servo.getPosition()},
        {"angle", rounded(profile.calibration[std::size_t(joint)].valueAt(servo.getPosition()))},
        {"limits", Json::Object{{"min", servo.getLimitMin()}, {"max", servo.getLimitMax()}}},
        {"speed", servo.getSpeed()}};
}

Json ModelConsole::armJson() const
{
    Json::Array joints;
    for (int i = 0; i < arm::kJoints; ++i)
        joints.push_back(jointJson(i));
    return Json::Object{{"joints", std::move(joints)},
                        {"tip", poseJson(parts.moveExecutor.commandedPose())},
                        {"tip_moving", parts.moveExecutor.isMoving()}};
}

Json ModelConsole::linkJson(const comm::Connection &link) const
{
    return Json::Object{{"link", link.role().number},
                        {"transport", link.transport() == comm::Connection::Transport::Tcp ? "tcp" : "serial"},
                        {"state", stateName(link.state())}};
}

Json ModelConsole::telemetryJson() const
{
    Json::Object readings;
    for (telemetry::Quantity quantity : telemetry::kQuantities) {
        const auto latest = parts.record.history().latest(quantity);
        readings.emplace_back(
            kQuantityKeys[telemetry::indexOf(quantity)],
            Json::Object{{"value", latest ? Json(latest->value) : Json()},
                         {"unit", std::string(telemetry::textOf(quantity).unit)},
                         {"t_ms", latest ? Json(std::int64_t(std::llround(latest->time * 1000))) : Json()},
                         {"alarm", parts.record.alarms().firing(quantity)}});
    }
    return readings;
}

Json ModelConsole::alarmsJson() const
{
    Json::Object alarms;
    for (telemetry::Quantity quantity : telemetry::kQuantities)
        alarms.emplace_back(kQuantityKeys[telemetry::indexOf(quantity)], parts.record.alarms().firing(quantity));
    return alarms;
}

Json ModelConsole::readingJson(const telemetry::Reading &reading) const
{
    const auto value = reading.value();
    return Json::Object{{"quantity", kQuantityKeys[telemetry::indexOf(reading.quantity)]},
                        {"value", value ? Json(*value) : Json()},
                        {"unit", std::string(telemetry::textOf(reading.quantity).unit)}};
}

Json ModelConsole::chassisJson() const
{
    const drive::DriveCommand &command = parts.driveCommand;
    const auto word = std::find_if(std::begin(kDriveWords), std::end(kDriveWords),
                                   [&command](const DriveWord &w) { return w.direction == command.direction(); });
    return Json::Object{{"direction", word == std::end(kDriveWords) ? "stop" : word->word},
                        {"speed", command.speed()},
                        {"steering", command.steering()},
                        {"horn", command.horn()},
                        {"hazard", command.hazard()}};
}

Json::Object ModelConsole::playerState() const
{
    const sequence::PlayerCore &core = parts.player.core();
    const sequence::MotionSet &set = parts.motionSet;
    return {{"state", core.stateText().german()},
            {"playing", core.isPlaying()},
            {"held", core.isHeld()},
            {"loop", core.loops()},
            {"dwell_ms", core.dwellMs()},
            {"step", set.currentStep() + 1},
            {"steps", set.stepCount()},
            {"file", set.file().isEmpty() ? std::string() : QFileInfo(set.file()).fileName().toStdString()}};
}

std::vector<int> ModelConsole::positions() const
{
    const std::array<int, arm::kJoints> pulses = parts.arm.positions();
    return {pulses.begin(), pulses.end()};
}

Json::Object ModelConsole::moveTime(const std::vector<int> &before) const
{
    std::vector<sequence::JointMove> moves;
    for (int i = 0; i < arm::kJoints; ++i)
        moves.push_back({before[std::size_t(i)], parts.arm.joint(i).getPosition(), parts.arm.joint(i).getSpeed()});
    return {{"move_ms", sequence::moveTimeMs(moves)}};
}

// Every target is checked before any joint moves.
Outcome ModelConsole::setJoints(const std::vector<JointTarget> &targets)
{
    if (!isOpen(parts.armLink))
        return Outcome::refused(kArmLinkDown);
    const arm::ArmProfile &profile = parts.moveExecutor.profile();
    std::vector<std::pair<int, int>> pulses;
    for (const JointTarget &target : targets) {
        const arm::Servo &servo = parts.arm.joint(target.joint);
        const double pulse =
            target.pulse ? *target.pulse : profile.calibration[std::size_t(target.joint)].pulseFor(*target.angle);
        if (!(pulse >= servo.getLimitMin() - 0.5 && pulse < servo.getLimitMax() + 0.5))
            return Outcome::refused(std::string(arm::kJointNames[std::size_t(target.joint)])
                                    + ": Grenze überschritten");
        if (target.speed && *target.speed > arm::Servo::kMaxSpeed)
            return Outcome::refused("Fehler: Speed zu groß!");
        pulses.emplace_back(target.joint, int(std::lround(pulse)));
    }
    const std::vector<int> before = positions();
    for (std::size_t i = 0; i < targets.size(); ++i) {
        if (targets[i].speed)
            parts.arm.setSpeed(targets[i].joint, *targets[i].speed);
        parts.arm.setPosition(pulses[i].first, pulses[i].second);
    }
    return Outcome::done(moveTime(before));
}

// As "Anfahren" in the window "Kinematik", with its refusals. The reply tells
// how long the move is planned to take (0: the tip is there already, and no
// end of it will be told).
Outcome ModelConsole::moveTip(const TipTarget &target)
{
    arm::MoveExecutor &executor = parts.moveExecutor;
    const arm::Pose now = executor.commandedPose();
    const arm::Pose pose{{target.x, target.y, target.z}, target.pitch.value_or(now.pitch),
                         target.gripper.value_or(now.gripper)};
    startingProgramMove = true;
    const platform::UiText refusal = executor.moveTo(pose, target.speed);
    startingProgramMove = false;
    if (!refusal.empty())
        return Outcome::refused(refusal.german());
    if (!executor.isMoving())
        return Outcome::done({{"move_ms", 0}});
    return Outcome::done({{"move_ms", std::max(executor.remainingMs(), 1)}});
}

void ModelConsole::endProgramMove(const std::string &why)
{
    if (!programMove)
        return;
    programMove = false;
    if (listener())
        listener()->tipMoveEnded(why);
}

Outcome ModelConsole::moveAll(const std::function<void()> &move)
{
    if (!isOpen(parts.armLink))
        return Outcome::refused(kArmLinkDown);
    const std::vector<int> before = positions();
    move();
    return Outcome::done(moveTime(before));
}

Outcome ModelConsole::park()
{
    return moveAll([this] { parts.arm.park(); });
}

Outcome ModelConsole::centre()
{
    return moveAll([this] { parts.arm.centre(); });
}

void ModelConsole::stopArm()
{
    parts.moveExecutor.stop(UI_TEXT("remote::ModelConsole", "Vom Programm gestoppt"));
    parts.player.stop();
}

// Only the motion sets in RFS/ itself, by name: a program reads no other file.
std::vector<std::string> ModelConsole::motionSets() const
{
    std::vector<std::string> names;
    const QStringList files =
        QDir(parts.rfsDir).entryList({QStringLiteral("*.rfs")}, QDir::Files | QDir::Readable, QDir::Name);
    for (const QString &file : files)
        names.push_back(file.toStdString());
    return names;
}

Outcome ModelConsole::loadMotionSet(const std::string &file)
{
    const std::vector<std::string> files = motionSets();
    if (std::find(files.begin(), files.end(), file) == files.end())
        return Outcome::refused("Der Verfahrsatz \"" + file + "\" liegt nicht in RFS/");
    if (const auto error = parts.motionSet.load(parts.rfsDir + QString::fromStdString(file)))
        return Outcome::refused(error->german());
    return Outcome::done({{"player", playerState()}});
}

Outcome ModelConsole::play(std::optional<bool> loop, std::optional<int> dwellMs)
{
    if (dwellMs)
        parts.player.setDwellMs(*dwellMs);
    if (loop)
        parts.player.setLoop(*loop);
    parts.player.play();
    if (!parts.player.core().isPlaying())
        return Outcome::refused(parts.player.core().stateText().german());
    return Outcome::done({{"player", playerState()}});
}

void ModelConsole::pausePlayer() { parts.player.pause(); }

void ModelConsole::stopPlayer() { parts.player.stop(); }

void ModelConsole::ownDrive(const std::function<void()> &change)
{
    drivingItself = true;
    changedByProgram = false;
    change();
    drivingItself = false;
    if (changedByProgram)
        publishDrive();
}

void ModelConsole::publishDrive()
{
    publish(Topic::Drive, [this] { return chassisJson().asObject(); });
}

Outcome ModelConsole::drive(const DriveTarget &target)
{
    if (!isOpen(parts.chassisLink))
        return Outcome::refused(kChassisLinkDown);
    ownDrive([this, &target] {
        parts.driveCommand.setDirection(target.direction);
        parts.driveCommand.setSpeed(target.speed);
        parts.driveCommand.setSteering(target.steering);
    });
    return Outcome::done({{"chassis", chassisJson()}});
}

Outcome ModelConsole::horn(bool on)
{
    if (on && !isOpen(parts.chassisLink))
        return Outcome::refused(kChassisLinkDown);
    ownDrive([this, on] { parts.driveCommand.setHorn(on); });
    return Outcome::done({{"chassis", chassisJson()}});
}

void ModelConsole::stopChassis()
{
    ownDrive([this] {
        parts.driveCommand.stop();
        parts.driveCommand.setHorn(false);
    });
}

} // namespace remote

