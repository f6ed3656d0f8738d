// One inverse kinematics solve against one forward computation, over the same
// reachable targets in the same run, and the planning of a 100 mm straight line
// (what "Anfahren" costs before the first piece goes out).
//   bench_kinematics [rounds]
#include "arm/straight_move.h"
#include "support/figures.h"

#include <chrono>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

template <typename Body>
double nsPerCall(int calls, Body body)
{
    const auto start = std::chrono::steady_clock::now();
    for (int call = 0; call < calls; ++call)
        body(call);
    return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() / calls;
}

} // namespace

int main(int argc, char *argv[])
{
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 31;
    // The console's travel limits when no settings file is read.
    const arm::Kinematics kinematics(arm::ArmProfile{},
                                     {{{751, 2251}, {752, 2252}, {753, 2253}, {754, 2254}, {1175, 1825}}});
    std::mt19937 random(28);
    std::vector<arm::JointPulses> pulses;
    std::vector<arm::Pose> targets;
    while (targets.size() < 4096) {
        arm::JointPulses joints;
        for (int joint = 0; joint < arm::kJoints; ++joint)
            joints[joint] = std::uniform_real_distribution<double>(kinematics.limits()[joint].min,
                                                                   kinematics.limits()[joint].max)(random);
        const arm::JointPoints points = kinematics.pointsOf(kinematics.valuesAt(joints));
        if (points.tip.z >= 0 && points.wrist.z >= 0) {
            pulses.push_back(joints);
            targets.push_back(kinematics.poseAt(joints));
        }
    }
    const int count = static_cast<int>(targets.size());
    const arm::CommandPulses centre{1500, 1500, 1500, 1500, 1500};
    arm::Pose ahead = kinematics.poseAt({1500, 1500, 1500, 1500, 1500});
    ahead.tip.x += 100;

    // Rounds alternate, so both figures meet the same noise; the medians count.
    std::vector<double> forwardNs, solveNs, planUs;
    double sink = 0;
    for (int round = 0; round < rounds; ++round) {
        forwardNs.push_back(nsPerCall(count, [&](int i) { sink += kinematics.poseAt(pulses[i]).tip.x; }));
        solveNs.push_back(
            nsPerCall(count, [&](int i) { sink += kinematics.solve(targets[i]).pulses[arm::kSchulter]; }));
        planUs.push_back(nsPerCall(8, [&](int) { sink += arm::planLine(kinematics, centre, ahead, 50).pieces.size(); })
                         / 1000);
    }
    const double forward = bench::percentile(forwardNs, 0.5);
    bench::Figure("kinematics.solve", bench::percentile(solveNs, 0.5), "ns")
        .against("kinematics.forward", forward)
        .atMost(10000)
        .print();
    bench::Figure("kinematics.plan_100mm_line", bench::percentile(planUs, 0.5), "us").print();
    return sink != 0 ? 0 : 1;
}
