#include "platform/atomic_file.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace platform {

namespace {

const UiText kNotRegular = UI_TEXT("platform::AtomicFile", "keine gewöhnliche Datei");
const UiText kTooLarge = UI_TEXT("platform::AtomicFile", "Die Datei ist zu groß.");

UiText reasonFor(int error)
{
    return error != 0 ? UiText::verbatim(std::strerror(error))
                      : UI_TEXT("platform::AtomicFile", "Unbekannter Fehler");
}

UiText cannotWrite(const std::string &path, const UiText &reason)
{
    return UI_TEXT("platform::AtomicFile", "Die Datei \"%1\" konnte nicht geschrieben werden:\n%2")
        .arg(path)
        .arg(reason);
}

UiText cannotRead(const std::string &path, const UiText &reason)
{
    return UI_TEXT("platform::AtomicFile", "Die Datei \"%1\" konnte nicht gelesen werden:\n%2")
        .arg(path)
        .arg(reason);
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
std::optional<UiText> readWhole(int descriptor, std::size_t limit, std::string &bytes)
{
    FileStatus status{};
    if (statusOf(descriptor, status) != 0)
        return reasonFor(errno);
    if (!isRegularFile(status))
        return kNotRegular;
    if (static_cast<std::uintmax_t>(status.st_size) > limit)
        return kTooLarge;
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
            return kTooLarge;
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
}

UiText reasonOf(const QSaveFile &file) { return UiText::verbatim(file.errorString().toStdString()); }

} // namespace

// Every early return drops the temporary file: a QSaveFile that was not
// committed removes it and leaves the target alone.
std::optional<UiText> replaceFile(const std::string &path, std::string_view content)
{
    QSaveFile file(QFile::decodeName(QByteArray(path.data(), qsizetype(path.size()))));
    // Unbuffered, so that every write reports its own failure: commit() does not
    // notice a buffer that failed to flush and would put a cut-off file in place.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return cannotWrite(path, reasonOf(file));
    // A short write (the disk filling up) tells its reason only on the next try.
    for (std::string_view rest = content; !rest.empty();) {
        const qint64 written = file.write(rest.data(), qint64(rest.size()));
        if (written <= 0)
            return cannotWrite(path, reasonOf(file));
        rest.remove_prefix(std::size_t(written));
    }
#ifndef _WIN32
    // commit() syncs too but ignores a failure, and a full disk may show only here.
    if (fsync(file.handle()) != 0)
        return cannotWrite(path, reasonFor(errno));
#endif
    if (!file.commit())
        return cannotWrite(path, reasonOf(file));
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
    if (const std::optional<UiText> reason = readWhole(descriptor, limit, result.bytes)) {
        result.error = cannotRead(path, *reason);
        result.bytes.clear();
    }
    closeFile(descriptor);
    return result;
}

} // namespace platform
