#include "arm/arm.h"

namespace arm {

namespace {

// Where "Arm in Park-Position" puts the joints, Basis first.
constexpr std::array<int, kJoints> kParkPositions = {1500, 2000, 2150, 1200, 1500};
constexpr std::array<int, kJoints> kMiddlePositions = {1500, 1500, 1500, 1500, 1500};

} // namespace

Arm::Arm(QObject *parent)
    : QObject(parent)
    , joints{{{16, 751, 2251}, {17, 752, 2252}, {18, 753, 2253}, {19, 754, 2254}, {20, 1175, 1825}}}
{
}

void Arm::setKanal(int joint, int kanal)
{
    servo(joint).setKanal(kanal);
    emit kanalSet(joint);
}

void Arm::setLimit(int joint, int limitMin, int limitMax)
{
    servo(joint).setLimit(limitMin, limitMax);
    emit limitsSet(joint);
}

std::array<int, kJoints> Arm::positions() const
{
    std::array<int, kJoints> positions;
    for (int i = 0; i < kJoints; ++i)
        positions[std::size_t(i)] = joint(i).getPosition();
    return positions;
}

void Arm::setSpeed(int joint, int speed)
{
    servo(joint).setSpeed(speed);
    emit speedSet(joint, speed);
}

void Arm::setPosition(int joint, int position)
{
    Servo &target = servo(joint);
    if (target.getLimitMin() <= position && position <= target.getLimitMax())
        target.setPosition(position);
    emit positionSet(joint);
}

// A joint whose position is refused keeps it but still takes the step's speed.
void Arm::applyStep(const Step &step)
{
    for (int i = 0; i < kJoints; ++i) {
        setSpeed(i, step[std::size_t(i)].speed);
        setPosition(i, step[std::size_t(i)].position);
    }
}

void Arm::park() { moveAllTo(kParkPositions); }

void Arm::centre() { moveAllTo(kMiddlePositions); }

// A joint already there is not asked again: being asked counts as a change.
void Arm::moveAllTo(const std::array<int, kJoints> &positions)
{
    for (int i = 0; i < kJoints; ++i) {
        if (joint(i).getPosition() != positions[std::size_t(i)])
            setPosition(i, positions[std::size_t(i)]);
    }
}

} // namespace arm
