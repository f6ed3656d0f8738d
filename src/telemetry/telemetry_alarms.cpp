#include "telemetry/telemetry_alarms.h"

#include "telemetry/gauge_scales.h"

namespace telemetry {

namespace {

bool inZone(const AlarmRule &rule, double value)
{
    return rule.side == AlarmRule::Side::Below ? value < rule.limit : value >= rule.limit;
}

bool recovered(const AlarmRule &rule, double value)
{
    return rule.side == AlarmRule::Side::Below ? value >= rule.limit + rule.hysteresis
                                               : value < rule.limit - rule.hysteresis;
}

} // namespace

TelemetryAlarms::TelemetryAlarms()
{
    for (Quantity quantity : kQuantities)
        alarms[indexOf(quantity)].rule = gaugeRule(quantity);
}

// The hystereses are a few steps of each reading's resolution: two tenths of a
// volt, three degrees, five centimetres.
AlarmRule TelemetryAlarms::gaugeRule(Quantity quantity)
{
    switch (quantity) {
    case Quantity::Battery: return {AlarmRule::Side::Below, batteryRedBelowVolts(), 0.2};
    case Quantity::Temperature: return {AlarmRule::Side::Above, double(kTemperatureRedFrom), 3};
    case Quantity::Distance: return {AlarmRule::Side::Below, double(kDistanceRedBelow), 5};
    }
    return {};
}

const AlarmRule &TelemetryAlarms::rule(Quantity quantity) const { return alarms[indexOf(quantity)].rule; }

void TelemetryAlarms::setLimit(Quantity quantity, double limit) { alarms[indexOf(quantity)].rule.limit = limit; }

TelemetryAlarms::Change TelemetryAlarms::check(Quantity quantity, double value)
{
    Alarm &alarm = alarms[indexOf(quantity)];
    if (!alarm.fired && inZone(alarm.rule, value)) {
        alarm.fired = true;
        return Change::Fired;
    }
    if (alarm.fired && recovered(alarm.rule, value)) {
        alarm.fired = false;
        return Change::Rearmed;
    }
    return Change::None;
}

bool TelemetryAlarms::firing(Quantity quantity) const { return alarms[indexOf(quantity)].fired; }

void TelemetryAlarms::reset()
{
    for (Alarm &alarm : alarms)
        alarm.fired = false;
}

} // namespace telemetry
