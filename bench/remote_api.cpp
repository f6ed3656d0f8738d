// The programming interface in the real window (offscreen), programs played by
// threads with blocking sockets on loopback so that their waiting is not the
// console's:
//   cost      the process's CPU and the main thread's wake-ups with the
//             interface switched off and switched on without a program; the
//             reference is the window with it off, in the same run. Listening
//             runs no timer, so the goal is the noise between two periods.
//   latency   with both links open over ptys (the controller and the chassis
//             board played by threads, the chassis rotation running), one
//             program's requests, "state" and a Basis move in turn, one at a
//             time: the round trip, against a bare QTcpServer on the same main
//             thread that echoes each line.
//   load      four programs sending 250 requests a second each while the
//             chassis texts' cadence at the board is measured, against a bare
//             50 ms QTimer writing to a pty of its own in the same run.
//   bench_remote_api [SECONDS]    (the length of each period, default 20)
#include "app/velmora_application.h"
#include "support/bench_window.h"
#include "support/chassis_board.h"
#include "support/cpu_time.h"
#include "support/event_loop.h"
#include "support/figures.h"
#include "support/line_peer.h"
#include "support/pty_pair.h"
#include "support/reference_writer.h"

#include <QApplication>
#include <QCheckBox>
#include <QSpinBox>
#include <QTcpServer>
#include <QTcpSocket>
#include <arpa/inet.h>
#include <atomic>
#include <cstdio>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kSettleMs = 1000;
constexpr int kPrograms = 4;
constexpr int kRequestsPerSecond = 250; // per program

// A program with a blocking socket: one request, then its reply (events skipped).
class Program {
public:
    explicit Program(quint16 port) : socket(::socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const int on = 1;
        ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        connected = ::connect(socket, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    }
    ~Program() { ::close(socket); }

    // Milliseconds from sending the line to the whole reply line; negative on failure.
    double roundTrip(const std::string &line)
    {
        const Clock::time_point sent = Clock::now();
        const std::string out = line + "\n";
        if (!connected || ::send(socket, out.data(), out.size(), MSG_NOSIGNAL) != ssize_t(out.size()))
            return -1;
        for (;;) {
            const std::string reply = nextLine();
            if (reply.empty())
                return -1;
            if (reply.rfind("{\"id\":", 0) == 0)
                return std::chrono::duration<double, std::milli>(Clock::now() - sent).count();
        }
    }
    std::string nextLine()
    {
        for (;;) {
            if (const std::size_t end = buffer.find('\n'); end != std::string::npos) {
                std::string line = buffer.substr(0, end);
                buffer.erase(0, end + 1);
                return line;
            }
            char piece[4096];
            const ssize_t got = ::recv(socket, piece, sizeof piece, 0);
            if (got <= 0)
                return {};
            buffer.append(piece, std::size_t(got));
        }
    }

private:
    int socket;
    bool connected = false;
    std::string buffer;
};

std::string request(int id)
{
    if (id % 2)
        return "{\"id\":" + std::to_string(id) + ",\"request\":\"state\"}";
    return "{\"id\":" + std::to_string(id) + ",\"request\":\"arm.joints\",\"joints\":[{\"joint\":0,\"pulse\":"
           + std::to_string(1400 + id % 200) + "}]}";
}

// Runs work on a thread of its own while the main thread's event loop runs.
template <typename Work>
void whileEventsRun(Work work)
{
    std::atomic<bool> done{false};
    std::thread thread([&] {
        work();
        done = true;
    });
    while (!done)
        bench::runEventsFor(20);
    thread.join();
}

// One program's round trips, `count` requests one after another.
std::vector<double> roundTrips(quint16 port, int count)
{
    std::vector<double> times;
    whileEventsRun([&] {
        Program program(port);
        program.nextLine(); // hello, or nothing from the echo
        for (int i = 1; i <= count; ++i)
            if (const double ms = program.roundTrip(request(i)); ms >= 0)
                times.push_back(ms);
    });
    return times;
}

// The reference: each line straight back, from the same main thread.
class Echo {
public:
    Echo()
    {
        server.listen(QHostAddress::LocalHost);
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            QTcpSocket *client = server.nextPendingConnection();
            client->write("{\"hello\":\"echo\"}\n");
            QObject::connect(client, &QTcpSocket::readyRead, [client] {
                while (client->canReadLine())
                    client->write(client->readLine());
            });
        });
    }
    quint16 port() const { return server.serverPort(); }

private:
    QTcpServer server;
};

struct Idle {
    double cpuPercent;
    double wakeUpsPerSecond;
};

Idle measureIdle(const std::vector<pthread_t> &excluded, int periodMs)
{
    const long sleepsBefore = bench::callingThreadSleeps();
    bench::CpuMeter meter(excluded);
    bench::runEventsFor(periodMs);
    return {meter.coreShare() * 100, (bench::callingThreadSleeps() - sleepsBefore) * 1000.0 / periodMs};
}

