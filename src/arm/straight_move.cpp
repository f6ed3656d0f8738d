#include "arm/straight_move.h"

#include <algorithm>
#include <cmath>

namespace arm {
namespace {

// A piece is halved at most this often (down to 1/64 of its first length) to
// bring the tip back to the line; a piece that still strays asks the arm for
// what it cannot do there (e.g. to swing the elbow over to its other solution).
constexpr int kDeepestHalving = 6;
// Points inside a piece at which the tip's distance from the line is checked.
constexpr int kChecksPerPiece = 8;

// The ideal path: a straight line of the tip, or a turn of the base alone (the
// tip on a circle around the base axis); pitch and gripper change evenly.
class Path {
public:
    static Path line(const Pose &from, const Pose &to)
    {
        Path path(from);
        path.tipTo = to.tip;
        path.pitchChange = halfTurn(to.pitch - from.pitch); // the short way round
        path.gripperChange = to.gripper - from.gripper;
        return path;
    }

    // The tip's radius is counted along the base's direction, so a tip that
    // reaches over the axis keeps its side.
    static Path aroundAxis(const Pose &from, double basis, double turn)
    {
        Path path(from);
        path.circle = CylinderPoint{from.tip.x * std::cos(toRadians(basis)) + from.tip.y * std::sin(toRadians(basis)),
                                    basis, from.tip.z};
        path.turn = turn;
        return path;
    }

    Pose at(double share) const
    {
        Pose pose{start.tip, start.pitch + share * pitchChange, start.gripper + share * gripperChange};
        if (turn != 0)
            pose.tip = toCartesian({circle.radius, circle.angle + share * turn, circle.height});
        else
            pose.tip = {start.tip.x + share * (tipTo.x - start.tip.x), start.tip.y + share * (tipTo.y - start.tip.y),
                        start.tip.z + share * (tipTo.z - start.tip.z)};
        return pose;
    }

    double offPath(const Point &tip) const
    {
        if (turn != 0)
            return std::hypot(std::hypot(tip.x, tip.y) - std::abs(circle.radius), tip.z - circle.height);
        const Point along{tipTo.x - start.tip.x, tipTo.y - start.tip.y, tipTo.z - start.tip.z};
        const double length2 = along.x * along.x + along.y * along.y + along.z * along.z;
        const double share = length2 == 0 ? 0
            : std::clamp(((tip.x - start.tip.x) * along.x + (tip.y - start.tip.y) * along.y
                          + (tip.z - start.tip.z) * along.z) / length2, 0.0, 1.0);
        return distance(tip, at(share).tip);
    }

    double tipLength() const
    {
        return turn != 0 ? std::abs(circle.radius * toRadians(turn)) : distance(start.tip, tipTo);
    }
    // Degrees of pitch or of the base's turn, whichever is more.
    double turnLength() const { return std::max(std::abs(pitchChange), std::abs(turn)); }
    // Pitch and base turn count a degree as a millimetre, the gripper in mm.
    double extent() const { return std::max({tipLength(), turnLength(), std::abs(gripperChange)}); }

private:
    explicit Path(const Pose &from) : start(from), tipTo(from.tip) {}

    Pose start;
    Point tipTo;
    double pitchChange = 0;
    double gripperChange = 0;
    CylinderPoint circle{};
    double turn = 0;
};

struct Waypoint {
    double share;
    CommandPulses pulses;
    double basis;
};

class Planner {
public:
    Planner(const Kinematics &arm, const Path &path) : arm(arm), path(path) {}

    // Waypoints from the start to the end of the path, the first being where
    // the joints stand; empty, with the refusal set, when the path cannot be run.
    std::vector<Waypoint> waypoints(const CommandPulses &from)
    {
        const int pieces = std::max({1, static_cast<int>(std::ceil(path.tipLength() / kLongestPiece)),
                                     static_cast<int>(std::ceil(path.turnLength() / kLongestTurnPiece))});
        std::vector<Waypoint> points{{0, from, arm.valuesAt(toJointPulses(from))[kBasis]}};
        for (int piece = 1; piece <= pieces; ++piece) {
            const Waypoint before = points.back();
            Waypoint after;
            if (!solveAt(static_cast<double>(piece) / pieces, before.basis, after)
                || !refine(before, after, 0, points))
                return {};
        }
        return points;
    }

