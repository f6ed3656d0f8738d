#pragma once
// The arm: its five joints (Servos) with their channels, travel limits, positions
// and speeds. Everything that changes a joint goes through here: the joint
// groups (the operator's lists, up/down buttons and sliders), the park and
// centre buttons, the motion set's steps, the player and the settings file. Each
// change is told once, by joint, after it is made; a move is told whether the
// joint moved or not, so a refused move still counts as the operator's (or a
// step's) action. Read by the joint groups, which show it, the arm timer, which
// sends what changed, the motion set, which records poses, and the player.
#include "arm/servo.h"

#include <QObject>
#include <array>

namespace arm {

// One joint's part of a step: the speed comes first, then the position.
struct JointStep {
    int speed = 0;
    int position = 0;
};
// A motion set's step as the arm takes it, Basis first.
using Step = std::array<JointStep, kJoints>;

class Arm : public QObject {
    Q_OBJECT

public:
    // The joints' channels and limits until the settings file is read; all stand at 1500.
    explicit Arm(QObject *parent = nullptr);

    // 0 is the Basis, 4 the Greifer.
    const Servo &joint(int index) const { return joints[std::size_t(index)]; }
    // Where the joints stand, Basis first.
    std::array<int, kJoints> positions() const;

    // These three pass the value to the Servo, which warns about what it refuses.
    void setKanal(int joint, int kanal);
    void setLimit(int joint, int limitMin, int limitMax);
    void setSpeed(int joint, int speed);
    // A position outside the joint's limits leaves it where it is, without a
    // warning: sliders and steps ask for any position.
    void setPosition(int joint, int position);
    // Joint by joint, Basis first: the speed, then the position as setPosition takes it.
    void applyStep(const Step &step);
    // Every joint not already there is asked to go, as by setPosition.
    void moveAllTo(const std::array<int, kJoints> &positions);
    void park();
    void centre();

signals:
    void kanalSet(int joint);
    // A limit that pulls the position along tells only of the limits.
    void limitsSet(int joint);
    // speed is the one asked for, which the Servo may have refused.
    void speedSet(int joint, int speed);
    void positionSet(int joint);

private:
    Servo &servo(int joint) { return joints[std::size_t(joint)]; }

    std::array<Servo, kJoints> joints;
};

} // namespace arm
