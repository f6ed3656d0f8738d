// What the window "Kinematik" costs: the real window (offscreen) with link 1
// open over a pty, a thread at its far end reading the commands. The arm goes
// back and forth along a 100 mm line at 200 mm/s, the move executor's fastest:
// 40 pieces a second, which the window follows ten times a second. CPU of the
// process (less the peer's thread) while it moves with the window shown and
// with it hidden, taking turns, and at rest the same with the main thread's
// wake-ups: the difference is the window's.
//   bench_kinematics_window [seconds per figure]
#include "app/velmora_application.h"
#include "support/bench_window.h"
#include "support/cpu_time.h"
#include "support/event_loop.h"
#include "support/figures.h"
#include "support/line_peer.h"
#include "support/pty_pair.h"

#include "app/tform1.h"
#include "arm/move_executor.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>

namespace {

struct Cost {
    double cpuPercent = 0;
    double wakeUpsPerSecond = 0;
};

// Turns of shown and hidden, so that both meet the same noise; each figure is
// the median over the turns, the extra the median of each turn's difference
// from the one before.
struct Turns {
    Cost shown;
    Cost hidden;
    Cost extra;
};

Turns shownAndHidden(QWidget &window, const std::vector<pthread_t> &peer, int periodMs)
{
    constexpr int kTurns = 10;
    std::vector<double> cpu[2], wakeUps[2], extraCpu, extraWakeUps;
    for (int turn = 0; turn < 2 * kTurns; ++turn) {
        const int shown = turn % 2 == 0 ? 0 : 1;
        window.setVisible(shown == 0);
        bench::runEventsFor(200); // shown or hidden, it has settled
        const long sleepsBefore = bench::callingThreadSleeps();
        bench::CpuMeter meter(peer);
        bench::runEventsFor(periodMs / kTurns);
        cpu[shown].push_back(meter.coreShare() * 100);
        wakeUps[shown].push_back((bench::callingThreadSleeps() - sleepsBefore) * 1000.0 * kTurns / periodMs);
        if (shown == 1) {
            extraCpu.push_back(cpu[0].back() - cpu[1].back());
            extraWakeUps.push_back(wakeUps[0].back() - wakeUps[1].back());
        }
    }
    const auto median = [](const std::vector<double> &samples) { return bench::percentile(samples, 0.5); };
    return {{median(cpu[0]), median(wakeUps[0])},
            {median(cpu[1]), median(wakeUps[1])},
            {median(extraCpu), median(extraWakeUps)}};
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    app::VelmoraApplication app(argc, argv);
    const int periodMs = (argc > 1 ? std::max(1, std::atoi(argv[1])) : 30) * 1000;

    PtyPair armLine;
    bench::LinePeer peer(armLine.farEnd(), [](const bench::LinePeer::Arrival &) { return std::string(); });
    const std::vector<pthread_t> peerThread{peer.thread()};
    bench::BenchWindow bench;
    if (!bench.isValid() || !bench.openSerial(1, armLine.deviceName()))
        return 1;
    bench.window().findChild<QAction *>(QStringLiteral("Kinematik1"))->trigger();
    QWidget *window = nullptr;
    for (QWidget *topLevel : QApplication::topLevelWidgets())
        if (topLevel->windowTitle() == QLatin1String("Kinematik"))
            window = topLevel;
    if (!window)
        return 1;
    // As after a click on "Anfahren": no text field has the focus, whose
    // cursor would blink twice a second while the window is active.
    for (QPushButton *button : window->findChildren<QPushButton *>())
        if (button->text() == QLatin1String("&Anfahren"))
            button->setFocus();
    bench::runEventsFor(1000);

    const Turns rest = shownAndHidden(*window, peerThread, periodMs);
    bench::Figure("kinematics_window.rest.cpu_extra", rest.extra.cpuPercent, "%")
        .against("kinematics_window.rest_hidden.cpu", rest.hidden.cpuPercent)
        .print();
    bench::Figure("kinematics_window.rest.main_thread_wake_ups_extra", rest.extra.wakeUpsPerSecond, "per s")
        .against("kinematics_window.rest_hidden.main_thread_wake_ups", rest.hidden.wakeUpsPerSecond)
        .atMost(0.5) // nothing, give or take a timer's tick at the turns' edges
        .print();

    arm::MoveExecutor &executor = bench.window().moveExecutor();
    const arm::Pose near = executor.commandedPose();
    arm::Pose far = near;
    far.tip.x -= 100;
    bool outward = true;
    long moves = 0;
    QObject::connect(&executor, &arm::MoveExecutor::finished, [&] {
        outward = !outward;
        ++moves;
        executor.moveTo(outward ? far : near, arm::kMaxPathSpeed);
    });
    if (!executor.moveTo(far, arm::kMaxPathSpeed).empty())
        return 1;
    QElapsedTimer movingFor;
    movingFor.start();
    const Turns moving = shownAndHidden(*window, peerThread, periodMs);
    bench::Figure("kinematics_window.moving.cpu_extra", moving.extra.cpuPercent, "%")
        .against("kinematics_window.moving_hidden.cpu", moving.hidden.cpuPercent)
        .atMost(0.5)
        .print();
    // 100 mm at 200 mm/s: two lines a second when nothing holds the arm up.
    bench::Figure("kinematics_window.moving.lines", moves * 1000.0 / movingFor.elapsed(), "per s").atLeast(1.9).print();
    return executor.isMoving() ? 0 : 1;
}
