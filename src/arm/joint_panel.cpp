#include "arm/joint_panel.h"

#include "arm/servo.h"
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
constexpr int kMiddlePosition = 1500;
} // namespace

JointPanel::JointPanel(const JointWidgets &widgets, Servo &servo, int parkPosition, QObject *parent)
    : QObject(parent), widgets(widgets), servo(servo), parkPosition(parkPosition)
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
}

void JointPanel::setNeighbours(std::vector<const JointPanel *> others) { neighbours = std::move(others); }

int JointPanel::shownChannel() const { return widgets.kanal->currentIndex(); }

void JointPanel::showSettings()
{
    widgets.kanal->setCurrentIndex(servo.getKanal());
    widgets.speed->setCurrentIndex(0);
    widgets.udMin->setPosition(servo.getLimitMin());
    widgets.udMax->setPosition(servo.getLimitMax());
    widgets.slider->setSelEnd(servo.getLimitMax());
    widgets.slider->setSelStart(servo.getLimitMin());
}

void JointPanel::setChannelEnabled(bool enabled) { widgets.kanal->setEnabled(enabled); }

// Two joints on one channel would move together: the lists, not the Servos, are
// compared, so the check sees what the operator sees.
void JointPanel::cbxKanalServoChange()
{
    const int chosen = shownChannel();
    for (const JointPanel *other : neighbours) {
        if (other->shownChannel() == chosen) {
            msg::show(msg::Kind::Warning, msg::Buttons::Ok,
                      "Fehler: Servo-Kanal wird schon benutzt!\nWählen Sie einen anderen Kanal!");
            widgets.kanal->setCurrentIndex(servo.getKanal());
            return;
        }
    }
    servo.setKanal(chosen);
}

void JointPanel::cbxSpeedChange()
{
    servo.setSpeed(widgets.speed->currentText().toInt());
    emit changed();
}

void JointPanel::udMinClick()
{
    servo.setLimit(widgets.udMin->position(), widgets.udMax->position());
    // A refused limit leaves the up/down at the stepped value but the field at the kept one.
    widgets.limMin->setText(QString::number(servo.getLimitMin()));
    widgets.slider->setSelStart(servo.getLimitMin());
    // A raised limit may have pulled the joint up; the slider follows it.
    if (servo.getLimitMin() >= widgets.slider->value())
        widgets.slider->setValue(servo.getPosition());
}

void JointPanel::udMaxClick()
{
    servo.setLimit(widgets.udMin->position(), widgets.udMax->position());
    widgets.limMax->setText(QString::number(servo.getLimitMax()));
    if (servo.getLimitMax() <= widgets.slider->value())
        widgets.slider->setValue(servo.getPosition());
    widgets.slider->setSelEnd(servo.getLimitMax());
}

// Runs for the operator's drags and for positions set by code alike. Checking the
// limits here keeps the Servo's own warning out of the slider path; a slider beyond
// a limit springs back to the last accepted position (the nested run that causes
// then sees an accepted value).
void JointPanel::trbServoChange()
{
    if (withinLimits(widgets.slider->value()))
        servo.setPosition(widgets.slider->value());
    widgets.slider->setValue(servo.getPosition());
    widgets.pos->setText(QString::number(servo.getPosition()));
    widgets.udPos->setPosition(widgets.slider->value());
    emit changed();
}

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

void JointPanel::park() { widgets.slider->setValue(parkPosition); }

void JointPanel::centre() { widgets.slider->setValue(kMiddlePosition); }

// A position beyond the slider's range is not clamped into it (a clamped 500
// could pass a limit of 500) but refused like any position outside the limits:
// the slider returns to the joint's position.
void JointPanel::applyStep(int speed, int position)
{
    const int entry = speed / kSpeedEntryStep;
    widgets.speed->setCurrentIndex(entry >= 0 && entry < widgets.speed->count() ? entry : -1);
    servo.setSpeed(speed);
    const bool sliderCanShow = widgets.slider->minimum() <= position && position <= widgets.slider->maximum();
    widgets.slider->setValue(sliderCanShow ? position : servo.getPosition());
    emit changed();
}

int JointPanel::speed() const { return servo.getSpeed(); }

int JointPanel::position() const { return servo.getPosition(); }

bool JointPanel::withinLimits(int position) const
{
    return servo.getLimitMin() <= position && position <= servo.getLimitMax();
}

} // namespace arm
