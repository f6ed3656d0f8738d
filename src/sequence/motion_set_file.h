#pragma once
// A motion-set file (*.rfs): one step line per line, CR LF after each, nothing
// else. Loading takes the lines as they stand; a line is only interpreted when
// its step is applied.
#include "platform/uitext.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sequence {

// Lines end at CR LF, a lone CR or a lone LF; a last line without an end still
// counts, an empty line is an empty step and an empty text has no steps.
std::vector<std::string> splitMotionSetLines(std::string_view content);

// Far more steps than anyone records by hand; a larger file is refused before it
// is read, so that a wrong choice in the dialog cannot freeze the window.
constexpr std::size_t kLargestMotionSet = 16 * 1024 * 1024;

// Nothing on success and the steps replaced by the file's lines; otherwise a
// message naming the file and the reason, and the steps untouched. Only a
// regular file of at most kLargestMotionSet bytes is read.
std::optional<platform::UiText> loadMotionSet(const std::string &path, std::vector<std::string> &steps);

// Replaces the file with the steps (an empty list gives an empty file). Nothing
// on success; otherwise a message naming the file and the reason, and any old
// file of that name untouched.
std::optional<platform::UiText> storeMotionSet(const std::string &path, const std::vector<std::string> &steps);

} // namespace sequence
