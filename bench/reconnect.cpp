// How soon a lost link is back in the real window, and how long a search for
// the controllers takes.
//  - serial: a pty under a fixed name goes and comes back, as a USB adapter
//    pulled and plugged in again; the time from its return to the link open
//    again, against the time the operator's click takes to open it (goal: 1 s);
//  - TCP: a server goes and comes back at a chosen moment within a back-off
//    step; the time from its return to the link open again, against that step
//    (goal: within the step);
//  - a whole search over eight silent ports, against one silent port searched
//    alone (goal: 10 s).
#include "app/tform1.h"
#include "app/velmora_application.h"
#include "comm/connection.h"
#include "comm/controller_search.h"
#include "support/bench_window.h"
#include "support/event_loop.h"
#include "support/figures.h"
#include "support/pty_pair.h"
#include "support/tcp_peer.h"

#include <QCheckBox>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;
using State = comm::Connection::State;

double millisecondsSince(Clock::time_point from)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

// Runs the event loop until the connection is in the state, or a time-out passed.
bool waitFor(comm::Connection &connection, State state, int timeoutMs = 20000)
{
    QEventLoop loop;
    QObject::connect(&connection, &comm::Connection::stateChanged, &loop, [&](State now) {
        if (now == state)
            loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    if (connection.state() != state)
        loop.exec();
    return connection.state() == state;
}

comm::Connection &connectionOf(bench::BenchWindow &window, int link)
{
    return *window.window().findChild<comm::Connection *>(QStringLiteral("connection%1").arg(link));
}

void reconnectByItself(bench::BenchWindow &window, int link)
{
    window.window().findChild<QCheckBox *>(QStringLiteral("reconnect%1").arg(link))->setChecked(true);
}

bool measureSerial(bench::BenchWindow &window, int rounds)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("adapter"));
    auto line = std::make_unique<PtyPair>();
    QFile::link(QString::fromStdString(line->deviceName()), name);
    const Clock::time_point clicked = Clock::now();
    if (!window.openSerial(1, name.toStdString()))
        return false;
    const double clickMs = millisecondsSince(clicked);
    reconnectByItself(window, 1);
    comm::Connection &connection = connectionOf(window, 1);
    std::vector<double> backMs;
    for (int round = 0; round < rounds; ++round) {
        line->closeMaster();
        QFile::remove(name);
        if (!waitFor(connection, State::Waiting))
            return false;
        line = std::make_unique<PtyPair>();
        const Clock::time_point returned = Clock::now();
        QFile::link(QString::fromStdString(line->deviceName()), name);
        if (!waitFor(connection, State::Open))
            return false;
        backMs.push_back(millisecondsSince(returned));
    }
    bench::Figure("reconnect.serial.back_after_return.median", bench::percentile(backMs, 0.5), "ms")
        .against("reconnect.serial.open_by_click", clickMs)
        .print();
    bench::Figure("reconnect.serial.back_after_return.max", bench::percentile(backMs, 1.0), "ms")
        .against("reconnect.serial.open_by_click", clickMs)
        .atMost(1000)
        .print();
    return true;
}

// The server comes back at a share of the step in which it returns: after the
// loss (the first try is 1 s later), or after the first try failed (the next
// is 2 s after that).
bool measureTcp(bench::BenchWindow &window)
{
    TcpPeer peer;
    if (!window.connectTcp(2, peer.port()))
        return false;
    reconnectByItself(window, 2);
    comm::Connection &connection = connectionOf(window, 2);
    struct Round {
        const char *name;
        int triesFailed;
        double stepMs;
        double share;
    } rounds[] = {{"first_step_early", 0, 1000, 0.2},  {"first_step_late", 0, 1000, 0.8},
                  {"second_step_early", 1, 2000, 0.2}, {"second_step_late", 1, 2000, 0.8}};
    for (const Round &round : rounds) {
        peer.goAway();
        if (!waitFor(connection, State::Waiting))
            return false;
        for (int tried = 0; tried < round.triesFailed; ++tried) {
            if (!waitFor(connection, State::Reconnecting) || !waitFor(connection, State::Waiting))
                return false;
        }
        bench::runEventsFor(int(round.stepMs * round.share));
        const Clock::time_point returned = Clock::now();
        if (!peer.comeBack() || !waitFor(connection, State::Open))
            return false;
        bench::Figure(std::string("reconnect.tcp.back_after_return.") + round.name, millisecondsSince(returned),
                      "ms")
            .against("reconnect.tcp.back_off_step", round.stepMs)
            .ratioAtMost(1.0)
            .print();
    }
    return true;
}

double searchMs(int silentPorts)
{
    std::vector<std::unique_ptr<PtyPair>> lines;
    std::vector<std::string> names;
    for (int port = 0; port < silentPorts; ++port) {
        lines.push_back(std::make_unique<PtyPair>());
        names.push_back(lines.back()->deviceName());
    }
    comm::ControllerSearch search;
    QEventLoop loop;
    QObject::connect(&search, &comm::ControllerSearch::finished, &loop, &QEventLoop::quit);
    const platform::LineSettings line {9600, 8, platform::Parity::None, platform::StopBits::One};
    const Clock::time_point started = Clock::now();
    search.start(names, {}, {}, {{1, "VER\r", {}, line}, {2, "I1\r", {}, line}});
    loop.exec();
    return millisecondsSince(started);
}

} // namespace

int main(int argc, char *argv[])
{
    app::VelmoraApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    bench::BenchWindow window;
    if (!window.isValid() || !measureSerial(window, rounds) || !measureTcp(window)) {
        std::fprintf(stderr, "a link did not come back\n");
        return 1;
    }
    const double onePort = searchMs(1);
    bench::Figure("search.eight_silent_ports", searchMs(8), "ms")
        .against("search.one_silent_port", onePort)
        .atMost(10000)
        .print();
    return bench::missedGoals() == 0 ? 0 : 1;
}
