#include "arm/joint_panel.h"

#include "arm/arm.h"
#include "toolkit/message_sink.h"
#include "toolkit/track_bar.h"
#include "toolkit/up_down.h"

#include <QComboBox>
#include <QLineEdit>

namespace arm {

namespace {
namespace msg = toolkit::msg;
// The speed list's entries step by 100: entry n is speed n * 100.
constexpr int kSpeedEntryStep = 100;
} // namespace

JointPanel::JointPanel(const JointWidgets &widgets, Arm &arm, int index, QObject *parent)
    : QObject(parent), widgets(widgets), arm(arm), joint(index)
{
    widgets.udMin->setBuddy(widgets.limMin);
    widgets.udMax->setBuddy(widgets.limMax);
    widgets.udPos->setBuddy(widgets.pos);
    // activated, not currentIndexChanged: only the operator's choice may run the
    // handlers, never a selection made by code (start-up, a replayed step).
    connect(widgets.kanal, &QComboBox::activated, this, &JointPanel::cbxKanalServoChange);
    connect(widgets.speed, &QComboBox::activated, this, &JointPanel::cbxSpeedChange);
    connect(widgets.udMin, &toolkit::UpDown::clicked, this, &JointPanel::udMinClick);
    connect(widgets.udMax, &toolkit::UpDown::clicked, this, &JointPanel::udMaxClick);
    connect(widgets.slider, &QSlider::valueChanged, this, &JointPanel::trbServoChange);
    connect(widgets.udPos, &toolkit::UpDown::clicked, this, &JointPanel::udPosClick);

    connect(&arm, &Arm::kanalSet, this, [this](int changed) {
        if (changed == joint)
            showKanal();
    });
    connect(&arm, &Arm::limitsSet, this, [this](int changed) {
        if (changed == joint)
            showLimits();
    });
    connect(&arm, &Arm::speedSet, this, [this](int changed, int speed) {
        if (changed == joint)
            showSpeed(speed);
    });
    connect(&arm, &Arm::positionSet, this, [this](int changed) {
        if (changed == joint)
            showPosition();
    });
}

void JointPanel::setNeighbours(std::vector<const JointPanel *> others) { neighbours = std::move(others); }

int JointPanel::shownChannel() const { return widgets.kanal->currentIndex(); }

void JointPanel::showSettings()
{
    const Servo &servo = arm.joint(joint);
    widgets.kanal->setCurrentIndex(servo.getKanal());
    widgets.speed->setCurrentIndex(0);
    widgets.udMin->setPosition(servo.getLimitMin());
    widgets.udMax->setPosition(servo.getLimitMax());
    widgets.slider->setSelEnd(servo.getLimitMax());
    widgets.slider->setSelStart(servo.getLimitMin());
}

void JointPanel::setChannelEnabled(bool enabled) { widgets.kanal->setEnabled(enabled); }

// Two joints on one channel would move together: the lists, not the joints, are
// compared, so the check sees what the operator sees.
void JointPanel::cbxKanalServoChange()
{
    const int chosen = shownChannel();
    for (const JointPanel *other : neighbours) {
        if (other->shownChannel() == chosen) {
            msg::show(msg::Kind::Warning, msg::Buttons::Ok,
                      UI_TEXT("arm::JointPanel",
                              "Fehler: Servo-Kanal wird schon benutzt!\nWählen Sie einen anderen Kanal!"));
            showKanal();
            return;
        }
    }
    arm.setKanal(joint, chosen);
}

void JointPanel::cbxSpeedChange() { arm.setSpeed(joint, widgets.speed->currentText().toInt()); }

// A raised limit may have pulled the joint up; the slider follows it.
void JointPanel::udMinClick()
{
    arm.setLimit(joint, widgets.udMin->position(), widgets.udMax->position());
    const Servo &servo = arm.joint(joint);
    if (servo.getLimitMin() >= widgets.slider->value())
        widgets.slider->setValue(servo.getPosition());
}

void JointPanel::udMaxClick()
{
    arm.setLimit(joint, widgets.udMin->position(), widgets.udMax->position());
    const Servo &servo = arm.joint(joint);
    if (servo.getLimitMax() <= widgets.slider->value())
        widgets.slider->setValue(servo.getPosition());
}

// Runs for the operator's drags and for the slider's own corrections alike: a
// slider beyond a limit springs back to the joint's position when the arm tells
// of the refused move (the nested run that causes then asks for an accepted one).
void JointPanel::trbServoChange() { arm.setPosition(joint, widgets.slider->value()); }

// While the slider stands outside the limits (limits loaded that exclude it) the
// position buttons do nothing; the up/down, which has already stepped, is put back
// so that its field keeps showing the slider's position.
void JointPanel::udPosClick()
{
    if (withinLimits(widgets.slider->value()))
        widgets.slider->setValue(widgets.udPos->position());
    else
        widgets.udPos->setPosition(widgets.slider->value());
}

void JointPanel::showKanal() { widgets.kanal->setCurrentIndex(arm.joint(joint).getKanal()); }

// The up/down buttons stay at the value the operator stepped to: beside a refused
// limit the field shows the one the joint kept.
void JointPanel::showLimits()
{
    const Servo &servo = arm.joint(joint);
    widgets.limMin->setText(QString::number(servo.getLimitMin()));
    widgets.limMax->setText(QString::number(servo.getLimitMax()));
    widgets.slider->setSelEnd(servo.getLimitMax());
    widgets.slider->setSelStart(servo.getLimitMin());
}

// The entry of the speed asked for (a step's 150 shows "100"), none beyond the
// list, whatever the joint made of it.
void JointPanel::showSpeed(int speed)
{
    const int entry = speed / kSpeedEntryStep;
    widgets.speed->setCurrentIndex(entry >= 0 && entry < widgets.speed->count() ? entry : -1);
}

// Only a move shows here: limits that pull the joint along leave the slider and
// the field where they are until the joint is next moved.
void JointPanel::showPosition()
{
    const Servo &servo = arm.joint(joint);
    widgets.slider->setValue(servo.getPosition());
    widgets.pos->setText(QString::number(servo.getPosition()));
    widgets.udPos->setPosition(widgets.slider->value());
}

bool JointPanel::withinLimits(int position) const
{
    const Servo &servo = arm.joint(joint);
    return servo.getLimitMin() <= position && position <= servo.getLimitMax();
}

} // namespace arm
