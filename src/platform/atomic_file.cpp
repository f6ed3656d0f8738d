#include "platform/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

std::string reasonFor(int error)
{
    return error != 0 ? std::strerror(error) : "Unbekannter Fehler";
}

std::string cannotWrite(const std::string &path, const std::string &reason)
{
    return "Die Datei \"" + path + "\" konnte nicht geschrieben werden:\n" + reason;
}

std::string cannotRead(const std::string &path, const std::string &reason)
{
    return "Die Datei \"" + path + "\" konnte nicht gelesen werden:\n" + reason;
}

// Asks the system to put the file's data on the disk before we rely on it.
int syncToDisk(std::FILE *file)
{
#ifdef _WIN32
    return _commit(_fileno(file)) == 0 ? 0 : errno;
#else
    return fsync(fileno(file)) == 0 ? 0 : errno;
#endif
}

// Makes a rename in directory survive a power cut; where the system cannot, the
// rename still stands as far as it got.
void syncDirectory([[maybe_unused]] const std::filesystem::path &directory)
{
#ifndef _WIN32
    const int descriptor = open(directory.empty() ? "." : directory.c_str(), O_RDONLY);
    if (descriptor >= 0) {
        fsync(descriptor);
        close(descriptor);
    }
#endif
}

// Writes everything, syncs and closes; the first error number seen, or 0.
// Without the sync a crash right after the rename could leave an empty file
// under the target's name.
int writeAndClose(std::FILE *file, std::string_view content)
{
    int error = 0;
    if (!content.empty() && std::fwrite(content.data(), 1, content.size(), file) != content.size())
        error = errno != 0 ? errno : EIO;
    // A full disk often shows only when the buffered data is flushed or closed.
    if (std::fflush(file) != 0 && error == 0)
        error = errno;
    if (const int syncError = syncToDisk(file); syncError != 0 && error == 0)
        error = syncError;
    if (std::fclose(file) != 0 && error == 0)
        error = errno;
    return error;
}

} // namespace

std::string temporaryPathFor(const std::string &path) { return path + ".tmp"; }

std::optional<std::string> replaceFile(const std::string &path, std::string_view content)
{
    const std::string temporary = temporaryPathFor(path);
    errno = 0;
    std::FILE *file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return cannotWrite(path, reasonFor(errno));
    errno = 0;
    if (const int error = writeAndClose(file, content); error != 0) {
        std::remove(temporary.c_str());
        return cannotWrite(path, reasonFor(error));
    }
    // std::filesystem::rename replaces an existing target on every platform
    // (POSIX rename(2), MoveFileEx with MOVEFILE_REPLACE_EXISTING on Windows),
    // where std::rename refuses an existing target on Windows.
    std::error_code renameError;
    std::filesystem::rename(temporary, path, renameError);
    if (renameError) {
        std::remove(temporary.c_str());
        return cannotWrite(path, renameError.message());
    }
    syncDirectory(std::filesystem::path(path).parent_path());
    return std::nullopt;
}

FileContent readFile(const std::string &path, std::size_t limit)
{
    FileContent result;
    errno = 0;
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file) {
        result.error = cannotRead(path, reasonFor(errno));
        return result;
    }
    char chunk[1 << 16];
    std::size_t got = 0;
    errno = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        if (got > limit - result.bytes.size()) {
            std::fclose(file);
            result.bytes.clear();
            result.error = cannotRead(path, "Die Datei ist zu groß.");
            return result;
        }
        result.bytes.append(chunk, got);
    }
    // A directory opens for reading on POSIX; the read itself fails.
    if (std::ferror(file)) {
        result.error = cannotRead(path, reasonFor(errno));
        result.bytes.clear();
    }
    std::fclose(file);
    return result;
}

} // namespace platform
