#pragma once
// The settings file RFS/STARTW2.stw: the five joints' channels and limits, both
// links' addresses and ports, and the webcam's four address parts, as eight
// lines of words each followed by one space.
#include "platform/uitext.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace settings {

constexpr std::size_t kJoints = 5;
constexpr std::size_t kLinks = 2;
constexpr std::size_t kWebCamParts = 4;

struct JointSettings {
    std::int32_t kanal = 0;
    std::int32_t limitMin = 0;
    std::int32_t limitMax = 0;
};

struct LinkAddress {
    std::string ip;
    std::string port;
};

struct Settings {
    std::array<JointSettings, kJoints> joints;
    std::array<LinkAddress, kLinks> links;
    std::array<std::string, kWebCamParts> webCam;
};

// The exact file content: CR LF line ends on every platform.
std::string formatSettings(const Settings &values);

// Nothing when every line was written and the file closed without error;
// otherwise the reason. Writes beside the old file and renames, so a failed
// save keeps the previous settings. The directory is never created.
std::optional<platform::UiText> writeSettingsFile(const std::string &path, const Settings &values);

// What a read found, value by value in file order. A file that ends early or
// holds a non-number where an integer belongs ("12abc", a number beyond 32
// bits) yields the values before that point and nothing from it on, so that no
// half-read number is ever applied; a word that runs into the end of a file that
// ends early counts as cut off. A joint whose channel was read but not both
// limits gets its channel only: setLimit takes both limits or none.
struct JointRead {
    std::optional<std::int32_t> kanal;
    std::optional<std::int32_t> limitMin;
    std::optional<std::int32_t> limitMax;
};

struct LinkRead {
    std::optional<std::string> ip;
    std::optional<std::string> port;
};

struct SettingsRead {
    std::array<JointRead, kJoints> joints;
    std::array<LinkRead, kLinks> links;
    std::array<std::optional<std::string>, kWebCamParts> webCam;
    // Every value was there and good; otherwise the operator is warned once.
    bool complete = false;
};

// Reads word by word: any whitespace separates, line structure is not checked.
SettingsRead parseSettings(std::string_view content);

// Nothing when the file cannot be opened or read, or is anything but a regular
// file of a size a settings file can have.
std::optional<SettingsRead> readSettingsFile(const std::string &path);

} // namespace settings
