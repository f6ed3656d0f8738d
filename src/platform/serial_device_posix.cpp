// Serial port over termios (Linux, macOS).
#include "platform/serial_device.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace platform {
namespace {

bool speedFor(std::uint32_t baudRate, speed_t &speed)
{
    struct Entry { std::uint32_t rate; speed_t speed; };
    static const Entry table[] = {
        {50, B50}, {75, B75}, {110, B110}, {134, B134}, {150, B150}, {200, B200},
        {300, B300}, {600, B600}, {1200, B1200}, {1800, B1800}, {2400, B2400},
        {4800, B4800}, {9600, B9600}, {19200, B19200}, {38400, B38400},
        {57600, B57600}, {115200, B115200}, {230400, B230400},
    };
    for (const Entry &entry : table) {
        if (entry.rate == baudRate) {
            speed = entry.speed;
            return true;
        }
    }
    return false;
}

bool sizeFlagFor(std::uint8_t byteSize, tcflag_t &flag)
{
    switch (byteSize) {
    case 5: flag = CS5; return true;
    case 6: flag = CS6; return true;
    case 7: flag = CS7; return true;
    case 8: flag = CS8; return true;
    default: return false; // termios has no 4-bit characters
    }
}

bool parityFlagsFor(Parity parity, tcflag_t &flags)
{
    switch (parity) {
    case Parity::None: flags = 0; return true;
    case Parity::Odd: flags = PARENB | PARODD; return true;
    case Parity::Even: flags = PARENB; return true;
#ifdef CMSPAR
    case Parity::Mark: flags = PARENB | CMSPAR | PARODD; return true;
    case Parity::Space: flags = PARENB | CMSPAR; return true;
#endif
    default: return false;
    }
}

bool stopFlagFor(const LineSettings &settings, tcflag_t &flag)
{
    switch (settings.stopBits) {
    case StopBits::One: flag = 0; return true;
    case StopBits::OneAndAHalf: // CSTOPB means 1.5 stop bits only with 5-bit characters
        flag = CSTOPB;
        return settings.byteSize == 5;
    case StopBits::Two: flag = CSTOPB; return true;
    default: return false;
    }
}

// Errors after which the descriptor is useless: the device went away.
bool deviceGone(int error)
{
    return error == EIO || error == ENXIO || error == ENODEV;
}

IoResult failure()
{
    return deviceGone(errno) ? IoResult::HardError : IoResult::Retry;
}

#ifdef CMSPAR
constexpr tcflag_t kParityMask = PARENB | PARODD | CMSPAR;
#else
constexpr tcflag_t kParityMask = PARENB | PARODD;
#endif

// A terminal device, checked before anything is read, written or flushed: a
// file, pipe or socket typed as the device name must stay as it is.
bool isSerialDevice(int descriptor)
{
    struct stat status {};
    return ::fstat(descriptor, &status) == 0 && S_ISCHR(status.st_mode) && ::isatty(descriptor);
}

void setNonBlockingAndCloseOnExec(int descriptor)
{
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) | O_NONBLOCK);
    ::fcntl(descriptor, F_SETFD, FD_CLOEXEC);
}

class PosixSerialDevice final : public SerialDevice {
public:
    PosixSerialDevice()
    {
        if (::pipe(wakePipe) == 0) {
            setNonBlockingAndCloseOnExec(wakePipe[0]);
            setNonBlockingAndCloseOnExec(wakePipe[1]);
        }
    }

    ~PosixSerialDevice() override
    {
        if (fd >= 0)
            ::close(fd);
        for (const int end : wakePipe) {
            if (end >= 0)
                ::close(end);
        }
    }

