#pragma once
// Replacing a file so that a failure half-way (full disk, device gone, crash)
// never leaves a truncated file where a good one stood: the content goes to a
// temporary file beside the target, which then takes the target's name in one
// step. Plain standard C++, no toolkit.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Nothing on success; otherwise a message that names the file and the reason.
// The old file, if any, is then untouched and no temporary file is left behind.
// The directory must exist; it is never created.
std::optional<std::string> replaceFile(const std::string &path, std::string_view content);

// Where replaceFile writes before the rename: in the target's own directory, as
// a rename across file systems would not be atomic.
std::string temporaryPathFor(const std::string &path);

// The whole content of a regular file of at most limit bytes, or a message that
// names the file and the reason. Anything else (a FIFO, a device, a directory) is
// refused before a byte is read, and so is a file larger than limit.
struct FileContent {
    std::string bytes;
    std::optional<std::string> error;
};
FileContent readFile(const std::string &path, std::size_t limit);

} // namespace platform
