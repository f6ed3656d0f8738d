#pragma once
// A profile as INI text, the form of an exported *.arm file:
//
//   [arm_profile]
//   base_height_mm=67.3
//   ...
//   greifer_point2_mm=0
//
// one line per entry of profileFields(), numbers with a decimal point whatever
// the locale. velmora.ini keeps the same keys in the same group.
#include "arm/arm_profile.h"

#include <optional>
#include <string>
#include <string_view>

namespace arm {

std::string formatProfile(const ArmProfile &profile);

// Nothing on success and the profile replaced; otherwise the reason, naming the
// field ("Oberarm: fehlt", "Oberarm: keine gültige Zahl", or what checkProfile
// says), and the profile untouched. Every key must be there; other groups, other
// keys, comments (; or #) and blank lines are passed over; lines may end in CR LF.
std::optional<platform::UiText> parseProfile(std::string_view text, ArmProfile &profile);

} // namespace arm
