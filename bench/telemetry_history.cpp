// What a chassis reading costs while the telemetry window is hidden or never
// opened: the history append on its own, and the whole of TelemetryRecord's
// addSample (history, alarms, its signal) without a window and with a hidden
// one, each against a
// push_back into a std::vector of the same samples whose memory is already in
// use (as the full ring's is), in the same run.
// Then the memory of the history: resident when made, and when full.
#include "settings/program_location.h"
#include "telemetry/telemetry_window.h"
#include "support/cpu_time.h"
#include "support/figures.h"

#include <QApplication>
#include <QTemporaryDir>
#include <chrono>
#include <fstream>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kAppends = 3'000'000;

using telemetry::Quantity;

Quantity quantityOf(int index) { return telemetry::kQuantities[std::size_t(index) % telemetry::kQuantities.size()]; }

template <typename Body>
double nsPerCall(Body body)
{
    const auto start = std::chrono::steady_clock::now();
    for (int index = 0; index < kAppends; ++index)
        body(index);
    return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() / kAppends;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    std::vector<telemetry::TelemetrySample> plain(kAppends);
    plain.clear();
    const double vectorNs = nsPerCall([&](int index) { plain.push_back({index * 0.15, 40.0 + index % 7}); });

    const double beforeHistory = bench::residentMiB();
    telemetry::TelemetryHistory history;
    const double madeHistory = bench::residentMiB();
    // Full from here on: every append drops the oldest sample.
    nsPerCall([&](int index) { history.append(quantityOf(index), index * 0.15, 40.0 + index % 7); });
    const double fullHistory = bench::residentMiB();
    const double appendNs = nsPerCall(
        [&](int index) { history.append(quantityOf(index), 1e6 + index * 0.15, 40.0 + index % 7); });

    telemetry::TelemetryRecord record;
    const auto addSample = [&](int index) { record.addSample(quantityOf(index), 40.0 + index % 7); };
    const double addSampleNs = nsPerCall(addSample);
    QTemporaryDir programDir;
    telemetry::TelemetryWindow hidden(record, settings::ProgramLocation::ofProgramDirectory(programDir.path()));
    const double hiddenWindowNs = nsPerCall(addSample);

    bench::Figure("history.append", appendNs, "ns")
        .against("vector.push_back", vectorNs)
        .atMost(300)
        .ratioAtMost(4)
        .print();
    bench::Figure("record.add_sample", addSampleNs, "ns").against("vector.push_back", vectorNs).atMost(500).print();
    bench::Figure("record.add_sample_window_hidden", hiddenWindowNs, "ns")
        .against("record.add_sample", addSampleNs)
        .atMost(500)
        .print();
    bench::Figure("history.resident_when_made", madeHistory - beforeHistory, "MiB").atMost(1).print();
    bench::Figure("history.resident_when_full", fullHistory - beforeHistory, "MiB").atMost(14).print();
    return history.size(Quantity::Distance) + record.history().size(Quantity::Battery) > 0 ? 0 : 1;
}
