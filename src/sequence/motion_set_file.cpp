#include "sequence/motion_set_file.h"

#include "platform/atomic_file.h"

namespace sequence {

std::vector<std::string> splitMotionSetLines(std::string_view content)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t pos = 0;
    while (pos < content.size()) {
        const char c = content[pos];
        if (c != '\r' && c != '\n') {
            ++pos;
            continue;
        }
        lines.emplace_back(content.substr(start, pos - start));
        ++pos;
        if (c == '\r' && pos < content.size() && content[pos] == '\n')
            ++pos;
        start = pos;
    }
    if (start < content.size())
        lines.emplace_back(content.substr(start));
    return lines;
}

std::optional<platform::UiText> loadMotionSet(const std::string &path, std::vector<std::string> &steps)
{
    platform::FileContent file = platform::readFile(path, kLargestMotionSet);
    if (file.error)
        return file.error;
    steps = splitMotionSetLines(file.bytes);
    return std::nullopt;
}

std::optional<platform::UiText> storeMotionSet(const std::string &path, const std::vector<std::string> &steps)
{
    std::string content;
    for (const std::string &step : steps) {
        content += step;
        content += "\r\n";
    }
    return platform::replaceFile(path, content);
}

} // namespace sequence