    platform::UiText refusal;

private:
    // The point at this share of the path, rounded to whole µs the way (up or
    // down per joint) that keeps its tip nearest the path's point: one µs of a
    // joint moves the tip by up to 0.7 mm at full reach, so rounding each joint
    // on its own could use up the tolerance.
    bool solveAt(double share, double basis, Waypoint &point)
    {
        const Pose target = path.at(share);
        const Solution solution = arm.solve(target, basis);
        if (!solution.solved()) {
            refusal = solution.refusal;
            return false;
        }
        const TravelLimits &limits = arm.limits();
        JointPulses tried;
        tried[kGreifer] = std::clamp(std::round(solution.pulses[kGreifer]), double(limits[kGreifer].min),
                                     double(limits[kGreifer].max));
        double nearest = INFINITY;
        for (int roundings = 0; roundings < 1 << kGreifer; ++roundings) {
            for (int joint = 0; joint < kGreifer; ++joint) {
                const double pulse = solution.pulses[joint];
                tried[joint] = std::clamp(roundings & 1 << joint ? std::ceil(pulse) : std::floor(pulse),
                                          double(limits[joint].min), double(limits[joint].max));
            }
            const double off = distance(arm.poseAt(tried).tip, target.tip);
            if (off < nearest) {
                nearest = off;
                std::transform(tried.begin(), tried.end(), point.pulses.begin(),
                               [](double pulse) { return static_cast<int>(pulse); });
            }
        }
        point.share = share;
        point.basis = solution.values[kBasis];
        return true;
    }

    // Appends the waypoints after `from` up to `to`, halving the piece while
    // the controller's interpolation would carry the tip too far off the path.
    bool refine(const Waypoint &from, const Waypoint &to, int halvings, std::vector<Waypoint> &points)
    {
        if (strayOf(from.pulses, to.pulses) <= kPlannedDeviation) {
            points.push_back(to);
            return true;
        }
        if (halvings == kDeepestHalving) {
            refusal = UI_TEXT("arm::Kinematics", "Ziel außerhalb der Reichweite");
            return false;
        }
        Waypoint middle;
        return solveAt((from.share + to.share) / 2, from.basis, middle) && refine(from, middle, halvings + 1, points)
            && refine(middle, to, halvings + 1, points);
    }

    // The farthest the tip gets from the path while every pulse width moves
    // linearly from one end of the piece to the other.
    double strayOf(const CommandPulses &from, const CommandPulses &to) const
    {
        double farthest = 0;
        for (int check = 1; check < kChecksPerPiece; ++check) {
            const double share = static_cast<double>(check) / kChecksPerPiece;
            JointPulses between;
            for (int joint = 0; joint < kJoints; ++joint)
                between[joint] = from[joint] + share * (to[joint] - from[joint]);
            farthest = std::max(farthest, path.offPath(arm.poseAt(between).tip));
        }
        return farthest;
    }

    const Kinematics &arm;
    const Path &path;
};

MovePlan plan(const Kinematics &arm, const CommandPulses &from, const Path &path, double speed)
{
    MovePlan move;
    if (path.extent() < 1e-9)
        return move;
    Planner planner(arm, path);
    const std::vector<Waypoint> points = planner.waypoints(from);
    if (points.empty()) {
        move.refusal = planner.refusal;
        return move;
    }
    // Written so that a speed that is not a number comes out as the slowest.
    const double boundedSpeed = std::max(kMinPathSpeed, std::min(speed, kMaxPathSpeed));
    const double durationMs = path.extent() / boundedSpeed * 1000;
    // Arrival times are rounded, not piece times, so the roundings do not add up.
    long arrived = 0;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const long arrival = std::max(arrived + 1, std::lround(durationMs * points[i].share));
        move.pieces.push_back({points[i].pulses, static_cast<int>(arrival - arrived)});
        arrived = arrival;
    }
    return move;
}

} // namespace

MovePlan planLine(const Kinematics &arm, const CommandPulses &from, const Pose &target, double speed)
{
    return plan(arm, from, Path::line(arm.poseAt(toJointPulses(from)), target), speed);
}

MovePlan planJog(const Kinematics &arm, const CommandPulses &from, JogAxis axis, double step, double speed)
{
    const Pose start = arm.poseAt(toJointPulses(from));
    const double basis = arm.valuesAt(toJointPulses(from))[kBasis];
    Pose target = start;
    switch (axis) {
    case JogAxis::X:
        target.tip.x += step;
        break;
    case JogAxis::Y:
        target.tip.y += step;
        break;
    case JogAxis::Z:
        target.tip.z += step;
        break;
    case JogAxis::Radius: {
        CylinderPoint cylinder = toCylinder(start.tip);
        if (cylinder.radius < 1e-6)
            cylinder.angle = basis; // on the axis, out is where the base points
        cylinder.radius += step;
        target.tip = toCartesian(cylinder);
        break;
    }
    case JogAxis::Angle:
        return plan(arm, from, Path::aroundAxis(start, basis, step), speed);
    case JogAxis::Pitch:
        target.pitch += step;
        break;
    case JogAxis::Gripper:
        target.gripper += step;
        break;
    }
    return planLine(arm, from, target, speed);
}

} // namespace arm
