#include "app/player_console.h"

#include "arm/arm.h"
#include "arm/ssc32.h"
#include "comm/connection.h"
#include "sequence/motion_set.h"

namespace app {

PlayerConsole::PlayerConsole(sequence::MotionSet &motionSet, arm::Arm &arm, comm::Connection &link1)
    : motionSet(motionSet), arm(arm), link1(link1)
{
}

int PlayerConsole::stepCount() const { return motionSet.stepCount(); }

std::string PlayerConsole::stepLine(int index) const { return motionSet.steps()[std::size_t(index)]; }

int PlayerConsole::currentStep() const { return motionSet.currentStep(); }

bool PlayerConsole::linkOpen() const { return link1.state() == comm::Connection::State::Open; }

std::vector<sequence::JointState> PlayerConsole::joints() const
{
    std::vector<sequence::JointState> states;
    for (int i = 0; i < arm::kJoints; ++i)
        states.push_back({arm.joint(i).getPosition(), arm.joint(i).getSpeed()});
    return states;
}

void PlayerConsole::playNextStep() { motionSet.stepForward(); }

void PlayerConsole::makePreviousStepCurrent() { motionSet.makePreviousStepCurrent(); }

// The joints' speed lists show the speed as they show any speed asked for.
void PlayerConsole::applyFirstMoveSpeed(const std::vector<int> &joints, int speed)
{
    for (int joint : joints)
        arm.setSpeed(joint, speed);
}

void PlayerConsole::sendMoveStatusQuery(bool log)
{
    if (log)
        link1.sendCommand(arm::kMoveStatusQuery);
    else
        link1.repeatCommand(arm::kMoveStatusQuery);
}

} // namespace app
