#pragma once
// What the chassis board answers on link 2: the identification reply, and the
// distance, battery and temperature read-outs with their gauges.
#include "telemetry/telemetry_parser.h"
#include "telemetry/telemetry_quantity.h"

#include <QObject>
#include <string>

class QLineEdit;
namespace toolkit {
class Gauge;
}

namespace telemetry {

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
    TelemetryPanel(const TelemetryWidgets &widgets, QObject *parent);

    // Enables or disables the read-outs; the gauges go back to empty either way.
    void setEnabled(bool enabled);

    // One received piece of link 2, as it came.
    void parseFahrwerkAntwort(const std::string &text);
    void edtAbstandChange();
    void edtBatterieChange();
    void edtTemperaturChange();

signals:
    // Each reading the read-outs show, in volts, degrees Celsius or centimetres.
    void reading(telemetry::Quantity quantity, double value);

private:
    TelemetryWidgets widgets;
    FahrwerkAntwortParser parser;
};

} // namespace telemetry
