#include "sequence/step_line.h"

#include <algorithm>
#include <charconv>

namespace sequence {

namespace {

bool isWhitespace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// How far reading got: the values it took, and whether each of them stood apart
// (whitespace or the line's end after it) with nothing but whitespace at the end.
struct Reading {
    StepValues values{};
    std::size_t fields = 0;
    bool apart = true;
};

Reading readFields(std::string_view line)
{
    Reading reading;
    const char *pos = line.data();
    const char *const end = line.data() + line.size();
    for (std::int32_t &value : reading.values) {
        while (pos != end && isWhitespace(*pos))
            ++pos;
        // from_chars takes a minus sign itself but no plus sign.
        const char *number = pos;
        if (number != end && *number == '+') {
            if (end - number < 2 || !isDigit(number[1]))
                break;
            ++number;
        }
        const auto [stop, error] = std::from_chars(number, end, value);
        if (error != std::errc()) // the value stays 0
            break;
        pos = stop;
        ++reading.fields;
        reading.apart = reading.apart && (pos == end || isWhitespace(*pos));
    }
    reading.apart = reading.apart && std::all_of(pos, end, isWhitespace);
    return reading;
}

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

StepValues readStepLine(std::string_view line) { return readFields(line).values; }

bool isStepLine(std::string_view line)
{
    const Reading reading = readFields(line);
    return reading.fields == kStepFields && reading.apart;
}

} // namespace sequence
