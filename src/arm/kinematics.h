#pragma once
// Where the arm's joints put the gripper, and which joint angles put it where
// the operator wants it.
//
// Frame: the origin lies on the table under the base axis, x points forward
// (Basis 0°), y to the left, z up; lengths in mm, angles in degrees.
//
//   seen from above              seen from the side, in the arm's plane
//
//     y                            z
//     ^    the arm's plane         ^        elbow             wrist
//     |   /                        |          o-----------------o
//     |  /  r                      |  Oberarm/     Unterarm      \ Hand
//     | / ) Basis                  |        /                     * tip
//     |/                           |       o shoulder
//     +--------> x                 |       | Sockelhöhe
//                                  +-------+-------------------------> r
//                                       base axis
//
//   Basis       turns the arm's plane counter-clockwise seen from above, 0° = x
//   Schulter    the upper arm's angle above the horizontal
//   Ellenbogen  the forearm's angle against the upper arm's line: 0° straight
//               on, negative folds it down
//   Handgelenk  the hand's angle against the forearm's line
//   Neigung     the hand's angle above the horizontal (the pitch):
//               Schulter + Ellenbogen + Handgelenk
//   Greifer     not an angle: the gripper's opening in mm
//
// Of the elbow's two solutions the solver takes the upper one: the forearm folds
// down from the upper arm (Ellenbogen <= 0°), which puts the elbow above the line
// from shoulder to wrist whenever the wrist is in front of the shoulder axis.
// With the default profile all joints at 1500 µs put the tip at x 287.3, y 0,
// z 213.4, Neigung 0°.
#include "arm/arm_profile.h"

#include <array>
#include <string>

namespace arm {

// Per joint in kJoints order: pulse widths (µs) or values (degrees, Greifer mm).
// Fractional pulse widths are kept here; what goes to the controller is whole µs.
using JointPulses = std::array<double, kJoints>;
using JointValues = std::array<double, kJoints>;
// Pulse widths as the controller takes them and the joints hold them: whole µs.
using CommandPulses = std::array<int, kJoints>;
JointPulses toJointPulses(const CommandPulses &pulses);

double toRadians(double degrees);
double toDegrees(double radians);
// The same direction within (-180°, 180°].
double halfTurn(double angle);

struct Point {
    double x;
    double y;
    double z;
};

// Radius from the base axis, angle counter-clockwise from x seen from above
// (degrees), height above the table.
struct CylinderPoint {
    double radius;
    double angle;
    double height;
};

CylinderPoint toCylinder(const Point &point);
Point toCartesian(const CylinderPoint &point);
double distance(const Point &a, const Point &b);

// What the operator reads and types: the tip, the hand's pitch ("Neigung",
// degrees above the horizontal) and the gripper's opening (mm).
struct Pose {
    Point tip;
    double pitch;
    double gripper;
};

// The axes a view draws the arm through, from the table up.
struct JointPoints {
    Point base; // on the table under the shoulder
    Point shoulder;
    Point elbow;
    Point wrist;
    Point tip;
};

// The travel limits of a joint ("Limit min.", "Limit max."), µs, inclusive.
struct PulseRange {
    int min;
    int max;
};
using TravelLimits = std::array<PulseRange, kJoints>;

// A solved target, or why there is none: "Ziel unter der Tischebene" (the wrist
// or the tip below z = 0, checked first), "Ziel außerhalb der Reichweite", or
// "<joint>: Grenze überschritten" for the first joint, in joint order, whose
// pulse width would leave its travel limits.
struct Solution {
    platform::UiText refusal; // empty when solved
    JointValues values{};
    JointPulses pulses{};

    bool solved() const { return refusal.empty(); }
};

// The arm of one profile within given travel limits; cheap to build, so a caller
// builds a new one when the profile or a limit changes. The profile is expected
// to have passed checkProfile.
class Kinematics {
public:
    Kinematics(const ArmProfile &profile, const TravelLimits &limits);

    const ArmProfile &profile() const { return armProfile; }
    const TravelLimits &limits() const { return travelLimits; }

    JointValues valuesAt(const JointPulses &pulses) const;
    JointPulses pulsesFor(const JointValues &values) const;

    JointPoints pointsOf(const JointValues &values) const;
    // The pitch within (-180°, 180°].
    Pose poseOf(const JointValues &values) const;
    Pose poseAt(const JointPulses &pulses) const { return poseOf(valuesAt(pulses)); }

    // The base turns towards the tip; where it cannot turn that far but can
    // turn the other way round, the arm reaches back over the top (Schulter past
    // 90°), the pitch counted along the base's direction as always. On the base
    // axis (tip radius ~0) any Basis angle is right: the one given is kept, so
    // a move through the axis does not swing the base.
    Solution solve(const Pose &target, double basisOnAxis = 0) const;

private:
    // The joint's angle, turned by whole turns to lie within half a turn of the
    // middle of its travel, where a servo can reach it if at all.
    double withinTravel(int joint, double angle) const;
    bool withinLimits(int joint, double value) const;

    ArmProfile armProfile;
    TravelLimits travelLimits;
    std::array<double, kJoints> travelMiddle{};
};

} // namespace arm
