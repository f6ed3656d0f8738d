#include "drive/drive_panel.h"

#include "drive/chassis_glyphs.h"
#include "drive/fahrwerk.h"
#include "telemetry/telemetry_panel.h"
#include "comm/command_sender.h"
#include "toolkit/button_hold.h"
#include "toolkit/track_bar.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QToolButton>

namespace drive {

namespace {
constexpr int kKettenTimerMs = 50;
} // namespace

DrivePanel::DrivePanel(const DriveWidgets &widgets, Fahrwerk &fahrwerk, telemetry::TelemetryPanel &readOuts,
                       comm::CommandSender &link2, QObject *parent)
    : QObject(parent), widgets(widgets), fahrwerk(fahrwerk), readOuts(readOuts), link2(link2), KettenTimer1(this)
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
    connectControls();
    KettenTimer1.start();
}

void DrivePanel::connectControls()
{
    using toolkit::ButtonHold;
    connect(&KettenTimer1, &QTimer::timeout, this, &DrivePanel::KettenTimer1Timer);
    connect(widgets.btnVor, &QToolButton::clicked, this, &DrivePanel::btnVorClick);
    connect(widgets.btnRueck, &QToolButton::clicked, this, &DrivePanel::btnRueckClick);
    connect(widgets.btnStop, &QToolButton::clicked, this, &DrivePanel::btnStopClick);
    connect(widgets.btnWende_L, &QToolButton::clicked, this, &DrivePanel::btnWende_LClick);
    connect(widgets.btnWende_R, &QToolButton::clicked, this, &DrivePanel::btnWende_RClick);
    connect(widgets.btnWarnblink, &QToolButton::clicked, this, &DrivePanel::btnWarnblinkClick);
    // Mouse-down and mouse-up follow the mouse button, not the pointer leaving and
    // re-entering a held button.
    connect(ButtonHold::of(widgets.btnVor), &ButtonHold::mouseDown, this, &DrivePanel::btnVorMouseDown);
    connect(ButtonHold::of(widgets.btnRueck), &ButtonHold::mouseDown, this, &DrivePanel::btnRueckMouseDown);
    connect(ButtonHold::of(widgets.btnHupe), &ButtonHold::mouseDown, this, &DrivePanel::btnHupeMouseDown);
    connect(ButtonHold::of(widgets.btnHupe), &ButtonHold::mouseUp, this, &DrivePanel::btnHupeMouseUp);
    connect(ButtonHold::of(widgets.btnLinks), &ButtonHold::mouseDown, this, &DrivePanel::btnLinksMouseDown);
    connect(ButtonHold::of(widgets.btnLinks), &ButtonHold::mouseUp, this, &DrivePanel::btnLinksMouseUp);
    connect(ButtonHold::of(widgets.btnRechts), &ButtonHold::mouseDown, this, &DrivePanel::btnRechtsMouseDown);
    connect(ButtonHold::of(widgets.btnRechts), &ButtonHold::mouseUp, this, &DrivePanel::btnRechtsMouseUp);
    connect(widgets.trbLenk, &toolkit::TrackBar::positionChanged, this, &DrivePanel::trbLenkChange);
    connect(widgets.trbSpeed, &toolkit::TrackBar::positionChanged, this, &DrivePanel::trbSpeedChange);
}

void DrivePanel::KettenTimer1Timer()
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
    readOuts.setEnabled(enabled);
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

void DrivePanel::setDirection(char richtung)
{
    if (richtung == 'v') {
        widgets.btnVor->setChecked(true);
        btnVorClick();
    } else if (richtung == 'r') {
        widgets.btnRueck->setChecked(true);
        btnRueckClick();
    } else {
        widgets.btnStop->setChecked(true);
        fahrwerk.setRichtung('s');
    }
}

void DrivePanel::drive(char richtung, int speed, int steering)
{
    setDirection(richtung);
    widgets.trbSpeed->setPosition(-speed);
    widgets.trbLenk->setPosition(steering);
}

void DrivePanel::stop()
{
    widgets.btnStop->setChecked(true);
    btnStopClick();
}

// At mouse-down, isChecked() still tells whether the button was down before.
void DrivePanel::centreSteeringIfDown(const QToolButton *button)
{
    if (button->isChecked())
        widgets.trbLenk->setPosition(0);
}

void DrivePanel::btnVorClick() { fahrwerk.setRichtung('v'); }
void DrivePanel::btnVorMouseDown() { centreSteeringIfDown(widgets.btnVor); }
void DrivePanel::btnRueckClick() { fahrwerk.setRichtung('r'); }
void DrivePanel::btnRueckMouseDown() { centreSteeringIfDown(widgets.btnRueck); }
void DrivePanel::btnWende_LClick() { fahrwerk.setRichtung('L'); }
void DrivePanel::btnWende_RClick() { fahrwerk.setRichtung('R'); }

void DrivePanel::btnStopClick()
{
    fahrwerk.setRichtung('s');
    widgets.trbSpeed->setPosition(0);
}

void DrivePanel::btnHupeMouseDown() { fahrwerk.setHupe(true); }
void DrivePanel::btnHupeMouseUp() { fahrwerk.setHupe(false); }
void DrivePanel::btnWarnblinkClick() { fahrwerk.setWarnblink(widgets.btnWarnblink->isChecked()); }

void DrivePanel::btnLinksMouseDown() { widgets.trbLenk->setPosition(-kSharpTurnSteering); }
void DrivePanel::btnLinksMouseUp() { widgets.trbLenk->setPosition(0); }
void DrivePanel::btnRechtsMouseDown() { widgets.trbLenk->setPosition(kSharpTurnSteering); }
void DrivePanel::btnRechtsMouseUp() { widgets.trbLenk->setPosition(0); }

// The bar's top end (-255) is full speed.
void DrivePanel::applyDriveSpeed() { fahrwerk.setSpeed(-widgets.trbSpeed->position(), widgets.trbLenk->position()); }

void DrivePanel::trbLenkChange()
{
    applyDriveSpeed();
    const int steering = widgets.trbLenk->position();
    widgets.trbLenk->setSelStart(steering < 0 ? steering : 0);
    widgets.trbLenk->setSelEnd(steering < 0 ? 0 : steering);
}

void DrivePanel::trbSpeedChange()
{
    applyDriveSpeed();
    widgets.trbSpeed->setSelStart(widgets.trbSpeed->position());
}

} // namespace drive
