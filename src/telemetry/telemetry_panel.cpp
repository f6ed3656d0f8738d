#include "telemetry/telemetry_panel.h"

#include "telemetry/gauge_scales.h"
#include "telemetry/telemetry_stream.h"
#include "toolkit/gauge.h"

#include <QLineEdit>
#include <QLocale>

namespace telemetry {

namespace {

QColor toColor(Rgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

Rgb toRgb(const QColor &colour)
{
    return {static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
            static_cast<std::uint8_t>(colour.blue())};
}

GaugeLook lookOf(const toolkit::Gauge &gauge)
{
    return {gauge.progress(), toRgb(gauge.foreColor()), toRgb(gauge.backColor())};
}

void showLook(toolkit::Gauge &gauge, const GaugeLook &look)
{
    gauge.setProgress(look.progress);
    gauge.setForeColor(toColor(look.fill));
    gauge.setBackColor(toColor(look.background));
}

// The distance without leading zeros, the battery in volts with one decimal and
// the user's decimal separator, the temperature's digits as received.
QString readOutText(const Reading &reading)
{
    switch (reading.quantity) {
    case Quantity::Distance: return QString::number(*reading.count);
    case Quantity::Battery:
        return QString::fromStdString(formatTenths(*reading.count, QLocale().decimalPoint().toStdString()));
    case Quantity::Temperature: break;
    }
    return QString::fromStdString(reading.digits);
}

} // namespace

TelemetryPanel::TelemetryPanel(const TelemetryWidgets &widgets, TelemetryStream &stream, QObject *parent)
    : QObject(parent), widgets(widgets)
{
    connect(&stream, &TelemetryStream::readingArrived, this, &TelemetryPanel::showReading);
}

void TelemetryPanel::setEnabled(bool enabled)
{
    for (toolkit::Gauge *gauge : {widgets.cgBat, widgets.cgDist, widgets.cgTemp}) {
        gauge->setProgress(0);
        gauge->setBackColor(toColor(colour::silver));
    }
    gaugeReset.fill(true);
    for (QLineEdit *readOut : {widgets.edtAbstand, widgets.edtBatterie, widgets.edtTemperatur})
        readOut->setEnabled(enabled);
}

// A gauge follows its read-out's text: a reading that leaves the text as it
// stands leaves the gauge as it stands too. Not so a reset gauge: a grey 0 %
// beside a read-out of 8.1 V after reconnecting would say what is not.
void TelemetryPanel::showReading(const Reading &reading)
{
    QLineEdit *readOut = reading.quantity == Quantity::Distance ? widgets.edtAbstand
                         : reading.quantity == Quantity::Battery ? widgets.edtBatterie
                                                                 : widgets.edtTemperatur;
    const QString text = readOutText(reading);
    bool &reset = gaugeReset[indexOf(reading.quantity)];
    const bool gaugeDue = text != readOut->text() || reset;
    readOut->setText(text);
    if (!gaugeDue || !reading.count)
        return;
    reset = false;
    switch (reading.quantity) {
    case Quantity::Distance: edtAbstandChange(*reading.count); break;
    case Quantity::Battery: edtBatterieChange(static_cast<float>(*reading.value())); break;
    case Quantity::Temperature: edtTemperaturChange(*reading.count); break;
    }
}

void TelemetryPanel::edtAbstandChange(std::int32_t centimetres)
{
    showLook(*widgets.cgDist, distanceLook(centimetres, lookOf(*widgets.cgDist)));
}

void TelemetryPanel::edtBatterieChange(float volts)
{
    showLook(*widgets.cgBat, batteryLook(volts, lookOf(*widgets.cgBat)));
}

void TelemetryPanel::edtTemperaturChange(std::int32_t degrees)
{
    showLook(*widgets.cgTemp, temperatureLook(degrees, lookOf(*widgets.cgTemp)));
}

} // namespace telemetry
