// Receive latency and CPU cost of the serial worker: a byte written at a pty's
// far end at a random moment until TCommThread's OnReceive runs on the main
// thread. Two readers of the same pty in the same run are the references: a
// bare poll() loop on the main thread (what the kernel allows at best) and a
// minimal QSerialPort reader (readyRead), the ecosystem's standard. The readers
// take turns in blocks, so that load from elsewhere falls on all three alike.
#include "comm/qt_hand_over.h"
#include "comm/tcomm_thread.h"
#include "support/figures.h"
#include "support/cpu_time.h"
#include "support/pty_pair.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSerialPort>
#include <array>
#include <condition_variable>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <mutex>
#include <poll.h>
#include <random>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// The robot's side: writes one byte at a random moment, waits until the reader
// under test has it, and notes how long that took.
class FarEnd {
public:
    explicit FarEnd(PtyPair &line) : line(line) {}

    // Writes rounds bytes on a thread of its own, then calls finished there.
    void start(int rounds, std::function<void()> finished)
    {
        writer = std::thread([this, rounds, finished = std::move(finished)] {
            const double cpuBefore = bench::threadCpuSeconds(pthread_self());
            const long switchesBefore = bench::callingThreadContextSwitches();
            std::uniform_int_distribution<int> pauseUs(1000, 4000);
            for (int round = 0; round < rounds; ++round) {
                std::this_thread::sleep_for(std::chrono::microseconds(pauseUs(random)));
                std::unique_lock<std::mutex> lock(mutex);
                delivered = false;
                sentAt = Clock::now();
                line.send("A");
                if (!arrivedOrGaveUp.wait_for(lock, std::chrono::seconds(1), [this] { return delivered; }))
                    ++lost;
            }
            writerCpuSeconds += bench::threadCpuSeconds(pthread_self()) - cpuBefore;
            writerContextSwitches += bench::callingThreadContextSwitches() - switchesBefore;
            finished();
        });
    }
    void join() { writer.join(); }

    // Called by the reader, on whichever thread it reads, for every block.
    void arrived()
    {
        const Clock::time_point now = Clock::now();
        std::lock_guard<std::mutex> lock(mutex);
        if (delivered)
            return;
        delivered = true;
        latenciesMs.push_back(std::chrono::duration<double, std::milli>(now - sentAt).count());
        arrivedOrGaveUp.notify_one();
    }

    std::vector<double> latenciesMs;
    double writerCpuSeconds = 0;
    long writerContextSwitches = 0;
    int lost = 0;

private:
    PtyPair &line;
    std::mt19937 random {12};
    std::thread writer;
    std::mutex mutex;
    std::condition_variable arrivedOrGaveUp;
    Clock::time_point sentAt;
    bool delivered = true;
};

struct Reader {
    const char *name;
    // Reads rounds bytes from the pty named device, reporting each to farEnd.
    std::function<bool(const std::string &device, FarEnd &farEnd, int rounds)> run;
    FarEnd *results = nullptr;
    double cpuSeconds = 0;
    long contextSwitches = 0;
};

// Runs the main thread's event loop until the far end has written all rounds.
void runEventLoopWhile(FarEnd &farEnd, int rounds)
{
    QEventLoop loop;
    farEnd.start(rounds, [&loop] { QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection); });
    loop.exec();
    farEnd.join();
}

bool readWithWorker(const std::string &device, FarEnd &farEnd, int rounds)
{
    comm::QtHandOver handOver;
    comm::TCommThread port(handOver);
    port.setDeviceName(device);
    port.OnReceive = [&farEnd](std::string) { farEnd.arrived(); };
    if (!port.Open())
        return false;
    runEventLoopWhile(farEnd, rounds);
    return port.Close();
}

bool readWithQSerialPort(const std::string &device, FarEnd &farEnd, int rounds)
{
    QSerialPort port(QString::fromStdString(device));
    port.setBaudRate(9600);
    if (!port.open(QIODevice::ReadWrite))
        return false;
    QObject::connect(&port, &QSerialPort::readyRead, [&] {
        port.readAll();
        farEnd.arrived();
    });
    runEventLoopWhile(farEnd, rounds);
    port.close();
    return true;
}

