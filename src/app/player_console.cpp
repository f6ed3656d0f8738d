#include "app/player_console.h"

#include "arm/arm_panel.h"
#include "arm/ssc32.h"
#include "comm/connection.h"
#include "sequence/sequence_editor.h"

namespace app {

PlayerConsole::PlayerConsole(sequence::SequenceEditor &editor, arm::ArmPanel &arm, comm::Connection &link1)
    : editor(editor), arm(arm), link1(link1)
{
}

int PlayerConsole::stepCount() const { return editor.stepCount(); }

int PlayerConsole::currentStep() const { return editor.currentStep(); }

bool PlayerConsole::linkOpen() const { return link1.state() == comm::Connection::State::Open; }

std::vector<sequence::JointState> PlayerConsole::joints() const
{
    std::vector<sequence::JointState> states;
    for (const arm::JointPanel *joint : arm.joints())
        states.push_back({joint->position(), joint->speed()});
    return states;
}

void PlayerConsole::playNextStep() { editor.btnSeqForwClick(); }

void PlayerConsole::makePreviousStepCurrent() { editor.makePreviousStepCurrent(); }

// Through the joint's group, so the speed list shows the speed the arm moves at.
void PlayerConsole::applyFirstMoveSpeed(int speed)
{
    for (arm::JointPanel *joint : arm.joints()) {
        if (joint->speed() == 0)
            joint->applyStep(speed, joint->position());
    }
}

void PlayerConsole::sendMoveStatusQuery(bool log)
{
    if (log)
        link1.sendCommand(arm::kMoveStatusQuery);
    else
        link1.repeatCommand(arm::kMoveStatusQuery);
}

} // namespace app
