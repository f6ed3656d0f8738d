// Reading the settings file on any bytes: values come as a leading run (after the
// first missing one, none), "complete" means all of them, no word is empty or holds
// whitespace, and a complete read written out again reads back the same.
#include "fuzz_input.h"

#include "settings/settings_file.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

using settings::SettingsRead;

namespace {

std::optional<std::string> text(const std::optional<std::int32_t> &value)
{
    return value ? std::optional<std::string>(std::to_string(*value)) : std::nullopt;
}

// Every value in file order.
std::vector<std::optional<std::string>> valuesOf(const SettingsRead &read)
{
    std::vector<std::optional<std::string>> values;
    for (const settings::JointRead &joint : read.joints) {
        values.push_back(text(joint.kanal));
        values.push_back(text(joint.limitMin));
        values.push_back(text(joint.limitMax));
    }
    for (const settings::LinkRead &link : read.links) {
        values.push_back(link.ip);
        values.push_back(link.port);
    }
    values.insert(values.end(), read.webCam.begin(), read.webCam.end());
    return values;
}

bool isWord(const std::string &word)
{
    return !word.empty() && word.find_first_of(" \t\r\n\v\f") == std::string::npos;
}

settings::Settings settingsOf(const SettingsRead &read)
{
    settings::Settings values;
    for (std::size_t joint = 0; joint < settings::kJoints; ++joint)
        values.joints[joint] = {*read.joints[joint].kanal, *read.joints[joint].limitMin,
                                *read.joints[joint].limitMax};
    for (std::size_t link = 0; link < settings::kLinks; ++link)
        values.links[link] = {*read.links[link].ip, *read.links[link].port};
    for (std::size_t part = 0; part < settings::kWebCamParts; ++part)
        values.webCam[part] = *read.webCam[part];
    return values;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const SettingsRead read = settings::parseSettings(fuzz::wholeInput(data, size));
    const std::vector<std::optional<std::string>> values = valuesOf(read);
    const auto firstMissing = std::find(values.begin(), values.end(), std::nullopt);
    fuzz::expect(std::all_of(firstMissing, values.end(), [](const auto &value) { return !value; }),
                 "nothing is read after the first missing value");
    fuzz::expect(read.complete == (firstMissing == values.end()), "complete means every value was read");
    fuzz::expect(std::all_of(values.begin(), firstMissing, [](const auto &value) { return isWord(*value); }),
                 "every value is one word");
    if (read.complete)
        fuzz::expect(valuesOf(settings::parseSettings(settings::formatSettings(settingsOf(read)))) == values,
                     "complete settings written out read back the same");
    return 0;
}
