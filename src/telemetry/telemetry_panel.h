#pragma once
// The chassis board's readings in the "Fahrwerk" group: the distance, battery
// and temperature read-outs with their gauges, a view of the telemetry stream.
#include "telemetry/telemetry_quantity.h"

#include <QObject>
#include <array>
#include <cstdint>

class QLineEdit;
namespace toolkit {
class Gauge;
}

namespace telemetry {

struct Reading;
class TelemetryStream;

struct TelemetryWidgets {
    QLineEdit *edtAbstand;
    QLineEdit *edtBatterie;
    QLineEdit *edtTemperatur;
    toolkit::Gauge *cgDist;
    toolkit::Gauge *cgBat;
    toolkit::Gauge *cgTemp;
};

class TelemetryPanel : public QObject {
    Q_OBJECT

public:
    TelemetryPanel(const TelemetryWidgets &widgets, TelemetryStream &stream, QObject *parent);

    // Enables or disables the read-outs; the gauges go back to empty either way,
    // until the next reading of each.
    void setEnabled(bool enabled);

private:
    void showReading(const Reading &reading);
    // A read-out's change: its gauge takes the new value.
    void edtAbstandChange(std::int32_t centimetres);
    void edtBatterieChange(float volts);
    void edtTemperaturChange(std::int32_t degrees);

    TelemetryWidgets widgets;
    // Per quantity: its gauge was reset and waits for a reading, equal or not.
    std::array<bool, kQuantities.size()> gaugeReset{};
};

} // namespace telemetry
