#include "arm/arm_cycle.h"

#include "comm/command_sender.h"

namespace arm {

namespace {
constexpr int kServoTimerMs = 100;
}

ArmCycle::ArmCycle(const std::array<Servo *, ArmCommandCycle::kJoints> &joints, comm::CommandSender &link1,
                   QObject *parent)
    : QObject(parent), joints(joints), link1(link1), ServoTimer1(this)
{
    ServoTimer1.setObjectName(QStringLiteral("ServoTimer1"));
    ServoTimer1.setTimerType(Qt::PreciseTimer);
    ServoTimer1.setInterval(kServoTimerMs);
}

void ArmCycle::tick()
{
    const std::string command = cycle.tick(joints);
    if (!command.empty())
        link1.sendCommand(command);
}

} // namespace arm
