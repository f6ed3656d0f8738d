// How soon the motion-set player goes on once the arm has arrived: the real
// window plays a looping two-step set over loopback TCP against a thread that
// plays the SSC-32 (each command is a move of kMoveMs; "Q" is answered '+'
// until the move is over, then '.'). Measured from the moment the controller
// sends '.' until the next step's command arrives, against the dwell; the goal
// is dwell + one arm tick (100 ms) + one query period (100 ms).
#include "app/tform1.h"
#include "app/velmora_application.h"
#include "support/bench_window.h"
#include "support/event_loop.h"
#include "support/figures.h"
#include "support/file_dialog_answer.h"
#include "support/line_peer.h"

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QApplication>
#include <QFile>
#include <QSpinBox>
#include <cstdio>
#include <mutex>
#include <optional>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kMoveMs = 200;
constexpr int kDwellMs = 300;
constexpr double kTickMs = 100;
constexpr double kQueryPeriodMs = 100;

// The controller's side, on the peer's thread.
class Controller {
public:
    bench::LinePeer::Listener listener()
    {
        return [this](const bench::LinePeer::Arrival &arrival) -> std::string {
            const std::lock_guard<std::mutex> lock(mutex);
            if (arrival.text == "Q") {
                if (arrival.at < moveEndsAt)
                    return "+";
                if (!doneAt)
                    doneAt = Clock::now();
                return ".";
            }
            if (arrival.text.rfind("#16P", 0) == 0) {
                if (doneAt)
                    latenciesMs.push_back(std::chrono::duration<double, std::milli>(arrival.at - *doneAt).count());
                doneAt.reset();
                moveEndsAt = arrival.at + std::chrono::milliseconds(kMoveMs);
            }
            return std::string();
        };
    }

    std::vector<double> latencies()
    {
        const std::lock_guard<std::mutex> lock(mutex);
        return latenciesMs;
    }

private:
    std::mutex mutex;
    Clock::time_point moveEndsAt;
    std::optional<Clock::time_point> doneAt;
    std::vector<double> latenciesMs;
};

// In the main window or one of its companion windows.
template <typename Control>
Control *find(const char *name)
{
    for (const QWidget *window : QApplication::topLevelWidgets())
        if (auto *found = window->findChild<Control *>(QLatin1String(name)))
            return found;
    return nullptr;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    app::VelmoraApplication application(argc, argv);
    const int steps = argc > 1 ? std::max(2, std::atoi(argv[1])) : 60;

    bench::BenchWindow bench;
    if (!bench.isValid())
        return 1;
    app::TForm1 &window = bench.window();
    const QString setPath = window.files().rfsDir() + QStringLiteral("bench.rfs");
    QFile set(setPath);
    if (!set.open(QIODevice::WriteOnly))
        return 1;
    set.write("0 1200 0 1500 0 1500 0 1500 0 1500 \r\n0 1800 0 1500 0 1500 0 1500 0 1500 \r\n");
    set.close();
    {
        FileDialogAnswer answer(setPath);
        find<QAction>("laden1")->trigger();
        if (!answer.answered())
            return 1;
    }

    Controller controller;
    bench::LinePeer arm(controller.listener());
    if (!bench.connectTcp(1, arm.port())) {
        std::fprintf(stderr, "link 1 did not connect to 127.0.0.1:%d\n", arm.port());
        return 1;
    }
    find<QSpinBox>("dwellEdit")->setValue(kDwellMs);
    find<QCheckBox>("loopBox")->setChecked(true);
    find<QAction>("starten1")->trigger();
    QElapsedTimer waited;
    waited.start();
    while (controller.latencies().size() < std::size_t(steps) && waited.elapsed() < steps * 2000)
        bench::runEventsFor(100);

    const std::vector<double> latencies = controller.latencies();
    const double goal = kDwellMs + kTickMs + kQueryPeriodMs;
    bench::Figure("player.steps", latencies.size(), "steps").atLeast(steps).print();
    bench::Figure("player.done_to_next_command.median", bench::percentile(latencies, 0.5), "ms")
        .against("player.dwell", kDwellMs)
        .atMost(goal)
        .print();
    bench::Figure("player.done_to_next_command.p99", bench::percentile(latencies, 0.99), "ms")
        .against("player.dwell", kDwellMs)
        .atMost(goal)
        .print();
    return bench::missedGoals() == 0 ? 0 : 2;
}
