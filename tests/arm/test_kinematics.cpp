#include "arm/straight_move.h"

#include <QtTest>
#include <cmath>
#include <random>

namespace {
// The console's travel limits when no settings file is read.
const arm::TravelLimits kLimits{{{751, 2251}, {752, 2252}, {753, 2253}, {754, 2254}, {1175, 1825}}};
const arm::Kinematics kArm(arm::ArmProfile{}, kLimits);
const arm::Kinematics kFullTravel(arm::ArmProfile{},
                                  {{{500, 2500}, {500, 2500}, {500, 2500}, {500, 2500}, {500, 2500}}});

arm::Pose poseFrom(const QList<double> &n) { return {{n[0], n[1], n[2]}, n[3], n[4]}; }
arm::CommandPulses commanded(const arm::JointPulses &pulses)
{
    arm::CommandPulses whole;
    std::transform(pulses.begin(), pulses.end(), whole.begin(), [](double pulse) { return int(std::lround(pulse)); });
    return whole;
}
} // namespace

class TestKinematics : public QObject {
    Q_OBJECT

private slots:
    void calibrationMap_data();
    void calibrationMap();
    void poses_data();
    void poses();
    void solvedTargetsComputeBack();
    void refusals_data();
    void refusals();
    void moves_data();
    void moves();
};

void TestKinematics::calibrationMap_data()
{
    QTest::addColumn<int>("joint");
    QTest::addColumn<double>("pulse");
    QTest::addColumn<double>("value");
    QTest::newRow("Basis centre") << 0 << 1500.0 << 0.0;
    QTest::newRow("Basis between") << 0 << 2000.0 << 45.0;
    QTest::newRow("Basis beyond the points") << 0 << 500.0 << -90.0;
    QTest::newRow("Schulter falls with the pulse") << 1 << 1000.0 << 135.0;
    QTest::newRow("Ellenbogen straight") << 2 << 2500.0 << 0.0;
    QTest::newRow("Ellenbogen folded") << 2 << 750.0 << -157.5;
    QTest::newRow("Handgelenk") << 3 << 1250.0 << -22.5;
    QTest::newRow("Greifer opening mm") << 4 << 1500.0 << 15.0;
    QTest::newRow("Greifer beyond closed") << 4 << 2300.0 << -9.0;
}

void TestKinematics::calibrationMap()
{
    QFETCH(int, joint);
    QFETCH(double, pulse);
    QFETCH(double, value);
    const arm::JointCalibration calibration = arm::ArmProfile{}.calibration[joint];
    QCOMPARE(calibration.valueAt(pulse), value);
    QCOMPARE(calibration.pulseFor(value), pulse);
}

// Each row both ways: the pulses give the pose, solving the pose gives the pulses.
void TestKinematics::poses_data()
{
    QTest::addColumn<QList<double>>("pulses");
    QTest::addColumn<QList<double>>("pose"); // x, y, z, pitch, gripper
    QTest::newRow("Arm in Mittelstellung") << QList<double>{1500, 1500, 1500, 1500, 1500}
                                           << QList<double>{287.3, 0, 213.4, 0, 15};
    QTest::newRow("Basis 90° turns to the left") << QList<double>{2500, 1500, 1500, 1500, 1500}
                                                  << QList<double>{0, 287.3, 213.4, 0, 15};
    QTest::newRow("Basis -45°") << QList<double>{1000, 1500, 1500, 1500, 1500}
                                << QList<double>{287.3 * M_SQRT1_2, -287.3 * M_SQRT1_2, 213.4, 0, 15};
    QTest::newRow("hand up") << QList<double>{1500, 1500, 1500, 2500, 1000}
                             << QList<double>{187.3, 0, 313.4, 90, 30};
    QTest::newRow("stretched up, on the axis: Basis kept") << QList<double>{2000, 1500, 2500, 1500, 2000}
                                                           << QList<double>{0, 0, 500.7, 90, 0};
    QTest::newRow("reaching over the top") << QList<double>{1500, 1000, 2000, 1500, 1500}
                                           << QList<double>{-146.1 * M_SQRT1_2, 0, 67.3 + 146.1 * M_SQRT1_2 + 287.3,
                                                            90, 15};
}

void TestKinematics::poses()
{
    QFETCH(QList<double>, pulses);
    QFETCH(QList<double>, pose);
    const arm::Pose expected = poseFrom(pose);
    const arm::JointPulses given{pulses[0], pulses[1], pulses[2], pulses[3], pulses[4]};
    const arm::Pose computed = kFullTravel.poseAt(given);
    QVERIFY2(arm::distance(computed.tip, expected.tip) < 1e-9, qPrintable(QString::number(computed.tip.x)));
    QCOMPARE(computed.pitch, expected.pitch);
    QCOMPARE(computed.gripper, expected.gripper);
    const arm::Point turnedBack = arm::toCartesian(arm::toCylinder(expected.tip));
    QVERIFY(arm::distance(turnedBack, expected.tip) < 1e-9);
    const arm::Solution solution = kFullTravel.solve(expected, kFullTravel.valuesAt(given)[arm::kBasis]);
    QCOMPARE(solution.refusal.german(), std::string());
    // Stretched out, the elbow's angle is ill-conditioned: a thousandth of a µs.
    for (int joint = 0; joint < arm::kJoints; ++joint)
        QVERIFY2(std::abs(solution.pulses[joint] - pulses[joint]) < 1e-3,
                 qPrintable(QString::number(solution.pulses[joint], 'g', 12)));
}

