// How evenly the chassis texts reach the board: the real window with link 2
// opened over serial on a pty, the board played by a thread reading the pty's
// far end directly and answering the telemetry requests. The gaps between
// arrivals are measured for a while with the window idle and for as long again
// with a modal message box open. Reference: a bare 50 ms QTimer in the same
// process writing to a pty of its own, read the same way, in the same run.
#include "toolkit/message_sink.h"
#include "app/velmora_application.h"
#include "support/bench_window.h"
#include "support/chassis_board.h"
#include "support/event_loop.h"
#include "support/figures.h"
#include "support/line_peer.h"
#include "support/pty_pair.h"
#include "support/reference_writer.h"

#include <QApplication>
#include <QWidget>
#include <cstdio>

namespace {

constexpr int kSettleMs = 1000;

struct Period {
    std::vector<bench::LinePeer::Arrival> window;
    std::vector<bench::LinePeer::Arrival> reference;
};

void report(const std::string &name, const Period &period)
{
    const std::vector<double> window = bench::intervalsMs(period.window);
    const std::vector<double> reference = bench::intervalsMs(period.reference);
    const std::string ours = "cadence." + name + ".window";
    const std::string ref = "cadence." + name + ".qtimer";
    bench::Figure(ours + ".texts", window.size() + 1, "texts").against(ref + ".texts", reference.size() + 1).print();
    bench::Figure(ours + ".mean", bench::mean(window), "ms").against(ref + ".mean", bench::mean(reference)).print();
    bench::Figure(ours + ".p1", bench::percentile(window, 0.01), "ms")
        .against(ref + ".p1", bench::percentile(reference, 0.01))
        .atLeast(48)
        .print();
    bench::Figure(ours + ".p99", bench::percentile(window, 0.99), "ms")
        .against(ref + ".p99", bench::percentile(reference, 0.99))
        .atMost(52)
        .print();
    bench::Figure(ours + ".largest_gap", bench::percentile(window, 1.0), "ms")
        .against(ref + ".largest_gap", bench::percentile(reference, 1.0))
        .atMost(60)
        .print();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    app::VelmoraApplication app(argc, argv);
    const int periodMs = (argc > 1 ? std::max(2, std::atoi(argv[1])) : 60) * 1000;

    PtyPair chassisLine;
    PtyPair referenceLine;
    bench::ArrivalLog chassisTexts;
    bench::ArrivalLog referenceTexts;
    bench::LinePeer board(chassisLine.farEnd(), [&](const bench::LinePeer::Arrival &arrival) {
        chassisTexts.add(arrival);
        return bench::chassisBoardAnswer(arrival.text);
    });
    bench::LinePeer referencePeer(referenceLine.farEnd(), [&](const bench::LinePeer::Arrival &arrival) {
        referenceTexts.add(arrival);
        return std::string();
    });
    bench::BenchWindow window;
    if (!window.isValid() || !window.openSerial(2, chassisLine.deviceName())) {
        std::fprintf(stderr, "link 2 did not open on %s\n", chassisLine.deviceName().c_str());
        return 1;
    }
    bench::ReferenceWriter referenceWriter(referenceLine.deviceName());
    if (!referenceWriter.isValid())
        return 1;

    const auto takePeriod = [&] { return Period {chassisTexts.take(), referenceTexts.take()}; };
    bench::runEventsFor(kSettleMs);
    takePeriod();
    bench::runEventsFor(periodMs);
    report("idle", takePeriod());

    // The box's own event loop runs the ticks now; the box is closed from a
    // timer of that loop once the period is over.
    Period withBox;
    bool boxWasOpen = false;
    QTimer::singleShot(kSettleMs, [&] { takePeriod(); });
    QTimer::singleShot(kSettleMs + periodMs, [&] {
        withBox = takePeriod();
        QWidget *box = QApplication::activeModalWidget();
        boxWasOpen = box != nullptr;
        if (box)
            box->close();
    });
    toolkit::msg::show(toolkit::msg::Kind::Information, toolkit::msg::Buttons::Ok,
                      platform::UiText::verbatim("Messung läuft"));
    if (!boxWasOpen) {
        std::fprintf(stderr, "the message box was not open\n");
        return 1;
    }
    report("modal_box", withBox);
    return 0;
}
