// Importing an arm profile from any bytes: a refusal names a field and leaves the
// profile as it was; an accepted profile passes the profile check, and written
// out again it reads back the same.
#include "fuzz_input.h"

#include "arm/arm_profile_file.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    arm::ArmProfile profile;
    profile.geometry.hand = 42;
    const std::string before = arm::formatProfile(profile);
    if (const auto reason = arm::parseProfile(fuzz::wholeInput(data, size), profile)) {
        fuzz::expect(reason->german().find(": ") != std::string::npos, "a refusal names its field");
        fuzz::expect(arm::formatProfile(profile) == before, "a refused file changes nothing");
        return 0;
    }
    fuzz::expect(!arm::checkProfile(profile), "an accepted profile makes sense");
    const std::string written = arm::formatProfile(profile);
    arm::ArmProfile again;
    fuzz::expect(!arm::parseProfile(written, again) && arm::formatProfile(again) == written,
                 "an accepted profile reads back the same");
    return 0;
}