void TestKinematics::solvedTargetsComputeBack()
{
    std::mt19937 random(28);
    double farthest = 0;
    for (int solved = 0; solved < 10000;) {
        arm::JointPulses pulses;
        for (int joint = 0; joint < arm::kJoints; ++joint)
            pulses[joint] = std::uniform_real_distribution<double>(kLimits[joint].min, kLimits[joint].max)(random);
        const arm::JointPoints points = kArm.pointsOf(kArm.valuesAt(pulses));
        if (points.tip.z < 0 || points.wrist.z < 0)
            continue;
        const arm::Pose target = kArm.poseAt(pulses);
        const arm::Solution solution = kArm.solve(target);
        QCOMPARE(solution.refusal.german(), std::string());
        const arm::Pose back = kArm.poseOf(solution.values);
        farthest = std::max(farthest, arm::distance(back.tip, target.tip));
        QVERIFY(std::abs(std::remainder(back.pitch - target.pitch, 360)) < 1e-6);
        ++solved;
    }
    QVERIFY2(farthest <= 0.1, qPrintable(QString::number(farthest)));
}

void TestKinematics::refusals_data()
{
    QTest::addColumn<QList<double>>("target");
    QTest::addColumn<QString>("reason");
    const QString limit = QStringLiteral(": Grenze überschritten");
    QTest::newRow("too far") << QList<double>{600, 0, 200, 0, 15} << "Ziel außerhalb der Reichweite";
    QTest::newRow("wrist on the shoulder") << QList<double>{100, 0, 67.3, 0, 15} << "Ziel außerhalb der Reichweite";
    QTest::newRow("not a number") << QList<double>{NAN, 0, 200, 0, 15} << "Ziel außerhalb der Reichweite";
    QTest::newRow("tip below the table") << QList<double>{250, 0, -1, 0, 15} << "Ziel unter der Tischebene";
    QTest::newRow("wrist below the table") << QList<double>{250, 0, 50, 90, 15} << "Ziel unter der Tischebene";
    QTest::newRow("Basis both ways round") << QList<double>{0, -200, 150, 0, 15} << "Basis" + limit;
    QTest::newRow("Schulter low and far") << QList<double>{400, 0, 10, -30, 15} << "Schulter" + limit;
    QTest::newRow("Ellenbogen folded") << QList<double>{160, 0, 67.3, 0, 15} << "Ellenbogen" + limit;
    QTest::newRow("Handgelenk down") << QList<double>{187.3, 0, 113.4, -90, 15} << "Handgelenk" + limit;
    QTest::newRow("Greifer wide open") << QList<double>{287.3, 0, 213.4, 0, 30} << "Greifer" + limit;
}

void TestKinematics::refusals()
{
    QFETCH(QList<double>, target);
    QFETCH(QString, reason);
    QCOMPARE(QString::fromStdString(kArm.solve(poseFrom(target)).refusal.german()), reason);
}

