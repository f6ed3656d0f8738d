// What the chassis board answers on link 2: the identification reply, and the
// distance, battery and temperature read-outs with their gauges.
#include "app/tform1.h"

#include "app/message_sink.h"
#include "chassis/gauge_scales.h"
#include "toolkit/gauge.h"

#include <QLineEdit>
#include <QLocale>

#include "ui_tform1.h"

namespace {

QColor toColor(chassis::Rgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

chassis::Rgb toRgb(const QColor &colour)
{
    return {static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
            static_cast<std::uint8_t>(colour.blue())};
}

chassis::GaugeLook lookOf(const toolkit::Gauge &gauge)
{
    return {gauge.progress(), toRgb(gauge.foreColor()), toRgb(gauge.backColor())};
}

void showLook(toolkit::Gauge &gauge, const chassis::GaugeLook &look)
{
    gauge.setProgress(look.progress);
    gauge.setForeColor(toColor(look.fill));
    gauge.setBackColor(toColor(look.background));
}

std::string decimalSeparator() { return QLocale().decimalPoint().toStdString(); }

} // namespace

void TForm1::connectTelemetry()
{
    connect(ui->edtAbstand, &QLineEdit::textChanged, this, &TForm1::edtAbstandChange);
    connect(ui->edtBatterie, &QLineEdit::textChanged, this, &TForm1::edtBatterieChange);
    connect(ui->edtTemperatur, &QLineEdit::textChanged, this, &TForm1::edtTemperaturChange);
}

// Each identification reply gets its box; a reception handled while the box is
// open runs its own pass, and the readings left afterwards are shown here.
void TForm1::parseFahrwerkAntwort(const std::string &text)
{
    if (!telemetryParser.append(text))
        return;
    for (int found = telemetryParser.takeIdentifications(); found > 0; --found)
        msg::show(msg::Kind::Plain, msg::Buttons::Ok, "Kettenfahrzeug am WiPort gefunden!");
    for (const chassis::TelemetryItem &item : telemetryParser.takeReadings()) {
        switch (item.kind) {
        case chassis::TelemetryItem::Kind::Distance:
            ui->edtAbstand->setText(QString::number(item.value));
            break;
        case chassis::TelemetryItem::Kind::Battery:
            ui->edtBatterie->setText(QString::fromStdString(chassis::formatTenths(item.value, decimalSeparator())));
            break;
        case chassis::TelemetryItem::Kind::Temperature:
            ui->edtTemperatur->setText(QString::fromStdString(item.digits));
            break;
        case chassis::TelemetryItem::Kind::Identification:
            break;
        }
    }
}

void TForm1::edtAbstandChange()
{
    showLook(*ui->cgDist, chassis::distanceLook(ui->edtAbstand->text().toStdString(), lookOf(*ui->cgDist)));
}

void TForm1::edtBatterieChange()
{
    showLook(*ui->cgBat, chassis::batteryLook(ui->edtBatterie->text().toStdString(), decimalSeparator(),
                                          lookOf(*ui->cgBat)));
}

void TForm1::edtTemperaturChange()
{
    showLook(*ui->cgTemp, chassis::temperatureLook(ui->edtTemperatur->text().toStdString(), lookOf(*ui->cgTemp)));
}
