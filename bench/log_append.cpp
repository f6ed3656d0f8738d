// What one more line costs a log: a shown log bounded as the console's logs
// are, fed lines like the debug memo's, each append followed by the event loop
// turn that paints it. The CPU time of the main thread per line (less noisy on
// a shared machine than wall time) at 10 000 lines and at the cap, and the
// resident memory as the lines go on to 600 000.
#include "support/cpu_time.h"
#include "support/event_loop.h"
#include "support/figures.h"
#include "toolkit/bounded_log.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <pthread.h>
#include <unistd.h>

namespace {

constexpr int kMeasuredLines = 2000;
constexpr int kFillBatch = 200;
// Roughly the debug memo's size in the window.
constexpr int kLogWidth = 314;
constexpr int kLogHeight = 168;

class Log {
public:
    Log()
    {
        toolkit::limitLog(view);
        view.resize(kLogWidth, kLogHeight);
        view.show();
        bench::runEventsFor(200);
    }

    // Appends until the log has seen lines lines, painting every batch.
    void fillTo(long lines)
    {
        while (appended < lines) {
            for (int i = 0; i < kFillBatch && appended < lines; ++i)
                appendOne();
            QCoreApplication::processEvents();
        }
    }

    struct Cost {
        double cpuUsPerLine; // main-thread CPU per line, each line appended and painted
        double longestMs;    // the longest single append and paint, wall time
    };
    Cost measureLineCost()
    {
        const double before = bench::threadCpuSeconds(pthread_self());
        double longestMs = 0;
        for (int i = 0; i < kMeasuredLines; ++i) {
            const auto started = std::chrono::steady_clock::now();
            appendOne();
            QCoreApplication::processEvents();
            longestMs = std::max(longestMs, std::chrono::duration<double, std::milli>(
                                                std::chrono::steady_clock::now() - started).count());
        }
        return {(bench::threadCpuSeconds(pthread_self()) - before) * 1e6 / kMeasuredLines, longestMs};
    }

    int blocks() const { return view.document()->blockCount(); }

private:
    void appendOne()
    {
        // The chassis rotation's texts as the debug memo shows them.
        static const char *const rotation[] = {"K120Q120<cr>", "W0<cr>", "H0<cr>", "K120Q120<cr>", "A1<cr>", "B1<cr>"};
        toolkit::appendLineToLog(view, QLatin1String(rotation[appended % 6]));
        ++appended;
    }

    QPlainTextEdit view;
    long appended = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Log log;

    log.fillTo(10000);
    const Log::Cost at10k = log.measureLineCost();
    log.fillTo(toolkit::kLogLines + 10000);
    const Log::Cost atCap = log.measureLineCost();
    bench::Figure("log.append_at_10k", at10k.cpuUsPerLine, "us/line").print();
    bench::Figure("log.append_at_cap", atCap.cpuUsPerLine, "us/line")
        .against("log.append_at_10k", at10k.cpuUsPerLine)
        .ratioAtMost(1.5)
        .print();
    bench::Figure("log.longest_append_at_10k", at10k.longestMs, "ms").print();
    bench::Figure("log.longest_append_at_cap", atCap.longestMs, "ms").print();

    log.fillTo(100000);
    const double residentAt100k = bench::residentMiB();
    log.fillTo(600000);
    const double residentAt600k = bench::residentMiB();
    bench::Figure("log.lines_kept", log.blocks(), "lines").atLeast(toolkit::kLogLines).print();
    bench::Figure("log.resident_at_100k_lines", residentAt100k, "MiB").print();
    bench::Figure("log.resident_at_600k_lines", residentAt600k, "MiB")
        .against("log.resident_at_100k_lines", residentAt100k)
        .ratioAtMost(1.05)
        .print();
    return 0;
}
