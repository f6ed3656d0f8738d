#include "chassis/drive_panel.h"

#include "chassis/chassis_glyphs.h"
#include "chassis/fahrwerk.h"
#include "chassis/telemetry_panel.h"
#include "comm/command_sender.h"
#include "toolkit/track_bar.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QToolButton>

namespace chassis {

namespace {
constexpr int kKettenTimerMs = 50;
// Beyond the steering bar's range: the inner track runs backwards.
constexpr int kSharpTurn = 255;
} // namespace

DrivePanel::DrivePanel(const DriveWidgets &widgets, Fahrwerk &fahrwerk, TelemetryPanel &telemetry,
                       comm::CommandSender &link2, QObject *parent)
    : QObject(parent), widgets(widgets), fahrwerk(fahrwerk), telemetry(telemetry), link2(link2), KettenTimer1(this)
{
    KettenTimer1.setObjectName(QStringLiteral("KettenTimer1"));
    KettenTimer1.setTimerType(Qt::PreciseTimer);
    KettenTimer1.setInterval(kKettenTimerMs);

    const struct {
        QToolButton *button;
        Glyph glyph;
    } pictures[] = {
        {widgets.btnVor, Glyph::Forward},      {widgets.btnRueck, Glyph::Backward},
        {widgets.btnStop, Glyph::Stop},        {widgets.btnLinks, Glyph::SharpLeft},
        {widgets.btnRechts, Glyph::SharpRight}, {widgets.btnWende_L, Glyph::TurnLeft},
        {widgets.btnWende_R, Glyph::TurnRight}, {widgets.btnHupe, Glyph::Horn},
        {widgets.btnWarnblink, Glyph::Hazard},
    };
    for (const auto &picture : pictures)
        picture.button->setIcon(glyphIcon(picture.glyph));

    // Exactly one drive direction is down, stop at start.
    auto *directions = new QButtonGroup(this);
    for (QToolButton *button :
         {widgets.btnVor, widgets.btnStop, widgets.btnRueck, widgets.btnWende_L, widgets.btnWende_R})
        directions->addButton(button);
    widgets.btnStop->setChecked(true);
}

void DrivePanel::tick()
{
    const std::string command = fahrwerk.getCommand();
    if (fahrwerk.getAktiv())
        link2.sendCommand(command);
}

void DrivePanel::setFahrwerkEnabled(bool enabled)
{
    for (QWidget *control : std::initializer_list<QWidget *>{
             widgets.gbxFahrwerk, widgets.btnHupe, widgets.btnLinks, widgets.btnRechts, widgets.btnRueck,
             widgets.btnStop, widgets.btnVor, widgets.btnWarnblink, widgets.btnWende_L, widgets.btnWende_R,
             widgets.trbLenk, widgets.trbSpeed})
        control->setEnabled(enabled);
    telemetry.setEnabled(enabled);
}

void DrivePanel::switchChassis(bool on)
{
    if (on) {
        setFahrwerkEnabled(true);
        fahrwerk.setAktiv(true);
    } else {
        fahrwerk.setAktiv(false);
        setFahrwerkEnabled(false);
    }
}

void DrivePanel::setRichtung(char richtung) { fahrwerk.setRichtung(richtung); }

// At mouse-down, isChecked() still tells whether the button was down before.
void DrivePanel::centreSteeringIfDown(QToolButton *button)
{
    if (button->isChecked())
        widgets.trbLenk->setPosition(0);
}

void DrivePanel::stop()
{
    fahrwerk.setRichtung('s');
    widgets.trbSpeed->setPosition(0);
}

void DrivePanel::setHupe(bool on) { fahrwerk.setHupe(on); }

void DrivePanel::followWarnblink() { fahrwerk.setWarnblink(widgets.btnWarnblink->isChecked()); }

void DrivePanel::sharpTurnLeft() { widgets.trbLenk->setPosition(-kSharpTurn); }
void DrivePanel::sharpTurnRight() { widgets.trbLenk->setPosition(kSharpTurn); }
void DrivePanel::endSharpTurn() { widgets.trbLenk->setPosition(0); }

// The bar's top end (-255) is full speed.
void DrivePanel::applyDriveSpeed() { fahrwerk.setSpeed(-widgets.trbSpeed->position(), widgets.trbLenk->position()); }

void DrivePanel::applySteering()
{
    applyDriveSpeed();
    const int steering = widgets.trbLenk->position();
    widgets.trbLenk->setSelStart(steering < 0 ? steering : 0);
    widgets.trbLenk->setSelEnd(steering < 0 ? 0 : steering);
}

void DrivePanel::applySpeed()
{
    applyDriveSpeed();
    widgets.trbSpeed->setSelStart(widgets.trbSpeed->position());
}

} // namespace chassis
