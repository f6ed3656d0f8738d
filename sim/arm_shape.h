#pragma once
// The arm as the simulated SSC-32 holds it: which channels its five joints are
// on and the profile that turns their pulse widths into angles and points.
#include "arm/kinematics.h"

#include <array>
#include <optional>

namespace sim {

class Ssc32Model;

class ArmShape {
public:
    ArmShape(const arm::ArmProfile &profile, const std::array<int, arm::kJoints> &channels);

    const arm::Kinematics &kinematics() const { return geometry; }
    const std::array<int, arm::kJoints> &channels() const { return jointChannels; }
    // The joints' pulse widths as the controller moves them, unrounded; nothing
    // while a joint has never been commanded.
    std::optional<arm::JointPulses> pulsesOf(const Ssc32Model &controller) const;

private:
    arm::Kinematics geometry;
    std::array<int, arm::kJoints> jointChannels;
};

} // namespace sim
