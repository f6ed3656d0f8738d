#include "drive/pad_jog.h"

#include <algorithm>
#include <cstdlib>

namespace drive {

namespace {
double buttons(bool plus, bool minus) { return double(plus) - double(minus); }
} // namespace

double PadJog::share(int axis) const
{
    const int value = std::clamp(axis, -platform::kPadAxisMax, platform::kPadAxisMax);
    if (std::abs(value) * 100 <= arming.settings().deadZonePercent * platform::kPadAxisMax)
        return 0;
    return double(value) / platform::kPadAxisMax;
}

// Up and left are negative on the sticks.
PadJogIntent PadJog::next(const platform::PadState &pad)
{
    const PadIntent drive = arming.next(pad);
    PadJogIntent intent;
    intent.stop = drive.stop;
    intent.jogging = drive.driving;
    if (intent.jogging) {
        intent.forward = -share(pad.leftY);
        intent.left = -share(pad.leftX);
        intent.up = -share(pad.rightY);
        intent.pitch = buttons(pad.rightShoulder, pad.leftShoulder);
        intent.gripper = buttons(pad.dpadUp, pad.dpadDown);
    }
    return intent;
}

} // namespace drive
