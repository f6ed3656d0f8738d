#pragma once
// One joint's group of controls: channel, speed, travel limits, the slider and
// the up/down buttons. The controls write to the arm and show back what its
// joint holds; nothing is sent from here, the arm timer picks the changes up on
// its next tick.
#include <QObject>
#include <vector>

class QComboBox;
class QLineEdit;
namespace toolkit {
class TrackBar;
class UpDown;
} // namespace toolkit

namespace arm {

class Arm;

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
    // index: 0 is the Basis, 4 the Greifer.
    JointPanel(const JointWidgets &widgets, Arm &arm, int index, QObject *parent);

    // The other joints, whose channel lists a channel choice is checked against.
    void setNeighbours(std::vector<const JointPanel *> others);
    // The channel the list shows, which may differ from the joint's while a choice is checked.
    int shownChannel() const;

    // Channel list, speed 0 and the limits as the joint holds them; the slider,
    // the position field and the speed stay where they are.
    void showSettings();
    void setChannelEnabled(bool enabled);

private:
    void cbxKanalServoChange();
    void cbxSpeedChange();
    void udMinClick();
    void udMaxClick();
    void trbServoChange();
    void udPosClick();

    void showKanal();
    void showLimits();
    void showSpeed(int speed);
    void showPosition();
    bool withinLimits(int position) const;

    JointWidgets widgets;
    Arm &arm;
    const int joint;
    std::vector<const JointPanel *> neighbours;
};

} // namespace arm
