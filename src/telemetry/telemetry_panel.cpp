#include "telemetry/telemetry_panel.h"

#include "telemetry/gauge_scales.h"
#include "toolkit/gauge.h"
#include "toolkit/message_sink.h"

#include <QLineEdit>
#include <QLocale>

namespace telemetry {

namespace {

namespace msg = toolkit::msg;

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

std::string decimalSeparator() { return QLocale().decimalPoint().toStdString(); }

} // namespace

TelemetryPanel::TelemetryPanel(const TelemetryWidgets &widgets, QObject *parent)
    : QObject(parent), widgets(widgets)
{
    // textChanged fires for every new reading, not when the text stays the same.
    connect(widgets.edtAbstand, &QLineEdit::textChanged, this, &TelemetryPanel::edtAbstandChange);
    connect(widgets.edtBatterie, &QLineEdit::textChanged, this, &TelemetryPanel::edtBatterieChange);
    connect(widgets.edtTemperatur, &QLineEdit::textChanged, this, &TelemetryPanel::edtTemperaturChange);
}

void TelemetryPanel::setEnabled(bool enabled)
{
    for (toolkit::Gauge *gauge : {widgets.cgBat, widgets.cgDist, widgets.cgTemp}) {
        gauge->setProgress(0);
        gauge->setBackColor(toColor(colour::silver));
    }
    for (QLineEdit *readOut : {widgets.edtAbstand, widgets.edtBatterie, widgets.edtTemperatur})
        readOut->setEnabled(enabled);
}

// Each identification reply gets its box; a reception handled while the box is
// open runs its own pass, and the readings left afterwards are shown here.
void TelemetryPanel::parseFahrwerkAntwort(const std::string &text)
{
    if (!parser.append(text))
        return;
    for (int found = parser.takeIdentifications(); found > 0; --found)
        msg::show(msg::Kind::Plain, msg::Buttons::Ok, "Kettenfahrzeug am WiPort gefunden!");
    for (const TelemetryItem &item : parser.takeReadings()) {
        switch (item.kind) {
        case TelemetryItem::Kind::Distance:
            widgets.edtAbstand->setText(QString::number(item.value));
            emit reading(Quantity::Distance, item.value);
            break;
        case TelemetryItem::Kind::Battery:
            widgets.edtBatterie->setText(QString::fromStdString(formatTenths(item.value, decimalSeparator())));
            emit reading(Quantity::Battery, item.value / 10.0);
            break;
        case TelemetryItem::Kind::Temperature:
            widgets.edtTemperatur->setText(QString::fromStdString(item.digits));
            // The read-out shows any digits; only a number its gauge can take is a reading.
            if (const std::optional<std::int32_t> degrees = wholeNumber(item.digits))
                emit reading(Quantity::Temperature, *degrees);
            break;
        case TelemetryItem::Kind::Identification:
            break;
        }
    }
}

void TelemetryPanel::edtAbstandChange()
{
    showLook(*widgets.cgDist, distanceLook(widgets.edtAbstand->text().toStdString(), lookOf(*widgets.cgDist)));
}

void TelemetryPanel::edtBatterieChange()
{
    showLook(*widgets.cgBat,
             batteryLook(widgets.edtBatterie->text().toStdString(), decimalSeparator(), lookOf(*widgets.cgBat)));
}

void TelemetryPanel::edtTemperaturChange()
{
    showLook(*widgets.cgTemp,
             temperatureLook(widgets.edtTemperatur->text().toStdString(), lookOf(*widgets.cgTemp)));
}

} // namespace telemetry
