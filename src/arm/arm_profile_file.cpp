#include "arm/arm_profile_file.h"

#include <charconv>
#include <map>

namespace arm {
namespace {

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The group's entries by key; a later entry of the same key wins, as in QSettings.
std::map<std::string, std::string_view, std::less<>> entriesOfGroup(std::string_view text)
{
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, byteOrderMark.size()) == byteOrderMark)
        text.remove_prefix(byteOrderMark.size());
    std::map<std::string, std::string_view, std::less<>> entries;
    bool inGroup = false;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            inGroup = trimmed(line.substr(1, line.size() - 2)) == kProfileGroup;
            continue;
        }
        const auto equals = line.find('=');
        if (inGroup && equals != std::string_view::npos)
            entries[std::string(trimmed(line.substr(0, equals)))] = trimmed(line.substr(equals + 1));
    }
    return entries;
}

bool readNumber(std::string_view text, double &number)
{
    const char *end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    return error == std::errc() && stop == end && !text.empty();
}

} // namespace

std::string formatProfile(const ArmProfile &profile)
{
    std::string text = "[" + std::string(kProfileGroup) + "]\n";
    for (const ProfileField &field : profileFields()) {
        char number[32];
        // The shortest text that reads back as the same double.
        const auto written = std::to_chars(number, number + sizeof number, field.of(profile));
        text += field.key() + "=" + std::string(number, written.ptr) + "\n";
    }
    return text;
}

std::optional<platform::UiText> parseProfile(std::string_view text, ArmProfile &profile)
{
    const auto entries = entriesOfGroup(text);
    ArmProfile read;
    for (const ProfileField &field : profileFields()) {
        const auto entry = entries.find(field.key());
        if (entry == entries.end())
            return UI_TEXT("arm::ArmProfile", "%1: fehlt").arg(field.name());
        if (!readNumber(entry->second, field.of(read)))
            return UI_TEXT("arm::ArmProfile", "%1: keine gültige Zahl").arg(field.name());
    }
    if (auto reason = checkProfile(read))
        return reason;
    profile = read;
    return std::nullopt;
}

} // namespace arm
