#include "platform/port_users.h"

#include <cerrno>
#include <cstdio>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#ifdef __linux__
#include <sys/sysmacros.h> // major(), minor()
#endif
#include <unistd.h>

namespace platform {
namespace {

// Unix98 pseudo-terminal slaves (/dev/pts/N) have majors 136 to 143.
constexpr unsigned kFirstPtySlaveMajor = 136;
constexpr unsigned kLastPtySlaveMajor = 143;

bool isAllDigits(const char *text)
{
    if (*text == '\0')
        return false;
    for (; *text; ++text) {
        if (*text < '0' || *text > '9')
            return false;
    }
    return true;
}

// The index of a pty slave (the N of /dev/pts/N), or -1 for other devices.
long ptyIndex(dev_t device)
{
    const unsigned major = ::major(device);
    if (major < kFirstPtySlaveMajor || major > kLastPtySlaveMajor)
        return -1;
    return long(major - kFirstPtySlaveMajor) * 256 + long(::minor(device));
}

// The pty a master descriptor (an open /dev/ptmx) belongs to, as its fdinfo tells.
long masterIndex(const std::string &process, const char *descriptor)
{
    std::ifstream info(process + "/fdinfo/" + descriptor);
    std::string line;
    while (std::getline(info, line)) {
        if (line.rfind("tty-index:", 0) == 0)
            return std::strtol(line.c_str() + 10, nullptr, 10);
    }
    return -1;
}

struct Descriptors {
    bool holdsDevice = false;
    bool holdsMaster = false; // of the same pseudo-terminal
};

Descriptors descriptorsOf(const std::string &process, dev_t device, long pty)
{
    Descriptors found;
    const std::string directory = process + "/fd";
    DIR *fds = ::opendir(directory.c_str());
    if (!fds)
        return found; // another user's process, or gone
    while (const dirent *entry = ::readdir(fds)) {
        if (!isAllDigits(entry->d_name))
            continue;
        struct stat target {};
        if (::stat((directory + '/' + entry->d_name).c_str(), &target) != 0 || !S_ISCHR(target.st_mode))
            continue;
        if (target.st_rdev == device)
            found.holdsDevice = true;
        else if (pty >= 0 && ::major(target.st_rdev) == 5 && ::minor(target.st_rdev) == 2) // /dev/ptmx
            found.holdsMaster = found.holdsMaster || masterIndex(process, entry->d_name) == pty;
    }
    ::closedir(fds);
    return found;
}

bool openInAnotherProcess(dev_t device)
{
    const long pty = ptyIndex(device);
    DIR *processes = ::opendir("/proc");
    if (!processes)
        return false;
    bool held = false;
    while (!held) {
        const dirent *entry = ::readdir(processes);
        if (!entry)
            break;
        if (!isAllDigits(entry->d_name))
            continue;
        const Descriptors found = descriptorsOf(std::string("/proc/") + entry->d_name, device, pty);
        held = found.holdsDevice && !found.holdsMaster;
    }
    ::closedir(processes);
    return held;
}

// A line of /proc/locks: "1: FLOCK  ADVISORY  WRITE 1234 00:05:123 0 EOF",
// the file as major:minor (hex) of its file system and its inode.
bool lockedInKernel(const struct stat &node)
{
    std::ifstream locks("/proc/locks");
    std::string line;
    while (std::getline(locks, line)) {
        std::istringstream fields(line);
        std::string number, kind, mode, access, pid, file;
        fields >> number >> kind;
        if (kind == "->") // a waiter on the lock above: its own fields follow
            fields >> kind;
        fields >> mode >> access >> pid >> file;
        unsigned major = 0, minor = 0;
        unsigned long inode = 0;
        if (std::sscanf(file.c_str(), "%x:%x:%lu", &major, &minor, &inode) == 3 && inode == node.st_ino
            && major == ::major(node.st_dev) && minor == ::minor(node.st_dev))
            return true;
    }
    return false;
}

// LCK..ttyUSB0 holding the pid of a process that still runs.
bool uucpLocked(const std::string &realPath)
{
    const std::string name = realPath.substr(realPath.find_last_of('/') + 1);
    for (const char *directory : {"/run/lock/", "/var/lock/"}) {
        std::ifstream lock(directory + std::string("LCK..") + name);
        long pid = 0;
        if (lock >> pid && pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM))
            return true;
    }
    return false;
}

} // namespace

bool portHeldElsewhere(const std::string &device)
{
    struct stat node {};
    if (::stat(device.c_str(), &node) != 0 || !S_ISCHR(node.st_mode))
        return false;
    char *resolved = ::realpath(device.c_str(), nullptr);
    const std::string realPath = resolved ? resolved : device;
    std::free(resolved);
    return lockedInKernel(node) || uucpLocked(realPath) || openInAnotherProcess(node.st_rdev);
}

} // namespace platform
