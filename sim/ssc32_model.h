#pragma once
// A Lynxmotion SSC-32 as its clients see it: 32 pulse-width channels that move
// toward their targets at a per-channel speed or over a group time, and the
// queries client libraries poll to wait for a move (VER, Q, QP). The clock is
// driven from outside through advance(), so tests step time exactly.
#include <array>
#include <string>

namespace sim {

class Ssc32Model {
public:
    static constexpr int kChannels = 32;
    static constexpr int kMinPulse = 500;
    static constexpr int kMaxPulse = 2500;
    static constexpr const char *kVersionReply = "SSC32-1.06XE\r";

    // One command line without its carriage return; returns the reply bytes (often none).
    // A line the controller cannot parse is dropped whole, as the real one does.
    std::string handleLine(const std::string &line);
    void advance(int elapsedMs);
    // Leaves "Q" unanswered, as a controller or device server that does not know it.
    void setMoveStatusIgnored(bool ignored) { moveStatusIgnored = ignored; }

    // Pulse width in µs; 0 while the channel has never been commanded (no pulse).
    int position(int channel) const;
    // The same as the controller interpolates it, unrounded.
    double pulseWidth(int channel) const;
    int target(int channel) const;
    bool inUse(int channel) const;
    bool isMoving() const;

private:
    struct Channel {
        double position = 0;
        int target = 0;
        double speed = 0; // µs per second; 0 jumps to the target at once
    };
    struct Fragment {
        int channel = -1;
        int pulse = -1;
        int speed = 0;
    };
    struct Command;

    static bool parse(const std::string &normalized, Command &command);
    void startGroupMove(const Command &command);
    std::string answerQueries(const Command &command) const;

    std::array<Channel, kChannels> channels{};
    bool moveStatusIgnored = false;
};

} // namespace sim
