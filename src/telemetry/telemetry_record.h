#pragma once
// Everything the console keeps of the chassis telemetry over time, whether the
// telemetry window is shown or not: the history the plots draw, the alarms, and
// the CSV recorder. Each reading of the telemetry stream that has a value comes
// here as one sample, stamped with the monotonic time of its arrival.
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
    CsvRecorder &recorder() { return csv; }
    const CsvRecorder &recorder() const { return csv; }

    double now() const { return clock(); }
    // Seconds to add to a monotonic time for its wall-clock time (seconds since
    // the epoch), as the clock stood when this record began.
    double wallClockOffset() const { return wallClockOffsetSeconds; }

    // A reading without a value (temperature digits beyond a number) is not kept.
    void addReading(const Reading &reading);

public slots:
    void addSample(telemetry::Quantity quantity, double value);
    // Link 2 connected: alarms start afresh.
    void linkConnected();

signals:
    void sampleAdded(telemetry::Quantity quantity, double value);
    void alarmFired(telemetry::Quantity quantity, double value);
    // An alarm re-armed, or all of them by a new connection.
    void alarmRearmed();

private:
    Clock clock;
    double wallClockOffsetSeconds;
    TelemetryHistory samples;
    TelemetryAlarms alarmState;
    CsvRecorder csv;
};

} // namespace telemetry
