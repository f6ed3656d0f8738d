#pragma once
// The console as the motion-set player sees it. Step i stands every joint at
// 1000 + 100 i µs without a speed; the arm starts at 1250. Records requests as
// "s<step>@<time>" (s0: none current) and "fast<speed>", queries as "Q*@<time>"
// (logged) or "q@<time>".
#include "sequence/player_core.h"
#include <QStringList>
#include <functional>

class FakePlayerHost : public sequence::PlayerHost {
public:
    int steps = 3;
    bool open = true;
    int current = -1;
    std::vector<sequence::JointState> pose = std::vector<sequence::JointState>(5, {1250, 0});
    sequence::Millis now = 0;
    QStringList calls;
    // Like the joint panels, it tells of the player's own changes too.
    std::function<void()> jointChanged = [] {};

    int stepCount() const override { return steps; }
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
    void applyFirstMoveSpeed(int speed) override
    {
        pose.assign(5, {pose[0].position, speed});
        jointChanged();
        calls << QStringLiteral("fast%1").arg(speed);
    }
    void sendMoveStatusQuery(bool log) override { calls << QString::fromLatin1(log ? "Q*@%1" : "q@%1").arg(now); }
};
