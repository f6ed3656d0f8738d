// The 100 ms arm command cycle on the window: each tick sends what the joints
// changed since the last one on link 1.
#include "app/tform1.h"

std::array<Servo *, ArmCommandCycle::kJoints> TForm1::servos() const
{
    std::array<Servo *, ArmCommandCycle::kJoints> models{};
    for (int i = 0; i < ArmCommandCycle::kJoints; ++i)
        models[i] = joints[i].servo;
    return models;
}

void TForm1::ServoTimer1Timer()
{
    const std::string command = armCycle.tick(servos());
    if (command.empty())
        return;
    logCommand(command);
    sendOnLink(links[0], command);
}
