#pragma once
// Warns when a reading enters the red zone of its gauge: the battery below a
// minimum voltage, the heat sink at or above a maximum temperature, an obstacle
// closer than a minimum distance. Each alarm fires once as the zone is entered
// and re-arms only when a reading has come back out of it by the hysteresis, so
// a value that wavers at the limit does not warn over and over.
#include "telemetry/telemetry_quantity.h"

#include <array>

namespace telemetry {

struct AlarmRule {
    enum class Side { Below, Above };
    Side side;
    double limit;      // where the alarm zone begins, as on the gauge
    double hysteresis; // how far out of the zone a reading must come to re-arm
};

class TelemetryAlarms {
public:
    enum class Change { None, Fired, Rearmed };

    // Limits at the gauges' red zones.
    TelemetryAlarms();
    static AlarmRule gaugeRule(Quantity quantity);

    const AlarmRule &rule(Quantity quantity) const;
    void setLimit(Quantity quantity, double limit);

    Change check(Quantity quantity, double value);
    // Fired and not yet re-armed.
    bool firing(Quantity quantity) const;
    // A new connection starts without alarms: only its own readings can fire one.
    void reset();

private:
    struct Alarm {
        AlarmRule rule;
        bool fired = false;
    };
    std::array<Alarm, kQuantities.size()> alarms;
};

} // namespace telemetry
