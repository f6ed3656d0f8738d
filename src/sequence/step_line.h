#pragma once
// One step of a motion set as a line of text: speed and position of joints 1 to
// 5, ten decimal integers each followed by one space ("0 1500 0 1500 ... ").
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace sequence {

constexpr std::size_t kStepFields = 10;
// speed 1, position 1, speed 2, position 2, ..., speed 5, position 5
using StepValues = std::array<std::int32_t, kStepFields>;

// Written as held, nothing clamped: the joint objects have already checked them.
std::string recordStepLine(const StepValues &values);

// Reads the ten values; never fails and never looks past the line. Whitespace
// before a value is skipped, a value is an optional sign and the longest run of
// digits. The first field that cannot be read ends the reading: it and all later
// fields are 0, whatever follows. A field whose digits exceed the 32-bit range
// counts as unreadable (0, not the clamped limit): a joint should rather refuse
// 0 than be sent to the end of its travel by a damaged file.
StepValues readStepLine(std::string_view line);

// Ten values that reading takes whole, whitespace between them and nothing else
// after them: what the player asks of every step before it sends anything.
bool isStepLine(std::string_view line);

} // namespace sequence
