// Serial ports are the terminals that the kernel shows with a device behind
// them in /sys/class/tty (USB adapters, on-board UARTs); consoles and
// pseudo-terminals have none. The legacy 8250 driver registers ttyS0..ttyS31
// whether a UART is fitted or not, so those count only when one answers.
#include "platform/port_list.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <string>
#ifdef __linux__
#include <linux/serial.h>
#endif

namespace platform {
namespace {

std::vector<std::string> entriesOf(const char *directory)
{
    std::vector<std::string> names;
    if (DIR *dir = ::opendir(directory)) {
        while (const dirent *entry = ::readdir(dir)) {
            if (entry->d_name[0] != '.')
                names.emplace_back(entry->d_name);
        }
        ::closedir(dir);
    }
    return names;
}

std::string linkTarget(const std::string &path)
{
    char target[PATH_MAX];
    const ssize_t length = ::readlink(path.c_str(), target, sizeof target - 1);
    return length > 0 ? std::string(target, std::size_t(length)) : std::string();
}

std::string lastComponent(const std::string &path) { return path.substr(path.find_last_of('/') + 1); }

// Opening never waits for a modem line (O_NONBLOCK) and never makes the port
// our controlling terminal.
bool uartFitted(const std::string &device)
{
#ifdef __linux__
    const int fd = ::open(device.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    serial_struct info {};
    const bool fitted = ::ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type != PORT_UNKNOWN;
    ::close(fd);
    return fitted;
#else
    (void)device;
    return true;
#endif
}

std::vector<std::string> serialPorts()
{
    std::vector<std::string> names;
    for (const std::string &tty : entriesOf("/sys/class/tty")) {
        const std::string device = "/sys/class/tty/" + tty + "/device";
        struct stat status {};
        if (::stat(device.c_str(), &status) != 0)
            continue;
        const std::string path = "/dev/" + tty; // what open takes
        if (lastComponent(linkTarget(device + "/driver")) == "serial8250" && !uartFitted(path))
            continue;
        names.push_back(path);
    }
    return names;
}

std::vector<std::string> parallelPorts()
{
    std::vector<std::string> names;
    for (const std::string &entry : entriesOf("/dev")) {
        if (entry.rfind("parport", 0) == 0)
            names.push_back("/dev/" + entry);
    }
    return names;
}

} // namespace

bool portPresent(const std::string &name)
{
    struct stat status {};
    return ::stat(name.c_str(), &status) == 0 && S_ISCHR(status.st_mode);
}

std::vector<std::string> listPorts(bool serial, bool parallel)
{
    std::vector<std::string> names;
    if (serial)
        names = serialPorts();
    if (parallel) {
        const std::vector<std::string> more = parallelPorts();
        names.insert(names.end(), more.begin(), more.end());
    }
    return names;
}

} // namespace platform
