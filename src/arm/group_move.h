#pragma once
// The SSC-32 group move command of the joints whose fragment changed since the
// previous call, joined in joint order. The state lives as long as the window
// and is never reset, so a reopened link continues from the last fragments built.
#include "arm/servo.h"

#include <array>
#include <string>

namespace arm {

class GroupMove {
public:
    // The command without its carriage return, or "" when no fragment changed.
    // With a time (ms, > 0) it is a timed move: the changed joints' positions
    // without their speed terms, then "T" and the time, so that they all arrive
    // together when the time is up. With a speed term beside the time term the
    // SSC-32 takes whichever is slower, and a joint's own speed would stretch
    // the move beyond its time.
    std::string next(const Servos &joints, int timeMs = 0);

private:
    std::array<std::string, kJoints> fragments;
};

} // namespace arm
