#pragma once
// A console for the programming interface's protocol tests: it logs every call
// as one line ("drive v 100 -20") and refuses the next request once told why.
#include "remote/console.h"

#include <string>
#include <utility>
#include <vector>

class FakeConsole final : public remote::Console {
public:
    std::vector<std::string> calls;
    std::string nextRefusal;

    using remote::Console::listener;

    remote::Json::Object state() const override { return {{"arm", "fake"}}; }
    remote::Json::Object playerState() const override { return {{"state", "bereit"}}; }
    remote::Outcome setJoints(const std::vector<remote::JointTarget> &targets) override
    {
        std::string call = "joints";
        for (const remote::JointTarget &t : targets)
            call += " " + std::to_string(t.joint) + (t.pulse ? "p" + std::to_string(*t.pulse) : "")
                    + (t.angle ? "a" + std::to_string(int(*t.angle)) : "")
                    + (t.speed ? "s" + std::to_string(*t.speed) : "");
        return answer(call, {{"move_ms", 100}});
    }
    remote::Outcome moveTip(const remote::TipTarget &t) override
    {
        return answer("tip " + std::to_string(int(t.x)) + " " + std::to_string(int(t.y)) + " "
                          + std::to_string(int(t.z)) + (t.pitch ? " pitch" : "") + " speed "
                          + std::to_string(int(t.speed)),
                      {{"move_ms", 2000}});
    }
    remote::Outcome park() override { return answer("park"); }
    remote::Outcome centre() override { return answer("centre"); }
    void stopArm() override { calls.push_back("stopArm"); }
    std::vector<std::string> motionSets() const override { return {"a.rfs", "b.rfs"}; }
    remote::Outcome loadMotionSet(const std::string &file) override { return answer("load " + file); }
    remote::Outcome play(std::optional<bool> loop, std::optional<int> dwell) override
    {
        return answer(std::string("play") + (loop ? (*loop ? " loop" : " once") : "")
                      + (dwell ? " dwell " + std::to_string(*dwell) : ""));
    }
    void pausePlayer() override { calls.push_back("pause"); }
    void stopPlayer() override { calls.push_back("stopPlayer"); }
    remote::Outcome drive(const remote::DriveTarget &t) override
    {
        return answer("drive " + std::string(1, t.direction) + " " + std::to_string(t.speed) + " "
                      + std::to_string(t.steering));
    }
    remote::Outcome horn(bool on) override { return answer(on ? "horn on" : "horn off"); }
    void stopChassis() override { calls.push_back("stopChassis"); }

private:
    remote::Outcome answer(const std::string &call, remote::Json::Object reply = {})
    {
        calls.push_back(call);
        if (nextRefusal.empty())
            return remote::Outcome::done(std::move(reply));
        return remote::Outcome::refused(std::exchange(nextRefusal, std::string()));
    }
};
