// What the real window costs while it waits: CPU of the whole process (less
// the threads that play the robot) with no link open, what the gamepad's
// hot-plug check adds to that with no pad plugged in (against the same window
// with the check stopped), what following the port list adds (against the
// same window with /dev unwatched), a pad plugged in and at rest (SDL's virtual
// joystick), with link 1 open over a pty and nothing moving, with both links open and the chassis timer stopped,
// with both links open and the chassis rotation running (the board answering
// its telemetry requests), the same with the telemetry window shown and hidden
// again, and after both serial links were closed again, when their workers must
// not wake at all.
#include "app/velmora_application.h"
#include "support/bench_window.h"
#include "support/chassis_board.h"
#include "support/cpu_time.h"
#include "support/event_loop.h"
#include "support/figures.h"
#include "support/line_peer.h"
#include "support/pty_pair.h"
#include "support/virtual_pad.h"

#include "app/tform1.h"

#include <QAction>
#include <QApplication>
#include <QFileSystemWatcher>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

namespace {

// Percent of one core over one period.
double measureCpuPercent(const std::vector<pthread_t> &robot, int periodMs)
{
    bench::CpuMeter meter(robot);
    bench::runEventsFor(periodMs);
    return meter.coreShare() * 100;
}

struct Idle {
    double cpuPercent;
    double mainThreadWakeUpsPerSecond;
};

Idle measureIdle(const std::vector<pthread_t> &robot, int periodMs)
{
    const long sleepsBefore = bench::callingThreadSleeps();
    const double cpu = measureCpuPercent(robot, periodMs);
    return {cpu, (bench::callingThreadSleeps() - sleepsBefore) * 1000.0 / periodMs};
}

// The serial workers: threads started since before that carry the process's
// name (Qt names its own threads).
std::set<int> newWorkerThreads(const std::set<int> &before)
{
    const std::string processName = bench::threadName(::getpid());
    std::set<int> added;
    for (const int id : bench::threadIds())
        if (!before.count(id) && bench::threadName(id) == processName)
            added.insert(id);
    return added;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    app::VelmoraApplication app(argc, argv);
    const int periodMs = (argc > 1 ? std::max(1, std::atoi(argv[1])) : 30) * 1000;

    PtyPair armLine;
    PtyPair chassisLine;
    bench::LinePeer arm(armLine.farEnd(), [](const bench::LinePeer::Arrival &) { return std::string(); });
    bench::LinePeer chassis(chassisLine.farEnd(), [](const bench::LinePeer::Arrival &arrival) {
        return bench::chassisBoardAnswer(arrival.text);
    });
    const std::vector<pthread_t> robot {arm.thread(), chassis.thread()};
    bench::BenchWindow window;
    if (!window.isValid())
        return 1;
    bench::runEventsFor(1000); // the window settles after showing

    auto *portWatch = window.window().findChild<QFileSystemWatcher *>(QStringLiteral("PortListWatch"));
    int deviceDirectoryChanges = 0;
    QObject::connect(portWatch, &QFileSystemWatcher::directoryChanged, [&] { ++deviceDirectoryChanges; });
    QTimer *padCheck = window.timer("GamepadPoll");
    int padChecks = 0;
    QObject::connect(padCheck, &QTimer::timeout, [&padChecks] { ++padChecks; });
    const Idle noPad = measureIdle(robot, periodMs);
    const double noLink = noPad.cpuPercent;
    bench::Figure("idle.no_link.cpu", noLink, "%").print();
    bench::Figure("idle.no_pad.hot_plug_checks", padChecks * 1000.0 / periodMs, "per s").atMost(1.0).print();
    padCheck->stop();
    const Idle unchecked = measureIdle(robot, periodMs);
    padCheck->start();
    // The port list follows /dev as the kernel reports its changes: nothing runs while none come.
    bench::Figure("idle.port_list.device_directory_changes", deviceDirectoryChanges, "changes").atMost(0).print();
    const QStringList watched = portWatch->directories();
    portWatch->removePaths(watched);
    const Idle unwatched = measureIdle(robot, periodMs);
    portWatch->addPaths(watched);
    bench::Figure("idle.port_list.cpu_of_following", noPad.cpuPercent - unwatched.cpuPercent, "%")
        .against("idle.port_list_unwatched.cpu", unwatched.cpuPercent)
        .print();
    bench::Figure("idle.port_list.main_thread_wake_ups_of_following",
                  noPad.mainThreadWakeUpsPerSecond - unwatched.mainThreadWakeUpsPerSecond, "per s")
        .against("idle.port_list_unwatched.main_thread_wake_ups", unwatched.mainThreadWakeUpsPerSecond)
        .print();
    bench::Figure("idle.no_pad.cpu_of_checks", noPad.cpuPercent - unchecked.cpuPercent, "%")
        .against("idle.no_pad_checks_stopped.cpu", unchecked.cpuPercent)
        .print();
    bench::Figure("idle.no_pad.main_thread_wake_ups_of_checks",
                  noPad.mainThreadWakeUpsPerSecond - unchecked.mainThreadWakeUpsPerSecond, "per s")
        .against("idle.no_pad_checks_stopped.main_thread_wake_ups", unchecked.mainThreadWakeUpsPerSecond)
        .atMost(1.1) // one a check, give or take a timer's tick at the period's edges
        .print();
    {
        const VirtualPad pad("Benchpad"); // at rest, trigger released
        bench::runEventsFor(1500); // found by the next check
        if (padCheck->interval() == 1000)
            return 1;
        const double padAtRest = measureCpuPercent(robot, periodMs);
        bench::Figure("idle.pad_at_rest.cpu", padAtRest, "%").against("idle.no_link.cpu", noLink).print();
        bench::Figure("idle.pad_at_rest.extra_cpu", padAtRest - noLink, "%").atMost(0.3).print();
    }
    bench::runEventsFor(1500); // the pad is gone: back to a check a second

    const std::set<int> threadsBefore = bench::threadIds();
    if (!window.openSerial(1, armLine.deviceName()))
        return 1;
    const double link1 = measureCpuPercent(robot, periodMs);
    bench::Figure("idle.link1_open.cpu", link1, "%").against("idle.no_link.cpu", noLink).print();
    bench::Figure("idle.link1_open.cpu_per_open_link", link1 - noLink, "%").atMost(0.3).print();

    QTimer *chassisTimer = window.timer("KettenTimer1");
    chassisTimer->stop();
    if (!window.openSerial(2, chassisLine.deviceName()))
        return 1;
    const double bothQuiet = measureCpuPercent(robot, periodMs);
    bench::Figure("idle.both_open_chassis_timer_stopped.cpu", bothQuiet, "%").against("idle.no_link.cpu", noLink).print();
    bench::Figure("idle.both_open_chassis_timer_stopped.cpu_per_open_link", (bothQuiet - noLink) / 2, "%")
        .atMost(0.3)
        .print();

    chassisTimer->start();
    const double rotation = measureCpuPercent(robot, periodMs);
    bench::Figure("idle.both_open_rotation.cpu", rotation, "%").against("idle.no_link.cpu", noLink).atMost(2.0).print();

    // The plots repaint while shown; hidden, the history is all that is kept.
    window.window().findChild<QAction *>(QStringLiteral("Telemetrie1"))->trigger();
    const double plotsShown = measureCpuPercent(robot, periodMs);
    for (QWidget *topLevel : QApplication::topLevelWidgets()) {
        if (topLevel->windowTitle() == QLatin1String("Telemetrie"))
            topLevel->hide();
    }
    const double plotsHidden = measureCpuPercent(robot, periodMs);
    bench::Figure("idle.rotation_telemetry_shown.cpu_extra", plotsShown - rotation, "%")
        .against("idle.both_open_rotation.cpu", rotation)
        .atMost(0.5)
        .print();
    bench::Figure("idle.rotation_telemetry_hidden.cpu_extra", plotsHidden - rotation, "%")
        .against("idle.both_open_rotation.cpu", rotation)
        .print();

    const std::set<int> workers = newWorkerThreads(threadsBefore);
    if (!window.closeSerial(1) || !window.closeSerial(2))
        return 1;
    bench::runEventsFor(100);
    long switchesBefore = 0;
    for (const int worker : workers)
        switchesBefore += bench::contextSwitches(worker);
    const double closed = measureCpuPercent(robot, periodMs);
    long wakeUps = -switchesBefore;
    for (const int worker : workers)
        wakeUps += bench::contextSwitches(worker);
    bench::Figure("idle.after_close.cpu", closed, "%").against("idle.no_link.cpu", noLink).print();
    bench::Figure("idle.after_close.worker_threads", workers.size(), "threads").print();
    bench::Figure("idle.after_close.worker_wake_ups", wakeUps, "wake-ups").atMost(0).print();
    return 0;
}
