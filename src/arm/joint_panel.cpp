// The five joint groups: every control writes straight into its joint's Servo and
// shows back what the Servo accepted. Nothing is sent from here; the arm command
// cycle picks the changes up on its next tick.
#include "app/tform1.h"

#include "app/message_sink.h"
#include "arm/servo.h"
#include "toolkit/track_bar.h"
#include "toolkit/up_down.h"
#include "ui_tform1.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <iterator>

namespace {

using Handler = void (TForm1::*)();

struct JointHandlers {
    Handler kanal;
    Handler speed;
    Handler udMin;
    Handler udMax;
    Handler slider;
    Handler udPos;
};

const JointHandlers kJointHandlers[] = {
    {&TForm1::cbxKanalServo1Change, &TForm1::cbxSpeed1Change, &TForm1::udMin1Click, &TForm1::udMax1Click,
     &TForm1::trbServo1Change, &TForm1::udPos1Click},
    {&TForm1::cbxKanalServo2Change, &TForm1::cbxSpeed2Change, &TForm1::udMin2Click, &TForm1::udMax2Click,
     &TForm1::trbServo2Change, &TForm1::udPos2Click},
    {&TForm1::cbxKanalServo3Change, &TForm1::cbxSpeed3Change, &TForm1::udMin3Click, &TForm1::udMax3Click,
     &TForm1::trbServo3Change, &TForm1::udPos3Click},
    {&TForm1::cbxKanalServo4Change, &TForm1::cbxSpeed4Change, &TForm1::udMin4Click, &TForm1::udMax4Click,
     &TForm1::trbServo4Change, &TForm1::udPos4Click},
    {&TForm1::cbxKanalServo5Change, &TForm1::cbxSpeed5Change, &TForm1::udMin5Click, &TForm1::udMax5Click,
     &TForm1::trbServo5Change, &TForm1::udPos5Click},
};
static_assert(std::size(kJointHandlers) == ArmCommandCycle::kJoints);

// Basis, Schulter, Ellenbogen, Handgelenk, Greifer.
constexpr int kParkPositions[ArmCommandCycle::kJoints] = {1500, 2000, 2150, 1200, 1500};
constexpr int kMiddlePosition = 1500;

bool withinLimits(Servo &servo, int position)
{
    return servo.getLimitMin() <= position && position <= servo.getLimitMax();
}

} // namespace

void TForm1::connectJointPanel()
{
    for (int i = 0; i < ArmCommandCycle::kJoints; ++i) {
        JointControls &joint = joints[i];
        const JointHandlers &handlers = kJointHandlers[i];
        joint.udMin->setBuddy(joint.limMin);
        joint.udMax->setBuddy(joint.limMax);
        joint.udPos->setBuddy(joint.pos);
        // activated, not currentIndexChanged: only the operator's choice may run the
        // handlers, never a selection made by code (start-up, a replayed step).
        connect(joint.kanal, &QComboBox::activated, this, handlers.kanal);
        connect(joint.speed, &QComboBox::activated, this, handlers.speed);
        connect(joint.udMin, &toolkit::UpDown::clicked, this, handlers.udMin);
        connect(joint.udMax, &toolkit::UpDown::clicked, this, handlers.udMax);
        connect(joint.slider, &QSlider::valueChanged, this, handlers.slider);
        connect(joint.udPos, &toolkit::UpDown::clicked, this, handlers.udPos);
    }
    connect(ui->btnArmParkPos, &QPushButton::clicked, this, &TForm1::btnArmParkPosClick);
    connect(ui->btnArmMitte, &QPushButton::clicked, this, &TForm1::btnArmMitteClick);
}

// Leaves the sliders, the position fields and the speeds alone: the joints keep
// where they are until they are next moved.
void TForm1::ShowServoSettings()
{
    for (JointControls &joint : joints) {
        joint.kanal->setCurrentIndex(joint.servo->getKanal());
        joint.speed->setCurrentIndex(0);
        joint.udMin->setPosition(joint.servo->getLimitMin());
        joint.udMax->setPosition(joint.servo->getLimitMax());
        joint.slider->setSelEnd(joint.servo->getLimitMax());
        joint.slider->setSelStart(joint.servo->getLimitMin());
    }
}

// Two joints on one channel would move together: the lists, not the Servos, are
// compared, so the check sees what the operator sees.
void TForm1::changeChannel(JointControls &joint)
{
    const int chosen = joint.kanal->currentIndex();
    for (const JointControls &other : joints) {
        if (&other != &joint && other.kanal->currentIndex() == chosen) {
            msg::show(msg::Kind::Warning, msg::Buttons::Ok,
                      "Fehler: Servo-Kanal wird schon benutzt!\nWählen Sie einen anderen Kanal!");
            joint.kanal->setCurrentIndex(joint.servo->getKanal());
            return;
        }
    }
    joint.servo->setKanal(chosen);
}

