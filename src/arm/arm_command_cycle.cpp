#include "arm/arm_command_cycle.h"

#include "arm/servo.h"

std::string ArmCommandCycle::tick(const std::array<Servo *, kJoints> &joints)
{
    previous = current;
    previousSendText = sendText;
    for (int i = 0; i < kJoints; ++i)
        current[i] = joints[i]->getCommand();
    for (int i = 0; i < kJoints; ++i) {
        if (current[i] != previous[i])
            sendText += current[i];
    }
    std::string command;
    if (sendText != previousSendText)
        command = sendText;
    sendText.clear();
    return command;
}
