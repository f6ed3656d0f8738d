// The step-line reader on any bytes: whatever it reads, recording those values and
// reading the line back gives them again, and so does every other set of ten 32-bit
// values (the input's bytes taken as numbers). The player's check takes a line
// exactly when it is ten whitespace-separated integers within 32 bits.
#include "fuzz_input.h"

#include "sequence/step_line.h"

#include <algorithm>
#include <cstring>
#include <string>

using sequence::StepValues;

namespace {

void checkReadsBack(const StepValues &values)
{
    const std::string line = sequence::recordStepLine(values);
    fuzz::expect(sequence::readStepLine(line) == values, "a recorded step reads back unchanged");
    fuzz::expect(sequence::isStepLine(line), "a recorded step is a step line");
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isInt32(std::string_view token)
{
    const bool negative = token.front() == '-';
    token.remove_prefix(negative || token.front() == '+' ? 1 : 0);
    if (token.empty() || !std::all_of(token.begin(), token.end(), isDigit))
        return false;
    token.remove_prefix(std::min(token.find_first_not_of('0'), token.size()));
    return token.size() < 10 || (token.size() == 10 && token <= (negative ? "2147483648" : "2147483647"));
}

bool isTenIntegers(std::string_view line)
{
    const char *const whitespace = " \t\r\n\v\f";
    std::size_t count = 0;
    for (std::size_t at = line.find_first_not_of(whitespace); at != std::string_view::npos;
         at = line.find_first_not_of(whitespace, at)) {
        const std::size_t end = std::min(line.find_first_of(whitespace, at), line.size());
        if (++count > sequence::kStepFields || !isInt32(line.substr(at, end - at)))
            return false;
        at = end;
    }
    return count == sequence::kStepFields;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view line = fuzz::wholeInput(data, size);
    checkReadsBack(sequence::readStepLine(line));
    fuzz::expect(sequence::isStepLine(line) == isTenIntegers(line), "a step line is ten integers");
    if (size >= sizeof(StepValues)) {
        StepValues values{};
        std::memcpy(values.data(), data, sizeof values);
        checkReadsBack(values);
    }
    return 0;
}
