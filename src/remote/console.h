#pragma once
// The console as the programming interface sees it: what a program may read and
// ask for, each request through the same models and checks as the window, and
// what the console tells the interface as it happens. Standard C++, so that the
// dispatcher is tested against a fake; remote::ModelConsole is the real one.
#include "remote/json.h"

#include <optional>
#include <string>
#include <vector>

namespace remote {

// What a client may subscribe to, in the order of kTopicNames.
enum class Topic { Telemetry, Alarm, Link, Player, Joint, Drive };
inline constexpr const char *kTopicNames[] = {"telemetry", "alarm", "link", "player", "joint", "drive"};
inline constexpr int kTopics = 6;

// One joint's target: a pulse width or an angle (degrees; the Greifer's opening
// in mm), and a speed (µs per second, 0 for none) or the one it has.
struct JointTarget {
    int joint = 0; // 0 Basis .. 4 Greifer
    std::optional<int> pulse;
    std::optional<double> angle;
    std::optional<int> speed;
};

// Where the tip goes on a straight line; pitch and gripper stay as they are when not given.
struct TipTarget {
    double x = 0;
    double y = 0;
    double z = 0;
    std::optional<double> pitch;
    std::optional<double> gripper;
    double speed = 0; // mm/s
};

// The drive directions as the protocol names them.
struct DriveWord {
    const char *word;
    char direction;
};
inline constexpr DriveWord kDriveWords[] = {
    {"forward", 'v'}, {"backward", 'r'}, {"left", 'L'}, {"right", 'R'}, {"stop", 's'}};

struct DriveTarget {
    char direction = 's'; // as the drive command: 'v', 'r', 'L', 'R', 's'
    int speed = 0;        // 0..255
    int steering = 0;     // percent, negative to the left
};

// How a request went: refused in the window's words, or done with what the reply adds.
// The error code is the protocol's (docs/api.md); the console refuses as "refused".
struct Outcome {
    std::string refusal;
    Json::Object reply;
    const char *code = "refused";

    static Outcome done(Json::Object reply = {}) { return {{}, std::move(reply)}; }
    static Outcome refused(std::string why, const char *code = "refused") { return {std::move(why), {}, code}; }
};

// Why a program's drive ended without the program asking.
enum class DriveEnd { Operator, LinkGone };

class ConsoleListener {
public:
    virtual ~ConsoleListener() = default;
    // Whether any client listens: nothing is made for a topic nobody wants.
    virtual bool wanted(Topic topic) const = 0;
    // Something happened that clients subscribe to; event holds its fields.
    virtual void published(Topic topic, Json::Object event) = 0;
    // The operator changed the drive in the window, or link 2 went.
    virtual void driveTakenAway(DriveEnd why) = 0;
    // The tip move ended: arrived (why empty) or stopped, and why.
    virtual void tipMoveEnded(const std::string &why) = 0;
};

class Console {
public:
    virtual ~Console() = default;

    void setListener(ConsoleListener *listener) { consoleListener = listener; }

    // The whole state, and the player's part of it.
    virtual Json::Object state() const = 0;
    virtual Json::Object playerState() const = 0;

    // All targets are checked first; one refused refuses them all.
    virtual Outcome setJoints(const std::vector<JointTarget> &targets) = 0;
    virtual Outcome moveTip(const TipTarget &target) = 0;
    virtual Outcome park() = 0;
    virtual Outcome centre() = 0;
    // Ends a tip move and a running player.
    virtual void stopArm() = 0;

    // The motion sets' file names in RFS/.
    virtual std::vector<std::string> motionSets() const = 0;
    virtual Outcome loadMotionSet(const std::string &file) = 0;
    virtual Outcome play(std::optional<bool> loop, std::optional<int> dwellMs) = 0;
    virtual void pausePlayer() = 0;
    virtual void stopPlayer() = 0;

    virtual Outcome drive(const DriveTarget &target) = 0;
    virtual Outcome horn(bool on) = 0;
    // Direction stop, speed 0, horn off.
    virtual void stopChassis() = 0;

protected:
    ConsoleListener *listener() const { return consoleListener; }

private:
    ConsoleListener *consoleListener = nullptr;
};

} // namespace remote
