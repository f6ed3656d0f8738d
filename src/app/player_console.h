#pragma once
// The console as the motion-set player sees it: the motion set, the arm and
// link 1. It lives here because it reaches across three groups.
#include "sequence/player_core.h"

namespace arm {
class Arm;
}
namespace comm {
class Connection;
}
namespace sequence {
class MotionSet;
}

namespace app {

class PlayerConsole final : public sequence::PlayerHost {
public:
    PlayerConsole(sequence::MotionSet &motionSet, arm::Arm &arm, comm::Connection &link1);

    int stepCount() const override;
    std::string stepLine(int index) const override;
    int currentStep() const override;
    bool linkOpen() const override;
    std::vector<sequence::JointState> joints() const override;
    void playNextStep() override;
    void makePreviousStepCurrent() override;
    void applyFirstMoveSpeed(const std::vector<int> &joints, int speed) override;
    void sendMoveStatusQuery(bool log) override;

private:
    sequence::MotionSet &motionSet;
    arm::Arm &arm;
    comm::Connection &link1;
};

} // namespace app
