// What the window "Kinematik" costs: the real window (offscreen) with link 1
// open over a pty, a thread at its far end reading the commands. The arm goes
// back and forth along a 100 mm line at 200 mm/s, the move executor's fastest:
// 40 pieces a second, which the window follows five times a second; then it
// rests. Two ways to see the window's share, each with the window shown and
// hidden by turns:
// - the main thread's CPU time spent in the events the window handles (its
//   own, its controls', its refresh timer's: computing, laying out, painting
//   and flushing to the screen), against the time it was shown: exact, and
//   what the goal is set on;
// - the process's CPU (less the peer's thread) and the main thread's wake-ups
//   with the window shown against hidden: all of it, but within the noise of
//   everything else the process does.
//   bench_kinematics_window [seconds per phase]
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

// Adds up the main thread's CPU time in the events of one window, the
// outermost of them: what they set off inside counts with them.
class TimedApplication : public app::VelmoraApplication {
public:
    using VelmoraApplication::VelmoraApplication;

    bool notify(QObject *receiver, QEvent *event) override
    {
        if (!watched || inside || !belongs(receiver))
            return VelmoraApplication::notify(receiver, event);
        inside = true;
        const double start = bench::threadCpuSeconds(pthread_self());
        const bool handled = VelmoraApplication::notify(receiver, event);
        seconds += bench::threadCpuSeconds(pthread_self()) - start;
        inside = false;
        return handled;
    }

    QWidget *watched = nullptr;
    double seconds = 0;

private:
    bool belongs(QObject *receiver) const
    {
        const auto *widget = qobject_cast<QWidget *>(receiver);
        return widget ? widget->window() == watched : receiver->parent() == watched;
    }

    bool inside = false;
};

struct Cost {
    double cpuPercent = 0;
    double wakeUpsPerSecond = 0;
};

struct Turns {
    Cost hidden;
    // Shown less hidden: the median of each pair of turns.
    Cost extra;
    // The window's own events while shown, in percent of one core.
    double ownPercent = 0;
};

Turns shownAndHidden(TimedApplication &app, QWidget &window, const std::vector<pthread_t> &peer, int periodMs)
{
    constexpr int kTurns = 10;
    std::vector<double> hiddenCpu, hiddenWakeUps, extraCpu, extraWakeUps;
    double ownSeconds = 0;
    double shownSeconds = 0;
    Cost shown;
    for (int turn = 0; turn < 2 * kTurns; ++turn) {
        const bool showing = turn % 2 == 0;
        window.setVisible(showing);
        bench::runEventsFor(200); // shown or hidden, it has settled
        const long sleepsBefore = bench::callingThreadSleeps();
        const double ownBefore = app.seconds;
        bench::CpuMeter meter(peer);
        bench::runEventsFor(periodMs / kTurns);
        const Cost cost{meter.coreShare() * 100,
                        (bench::callingThreadSleeps() - sleepsBefore) / meter.elapsedSeconds()};
        if (showing) {
            shown = cost;
            ownSeconds += app.seconds - ownBefore;
            shownSeconds += meter.elapsedSeconds();
            continue;
        }
        hiddenCpu.push_back(cost.cpuPercent);
        hiddenWakeUps.push_back(cost.wakeUpsPerSecond);
        extraCpu.push_back(shown.cpuPercent - cost.cpuPercent);
        extraWakeUps.push_back(shown.wakeUpsPerSecond - cost.wakeUpsPerSecond);
    }
    const auto median = [](const std::vector<double> &samples) { return bench::percentile(samples, 0.5); };
    return {{median(hiddenCpu), median(hiddenWakeUps)},
            {median(extraCpu), median(extraWakeUps)},
            ownSeconds / shownSeconds * 100};
}

void print(const char *phase, const Turns &turns, double ownGoal, double wakeUpGoal)
{
    const std::string name = std::string("kinematics_window.") + phase;
    bench::Figure(name + ".own_events.cpu", turns.ownPercent, "%").atMost(ownGoal).print();
    bench::Figure(name + ".shown_less_hidden.cpu", turns.extra.cpuPercent, "%")
        .against(name + "_hidden.cpu", turns.hidden.cpuPercent)
        .print();
    bench::Figure(name + ".shown_less_hidden.main_thread_wake_ups", turns.extra.wakeUpsPerSecond, "per s")
        .against(name + "_hidden.main_thread_wake_ups", turns.hidden.wakeUpsPerSecond)
        .atMost(wakeUpGoal)
        .print();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    TimedApplication app(argc, argv);
    const int periodMs = (argc > 1 ? std::max(1, std::atoi(argv[1])) : 30) * 1000;

    PtyPair armLine;
    bench::LinePeer peer(armLine.farEnd(), [](const bench::LinePeer::Arrival &) { return std::string(); });
    const std::vector<pthread_t> peerThread{peer.thread()};
    bench::BenchWindow bench;
    if (!bench.isValid() || !bench.openSerial(1, armLine.deviceName()))
        return 1;
    bench.window().findChild<QAction *>(QStringLiteral("Kinematik1"))->trigger();
    for (QWidget *topLevel : QApplication::topLevelWidgets())
        if (topLevel->windowTitle() == QLatin1String("Kinematik"))
            app.watched = topLevel;
    if (!app.watched)
        return 1;
    // As after a click on "Anfahren": no text field has the focus, whose
    // cursor would blink twice a second while the window is active.
    for (QPushButton *button : app.watched->findChildren<QPushButton *>())
        if (button->text() == QLatin1String("&Anfahren"))
            button->setFocus();
    bench::runEventsFor(1000);

    arm::MoveExecutor &executor = bench.window().moveExecutor();
    const arm::Pose near = executor.commandedPose();
    arm::Pose far = near;
    far.tip.x -= 100;
    bool outward = true;
    long lines = 0;
    QObject::connect(&executor, &arm::MoveExecutor::finished, [&] {
        outward = !outward;
        ++lines;
        executor.moveTo(outward ? far : near, arm::kMaxPathSpeed);
    });
    if (!executor.moveTo(far, arm::kMaxPathSpeed).empty())
        return 1;
    QElapsedTimer movingFor;
    movingFor.start();
    const Turns moving = shownAndHidden(app, *app.watched, peerThread, periodMs);
    print("moving", moving, 0.5, 10);
    // 100 mm at 200 mm/s: two lines a second when nothing holds the arm up.
    bench::Figure("kinematics_window.moving.lines", lines * 1000.0 / movingFor.elapsed(), "per s")
        .atLeast(1.9)
        .print();

    executor.stop(platform::UiText::verbatim("Stopp"));
    bench::runEventsFor(500);
    const Turns rest = shownAndHidden(app, *app.watched, peerThread, periodMs);
    // Nothing, give or take a timer's tick at the turns' edges.
    print("rest", rest, 0.01, 0.5);
    return 0;
}
