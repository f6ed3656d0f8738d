// The arm's rules for moves and steps: what a joint takes, what it refuses
// (silently, but for a speed above 65535), and what it tells, in what order.
#include "arm/arm.h"
#include "support/message_recorder.h"

#include <QtTest>

namespace {

// A step for the Basis tells every joint's speed, then its position, Basis first.
QStringList toldByStep(int basisSpeed)
{
    QStringList told{QStringLiteral("s0:%1").arg(basisSpeed), "p0"};
    for (int i = 1; i < arm::kJoints; ++i)
        told << QStringLiteral("s%1:0").arg(i) << QStringLiteral("p%1").arg(i);
    return told;
}

} // namespace

class TestArm : public QObject {
    Q_OBJECT

private slots:
    void changes_data();
    void changes();
};

// From the start pose (all joints at 1500, no speeds); a step holds the other joints there.
void TestArm::changes_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("basisMin");
    QTest::addColumn<int>("handgelenkMin");
    QTest::addColumn<QList<int>>("positions");
    QTest::addColumn<int>("basisSpeed");
    QTest::addColumn<QStringList>("told");
    QTest::addColumn<QStringList>("warnings");
    const QList<int> start(5, 1500);
    const QStringList parked{"p1", "p2", "p3"};
    QTest::newRow("park: the joints not there") << "park" << 751 << 754 << QList<int>{1500, 2000, 2150, 1200, 1500}
                                                << 0 << parked << QStringList();
    QTest::newRow("park: a joint whose limits exclude it stays")
        << "park" << 751 << 1300 << QList<int>{1500, 2000, 2150, 1500, 1500} << 0 << parked << QStringList();
    QTest::newRow("centre: all there, nothing told") << "centre" << 751 << 754 << start << 0 << QStringList()
                                                     << QStringList();
    QTest::newRow("at the lower limit") << "position 751" << 751 << 754 << QList<int>{751, 1500, 1500, 1500, 1500}
                                        << 0 << QStringList{"p0"} << QStringList();
    QTest::newRow("below the lower limit") << "position 750" << 751 << 754 << start << 0 << QStringList{"p0"}
                                           << QStringList();
    QTest::newRow("step") << "step 300 1600" << 751 << 754 << QList<int>{1600, 1500, 1500, 1500, 1500} << 300
                          << toldByStep(300) << QStringList();
    QTest::newRow("step too fast: warned, position taken")
        << "step 70000 1600" << 751 << 754 << QList<int>{1600, 1500, 1500, 1500, 1500} << 0 << toldByStep(70000)
        << QStringList{QStringLiteral("Fehler: Speed zu groß!")};
    QTest::newRow("step beyond the limit: speed taken") << "step 300 2300" << 751 << 754 << start << 300
                                                        << toldByStep(300) << QStringList();
    QTest::newRow("step to 0 at a limit of 500") << "step 0 0" << 500 << 754 << start << 0 << toldByStep(0)
                                                 << QStringList();
    QTest::newRow("step to 500 at a limit of 500") << "step 0 500" << 500 << 754
                                                   << QList<int>{500, 1500, 1500, 1500, 1500} << 0 << toldByStep(0)
                                                   << QStringList();
}

void TestArm::changes()
{
    QFETCH(QString, change);
    QFETCH(int, basisMin);
    QFETCH(int, handgelenkMin);
    QFETCH(QList<int>, positions);
    QFETCH(int, basisSpeed);
    QFETCH(QStringList, told);
    QFETCH(QStringList, warnings);
    MessageRecorder recorder;
    QStringList heard;
    arm::Arm arm;
    arm.setLimit(0, basisMin, 2251);
    arm.setLimit(3, handgelenkMin, 2254);
    QObject::connect(&arm, &arm::Arm::speedSet, [&heard](int joint, int speed) {
        heard << QStringLiteral("s%1:%2").arg(joint).arg(speed);
    });
    QObject::connect(&arm, &arm::Arm::positionSet, [&heard](int joint) { heard << QStringLiteral("p%1").arg(joint); });

    const QStringList words = change.split(QLatin1Char(' '));
    if (words[0] == QLatin1String("park")) {
        arm.park();
    } else if (words[0] == QLatin1String("centre")) {
        arm.centre();
    } else if (words[0] == QLatin1String("position")) {
        arm.setPosition(0, words[1].toInt());
    } else {
        arm::Step step;
        step.fill({0, 1500});
        step[0] = {words[1].toInt(), words[2].toInt()};
        arm.applyStep(step);
    }
    QList<int> after;
    for (int i = 0; i < arm::kJoints; ++i)
        after << arm.joint(i).getPosition();
    QCOMPARE(after, positions);
    QCOMPARE(arm.joint(0).getSpeed(), basisSpeed);
    QCOMPARE(heard, told);
    QCOMPARE(recorder.texts(), warnings);
}

QTEST_GUILESS_MAIN(TestArm)
#include "test_arm.moc"
