#pragma once
// Everything the console keeps of the chassis telemetry over time, whether the
// telemetry window is shown or not: the history the plots draw, the alarms, and
// the CSV recorder. Each reading of the telemetry stream that has a value comes
// here as one sample, stamped with the monotonic time of its arrival. Link 2
// going away leaves a break in the history and ends the alarms; a recording
// goes on and gets the next reading that comes.
#include "telemetry/csv_recorder.h"
#include "telemetry/telemetry_alarms.h"
#include "telemetry/telemetry_history.h"

#include <QObject>
#include <functional>

namespace telemetry {

struct Reading;

class TelemetryRecord : public QObject {
    Q_OBJECT

public:
    // Monotonic seconds.
    using Clock = std::function<double()>;
    static double steadySeconds();

    explicit TelemetryRecord(QObject *parent = nullptr, Clock clock = steadySeconds);

    const TelemetryHistory &history() const { return samples; }
    const TelemetryAlarms &alarms() const { return alarmState; }
    void setAlarmLimit(Quantity quantity, double limit);
    // What the readings tell now: none yet (since the start or since link 2
    // opened), readings coming, or link 2 gone since goneSince (monotonic).
    enum class Feed { Awaited, Live, Gone };
    Feed feed() const { return state; }
    double goneSince() const { return goneAt; }
    CsvRecorder &recorder() { return csv; }
    const CsvRecorder &recorder() const { return csv; }

    double now() const { return clock(); }
    // Seconds to add to a monotonic time for its wall-clock time (seconds since
    // the epoch), as the clock stood when this record began.
    double wallClockOffset() const { return wallClockOffsetSeconds; }

    // A reading without a value (temperature digits beyond a number) is not kept.
    void addReading(const Reading &reading);

public slots:
    // Only a finite value: a NaN in the history is a break.
    void addSample(telemetry::Quantity quantity, double value);
    // Link 2 connected: alarms start afresh.
    void linkConnected();
    // Link 2 free again; nothing unless it was open.
    void linkClosed();

signals:
    void sampleAdded(telemetry::Quantity quantity, double value);
    void alarmFired(telemetry::Quantity quantity, double value);
    // An alarm re-armed.
    void alarmRearmed();
    // Link 2 opened or went away: a new feed, alarms afresh.
    void linkChanged();

private:
    Clock clock;
    double wallClockOffsetSeconds;
    TelemetryHistory samples;
    TelemetryAlarms alarmState;
    CsvRecorder csv;
    bool linkOpen = false;
    Feed state = Feed::Awaited;
    double goneAt = 0;
};

} // namespace telemetry
