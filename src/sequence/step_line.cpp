#include "sequence/step_line.h"

#include <charconv>

namespace sequence {

namespace {

bool isWhitespace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

std::string recordStepLine(const StepValues &values)
{
    std::string line;
    for (std::int32_t value : values) {
        line += std::to_string(value);
        line += ' ';
    }
    return line;
}

StepValues readStepLine(std::string_view line)
{
    StepValues values{};
    const char *pos = line.data();
    const char *const end = line.data() + line.size();
    for (std::int32_t &value : values) {
        while (pos != end && isWhitespace(*pos))
            ++pos;
        // from_chars takes a minus sign itself but no plus sign.
        if (pos != end && *pos == '+') {
            if (end - pos < 2 || !isDigit(pos[1]))
                break;
            ++pos;
        }
        std::int32_t read = 0;
        const auto [stop, error] = std::from_chars(pos, end, read);
        if (error != std::errc())
            break;
        value = read;
        pos = stop;
    }
    return values;
}

} // namespace sequence
