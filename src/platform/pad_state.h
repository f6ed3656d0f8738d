#pragma once
// One game controller's controls as driving and the arm's jog need them, in
// the controller layout's own units: sticks -32768..32767 (up and left
// negative), the trigger 0..32767 (released .. fully pressed).
#include <tuple>

namespace platform {

constexpr int kPadAxisMax = 32767;

struct PadState {
    int leftX = 0;
    int leftY = 0;
    int rightTrigger = 0;
    bool a = false;
    bool b = false;
    bool leftShoulder = false;
    bool rightShoulder = false;
    int rightY = 0;
    bool dpadUp = false;
    bool dpadDown = false;

    bool operator==(const PadState &other) const
    {
        return std::tie(leftX, leftY, rightTrigger, a, b, leftShoulder, rightShoulder, rightY, dpadUp, dpadDown) ==
               std::tie(other.leftX, other.leftY, other.rightTrigger, other.a, other.b, other.leftShoulder,
                        other.rightShoulder, other.rightY, other.dpadUp, other.dpadDown);
    }
    bool operator!=(const PadState &other) const { return !(*this == other); }
};

} // namespace platform