// Through "Setup: Fernsteuerung", as the operator does.
quint16 switchOn()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->objectName() != QLatin1String("remoteSetupWindow"))
            continue;
        window->findChild<QSpinBox *>(QStringLiteral("remotePort"))->setValue(port);
        window->findChild<QCheckBox *>(QStringLiteral("remoteEnabled"))->setChecked(true);
    }
    return port;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    app::VelmoraApplication application(argc, argv);
    const int periodMs = (argc > 1 ? std::max(2, std::atoi(argv[1])) : 20) * 1000;
    bench::BenchWindow window;
    if (!window.isValid())
        return 1;

    bench::runEventsFor(kSettleMs);
    const Idle off = measureIdle({}, periodMs);
    const quint16 port = switchOn();
    bench::runEventsFor(kSettleMs);
    const Idle on = measureIdle({}, periodMs);
    bench::Figure("remote.cost.on_without_program.cpu", on.cpuPercent, "%")
        .against("remote.cost.off.cpu", off.cpuPercent)
        .atMost(off.cpuPercent + 0.05)
        .print();
    bench::Figure("remote.cost.on_without_program.wakeups", on.wakeUpsPerSecond, "1/s")
        .against("remote.cost.off.wakeups", off.wakeUpsPerSecond)
        .atMost(off.wakeUpsPerSecond + 1)
        .print();

    PtyPair armLine;
    PtyPair chassisLine;
    PtyPair referenceLine;
    bench::ArrivalLog chassisTexts;
    bench::ArrivalLog referenceTexts;
    bench::LinePeer controller(armLine.farEnd(), [](const bench::LinePeer::Arrival &) { return std::string(); });
    bench::LinePeer board(chassisLine.farEnd(), [&](const bench::LinePeer::Arrival &arrival) {
        chassisTexts.add(arrival);
        return bench::chassisBoardAnswer(arrival.text);
    });
    bench::LinePeer referencePeer(referenceLine.farEnd(), [&](const bench::LinePeer::Arrival &arrival) {
        referenceTexts.add(arrival);
        return std::string();
    });
    if (!window.openSerial(1, armLine.deviceName()) || !window.openSerial(2, chassisLine.deviceName())) {
        std::fprintf(stderr, "the links did not open\n");
        return 1;
    }
    bench::ReferenceWriter referenceWriter(referenceLine.deviceName());
    bench::runEventsFor(kSettleMs);

    const int count = std::max(200, periodMs / 10);
    Echo echo;
    const std::vector<double> echoed = roundTrips(echo.port(), count);
    const std::vector<double> answered = roundTrips(port, count);
    bench::Figure("remote.latency.requests", double(answered.size()), "replies")
        .against("remote.latency.echo.lines", double(echoed.size()))
        .atLeast(count)
        .print();
    bench::Figure("remote.latency.median", bench::percentile(answered, 0.5), "ms")
        .against("remote.latency.echo.median", bench::percentile(echoed, 0.5))
        .print();
    bench::Figure("remote.latency.p99", bench::percentile(answered, 0.99), "ms")
        .against("remote.latency.echo.p99", bench::percentile(echoed, 0.99))
        .atMost(5)
        .print();

    chassisTexts.take();
    referenceTexts.take();
    std::vector<double> underLoad;
    std::mutex underLoadMutex;
    whileEventsRun([&] {
        std::vector<std::thread> programs;
        const Clock::time_point start = Clock::now();
        for (int p = 0; p < kPrograms; ++p)
            programs.emplace_back([&, p] {
                Program program(port);
                program.nextLine();
                std::vector<double> times;
                const auto step = std::chrono::microseconds(1'000'000 / kRequestsPerSecond);
                // The programs take turns within each step rather than all at once.
                Clock::time_point next = start + step * p / kPrograms;
                for (int i = 1; next < start + std::chrono::milliseconds(periodMs); ++i, next += step) {
                    std::this_thread::sleep_until(next);
                    if (const double ms = program.roundTrip(request(i)); ms >= 0)
                        times.push_back(ms);
                }
                const std::lock_guard<std::mutex> lock(underLoadMutex);
                underLoad.insert(underLoad.end(), times.begin(), times.end());
            });
        for (std::thread &program : programs)
            program.join();
    });
    const std::vector<double> window50 = bench::intervalsMs(chassisTexts.take());
    const std::vector<double> timer50 = bench::intervalsMs(referenceTexts.take());
    bench::Figure("remote.load.requests_per_second", underLoad.size() * 1000.0 / periodMs, "1/s")
        .atLeast(kPrograms * kRequestsPerSecond * 0.99)
        .print();
    bench::Figure("remote.load.reply_p99", bench::percentile(underLoad, 0.99), "ms").atMost(5).print();
    // The chassis cadence's own goals (bench_chassis_cadence), with the QTimer beside them.
    bench::Figure("remote.load.cadence.p1", bench::percentile(window50, 0.01), "ms")
        .against("remote.load.qtimer.p1", bench::percentile(timer50, 0.01))
        .atLeast(48)
        .print();
    bench::Figure("remote.load.cadence.p99", bench::percentile(window50, 0.99), "ms")
        .against("remote.load.qtimer.p99", bench::percentile(timer50, 0.99))
        .atMost(52)
        .print();
    bench::Figure("remote.load.cadence.largest_gap", bench::percentile(window50, 1.0), "ms")
        .against("remote.load.qtimer.largest_gap", bench::percentile(timer50, 1.0))
        .atMost(60)
        .print();
    return 0;
}