bool readWithPoll(const std::string &device, FarEnd &farEnd, int rounds)
{
    const int port = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (port < 0)
        return false;
    termios raw {};
    ::tcgetattr(port, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(port, TCSANOW, &raw);
    std::atomic<bool> finished {false};
    farEnd.start(rounds, [&finished] { finished = true; });
    pollfd readable {port, POLLIN, 0};
    char bytes[256];
    while (!finished) {
        if (::poll(&readable, 1, 100) > 0 && ::read(port, bytes, sizeof bytes) > 0)
            farEnd.arrived();
    }
    farEnd.join();
    ::close(port);
    return true;
}

double cpuPerBlockUs(const Reader &reader)
{
    return reader.cpuSeconds * 1e6 / std::max<std::size_t>(1, reader.results->latenciesMs.size());
}

// What the CPU per block mostly pays for: threads put to sleep and woken again.
double switchesPerBlock(const Reader &reader)
{
    return double(reader.contextSwitches) / std::max<std::size_t>(1, reader.results->latenciesMs.size());
}

void report(const Reader &reader)
{
    const std::string prefix = std::string("receive.") + reader.name;
    const std::vector<double> &latencies = reader.results->latenciesMs;
    bench::Figure(prefix + ".median", bench::percentile(latencies, 0.5), "ms").print();
    bench::Figure(prefix + ".p99", bench::percentile(latencies, 0.99), "ms").print();
    bench::Figure(prefix + ".max", bench::percentile(latencies, 1.0), "ms").print();
    bench::Figure(prefix + ".lost", reader.results->lost, "blocks").print();
    bench::Figure(prefix + ".cpu_per_block", cpuPerBlockUs(reader), "us").print();
    bench::Figure(prefix + ".context_switches_per_block", switchesPerBlock(reader), "switches").print();
}

// Ours against the absolute goals and against the QSerialPort reader.
void reportWorker(const Reader &worker, const Reader &qt)
{
    const std::vector<double> &latencies = worker.results->latenciesMs;
    bench::Figure("receive.worker.median", bench::percentile(latencies, 0.5), "ms")
        .against("receive.qserialport.median", bench::percentile(qt.results->latenciesMs, 0.5))
        .atMost(1.0)
        .print();
    bench::Figure("receive.worker.p99", bench::percentile(latencies, 0.99), "ms")
        .against("receive.qserialport.p99", bench::percentile(qt.results->latenciesMs, 0.99))
        .atMost(3.0)
        .ratioAtMost(1.2)
        .print();
    bench::Figure("receive.worker.max", bench::percentile(latencies, 1.0), "ms").print();
    bench::Figure("receive.worker.lost", worker.results->lost, "blocks").print();
    bench::Figure("receive.worker.cpu_per_block", cpuPerBlockUs(worker), "us")
        .against("receive.qserialport.cpu_per_block", cpuPerBlockUs(qt))
        .ratioAtMost(1.0)
        .print();
    bench::Figure("receive.worker.context_switches_per_block", switchesPerBlock(worker), "switches")
        .against("receive.qserialport.context_switches_per_block", switchesPerBlock(qt))
        .print();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(40, std::atoi(argv[1])) : 3000;
    constexpr int kBlocks = 4;
    PtyPair line;
    if (!line.isValid()) {
        std::fprintf(stderr, "no pty to measure on\n");
        return 1;
    }
    std::array<Reader, 3> readers {{
        {"poll", readWithPoll},
        {"qserialport", readWithQSerialPort},
        {"worker", readWithWorker},
    }};
    std::array<FarEnd, 3> farEnds {FarEnd(line), FarEnd(line), FarEnd(line)};
    for (int block = 0; block < kBlocks; ++block) {
        for (std::size_t i = 0; i < readers.size(); ++i) {
            Reader &reader = readers[i];
            reader.results = &farEnds[i];
            const double writerBefore = farEnds[i].writerCpuSeconds;
            const long writerSwitchesBefore = farEnds[i].writerContextSwitches;
            const double before = bench::processCpuSeconds();
            const long switchesBefore = bench::processContextSwitches();
            if (!reader.run(line.deviceName(), farEnds[i], rounds / kBlocks)) {
                std::fprintf(stderr, "%s could not open %s\n", reader.name, line.deviceName().c_str());
                return 1;
            }
            reader.cpuSeconds += bench::processCpuSeconds() - before
                - (farEnds[i].writerCpuSeconds - writerBefore);
            reader.contextSwitches += bench::processContextSwitches() - switchesBefore
                - (farEnds[i].writerContextSwitches - writerSwitchesBefore);
        }
    }
    report(readers[0]);
    report(readers[1]);
    reportWorker(readers[2], readers[1]);
    return 0;
}
