#include "support/line_peer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <algorithm>
#include <utility>

namespace bench {

LinePeer::LinePeer(int descriptor, Listener listener)
    : listener(std::move(listener)), line(descriptor)
{
    [[maybe_unused]] const int piped = ::pipe(stopPipe);
    reader = std::thread(&LinePeer::run, this);
}

LinePeer::LinePeer(Listener listener)
    : listener(std::move(listener))
{
    [[maybe_unused]] const int piped = ::pipe(stopPipe);
    listening = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(listening, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0
        && ::listen(listening, 1) == 0
        && ::getsockname(listening, reinterpret_cast<sockaddr *>(&address), &length) == 0)
        listeningPort = ntohs(address.sin_port);
    reader = std::thread(&LinePeer::run, this);
}

LinePeer::~LinePeer()
{
    const char stop = 1;
    [[maybe_unused]] const ssize_t written = ::write(stopPipe[1], &stop, 1);
    reader.join();
    for (const int descriptor : {stopPipe[0], stopPipe[1], listening})
        if (descriptor >= 0)
            ::close(descriptor);
    if (listening >= 0 && line >= 0)
        ::close(line); // the accepted client is ours
}

void LinePeer::run()
{
    if (listening >= 0) {
        if (!waitReadable(listening))
            return;
        line = ::accept4(listening, nullptr, nullptr, SOCK_CLOEXEC);
        if (line < 0)
            return;
    }
    sendable = line;
    readTexts(line);
}

bool LinePeer::send(const std::string &text)
{
    const int descriptor = sendable;
    for (std::size_t sent = 0; descriptor >= 0 && sent < text.size();) {
        const ssize_t written = ::write(descriptor, text.data() + sent, text.size() - sent);
        if (written < 0 && errno != EINTR)
            return false;
        sent += std::size_t(std::max<ssize_t>(written, 0));
    }
    return descriptor >= 0;
}

// False when told to stop.
bool LinePeer::waitReadable(int descriptor)
{
    pollfd watched[2] = {{stopPipe[0], POLLIN, 0}, {descriptor, POLLIN, 0}};
    while (::poll(watched, 2, -1) < 0) {
    }
    return !(watched[0].revents & POLLIN);
}

void LinePeer::readTexts(int descriptor)
{
    std::string text;
    char chunk[4096];
    while (waitReadable(descriptor)) {
        const ssize_t got = ::read(descriptor, chunk, sizeof chunk);
        const Clock::time_point at = Clock::now();
        if (got < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        if (got <= 0)
            return; // the client left, or the line hung up

        for (ssize_t i = 0; i < got; ++i) {
            if (chunk[i] == '\r') {
                const std::string answer = listener({at, text});
                if (!answer.empty()) {
                    [[maybe_unused]] const ssize_t sent = ::write(descriptor, answer.data(), answer.size());
                }
                text.clear();
            } else {
                text += chunk[i];
            }
        }
    }
}

void ArrivalLog::add(const LinePeer::Arrival &arrival)
{
    std::lock_guard<std::mutex> lock(mutex);
    arrivals.push_back(arrival);
    added.notify_all();
}

bool ArrivalLog::waitForAny(std::chrono::milliseconds limit)
{
    std::unique_lock<std::mutex> lock(mutex);
    return added.wait_for(lock, limit, [this] { return !arrivals.empty(); });
}

std::vector<LinePeer::Arrival> ArrivalLog::take()
{
    std::lock_guard<std::mutex> lock(mutex);
    return std::exchange(arrivals, {});
}

std::vector<double> intervalsMs(const std::vector<LinePeer::Arrival> &arrivals)
{
    std::vector<double> intervals;
    for (std::size_t i = 1; i < arrivals.size(); ++i)
        intervals.push_back(std::chrono::duration<double, std::milli>(arrivals[i].at - arrivals[i - 1].at).count());
    return intervals;
}

} // namespace bench
