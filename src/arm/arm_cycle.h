#pragma once
// The 100 ms arm timer ServoTimer1: each tick sends what the joints changed
// since the last one on link 1. Runs from creation to the end; nothing stops or
// re-times it.
#include "arm/arm_command_cycle.h"

#include <QObject>
#include <QTimer>
#include <array>

class Servo;
namespace comm {
class CommandSender;
}

namespace arm {

class ArmCycle : public QObject {
    Q_OBJECT

public:
    ArmCycle(const std::array<Servo *, ArmCommandCycle::kJoints> &joints, comm::CommandSender &link1,
             QObject *parent);

    QTimer &timer() { return ServoTimer1; }
    void tick();

private:
    std::array<Servo *, ArmCommandCycle::kJoints> joints;
    comm::CommandSender &link1;
    ArmCommandCycle cycle;
    QTimer ServoTimer1;
};

} // namespace arm
