// How long the operator's hand takes to reach the arm: the Basis slider of the
// real window set at a random moment until the carriage return of the group
// command that carries it arrives at the arm's end of link 1, on a pty and on
// loopback TCP. The 100 ms tick bounds it from above; the reference is that
// tick plus the line time, measured in the same run by writing a command of
// the same length on a line of the same kind and reading it at its far end.
#include "app/velmora_application.h"
#include "support/bench_window.h"
#include "support/event_loop.h"
#include "support/figures.h"
#include "support/line_peer.h"
#include "support/pty_pair.h"

#include <QSlider>
#include <arpa/inet.h>
#include <cstdio>
#include <fcntl.h>
#include <netinet/in.h>
#include <random>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kTickMs = 100;
constexpr int kLineSamples = 200;

double millisecondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// The arm's end as the main thread sees it: the peer's arrivals, and a call on
// the main thread after each.
struct ArmEnd {
    bench::LinePeer::Listener listener()
    {
        return [this](const bench::LinePeer::Arrival &arrival) {
            arrivals.add(arrival);
            QMetaObject::invokeMethod(&mainThread, [this] { if (onArrival) onArrival(); }, Qt::QueuedConnection);
            return std::string();
        };
    }

    bench::ArrivalLog arrivals;
    QObject mainThread;
    std::function<void()> onArrival;
};

struct Moves {
    std::vector<double> latenciesMs;
    int lost = 0;
};

// Sets the slider at random moments and waits, running the window's event
// loop, for the command with the new position to arrive at the peer.
Moves moveBasis(bench::BenchWindow &window, ArmEnd &arm, int moves)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pauseMs(0, 149);
    std::uniform_int_distribution<int> position(800, 2200);
    QSlider *slider = window.jointSlider(1);
    Moves result;
    for (int move = 0; move < moves; ++move) {
        bench::runEventsFor(pauseMs(random));
        arm.arrivals.take();
        int target = position(random);
        while (target == slider->value())
            target = position(random);
        const std::string expected = "#16P" + std::to_string(target);

        QEventLoop waiting;
        QTimer::singleShot(1000, &waiting, &QEventLoop::quit);
        std::optional<Clock::time_point> arrivedAt;
        arm.onArrival = [&] {
            for (const bench::LinePeer::Arrival &arrival : arm.arrivals.take()) {
                if (arrival.text == expected) {
                    arrivedAt = arrival.at;
                    waiting.quit();
                }
            }
        };
        const Clock::time_point setAt = Clock::now();
        slider->setValue(target);
        waiting.exec();
        arm.onArrival = nullptr;
        if (arrivedAt) {
            result.latenciesMs.push_back(millisecondsBetween(setAt, *arrivedAt));
        } else {
            ++result.lost;
            std::fprintf(stderr, "move %d to %d: no %s within 1 s\n", move + 1, target, expected.c_str());
        }
    }
    return result;
}

// A command of the same length written straight on a line's near end until
// its carriage return is read at the far end.
std::vector<double> lineTimesMs(int nearEnd, bench::ArrivalLog &arrivals)
{
    std::vector<double> times;
    const std::string command = "#16P1234\r";
    for (int sample = 0; sample < kLineSamples; ++sample) {
        arrivals.take();
        const Clock::time_point sentAt = Clock::now();
        if (::write(nearEnd, command.data(), command.size()) != static_cast<ssize_t>(command.size()))
            break;
        if (!arrivals.waitForAny(std::chrono::seconds(1)))
            break;
        times.push_back(millisecondsBetween(sentAt, arrivals.take().front().at));
        std::this_thread::sleep_for(std::chrono::microseconds(500 + sample % 7 * 300));
    }
    return times;
}

std::vector<double> ptyLineTimesMs()
{
    PtyPair line;
    bench::ArrivalLog arrivals;
    bench::LinePeer peer(line.farEnd(), [&](const bench::LinePeer::Arrival &arrival) {
        arrivals.add(arrival);
        return std::string();
    });
    const int nearEnd = ::open(line.deviceName().c_str(), O_RDWR | O_NOCTTY);
    termios raw {};
    ::tcgetattr(nearEnd, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(nearEnd, TCSANOW, &raw);
    std::vector<double> times = lineTimesMs(nearEnd, arrivals);
    ::close(nearEnd);
    return times;
}

std::vector<double> tcpLineTimesMs()
{
    bench::ArrivalLog arrivals;
    bench::LinePeer peer([&](const bench::LinePeer::Arrival &arrival) {
        arrivals.add(arrival);
        return std::string();
    });
    const int nearEnd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(peer.port()));
    std::vector<double> times;
    if (::connect(nearEnd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0)
        times = lineTimesMs(nearEnd, arrivals);
    ::close(nearEnd);
    return times;
}

void report(const std::string &link, const Moves &moves, const std::vector<double> &lineTimes)
{
    const std::string prefix = "arm." + link;
    const double lineMs = bench::percentile(lineTimes, 0.5);
    const double referenceMs = kTickMs + lineMs;
    bench::Figure(prefix + ".moves", moves.latenciesMs.size(), "moves").print();
    bench::Figure(prefix + ".lost", moves.lost, "moves").atMost(0).print();
    bench::Figure(prefix + ".line_time.median", lineMs, "ms").print();
    bench::Figure(prefix + ".line_time.p99", bench::percentile(lineTimes, 0.99), "ms").print();
    bench::Figure(prefix + ".median", bench::percentile(moves.latenciesMs, 0.5), "ms").print();
    bench::Figure(prefix + ".p99", bench::percentile(moves.latenciesMs, 0.99), "ms")
        .against(prefix + ".tick_plus_line", referenceMs)
        .atMost(referenceMs + 2)
        .print();
    bench::Figure(prefix + ".max", bench::percentile(moves.latenciesMs, 1.0), "ms")
        .against(prefix + ".tick_plus_line", referenceMs)
        .print();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    app::VelmoraApplication app(argc, argv);
    const int moves = argc > 1 ? std::max(1, std::atoi(argv[1])) : 320;

    bench::BenchWindow window;
    if (!window.isValid())
        return 1;
    ArmEnd armEnd;
    // The first tick sends all five joints, not only the one moved.
    bench::runEventsFor(300);

    {
        PtyPair armLine;
        bench::LinePeer arm(armLine.farEnd(), armEnd.listener());
        if (!window.openSerial(1, armLine.deviceName())) {
            std::fprintf(stderr, "link 1 did not open on %s\n", armLine.deviceName().c_str());
            return 1;
        }
        const Moves overPty = moveBasis(window, armEnd, moves);
        window.closeSerial(1);
        report("pty", overPty, ptyLineTimesMs());
    }
    {
        bench::LinePeer arm(armEnd.listener());
        if (!window.connectTcp(1, arm.port())) {
            std::fprintf(stderr, "link 1 did not connect to 127.0.0.1:%d\n", arm.port());
            return 1;
        }
        const Moves overTcp = moveBasis(window, armEnd, moves);
        report("tcp", overTcp, tcpLineTimesMs());
    }
    return 0;
}