    bool open(const std::string &name) override
    {
        // Non-blocking: a blocking write can hang for ever when nobody reads or
        // an XOFF arrived, and opening a FIFO would wait for a writer.
        const int opened = ::open(name.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (opened < 0) {
            const int cause = errno;
            error = std::strerror(cause);
            // Serial devices belong to a group (dialout on Debian); an account outside it gets EACCES.
            // A port in exclusive mode (TIOCEXCL) refuses everyone else with EBUSY.
            openRefusal = cause == EACCES || cause == EPERM ? OpenFailure::NoPermission
                          : cause == EBUSY                  ? OpenFailure::InUse
                                                            : OpenFailure::Other;
            return false;
        }
        openRefusal = OpenFailure::Other;
        if (!isSerialDevice(opened)) {
            error = "kein serielles Gerät";
            openRefusal = OpenFailure::NotSerial;
            ::close(opened);
            return false;
        }
        // One user at a time, as a COM port opened without sharing: a second
        // open of the same device, from this process or another, is refused.
        if (::flock(opened, LOCK_EX | LOCK_NB) != 0) {
            error = std::strerror(EBUSY);
            openRefusal = OpenFailure::InUse;
            ::close(opened);
            return false;
        }
        // A port opens empty, as a COM port does: bytes left on the line from
        // before (a previous session's replies) must not pass for new ones.
        ::tcflush(opened, TCIOFLUSH);
        fd = opened;
        haveSaved = false;
        error.clear();
        return true;
    }

    std::string openError() const override { return error; }
    OpenFailure openFailure() const override { return openRefusal; }

    bool saveCurrent() override
    {
        haveSaved = ::tcgetattr(fd, &saved) == 0;
        return haveSaved;
    }

    bool configure(const LineSettings &settings) override
    {
        termios port {};
        if (::tcgetattr(fd, &port) != 0)
            return false;
        const speed_t foundSpeed = ::cfgetospeed(&port);
        const tcflag_t foundLine = port.c_cflag & (CSIZE | kParityMask | CSTOPB);

        ::cfmakeraw(&port);
        port.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
        port.c_cflag &= ~(CRTSCTS | HUPCL);
        port.c_cflag |= CLOCAL | CREAD;
        // Reads return what is waiting; 0 then only means hang-up.
        port.c_cc[VMIN] = 1;
        port.c_cc[VTIME] = 0;

        speed_t speed;
        tcflag_t size, parity, stop;
        const bool accepted = speedFor(settings.baudRate, speed)
            && sizeFlagFor(settings.byteSize, size)
            && parityFlagsFor(settings.parity, parity)
            && stopFlagFor(settings, stop);
        port.c_cflag &= ~(CSIZE | kParityMask | CSTOPB);
        if (accepted) {
            port.c_cflag |= size | parity | stop;
        } else {
            // A refused value leaves the line as found; the port still runs raw.
            speed = foundSpeed;
            port.c_cflag |= foundLine;
        }
        ::cfsetispeed(&port, speed);
        ::cfsetospeed(&port, speed);
        const bool applied = ::tcsetattr(fd, TCSANOW, &port) == 0;
        dropModemLines();
        return accepted && applied;
    }

    bool setQueueSizes(std::uint32_t, std::uint32_t) override
    {
        return true; // the kernel sizes its own tty buffers
    }

    bool restoreSaved() override
    {
        // Fails harmlessly on a device that is gone.
        return haveSaved && ::tcsetattr(fd, TCSANOW, &saved) == 0;
    }

    bool close() override
    {
        // Linux releases the descriptor even when close reports an error, so
        // the port is closed either way and must not be closed again. The lock
        // goes first: while the worker's poll() still holds the file, closing
        // alone would keep the port locked against our own reopen.
        const int closing = fd.exchange(-1);
        ::flock(closing, LOCK_UN);
        ::close(closing);
        return true;
    }

    IoResult bytesWaiting(std::size_t &count) override
    {
        count = 0;
        int waiting = 0;
        if (::ioctl(fd, FIONREAD, &waiting) != 0)
            return failure();
        count = waiting > 0 ? static_cast<std::size_t>(waiting) : 0;
        return IoResult::Ok;
    }

    IoResult read(char *buffer, std::size_t size, std::size_t &got) override
    {
        got = 0;
        const ssize_t result = ::read(fd, buffer, size);
        if (result == 0)
            return IoResult::HardError; // end of file: hung up
        if (result < 0)
            return failure();
        got = static_cast<std::size_t>(result);
        return IoResult::Ok;
    }

    IoResult queuedOutput(std::size_t &count) override
    {
        count = 0;
        int queued = 0;
        if (::ioctl(fd, TIOCOUTQ, &queued) != 0)
            return failure();
        count = queued > 0 ? static_cast<std::size_t>(queued) : 0;
        return IoResult::Ok;
    }

    IoResult write(const char *data, std::size_t size, std::size_t &written) override
    {
        written = 0;
        const ssize_t result = ::write(fd, data, size);
        if (result < 0)
            return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? IoResult::Retry : failure();
        written = static_cast<std::size_t>(result);
        return IoResult::Ok;
    }

    PortEvent waitForEvent(bool watchPort, int timeoutMs) override
    {
        // The main thread may close the port meanwhile: it wakes us then, and a
        // descriptor closed under poll() only ends that one wait.
        const int port = watchPort ? fd.load() : -1;
        pollfd watched[2] = {{wakePipe[0], POLLIN, 0}, {port, POLLIN, 0}};
        const nfds_t count = port >= 0 ? 2 : 1;
        if (::poll(watched, count, timeoutMs) <= 0)
            return PortEvent::None;
        if (watched[0].revents & POLLIN) {
            char drained[64];
            while (::read(wakePipe[0], drained, sizeof drained) > 0) {
            }
        }
        // POLLNVAL only says the port was closed under the wait: not an event of it.
        if (watched[1].revents & (POLLHUP | POLLERR))
            return PortEvent::HungUp;
        return watched[1].revents & POLLIN ? PortEvent::Readable : PortEvent::None;
    }

    void wake() override
    {
        const char signal = 1;
        // A full pipe already holds a wake-up; nothing is lost then.
        [[maybe_unused]] const ssize_t ignored = ::write(wakePipe[1], &signal, 1);
    }

private:
    void dropModemLines()
    {
        // A pty has no modem lines (ENOTTY); nothing to drop then.
        int lines = TIOCM_DTR | TIOCM_RTS;
        ::ioctl(fd, TIOCMBIC, &lines);
    }

    // Read by the worker's wait while the main thread may close the port.
    std::atomic<int> fd {-1};
    int wakePipe[2] = {-1, -1};
    termios saved {};
    bool haveSaved = false;
    std::string error;
    OpenFailure openRefusal = OpenFailure::Other;
};

} // namespace

std::unique_ptr<SerialDevice> makeSerialDevice()
{
    return std::make_unique<PosixSerialDevice>();
}

} // namespace platform
