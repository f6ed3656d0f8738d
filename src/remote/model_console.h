#pragma once
// The console's models as the programming interface sees them: the arm, the
// motion set and its player, both links, the drive command and the telemetry.
// Requests go through the models as the window's controls do, with the
// window's checks and reasons; what changes is published to the interface.
// It reaches the player's window (a program's play shows it, so the operator
// sees what plays and can stop it there), hence velmora_remote_ui.
#include "remote/console.h"

#include <QObject>
#include <QString>
#include <functional>

namespace arm {
class Arm;
class MoveExecutor;
} // namespace arm
namespace comm {
class Connection;
}
namespace drive {
class DriveCommand;
}
namespace sequence {
class MotionSet;
class PlayerWindow;
} // namespace sequence
namespace telemetry {
class TelemetryRecord;
class TelemetryStream;
struct Reading;
} // namespace telemetry

namespace remote {

struct ConsoleParts {
    arm::Arm &arm;
    sequence::MotionSet &motionSet;
    sequence::PlayerWindow &player;
    comm::Connection &armLink;
    comm::Connection &chassisLink;
    drive::DriveCommand &driveCommand;
    telemetry::TelemetryStream &telemetry;
    telemetry::TelemetryRecord &record;
    // Moves the tip as the window "Kinematik" does, and holds the arm profile.
    arm::MoveExecutor &moveExecutor;
    QString rfsDir; // with a trailing separator
};

class ModelConsole final : public QObject, public Console {
    Q_OBJECT

public:
    explicit ModelConsole(const ConsoleParts &parts, QObject *parent = nullptr);

    Json::Object state() const override;
    Json::Object playerState() const override;
    Outcome setJoints(const std::vector<JointTarget> &targets) override;
    Outcome moveTip(const TipTarget &target) override;
    Outcome park() override;
    Outcome centre() override;
    void stopArm() override;
    std::vector<std::string> motionSets() const override;
    Outcome loadMotionSet(const std::string &file) override;
    Outcome play(std::optional<bool> loop, std::optional<int> dwellMs) override;
    void pausePlayer() override;
    void stopPlayer() override;
    Outcome drive(const DriveTarget &target) override;
    Outcome horn(bool on) override;
    void stopChassis() override;

private:
    void connectModels();
    bool wanted(Topic topic) const { return listener() && listener()->wanted(topic); }
    // Made only when some client subscribed to the topic.
    void publish(Topic topic, const std::function<Json::Object()> &event);
    Json jointJson(int joint) const;
    Json armJson() const;
    Json linkJson(const comm::Connection &link) const;
    Json telemetryJson() const;
    Json alarmsJson() const;
    Json readingJson(const telemetry::Reading &reading) const;
    Json chassisJson() const;
    // Park and centre: every joint at once, as their buttons.
    Outcome moveAll(const std::function<void()> &move);
    // The time the slowest joint takes from before to where the arm now stands.
    Json::Object moveTime(const std::vector<int> &before) const;
    std::vector<int> positions() const;
    // A move the executor ended: told to the program if it was its own.
    void endProgramMove(const std::string &why);
    // The drive command changed by this console's own request: not the operator's.
    void ownDrive(const std::function<void()> &change);
    void publishDrive();

    ConsoleParts parts;
    bool drivingItself = false;
    bool changedByProgram = false;
    // The executor's move under way is a program's (told when it ends), and
    // the one about to start is.
    bool programMove = false;
    bool startingProgramMove = false;
    Json lastPlayer;
};

} // namespace remote
