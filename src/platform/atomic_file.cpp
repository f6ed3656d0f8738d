#include "platform/atomic_file.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace platform {

namespace {

constexpr const char *kNotRegular = "keine gewöhnliche Datei";
constexpr const char *kTooLarge = "Die Datei ist zu groß.";

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

// The few calls a read needs, in each system's spelling.
#ifdef _WIN32
using FileStatus = struct _stat64;
int openForReading(const std::string &path) { return _open(path.c_str(), _O_RDONLY | _O_BINARY); }
int statusOf(int descriptor, FileStatus &status) { return _fstat64(descriptor, &status); }
bool isRegularFile(const FileStatus &status) { return (status.st_mode & _S_IFMT) == _S_IFREG; }
long long readSome(int descriptor, char *buffer, unsigned size) { return _read(descriptor, buffer, size); }
void closeFile(int descriptor) { _close(descriptor); }
#else
using FileStatus = struct stat;
// Non-blocking, so that a FIFO does not hold the caller until some writer comes;
// the type check refuses it before any read.
int openForReading(const std::string &path) { return open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC); }
int statusOf(int descriptor, FileStatus &status) { return fstat(descriptor, &status); }
bool isRegularFile(const FileStatus &status) { return S_ISREG(status.st_mode); }
long long readSome(int descriptor, char *buffer, unsigned size) { return read(descriptor, buffer, size); }
void closeFile(int descriptor) { close(descriptor); }
#endif

// Reads an open file into bytes; the reason when it is not a regular file of at
// most limit bytes or a read fails. The size is checked before anything is
// allocated or read.
std::optional<std::string> readWhole(int descriptor, std::size_t limit, std::string &bytes)
{
    FileStatus status{};
    if (statusOf(descriptor, status) != 0)
        return reasonFor(errno);
    if (!isRegularFile(status))
        return std::string(kNotRegular);
    if (static_cast<std::uintmax_t>(status.st_size) > limit)
        return std::string(kTooLarge);
    bytes.reserve(static_cast<std::size_t>(status.st_size));
    char chunk[1 << 16];
    for (;;) {
        const long long got = readSome(descriptor, chunk, sizeof chunk);
        if (got == 0)
            return std::nullopt;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return reasonFor(errno);
        }
        // The file may have grown since it was measured.
        if (static_cast<std::size_t>(got) > limit - bytes.size())
            return std::string(kTooLarge);
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
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
    const int descriptor = openForReading(path);
    if (descriptor < 0) {
        result.error = cannotRead(path, reasonFor(errno));
        return result;
    }
    if (const std::optional<std::string> reason = readWhole(descriptor, limit, result.bytes)) {
        result.error = cannotRead(path, *reason);
        result.bytes.clear();
    }
    closeFile(descriptor);
    return result;
}

} // namespace platform
