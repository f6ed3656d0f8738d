#include "settings/settings_file.h"

#include "platform/atomic_file.h"

#include <charconv>

namespace settings {

namespace {

constexpr const char *kLineEnd = "\r\n";

bool isWhitespace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

void addWord(std::string &line, std::string_view word)
{
    line += word;
    line += ' ';
}

// Hands out the words of the content one by one; after the first word that is
// missing or not the integer it should be, it hands out nothing more. Only the
// last value may run into the end of the file: any other word that does was cut
// off (every value is written with a space after it) and may be half a number.
class WordReader {
public:
    explicit WordReader(std::string_view content) : rest(content) {}

    std::optional<std::string> word(bool lastValue = false)
    {
        if (failed)
            return std::nullopt;
        std::size_t start = 0;
        while (start < rest.size() && isWhitespace(rest[start]))
            ++start;
        std::size_t stop = start;
        while (stop < rest.size() && !isWhitespace(rest[stop]))
            ++stop;
        if (start == stop || (stop == rest.size() && !lastValue)) {
            failed = true;
            return std::nullopt;
        }
        std::string found(rest.substr(start, stop - start));
        rest.remove_prefix(stop);
        return found;
    }

    std::optional<std::int32_t> integer()
    {
        const std::optional<std::string> text = word();
        if (!text)
            return std::nullopt;
        const char *begin = text->data();
        const char *end = begin + text->size();
        // from_chars takes a minus sign itself but no plus sign.
        if (*begin == '+' && end - begin > 1 && begin[1] != '-')
            ++begin;
        std::int32_t value = 0;
        const auto [stop, error] = std::from_chars(begin, end, value);
        if (error != std::errc() || stop != end) {
            failed = true;
            return std::nullopt;
        }
        return value;
    }

    bool allGood() const { return !failed; }

private:
    std::string_view rest;
    bool failed = false;
};

} // namespace

std::string formatSettings(const Settings &values)
{
    std::string content;
    for (const JointSettings &joint : values.joints) {
        addWord(content, std::to_string(joint.kanal));
        addWord(content, std::to_string(joint.limitMin));
        addWord(content, std::to_string(joint.limitMax));
        content += kLineEnd;
    }
    for (const LinkAddress &link : values.links) {
        addWord(content, link.ip);
        addWord(content, link.port);
        content += kLineEnd;
    }
    for (const std::string &part : values.webCam)
        addWord(content, part);
    content += kLineEnd;
    return content;
}

std::optional<platform::UiText> writeSettingsFile(const std::string &path, const Settings &values)
{
    return platform::replaceFile(path, formatSettings(values));
}

SettingsRead parseSettings(std::string_view content)
{
    WordReader reader(content);
    SettingsRead read;
    for (JointRead &joint : read.joints) {
        joint.kanal = reader.integer();
        joint.limitMin = reader.integer();
        joint.limitMax = reader.integer();
    }
    for (LinkRead &link : read.links) {
        link.ip = reader.word();
        link.port = reader.word();
    }
    for (std::size_t part = 0; part < kWebCamParts; ++part)
        read.webCam[part] = reader.word(part + 1 == kWebCamParts);
    read.complete = reader.allGood();
    return read;
}

// Eight short lines; anything near this size is not a settings file.
constexpr std::size_t kLargestSettingsFile = 64 * 1024;

std::optional<SettingsRead> readSettingsFile(const std::string &path)
{
    const platform::FileContent file = platform::readFile(path, kLargestSettingsFile);
    if (file.error)
        return std::nullopt;
    return parseSettings(file.bytes);
}

} // namespace settings
