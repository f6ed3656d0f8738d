// A flood of chassis readings (thousands a second, as a babbling board sends
// them) over TCP into the real window, with the telemetry window shown: how far
// the distance read-out lags behind the line, how long an event waits for the
// window (a menu click waits as long), the CPU of the process and its memory.
// The same-run references are the board's own pace, about seven readings a
// second, and the flood with the telemetry window hidden.
//
// Then the plots alone, where a flood weighs most once it has gone on for a
// while: the CPU and the memory of following a flood with five minutes of
// it in view (the default time window), against the board's pace with five
// minutes of it in view.
//   bench_telemetry_flood [seconds per phase, default 10]
#include "app/velmora_application.h"
#include "settings/program_location.h"
#include "support/bench_window.h"
#include "support/cpu_time.h"
#include "support/event_loop.h"
#include "support/figures.h"
#include "support/line_peer.h"
#include "telemetry/telemetry_window.h"

#include "app/tform1.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kFloodPerSecond = 5000;
constexpr int kBoardPerSecond = 7; // the rotation asks for 4 readings per 600 ms
constexpr int kProbeIntervalMs = 10;

double msSince(Clock::time_point then)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - then).count();
}

// The board's side: readings at a given rate, distances numbered so that the
// read-out tells which one it shows, and when that one was sent (the numbers
// come round again after a million).
class Board {
public:
    explicit Board(bench::LinePeer &line) : line(line), sentAt(1 << 20) {}
    ~Board() { setRate(0); }

    void setRate(int perSecond)
    {
        running = false;
        if (writer.joinable())
            writer.join();
        if (perSecond == 0)
            return;
        running = true;
        writer = std::thread([this, perSecond] { run(perSecond); });
    }

    double lagMs(int distance) const
    {
        if (distance <= 0 || distance >= int(sentAt.size()))
            return -1;
        return msSince(Clock::time_point(Clock::duration(sentAt[std::size_t(distance)].load())));
    }
    pthread_t thread() { return writer.native_handle(); }

private:
    // Distance, battery, distance, temperature, as the rotation asks for them.
    void run(int perSecond)
    {
        const Clock::time_point start = Clock::now();
        long long sent = 0;
        std::string batch;
        while (running) {
            const auto due = static_cast<long long>(msSince(start) * perSecond / 1000);
            batch.clear();
            for (; sent < due; ++sent) {
                if (sent % 2 == 0) {
                    const int distance = int(++distances % (sentAt.size() - 1)) + 1;
                    sentAt[std::size_t(distance)] = Clock::now().time_since_epoch().count();
                    batch += "A" + std::to_string(distance) + "\r";
                } else {
                    batch += sent % 4 == 1 ? "B75\r" : "T031\r";
                }
            }
            if (!batch.empty() && !line.send(batch))
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    bench::LinePeer &line;
    std::vector<std::atomic<long long>> sentAt;
    long long distances = 0;
    std::atomic<bool> running{false};
    std::thread writer;
};

// Posts an event to the main thread every few milliseconds and notes how long
// it waited there.
class EventProbe : public QObject {
public:
    EventProbe()
        : poster([this] {
              while (running) {
                  const Clock::time_point posted = Clock::now();
                  QMetaObject::invokeMethod(this, [this, posted] { waits.push_back(msSince(posted)); },
                                            Qt::QueuedConnection);
                  std::this_thread::sleep_for(std::chrono::milliseconds(kProbeIntervalMs));
              }
          })
    {
    }
    ~EventProbe() override
    {
        running = false;
        poster.join();
    }
    pthread_t thread() { return poster.native_handle(); }

    std::vector<double> waits; // main thread only

private:
    std::atomic<bool> running{true};
    std::thread poster;
};

struct Phase {
    double lagP99Ms;
    double eventWaitP99Ms;
    double cpuPercent;
    double residentGrowthMiB;
    double readOutsPerSecond;
};

Phase measure(int seconds, std::vector<double> &lags, EventProbe &probe, const std::vector<pthread_t> &helpers)
{
    bench::runEventsFor(1000); // the rate settles
    lags.clear();
    probe.waits.clear();
    const double residentBefore = bench::residentMiB();
    bench::CpuMeter meter(helpers);
    meter.start();
    bench::runEventsFor(seconds * 1000);
    return {bench::percentile(lags, 0.99), bench::percentile(probe.waits, 0.99), meter.coreShare() * 100,
            bench::residentMiB() - residentBefore, double(lags.size()) / meter.elapsedSeconds()};
}

QWidget *telemetryWindow()
{
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->windowTitle() == QLatin1String("Telemetrie"))
            return window;
    return nullptr;
}

struct Plots {
    double cpuPercent;      // of the main thread
    double residentPeakMiB; // the most above what the window had when shown, between events
};

// The plots following readings at a rate, with five minutes of them in view;
// the record's clock runs as fast as the wall's.
Plots followReadings(int perSecond, int seconds)
{
    double now = 0;
    telemetry::TelemetryRecord record(nullptr, [&now] { return now; });
    const auto add = [&](long long index) {
        record.addSample(telemetry::kQuantities[std::size_t(index % 3)], 40.0 + double(index % 7));
    };
    const long long inView = 300LL * perSecond;
    for (long long index = 0; index < inView; ++index, now += 1.0 / perSecond)
        add(index);
    QTemporaryDir programDir;
    telemetry::TelemetryWindow window(record, settings::ProgramLocation::ofProgramDirectory(programDir.path()));
    window.show();
    bench::runEventsFor(500);
    const double residentShown = bench::residentMiB();
    double residentPeak = residentShown;
    QTimer feeder;
    const Clock::time_point start = Clock::now();
    long long added = 0;
    QObject::connect(&feeder, &QTimer::timeout, [&] {
        for (const auto due = static_cast<long long>(msSince(start) * perSecond / 1000); added < due; ++added) {
            now += 1.0 / perSecond;
            add(inView + added);
        }
        residentPeak = std::max(residentPeak, bench::residentMiB());
    });
    feeder.start(1);
    const double before = bench::threadCpuSeconds(pthread_self());
    bench::runEventsFor(seconds * 1000);
    return {(bench::threadCpuSeconds(pthread_self()) - before) * 100 / msSince(start) * 1000,
            residentPeak - residentShown};
}

} // namespace

