#pragma once
// One joint's group of controls: channel, speed, travel limits, the slider and
// the up/down buttons. Every control writes straight into the joint's Servo and
// shows back what the Servo accepted. Nothing is sent from here; the arm timer
// picks the changes up on its next tick.
#include "arm/servo.h"

#include <QObject>
#include <vector>

class QComboBox;
class QLineEdit;
namespace toolkit {
class TrackBar;
class UpDown;
} // namespace toolkit

namespace arm {

// Where "Parkposition" puts the joints: Basis, Schulter, Ellenbogen, Handgelenk, Greifer.
constexpr int kParkPositions[kJoints] = {1500, 2000, 2150, 1200, 1500};

struct JointWidgets {
    QComboBox *kanal;
    QComboBox *speed;
    QLineEdit *limMin;
    toolkit::UpDown *udMin;
    QLineEdit *limMax;
    toolkit::UpDown *udMax;
    QLineEdit *pos;
    toolkit::UpDown *udPos;
    toolkit::TrackBar *slider;
};

class JointPanel : public QObject {
    Q_OBJECT

public:
    JointPanel(const JointWidgets &widgets, Servo &servo, int parkPosition, QObject *parent);

    // The other joints, whose channel lists a channel choice is checked against.
    void setNeighbours(std::vector<const JointPanel *> others);
    // The channel the list shows, which may differ from the Servo's while a choice is checked.
    int shownChannel() const;

    // Channel list, speed 0 and the limits as the Servo holds them; the slider,
    // the position field and the speed stay where they are.
    void showSettings();
    void setChannelEnabled(bool enabled);

    void cbxKanalServoChange();
    void cbxSpeedChange();
    void udMinClick();
    void udMaxClick();
    void trbServoChange();
    void udPosClick();
    // Through the slider, so the limit check decides: a position outside the
    // limits leaves the joint where it is, silently.
    void park();
    void centre();
    // A replayed step: the speed entry and the Servo's speed, then the position.
    void applyStep(int speed, int position);

    int speed() const;
    int position() const;

signals:
    // The joint's position or speed was set, by anyone (the operator, a replayed
    // step, park or centre), whether it changed or not.
    void changed();

private:
    bool withinLimits(int position) const;

    JointWidgets widgets;
    Servo &servo;
    const int parkPosition;
    std::vector<const JointPanel *> neighbours;
};

} // namespace arm
