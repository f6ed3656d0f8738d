// The drive group: direction buttons, sharp turns, horn, hazard lights, steering
// and speed bars, and the 50 ms chassis timer that sends the command rotation.
#include "app/tform1.h"

#include "chassis/chassis_glyphs.h"
#include "chassis/fahrwerk.h"
#include "chassis/gauge_scales.h"
#include "toolkit/gauge.h"
#include "toolkit/track_bar.h"

#include <QButtonGroup>
#include <QToolButton>

#include "ui_tform1.h"

namespace {
// Beyond the steering bar's range: the inner track runs backwards.
constexpr int kSharpTurn = 255;
const QColor kSilver(chassis::colour::silver.red, chassis::colour::silver.green, chassis::colour::silver.blue);
} // namespace

void TForm1::connectDriveControls()
{
    const struct {
        QToolButton *button;
        chassis::Glyph glyph;
    } pictures[] = {
        {ui->btnVor, chassis::Glyph::Forward},      {ui->btnRueck, chassis::Glyph::Backward},
        {ui->btnStop, chassis::Glyph::Stop},        {ui->btnLinks, chassis::Glyph::SharpLeft},
        {ui->btnRechts, chassis::Glyph::SharpRight}, {ui->btnWende_L, chassis::Glyph::TurnLeft},
        {ui->btnWende_R, chassis::Glyph::TurnRight}, {ui->btnHupe, chassis::Glyph::Horn},
        {ui->btnWarnblink, chassis::Glyph::Hazard},
    };
    for (const auto &picture : pictures)
        picture.button->setIcon(chassis::glyphIcon(picture.glyph));

    // Exactly one drive direction is down, stop at start.
    auto *directions = new QButtonGroup(this);
    for (QToolButton *button : {ui->btnVor, ui->btnStop, ui->btnRueck, ui->btnWende_L, ui->btnWende_R})
        directions->addButton(button);
    ui->btnStop->setChecked(true);

    connect(ui->btnVor, &QToolButton::pressed, this, &TForm1::btnVorMouseDown);
    connect(ui->btnVor, &QToolButton::clicked, this, &TForm1::btnVorClick);
    connect(ui->btnRueck, &QToolButton::pressed, this, &TForm1::btnRueckMouseDown);
    connect(ui->btnRueck, &QToolButton::clicked, this, &TForm1::btnRueckClick);
    connect(ui->btnStop, &QToolButton::clicked, this, &TForm1::btnStopClick);
    connect(ui->btnWende_L, &QToolButton::clicked, this, &TForm1::btnWende_LClick);
    connect(ui->btnWende_R, &QToolButton::clicked, this, &TForm1::btnWende_RClick);
    connect(ui->btnHupe, &QToolButton::pressed, this, &TForm1::btnHupeMouseDown);
    connect(ui->btnHupe, &QToolButton::released, this, &TForm1::btnHupeMouseUp);
    connect(ui->btnWarnblink, &QToolButton::clicked, this, &TForm1::btnWarnblinkClick);
    connect(ui->btnLinks, &QToolButton::pressed, this, &TForm1::btnLinksMouseDown);
    connect(ui->btnLinks, &QToolButton::released, this, &TForm1::btnLinksMouseUp);
    connect(ui->btnRechts, &QToolButton::pressed, this, &TForm1::btnRechtsMouseDown);
    connect(ui->btnRechts, &QToolButton::released, this, &TForm1::btnRechtsMouseUp);
    connect(ui->trbLenk, &toolkit::TrackBar::positionChanged, this, &TForm1::trbLenkChange);
    connect(ui->trbSpeed, &toolkit::TrackBar::positionChanged, this, &TForm1::trbSpeedChange);
}

void TForm1::btnVorClick() { fahrwerk->setRichtung('v'); }
void TForm1::btnRueckClick() { fahrwerk->setRichtung('r'); }
void TForm1::btnWende_LClick() { fahrwerk->setRichtung('L'); }
void TForm1::btnWende_RClick() { fahrwerk->setRichtung('R'); }

// While pressed, isChecked() still tells whether the button was down before.
void TForm1::btnVorMouseDown() { centreSteeringIfDown(ui->btnVor); }
void TForm1::btnRueckMouseDown() { centreSteeringIfDown(ui->btnRueck); }

void TForm1::centreSteeringIfDown(QToolButton *button)
{
    if (button->isChecked())
        ui->trbLenk->setPosition(0);
}

void TForm1::btnStopClick()
{
    fahrwerk->setRichtung('s');
    ui->trbSpeed->setPosition(0);
}

void TForm1::btnHupeMouseDown() { fahrwerk->setHupe(true); }
void TForm1::btnHupeMouseUp() { fahrwerk->setHupe(false); }
void TForm1::btnWarnblinkClick() { fahrwerk->setWarnblink(ui->btnWarnblink->isChecked()); }
void TForm1::btnLinksMouseDown() { ui->trbLenk->setPosition(-kSharpTurn); }
void TForm1::btnLinksMouseUp() { ui->trbLenk->setPosition(0); }
void TForm1::btnRechtsMouseDown() { ui->trbLenk->setPosition(kSharpTurn); }
void TForm1::btnRechtsMouseUp() { ui->trbLenk->setPosition(0); }

// The bar's top end (-255) is full speed.
void TForm1::applyDriveSpeed() { fahrwerk->setSpeed(-ui->trbSpeed->position(), ui->trbLenk->position()); }

void TForm1::trbLenkChange()
{
    applyDriveSpeed();
    const int steering = ui->trbLenk->position();
    ui->trbLenk->setSelStart(steering < 0 ? steering : 0);
    ui->trbLenk->setSelEnd(steering < 0 ? 0 : steering);
}

void TForm1::trbSpeedChange()
{
    applyDriveSpeed();
    ui->trbSpeed->setSelStart(ui->trbSpeed->position());
}

void TForm1::setFahrwerkEnabled(bool enabled)
{
    for (QWidget *control : std::initializer_list<QWidget *>{
             ui->gbxFahrwerk, ui->btnHupe, ui->btnLinks, ui->btnRechts, ui->btnRueck, ui->btnStop, ui->btnVor,
             ui->btnWarnblink, ui->btnWende_L, ui->btnWende_R})
        control->setEnabled(enabled);
    for (toolkit::Gauge *gauge : {ui->cgBat, ui->cgDist, ui->cgTemp}) {
        gauge->setProgress(0);
        gauge->setBackColor(kSilver);
    }
    for (QWidget *control : std::initializer_list<QWidget *>{ui->edtAbstand, ui->edtBatterie, ui->edtTemperatur,
                                                             ui->trbLenk, ui->trbSpeed})
        control->setEnabled(enabled);
}

void TForm1::KettenTimer1Timer()
{
    const std::string command = fahrwerk->getCommand();
    if (!fahrwerk->getAktiv())
        return;
    logCommand(command);
    sendOnLink(links[1], command);
}
