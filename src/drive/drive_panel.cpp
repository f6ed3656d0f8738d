#include "drive/drive_panel.h"

#include "drive/chassis_glyphs.h"
#include "drive/drive_command.h"
#include "drive/fahrwerk.h"
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

DrivePanel::DrivePanel(const DriveWidgets &widgets, DriveCommand &command, Fahrwerk &fahrwerk,
                       comm::CommandSender &link2, QObject *parent)
    : QObject(parent), widgets(widgets), command(command), fahrwerk(fahrwerk), link2(link2), KettenTimer1(this)
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
    showCommand();
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
    connect(&command, &DriveCommand::changed, this, &DrivePanel::showCommand);
}

void DrivePanel::KettenTimer1Timer()
{
    const std::string text = fahrwerk.getCommand();
    if (fahrwerk.getAktiv())
        link2.sendCommand(text);
}

void DrivePanel::setEnabled(bool enabled)
{
    for (QWidget *control : std::initializer_list<QWidget *>{
             widgets.gbxFahrwerk, widgets.btnHupe, widgets.btnLinks, widgets.btnRechts, widgets.btnRueck,
             widgets.btnStop, widgets.btnVor, widgets.btnWarnblink, widgets.btnWende_L, widgets.btnWende_R,
             widgets.trbLenk, widgets.trbSpeed})
        control->setEnabled(enabled);
}

// Setting a bar to where it stands emits nothing, so what a control wrote to the
// command comes back to it without a second round.
void DrivePanel::showCommand()
{
    const struct {
        char richtung;
        QToolButton *button;
    } directions[] = {{'v', widgets.btnVor},      {'r', widgets.btnRueck},     {'s', widgets.btnStop},
                      {'L', widgets.btnWende_L}, {'R', widgets.btnWende_R}};
    for (const auto &direction : directions)
        if (direction.richtung == command.direction())
            direction.button->setChecked(true);
    widgets.btnWarnblink->setChecked(command.hazard());

    // The bar's top end (-255) is full speed; its band runs from the thumb to the standstill end.
    widgets.trbSpeed->setPosition(-command.speed());
    widgets.trbSpeed->setSelStart(widgets.trbSpeed->position());
    // The steering's band runs from 0 to the thumb.
    const int steering = command.steering();
    widgets.trbLenk->setPosition(steering);
    widgets.trbLenk->setSelStart(steering < 0 ? steering : 0);
    widgets.trbLenk->setSelEnd(steering < 0 ? 0 : steering);
}

// At mouse-down, isChecked() still tells whether the button was down before.
void DrivePanel::centreSteeringIfDown(const QToolButton *button)
{
    if (button->isChecked())
        command.setSteering(0);
}

void DrivePanel::btnVorClick() { command.setDirection('v'); }
void DrivePanel::btnVorMouseDown() { centreSteeringIfDown(widgets.btnVor); }
void DrivePanel::btnRueckClick() { command.setDirection('r'); }
void DrivePanel::btnRueckMouseDown() { centreSteeringIfDown(widgets.btnRueck); }
void DrivePanel::btnWende_LClick() { command.setDirection('L'); }
void DrivePanel::btnWende_RClick() { command.setDirection('R'); }
void DrivePanel::btnStopClick() { command.stop(); }

void DrivePanel::btnHupeMouseDown() { command.setHorn(true); }
void DrivePanel::btnHupeMouseUp() { command.setHorn(false); }
void DrivePanel::btnWarnblinkClick() { command.setHazard(widgets.btnWarnblink->isChecked()); }

void DrivePanel::btnLinksMouseDown() { command.startSharpTurn(DriveCommand::Turn::Left); }
void DrivePanel::btnLinksMouseUp() { command.endSharpTurn(); }
void DrivePanel::btnRechtsMouseDown() { command.startSharpTurn(DriveCommand::Turn::Right); }
void DrivePanel::btnRechtsMouseUp() { command.endSharpTurn(); }

void DrivePanel::trbLenkChange() { command.setSteering(widgets.trbLenk->position()); }
void DrivePanel::trbSpeedChange() { command.setSpeed(-widgets.trbSpeed->position()); }

} // namespace drive
