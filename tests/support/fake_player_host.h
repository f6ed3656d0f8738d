#pragma once
// The console as the motion-set player sees it. Step i stands every joint at
// 1000 + 100 i µs without a speed; the arm starts at 1250. Records requests as
// "s<step>@<time>" (s0: none current) and "fast<speed>:<joints, 1 = Basis>", queries
// as "Q*@<time>" (logged) or "q@<time>". Steps are step lines but those in odd.
#include "sequence/player_core.h"
#include <QStringList>
#include <functional>
#include <set>

class FakePlayerHost : public sequence::PlayerHost {
public:
    int steps = 3;
    bool open = true;
    int current = -1;
    std::set<int> odd;
    std::vector<sequence::JointState> pose = std::vector<sequence::JointState>(5, {1250, 0});
    sequence::Millis now = 0;
    QStringList calls;
    // Like the joint panels, it tells of the player's own changes too.
    std::function<void()> jointChanged = [] {};

    int stepCount() const override { return steps; }
    std::string stepLine(int index) const override { return odd.count(index) ? "1 2 3" : "0 1 0 1 0 1 0 1 0 1 "; }
    int currentStep() const override { return current; }
    bool linkOpen() const override { return open; }
    std::vector<sequence::JointState> joints() const override { return pose; }
    void playNextStep() override
    {
        current = current + 1 < steps ? current + 1 : -1;
        pose.assign(5, {1000 + 100 * current, 0});
        jointChanged();
        calls << QStringLiteral("s%1@%2").arg(current + 1).arg(now);
    }
    void makePreviousStepCurrent() override { current = current > 0 ? current - 1 : -1; }
    void applyFirstMoveSpeed(const std::vector<int> &joints, int speed) override
    {
        QString numbers;
        for (int joint : joints) {
            pose[std::size_t(joint)].speed = speed;
            numbers += QString::number(joint + 1);
        }
        jointChanged();
        calls << QStringLiteral("fast%1:%2").arg(speed).arg(numbers);
    }
    void sendMoveStatusQuery(bool log) override { calls << QString::fromLatin1(log ? "Q*@%1" : "q@%1").arg(now); }
};