void TForm1::changeSpeed(JointControls &joint) { joint.servo->setSpeed(joint.speed->currentText().toInt()); }

void TForm1::stepLowerLimit(JointControls &joint)
{
    Servo &servo = *joint.servo;
    servo.setLimit(joint.udMin->position(), joint.udMax->position());
    // A refused limit leaves the up/down at the stepped value but the field at the kept one.
    joint.limMin->setText(QString::number(servo.getLimitMin()));
    joint.slider->setSelStart(servo.getLimitMin());
    // A raised limit may have pulled the joint up; the slider follows it.
    if (servo.getLimitMin() >= joint.slider->value())
        joint.slider->setValue(servo.getPosition());
}

void TForm1::stepUpperLimit(JointControls &joint)
{
    Servo &servo = *joint.servo;
    servo.setLimit(joint.udMin->position(), joint.udMax->position());
    joint.limMax->setText(QString::number(servo.getLimitMax()));
    if (servo.getLimitMax() <= joint.slider->value())
        joint.slider->setValue(servo.getPosition());
    joint.slider->setSelEnd(servo.getLimitMax());
}

// Runs for the operator's drags and for positions set by code alike. Checking the
// limits here keeps the Servo's own warning out of the slider path; a slider beyond
// a limit springs back to the last accepted position (the nested run that causes
// then sees an accepted value).
void TForm1::applySliderPosition(JointControls &joint)
{
    Servo &servo = *joint.servo;
    if (withinLimits(servo, joint.slider->value()))
        servo.setPosition(joint.slider->value());
    joint.slider->setValue(servo.getPosition());
    joint.pos->setText(QString::number(servo.getPosition()));
    joint.udPos->setPosition(joint.slider->value());
}

// While the slider stands outside the limits (limits loaded that exclude it) the
// position buttons do nothing; the up/down, which has already stepped, is put back
// so that its field keeps showing the slider's position.
void TForm1::stepPosition(JointControls &joint)
{
    if (withinLimits(*joint.servo, joint.slider->value()))
        joint.slider->setValue(joint.udPos->position());
    else
        joint.udPos->setPosition(joint.slider->value());
}

// A park value outside a joint's limits leaves that joint where it is, silently.
void TForm1::btnArmParkPosClick()
{
    for (int i = 0; i < ArmCommandCycle::kJoints; ++i)
        joints[i].slider->setValue(kParkPositions[i]);
}

void TForm1::btnArmMitteClick()
{
    for (JointControls &joint : joints)
        joint.slider->setValue(kMiddlePosition);
}

void TForm1::cbxKanalServo1Change() { changeChannel(joints[0]); }
void TForm1::cbxKanalServo2Change() { changeChannel(joints[1]); }
void TForm1::cbxKanalServo3Change() { changeChannel(joints[2]); }
void TForm1::cbxKanalServo4Change() { changeChannel(joints[3]); }
void TForm1::cbxKanalServo5Change() { changeChannel(joints[4]); }

void TForm1::cbxSpeed1Change() { changeSpeed(joints[0]); }
void TForm1::cbxSpeed2Change() { changeSpeed(joints[1]); }
void TForm1::cbxSpeed3Change() { changeSpeed(joints[2]); }
void TForm1::cbxSpeed4Change() { changeSpeed(joints[3]); }
void TForm1::cbxSpeed5Change() { changeSpeed(joints[4]); }

void TForm1::udMin1Click() { stepLowerLimit(joints[0]); }
void TForm1::udMin2Click() { stepLowerLimit(joints[1]); }
void TForm1::udMin3Click() { stepLowerLimit(joints[2]); }
void TForm1::udMin4Click() { stepLowerLimit(joints[3]); }
void TForm1::udMin5Click() { stepLowerLimit(joints[4]); }

void TForm1::udMax1Click() { stepUpperLimit(joints[0]); }
void TForm1::udMax2Click() { stepUpperLimit(joints[1]); }
void TForm1::udMax3Click() { stepUpperLimit(joints[2]); }
void TForm1::udMax4Click() { stepUpperLimit(joints[3]); }
void TForm1::udMax5Click() { stepUpperLimit(joints[4]); }

void TForm1::trbServo1Change() { applySliderPosition(joints[0]); }
void TForm1::trbServo2Change() { applySliderPosition(joints[1]); }
void TForm1::trbServo3Change() { applySliderPosition(joints[2]); }
void TForm1::trbServo4Change() { applySliderPosition(joints[3]); }
void TForm1::trbServo5Change() { applySliderPosition(joints[4]); }

void TForm1::udPos1Click() { stepPosition(joints[0]); }
void TForm1::udPos2Click() { stepPosition(joints[1]); }
void TForm1::udPos3Click() { stepPosition(joints[2]); }
void TForm1::udPos4Click() { stepPosition(joints[3]); }
void TForm1::udPos5Click() { stepPosition(joints[4]); }
