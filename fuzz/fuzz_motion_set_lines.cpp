// Splitting a motion-set file's content into steps: no step holds a line end, every
// other byte lands in a step, and the steps stored again load back unchanged.
#include "fuzz_input.h"

#include "sequence/motion_set_file.h"

#include <algorithm>
#include <string>

namespace {

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view content = fuzz::wholeInput(data, size);
    const std::vector<std::string> steps = sequence::splitMotionSetLines(content);
    std::size_t stepBytes = 0;
    std::string stored;
    for (const std::string &step : steps) {
        fuzz::expect(std::none_of(step.begin(), step.end(), isLineEnd), "no step holds a line end");
        stepBytes += step.size();
        stored += step + "\r\n";
    }
    const auto lineEnds = static_cast<std::size_t>(std::count_if(content.begin(), content.end(), isLineEnd));
    fuzz::expect(stepBytes + lineEnds == content.size(), "every byte but the line ends lands in a step");
    fuzz::expect(sequence::splitMotionSetLines(stored) == steps, "stored steps load back unchanged");
    return 0;
}
