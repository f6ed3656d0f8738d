#include "telemetry/telemetry_record.h"

#include "telemetry/telemetry_stream.h"

#include <QDateTime>
#include <chrono>
#include <cmath>

namespace telemetry {

double TelemetryRecord::steadySeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

TelemetryRecord::TelemetryRecord(QObject *parent, Clock clock)
    : QObject(parent),
      clock(std::move(clock)),
      wallClockOffsetSeconds(double(QDateTime::currentMSecsSinceEpoch()) / 1000 - this->clock())
{
}

void TelemetryRecord::setAlarmLimit(Quantity quantity, double limit) { alarmState.setLimit(quantity, limit); }

void TelemetryRecord::addSample(Quantity quantity, double value)
{
    if (!std::isfinite(value))
        return;
    state = Feed::Live;
    samples.append(quantity, clock(), value);
    csv.write(quantity, value);
    emit sampleAdded(quantity, value);
    switch (alarmState.check(quantity, value)) {
    case TelemetryAlarms::Change::Fired: emit alarmFired(quantity, value); break;
    case TelemetryAlarms::Change::Rearmed: emit alarmRearmed(); break;
    case TelemetryAlarms::Change::None: break;
    }
}

void TelemetryRecord::addReading(const Reading &reading)
{
    if (const std::optional<double> value = reading.value())
        addSample(reading.quantity, *value);
}

void TelemetryRecord::linkConnected()
{
    linkOpen = true;
    state = Feed::Awaited;
    alarmState.reset();
    emit linkChanged();
}

// The alarms end too: they would speak of readings that no longer come.
void TelemetryRecord::linkClosed()
{
    if (!linkOpen)
        return;
    linkOpen = false;
    state = Feed::Gone;
    goneAt = clock();
    samples.appendBreak(goneAt);
    alarmState.reset();
    emit linkChanged();
}

} // namespace telemetry