int main(int argc, char *argv[])
{
    app::VelmoraApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;

    {
        std::vector<double> lags;
        bench::LinePeer line([](const bench::LinePeer::Arrival &) { return std::string(); });
        Board board(line);
        EventProbe probe;
        bench::BenchWindow window;
        if (!window.isValid() || !window.connectTcp(2, line.port()))
            return 1;
        auto *distance = window.window().findChild<QLineEdit *>(QStringLiteral("edtAbstand"));
        QObject::connect(distance, &QLineEdit::textChanged, [&](const QString &text) {
            if (const double lag = board.lagMs(text.toInt()); lag >= 0)
                lags.push_back(lag);
        });
        window.window().findChild<QAction *>(QStringLiteral("Telemetrie1"))->trigger();
        const auto phase = [&](int rate, bool shown) {
            board.setRate(rate);
            telemetryWindow()->setVisible(shown);
            return measure(seconds, lags, probe, {line.thread(), board.thread(), probe.thread()});
        };
        const Phase pace = phase(kBoardPerSecond, true);
        const Phase hidden = phase(kFloodPerSecond, false);
        const Phase flood = phase(kFloodPerSecond, true);
        board.setRate(0);

        // Every other reading is a distance.
        bench::Figure("flood.distance_read_outs_per_s", flood.readOutsPerSecond, "/s")
            .atLeast(kFloodPerSecond / 2 * 0.9)
            .print();
        bench::Figure("flood.read_out_lag_p99", flood.lagP99Ms, "ms")
            .against("pace.read_out_lag_p99", pace.lagP99Ms)
            .atMost(1000)
            .print();
        bench::Figure("flood.event_wait_p99", flood.eventWaitP99Ms, "ms")
            .against("pace.event_wait_p99", pace.eventWaitP99Ms)
            .atMost(100)
            .print();
        bench::Figure("flood_hidden.cpu", hidden.cpuPercent, "%")
            .against("pace.cpu", pace.cpuPercent)
            .atMost(80)
            .print();
        bench::Figure("flood.cpu", flood.cpuPercent, "%")
            .against("flood_hidden.cpu", hidden.cpuPercent)
            .ratioAtMost(2)
            .print();
        bench::Figure("flood.resident_growth", hidden.residentGrowthMiB + flood.residentGrowthMiB, "MiB")
            .atMost(64)
            .print();
    }

    const Plots pace = followReadings(kBoardPerSecond, seconds);
    const Plots flood = followReadings(kFloodPerSecond, seconds);
    bench::Figure("plots.cpu_five_minutes_of_flood", flood.cpuPercent, "%")
        .against("plots.cpu_five_minutes_at_pace", pace.cpuPercent)
        .atMost(30)
        .print();
    bench::Figure("plots.resident_peak_five_minutes_of_flood", flood.residentPeakMiB, "MiB")
        .against("plots.resident_peak_five_minutes_at_pace", pace.residentPeakMiB)
        .atMost(64)
        .print();
    return 0;
}
