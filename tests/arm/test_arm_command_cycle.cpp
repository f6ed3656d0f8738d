#include "arm/arm_command_cycle.h"
#include "arm/servo.h"

#include <QtTest>
#include <memory>

// Five joints on channels 16..20, as the window creates them.
class Arm {
public:
    Arm()
    {
        for (int i = 0; i < ArmCommandCycle::kJoints; ++i) {
            owned[i] = std::make_unique<Servo>(16 + i, 751, 2251);
            joints[i] = owned[i].get();
        }
    }
    Servo &operator[](int i) { return *owned[i]; }

    std::array<Servo *, ArmCommandCycle::kJoints> joints{};

private:
    std::array<std::unique_ptr<Servo>, ArmCommandCycle::kJoints> owned;
};

class TestArmCommandCycle : public QObject {
    Q_OBJECT

private slots:
    void firstTickSendsAllJoints();
    void changesWithinOneTick_data();
    void changesWithinOneTick();
    void changeIsSentOnce();
};

void TestArmCommandCycle::firstTickSendsAllJoints()
{
    Arm arm;
    ArmCommandCycle cycle;
    QCOMPARE(cycle.tick(arm.joints), std::string("#16P1500#17P1500#18P1500#19P1500#20P1500"));
    QCOMPARE(cycle.tick(arm.joints), std::string());
}

void TestArmCommandCycle::changesWithinOneTick_data()
{
    QTest::addColumn<QList<int>>("jointPositions"); // pairs: joint index, position (-1 = speed 500)
    QTest::addColumn<QString>("command");
    QTest::newRow("basis alone") << QList<int>{0, 1600} << "#16P1600";
    QTest::newRow("joints 5 and 1 go out in joint order") << QList<int>{4, 1300, 0, 1600} << "#16P1600#20P1300";
    QTest::newRow("schulter and greifer with speed")
        << QList<int>{1, 1800, 4, 1300, 4, -1} << "#17P1800#20P1300S500";
    QTest::newRow("speed alone") << QList<int>{2, -1} << "#18P1500S500";
    QTest::newRow("changed and changed back") << QList<int>{3, 1700, 3, 1500} << "";
}

void TestArmCommandCycle::changesWithinOneTick()
{
    QFETCH(QList<int>, jointPositions);
    QFETCH(QString, command);
    Arm arm;
    ArmCommandCycle cycle;
    cycle.tick(arm.joints);
    for (int i = 0; i < jointPositions.size(); i += 2) {
        if (jointPositions[i + 1] < 0)
            arm[jointPositions[i]].setSpeed(500);
        else
            arm[jointPositions[i]].setPosition(jointPositions[i + 1]);
    }
    QCOMPARE(QString::fromStdString(cycle.tick(arm.joints)), command);
}

void TestArmCommandCycle::changeIsSentOnce()
{
    Arm arm;
    ArmCommandCycle cycle;
    cycle.tick(arm.joints);
    arm[0].setPosition(1600);
    QCOMPARE(cycle.tick(arm.joints), std::string("#16P1600"));
    QCOMPARE(cycle.tick(arm.joints), std::string());
    QCOMPARE(cycle.tick(arm.joints), std::string());
}

QTEST_APPLESS_MAIN(TestArmCommandCycle)
#include "test_arm_command_cycle.moc"
