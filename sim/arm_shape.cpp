#include "arm_shape.h"

#include "ssc32_model.h"

namespace sim {

namespace {
// The controller takes any pulse width it can send; limits are the console's.
arm::TravelLimits fullTravel()
{
    arm::TravelLimits limits;
    limits.fill({Ssc32Model::kMinPulse, Ssc32Model::kMaxPulse});
    return limits;
}
} // namespace

ArmShape::ArmShape(const arm::ArmProfile &profile, const std::array<int, arm::kJoints> &channels)
    : geometry(profile, fullTravel()), jointChannels(channels)
{
}

std::optional<arm::JointPulses> ArmShape::pulsesOf(const Ssc32Model &controller) const
{
    arm::JointPulses pulses;
    for (int joint = 0; joint < arm::kJoints; ++joint) {
        if (!controller.inUse(jointChannels[joint]))
            return std::nullopt;
        pulses[joint] = controller.pulseWidth(jointChannels[joint]);
    }
    return pulses;
}

} // namespace sim
