#pragma once
// The robot's end of a link, played by a thread of its own so that its clock
// does not wait for the console's event loop: it reads a pty master, or the one
// client of a loopback TCP listener, and time-stamps every text ended by a
// carriage return the moment the read returns it. It can answer each text, as
// the chassis board answers its telemetry requests, or send on its own.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <pthread.h>
#include <string>
#include <thread>
#include <vector>

namespace bench {

class LinePeer {
public:
    using Clock = std::chrono::steady_clock;
    struct Arrival {
        Clock::time_point at;
        std::string text; // without the carriage return
    };
    // Runs on the peer's thread; what it returns goes back on the line.
    using Listener = std::function<std::string(const Arrival &)>;

    // Reads the far end of a line it does not own (a pty master).
    LinePeer(int descriptor, Listener listener);
    // Listens on 127.0.0.1 (a free port) and reads the first client that comes.
    explicit LinePeer(Listener listener);
    ~LinePeer();
    LinePeer(const LinePeer &) = delete;
    LinePeer &operator=(const LinePeer &) = delete;

    int port() const { return listeningPort; }
    // Writes all of text from any thread, blocking while the line is full; false
    // before the client came or once the line is gone. Not together with answers.
    bool send(const std::string &text);
    pthread_t thread() { return reader.native_handle(); }

private:
    void run();
    bool waitReadable(int descriptor);
    void readTexts(int descriptor);

    Listener listener;
    int line = -1;
    std::atomic<int> sendable{-1};
    int listening = -1;
    int listeningPort = 0;
    int stopPipe[2] = {-1, -1};
    std::thread reader;
};

// Arrivals collected on the peer's thread for the main thread to take.
class ArrivalLog {
public:
    void add(const LinePeer::Arrival &arrival);
    // All arrivals since the last take, oldest first.
    std::vector<LinePeer::Arrival> take();
    // Waits until there is at least one arrival to take; false if none came in time.
    bool waitForAny(std::chrono::milliseconds limit);

private:
    std::mutex mutex;
    std::condition_variable added;
    std::vector<LinePeer::Arrival> arrivals;
};

// Milliseconds between consecutive arrivals.
std::vector<double> intervalsMs(const std::vector<LinePeer::Arrival> &arrivals);

} // namespace bench
