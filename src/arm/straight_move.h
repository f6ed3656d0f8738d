#pragma once
// Moves of the gripper tip along a straight line (or, turning the base alone,
// around the base axis), cut into pieces the SSC-32 can run: each piece is one
// group move to whole pulse widths with the time term T<ms>, so all joints
// arrive together. The controller moves every pulse width linearly in time over
// a piece, which bends the tip's path between the pieces' ends; pieces are made
// short enough (at most kLongestPiece, shorter where the arm bends the path
// more) that the tip stays within kPlannedDeviation of the line. The rest of
// kLineTolerance is left to the controller, which steps each pulse width in
// whole µs on the way: one µs moves the tip by up to 0.7 mm at full reach, so
// those steps alone can carry it a few tenths of a mm off any planned path.
//
// The whole path is solved before anything is returned: if any point on the way
// is refused, the move is refused with the reason of the first such point and
// has no pieces. A stretch the arm cannot follow closely even in pieces of 1/64
// of the usual length (e.g. from joints standing in the elbow's other solution)
// is refused as "Ziel außerhalb der Reichweite".
#include "arm/kinematics.h"

#include <string>
#include <vector>

namespace arm {

inline constexpr double kMinPathSpeed = 1;   // mm/s
inline constexpr double kMaxPathSpeed = 200; // mm/s
inline constexpr double kLongestPiece = 5;   // mm of the tip's path
// A change of the pitch, or a turn of the base, is cut into pieces of at most
// this many degrees as well.
inline constexpr double kLongestTurnPiece = 5;
inline constexpr double kLineTolerance = 0.5;    // mm
inline constexpr double kPlannedDeviation = 0.3; // mm, checked by the planner

struct MovePiece {
    CommandPulses pulses;
    int timeMs; // at least 1
};

struct MovePlan {
    platform::UiText refusal; // empty when the move may go
    std::vector<MovePiece> pieces;

    bool refused() const { return !refusal.empty(); }
};

// From where the joints stand to the target, the tip on a straight line at the
// path speed (mm/s, held to kMinPathSpeed..kMaxPathSpeed), the pitch (the short
// way round) and the gripper changing evenly. A move takes as long as the
// longest of its tip path in mm, its pitch change in degrees and its gripper
// change in mm at that speed. Nothing to do gives no pieces.
MovePlan planLine(const Kinematics &arm, const CommandPulses &from, const Pose &target, double speed);

// One jog step from where the joints stand, the other coordinates held: along
// x, y or z (z is the cylindrical form's height too), along the radius (out
// from the base axis), around the base axis (step in degrees; the tip's radius
// and height held, so the base turns alone), the pitch (degrees, the tip held)
// or the gripper (mm).
enum class JogAxis { X, Y, Z, Radius, Angle, Pitch, Gripper };
MovePlan planJog(const Kinematics &arm, const CommandPulses &from, JogAxis axis, double step, double speed);

} // namespace arm
