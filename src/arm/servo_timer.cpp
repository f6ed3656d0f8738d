#include "arm/servo_timer.h"

#include "arm/arm.h"
#include "comm/command_sender.h"

namespace arm {

namespace {
constexpr int kServoTimerMs = 100;
}

ServoTimer::ServoTimer(const Arm &arm, comm::CommandSender &link1, QObject *parent)
    : QObject(parent), link1(link1), ServoTimer1(this)
{
    for (int i = 0; i < kJoints; ++i)
        joints[std::size_t(i)] = &arm.joint(i);
    ServoTimer1.setObjectName(QStringLiteral("ServoTimer1"));
    ServoTimer1.setTimerType(Qt::PreciseTimer);
    ServoTimer1.setInterval(kServoTimerMs);
    connect(&ServoTimer1, &QTimer::timeout, this, &ServoTimer::ServoTimer1Timer);
    ServoTimer1.start();
}

void ServoTimer::ServoTimer1Timer()
{
    sendChanges(0);
    emit ticked();
}

void ServoTimer::takeAsSent() { groupMove.next(joints); }

void ServoTimer::sendTimedMove(int timeMs) { sendChanges(timeMs); }

void ServoTimer::sendChanges(int timeMs)
{
    const std::string command = groupMove.next(joints, timeMs);
    if (!command.empty())
        link1.sendCommand(command);
}

} // namespace arm
