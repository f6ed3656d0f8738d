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
    std::string next(const Servos &joints);

private:
    std::array<std::string, kJoints> fragments;
};

} // namespace arm
