#pragma once
// Reading and replacing the program's own files. A failure half-way through a
// save (full disk, device gone, crash) never leaves a truncated file where a
// good one stood, and a read never blocks or fills the memory. The interface is
// plain standard C++ so that the core above stays free of the toolkit.
#include "platform/uitext.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Nothing on success; otherwise a message that names the file and the reason.
// The content goes to a temporary file of a unique name beside the target, which
// then takes the target's place in one step. A symbolic link is written through
// and stays a link, the file keeps its permissions, and a write-protected file
// is refused. On failure the old file, if any, is untouched and no temporary
// file is left behind. The directory must exist; it is never created.
std::optional<UiText> replaceFile(const std::string &path, std::string_view content);

// The whole content of a regular file of at most limit bytes, or a message that
// names the file and the reason. Anything else (a FIFO, a device, a directory) is
// refused before a byte is read, and so is a file larger than limit.
struct FileContent {
    std::string bytes;
    std::optional<UiText> error;
};
FileContent readFile(const std::string &path, std::size_t limit);

} // namespace platform
