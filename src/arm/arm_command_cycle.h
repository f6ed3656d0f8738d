#pragma once
// The 100 ms arm command cycle: each tick collects the fragments of the joints
// whose fragment changed since the previous tick and joins them, in joint order,
// into one SSC-32 group command. The state lives as long as the window and is
// never reset, so a reopened link continues from the last fragments built.
#include <array>
#include <string>

class Servo;

class ArmCommandCycle {
public:
    static constexpr int kJoints = 5;

    // The group command without its carriage return, or "" when no fragment changed.
    std::string tick(const std::array<Servo *, kJoints> &joints);

private:
    std::array<std::string, kJoints> current;
    std::array<std::string, kJoints> previous;
    std::string sendText;
    std::string previousSendText;
};