// Moves from the row's start, to where the row's change leads from there; the
// tip is followed through the controller's linear interpolation, 1 ms at a time.
void TestKinematics::moves_data()
{
    QTest::addColumn<QList<double>>("start");
    QTest::addColumn<int>("axis"); // -1: planLine to the target
    QTest::addColumn<double>("step");
    QTest::addColumn<QList<double>>("change"); // of x, y, z, pitch, gripper
    QTest::addColumn<double>("speed");
    QTest::addColumn<int>("totalMs");
    QTest::addColumn<int>("pieces"); // of 5 mm or 5° at most, more where the arm bends the line
    QTest::addColumn<QString>("refusal");
    const QList<double> centre{287.3, 0, 213.4, 0, 15};
    const auto jog = [](arm::JogAxis axis) { return static_cast<int>(axis); };
    QTest::newRow("X+ 100 mm") << centre << jog(arm::JogAxis::X) << 100.0 << QList<double>{100, 0, 0, 0, 0} << 50.0
                               << 2000 << 20 << "";
    QTest::newRow("Y- 100 mm, fastest") << centre << jog(arm::JogAxis::Y) << -100.0
                                        << QList<double>{0, -100, 0, 0, 0} << 200.0 << 500 << 20 << "";
    QTest::newRow("Z- 100 mm, slowest") << centre << jog(arm::JogAxis::Z) << -100.0
                                        << QList<double>{0, 0, -100, 0, 0} << 1.0 << 100000 << 20 << "";
    QTest::newRow("radius in, speed held to 200") << QList<double>{200, 200, 100, -30, 10} << jog(arm::JogAxis::Radius)
                                                  << -100.0 << QList<double>{-70.71, -70.71, 0, 0, 0} << 900.0 << 500
                                                  << 20 << "";
    QTest::newRow("100 mm with pitch and gripper") << centre << -1 << 0.0 << QList<double>{-60, 60, -52.915, -30, -8}
                                                   << 50.0 << 2000 << 20 << "";
    QTest::newRow("Neigung, tip held") << centre << jog(arm::JogAxis::Pitch) << 20.0 << QList<double>{0, 0, 0, 20, 0}
                                       << 50.0 << 400 << 4 << "";
    QTest::newRow("Greifer") << centre << jog(arm::JogAxis::Gripper) << -8.0 << QList<double>{0, 0, 0, 0, -8}
                             << 50.0 << 160 << 1 << "";
    QTest::newRow("round the axis") << centre << jog(arm::JogAxis::Angle) << 30.0
                                    << QList<double>{287.3 * (std::sqrt(0.75) - 1), 143.65, 0, 0, 0} << 50.0 << 3009
                                    << 31 << "";
    QTest::newRow("the arm bends the line: a piece halved") << QList<double>{100, 0, 350, 0, 15} << jog(arm::JogAxis::X)
                                                            << 100.0 << QList<double>{100, 0, 0, 0, 0} << 50.0 << 2000
                                                            << 21 << "";
    QTest::newRow("ends fine, the way past the axis not") << QList<double>{100, 200, 150, 0, 15} << -1 << 0.0
                                                          << QList<double>{0, -400, 0, 0, 0} << 50.0 << 0 << 0
                                                          << "Schulter: Grenze überschritten";
    QTest::newRow("over the limit at once") << centre << jog(arm::JogAxis::Gripper) << 12.0
                                            << QList<double>{0, 0, 0, 0, 12} << 50.0 << 0 << 0
                                            << "Greifer: Grenze überschritten";
}

void TestKinematics::moves()
{
    QFETCH(QList<double>, start);
    QFETCH(int, axis);
    QFETCH(double, step);
    QFETCH(QList<double>, change);
    QFETCH(double, speed);
    QFETCH(int, totalMs);
    QFETCH(int, pieces);
    QFETCH(QString, refusal);
    const arm::CommandPulses from = commanded(kArm.solve(poseFrom(start)).pulses);
    const arm::Pose begin = kArm.poseAt(arm::toJointPulses(from));
    const arm::Pose end{{begin.tip.x + change[0], begin.tip.y + change[1], begin.tip.z + change[2]},
                        begin.pitch + change[3], begin.gripper + change[4]};
    const arm::MovePlan plan = axis < 0 ? arm::planLine(kArm, from, end, speed)
                                        : arm::planJog(kArm, from, arm::JogAxis(axis), step, speed);
    QCOMPARE(QString::fromStdString(plan.refusal.german()), refusal);
    QCOMPARE(int(plan.pieces.size()), pieces);
    if (plan.refused())
        return;
    const bool round = axis == int(arm::JogAxis::Angle);
    const arm::Point along{end.tip.x - begin.tip.x, end.tip.y - begin.tip.y, end.tip.z - begin.tip.z};
    const double length = arm::distance(begin.tip, end.tip);
    // Off the ideal path: the line's segment, or the circle round the axis.
    const auto offPath = [&](const arm::Point &tip) {
        if (round)
            return std::hypot(arm::toCylinder(tip).radius - 287.3, tip.z - 213.4);
        const double share = length == 0 ? 0
            : std::clamp(((tip.x - begin.tip.x) * along.x + (tip.y - begin.tip.y) * along.y
                          + (tip.z - begin.tip.z) * along.z) / (length * length), 0.0, 1.0);
        return arm::distance(tip, {begin.tip.x + share * along.x, begin.tip.y + share * along.y,
                                   begin.tip.z + share * along.z});
    };
    arm::JointPulses at = arm::toJointPulses(from);
    double farthest = 0;
    int total = 0;
    for (const arm::MovePiece &piece : plan.pieces) {
        QVERIFY(piece.timeMs >= 1);
        for (int ms = 1; ms <= piece.timeMs; ++ms) {
            arm::JointPulses between;
            for (int joint = 0; joint < arm::kJoints; ++joint)
                between[joint] = at[joint] + (piece.pulses[joint] - at[joint]) * ms / piece.timeMs;
            farthest = std::max(farthest, offPath(kArm.poseAt(between).tip));
        }
        at = arm::toJointPulses(piece.pulses);
        total += piece.timeMs;
    }
    QVERIFY2(farthest <= arm::kLineTolerance, qPrintable(QString::number(farthest)));
    const arm::Pose arrived = kArm.poseAt(at);
    const double missed = arm::distance(arrived.tip, end.tip);
    QVERIFY2(missed <= 1, qPrintable(QString::number(missed)));
    QVERIFY(std::abs(arrived.pitch - end.pitch) < 0.2);
    QVERIFY(std::abs(arrived.gripper - end.gripper) < 0.1);
    QCOMPARE(total, totalMs);
}

QTEST_APPLESS_MAIN(TestKinematics)
#include "test_kinematics.moc"
