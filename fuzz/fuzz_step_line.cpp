// The step-line reader on any bytes: whatever it reads, recording those values and
// reading the line back gives them again, and so does every other set of ten 32-bit
// values (the input's bytes taken as numbers).
#include "fuzz_input.h"

#include "sequence/step_line.h"

#include <cstring>

using sequence::StepValues;

namespace {

void checkReadsBack(const StepValues &values)
{
    fuzz::expect(sequence::readStepLine(sequence::recordStepLine(values)) == values,
                 "a recorded step reads back unchanged");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    checkReadsBack(sequence::readStepLine(fuzz::wholeInput(data, size)));
    if (size >= sizeof(StepValues)) {
        StepValues values{};
        std::memcpy(values.data(), data, sizeof values);
        checkReadsBack(values);
    }
    return 0;
}
