#include "support/pty_pair.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

PtyPair::PtyPair()
{
    char name[128] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        master = slave = -1;
        return;
    }
    slaveName = name;
    // Programs the test starts must not hold the line: a master kept open in
    // a child would keep the far end from ever going away.
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave, F_SETFD, FD_CLOEXEC);
}

PtyPair::~PtyPair()
{
    closeMaster();
    if (slave >= 0)
        ::close(slave);
}

bool PtyPair::send(const std::string &bytes)
{
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t result = ::write(master, bytes.data() + sent, bytes.size() - sent);
        if (result < 0 && errno != EINTR)
            return false;
        if (result > 0)
            sent += static_cast<std::size_t>(result);
    }
    return true;
}

std::size_t PtyPair::sendWhatFits(std::string_view bytes)
{
    const int flags = ::fcntl(master, F_GETFL);
    ::fcntl(master, F_SETFL, flags | O_NONBLOCK);
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t result = ::write(master, bytes.data() + sent, bytes.size() - sent);
        if (result <= 0)
            break;
        sent += static_cast<std::size_t>(result);
    }
    ::fcntl(master, F_SETFL, flags);
    return sent;
}

std::string PtyPair::receive(std::size_t size)
{
    constexpr int kGiveUpMs = 10000;
    std::string bytes;
    while (bytes.size() < size) {
        pollfd readable {master, POLLIN, 0};
        if (::poll(&readable, 1, kGiveUpMs) <= 0)
            break;
        char chunk[256];
        const ssize_t result = ::read(master, chunk, std::min(sizeof chunk, size - bytes.size()));
        if (result <= 0)
            break;
        bytes.append(chunk, static_cast<std::size_t>(result));
    }
    return bytes;
}

std::string PtyPair::receiveWhatCame(int waitMs)
{
    std::string bytes;
    pollfd readable {master, POLLIN, 0};
    if (::poll(&readable, 1, waitMs) <= 0)
        return bytes;
    char chunk[4096];
    const ssize_t result = ::read(master, chunk, sizeof chunk);
    if (result > 0)
        bytes.assign(chunk, static_cast<std::size_t>(result));
    return bytes;
}

std::size_t PtyPair::fillLine()
{
    const int flags = ::fcntl(slave, F_GETFL);
    ::fcntl(slave, F_SETFL, flags | O_NONBLOCK);
    const std::string filler(1024, 'F');
    std::size_t filled = 0;
    bool waitedForRoom = false;
    for (;;) {
        const ssize_t result = ::write(slave, filler.data(), filler.size());
        if (result > 0) {
            filled += static_cast<std::size_t>(result);
            waitedForRoom = false;
            continue;
        }
        // A pty refuses for a moment while it moves bytes to the far end's
        // buffer: full is when it still refuses after a while (a guard, not a
        // timing).
        if (result < 0 && errno == EAGAIN && !waitedForRoom) {
            pollfd writable {slave, POLLOUT, 0};
            ::poll(&writable, 1, 200);
            waitedForRoom = true;
            continue;
        }
        break;
    }
    ::fcntl(slave, F_SETFL, flags);
    return filled;
}

void PtyPair::closeMaster()
{
    if (master >= 0)
        ::close(master);
    master = -1;
}

termios PtyPair::slaveSettings() const
{
    termios settings {};
    ::tcgetattr(slave, &settings);
    return settings;
}

void PtyPair::setSlaveSettings(const termios &settings)
{
    ::tcsetattr(slave, TCSANOW, &settings);
}
