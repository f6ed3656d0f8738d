#include "arm/kinematics.h"

#include <algorithm>
#include <cmath>

namespace arm {
namespace {

constexpr double kPi = 3.14159265358979323846;
// Below this tip radius (mm) the tip stands on the base axis.
constexpr double kOnAxis = 1e-6;
// Rounding slack of the reach and limit checks, far below anything measurable.
constexpr double kSlack = 1e-9;

Solution refused(platform::UiText reason)
{
    Solution solution;
    solution.refusal = std::move(reason);
    return solution;
}

} // namespace

JointPulses toJointPulses(const CommandPulses &pulses)
{
    JointPulses wide;
    std::copy(pulses.begin(), pulses.end(), wide.begin());
    return wide;
}

double toRadians(double degrees) { return degrees * (kPi / 180); }

double toDegrees(double radians) { return radians * (180 / kPi); }

double halfTurn(double angle) { return angle - 360 * std::ceil((angle - 180) / 360); }

CylinderPoint toCylinder(const Point &point)
{
    return {std::hypot(point.x, point.y), toDegrees(std::atan2(point.y, point.x)), point.z};
}

Point toCartesian(const CylinderPoint &point)
{
    const double angle = toRadians(point.angle);
    return {point.radius * std::cos(angle), point.radius * std::sin(angle), point.height};
}

double distance(const Point &a, const Point &b)
{
    const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

Kinematics::Kinematics(const ArmProfile &profile, const TravelLimits &limits)
    : armProfile(profile), travelLimits(limits)
{
    for (int joint = 0; joint < kJoints; ++joint)
        travelMiddle[joint] = profile.calibration[joint].valueAt((limits[joint].min + limits[joint].max) / 2.0);
}

JointValues Kinematics::valuesAt(const JointPulses &pulses) const
{
    JointValues values;
    for (int joint = 0; joint < kJoints; ++joint)
        values[joint] = armProfile.calibration[joint].valueAt(pulses[joint]);
    return values;
}

JointPulses Kinematics::pulsesFor(const JointValues &values) const
{
    JointPulses pulses;
    for (int joint = 0; joint < kJoints; ++joint)
        pulses[joint] = armProfile.calibration[joint].pulseFor(values[joint]);
    return pulses;
}

JointPoints Kinematics::pointsOf(const JointValues &values) const
{
    const ArmGeometry &arm = armProfile.geometry;
    const double basis = toRadians(values[kBasis]);
    const double upperArm = toRadians(values[kSchulter]);
    const double forearm = upperArm + toRadians(values[kEllenbogen]);
    const double hand = forearm + toRadians(values[kHandgelenk]);
    const double towardsX = std::cos(basis), towardsY = std::sin(basis);
    // Each axis as (r, z) in the arm's plane, then turned with the base.
    const double elbowR = arm.upperArm * std::cos(upperArm);
    const double elbowZ = arm.baseHeight + arm.upperArm * std::sin(upperArm);
    const double wristR = elbowR + arm.forearm * std::cos(forearm);
    const double wristZ = elbowZ + arm.forearm * std::sin(forearm);
    const double tipR = wristR + arm.hand * std::cos(hand);
    const double tipZ = wristZ + arm.hand * std::sin(hand);
    const auto inSpace = [&](double r, double z) { return Point{r * towardsX, r * towardsY, z}; };
    return {{0, 0, 0}, {0, 0, arm.baseHeight}, inSpace(elbowR, elbowZ), inSpace(wristR, wristZ),
            inSpace(tipR, tipZ)};
}

Pose Kinematics::poseOf(const JointValues &values) const
{
    return {pointsOf(values).tip, halfTurn(values[kSchulter] + values[kEllenbogen] + values[kHandgelenk]),
            values[kGreifer]};
}

Solution Kinematics::solve(const Pose &target, double basisOnAxis) const
{
    const ArmGeometry &arm = armProfile.geometry;
    const Point &tip = target.tip;
    if (!std::isfinite(tip.x) || !std::isfinite(tip.y) || !std::isfinite(tip.z) || !std::isfinite(target.pitch)
        || !std::isfinite(target.gripper))
        return refused(UI_TEXT("arm::Kinematics", "Ziel außerhalb der Reichweite"));
    // The arm's plane turns towards the tip; where the base cannot turn that
    // far, it turns the other way round and the arm reaches over the top, the
    // tip then lying at a negative radius along the base's direction.
    double radius = std::hypot(tip.x, tip.y);
    double basis = withinTravel(kBasis, radius > kOnAxis ? toDegrees(std::atan2(tip.y, tip.x)) : basisOnAxis);
    const double overTheTop = withinTravel(kBasis, basis + 180);
    if (!withinLimits(kBasis, basis) && withinLimits(kBasis, overTheTop)) {
        basis = overTheTop;
        radius = -radius;
    }
    const double pitch = toRadians(target.pitch);
    // The wrist, in the arm's plane relative to the shoulder axis.
    const double wristR = radius - arm.hand * std::cos(pitch);
    const double wristZ = tip.z - arm.hand * std::sin(pitch);
    if (tip.z < -kSlack || wristZ < -kSlack)
        return refused(UI_TEXT("arm::Kinematics", "Ziel unter der Tischebene"));
    const double aboveShoulder = wristZ - arm.baseHeight;
    // Law of cosines in the triangle shoulder, elbow, wrist.
    const double cosElbow
        = (wristR * wristR + aboveShoulder * aboveShoulder - arm.upperArm * arm.upperArm - arm.forearm * arm.forearm)
        / (2 * arm.upperArm * arm.forearm);
    if (std::abs(cosElbow) > 1 + kSlack)
        return refused(UI_TEXT("arm::Kinematics", "Ziel außerhalb der Reichweite"));
    const double elbow = -std::acos(std::clamp(cosElbow, -1.0, 1.0));
    const double shoulder = std::atan2(aboveShoulder, wristR)
        - std::atan2(arm.forearm * std::sin(elbow), arm.upperArm + arm.forearm * std::cos(elbow));

    Solution solution;
    solution.values[kBasis] = basis;
    solution.values[kSchulter] = toDegrees(shoulder);
    solution.values[kEllenbogen] = toDegrees(elbow);
    solution.values[kHandgelenk] = target.pitch - toDegrees(shoulder) - toDegrees(elbow);
    for (int joint = kSchulter; joint <= kHandgelenk; ++joint)
        solution.values[joint] = withinTravel(joint, solution.values[joint]);
    solution.values[kGreifer] = target.gripper;
    for (int joint = 0; joint < kJoints; ++joint)
        if (!withinLimits(joint, solution.values[joint]))
            return refused(UI_TEXT("arm::Kinematics", "%1: Grenze überschritten").arg(jointName(joint)));
    solution.pulses = pulsesFor(solution.values);
    return solution;
}

double Kinematics::withinTravel(int joint, double angle) const
{
    return angle + 360 * std::round((travelMiddle[joint] - angle) / 360);
}

bool Kinematics::withinLimits(int joint, double value) const
{
    const double pulse = armProfile.calibration[joint].pulseFor(value);
    return pulse >= travelLimits[joint].min - kSlack && pulse <= travelLimits[joint].max + kSlack;
}

} // namespace arm
