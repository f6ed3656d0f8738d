#include "arm/group_move.h"

#include <QtTest>
#include <memory>

// Five joints on channels 16..20, as the window creates them.
class Arm {
public:
    Arm()
    {
        for (int i = 0; i < arm::kJoints; ++i) {
            owned[i] = std::make_unique<arm::Servo>(16 + i, 751, 2251);
            joints[i] = owned[i].get();
        }
    }
    arm::Servo &operator[](int i) { return *owned[i]; }

    arm::Servos joints{};

private:
    std::array<std::unique_ptr<arm::Servo>, arm::kJoints> owned;
};

class TestGroupMove : public QObject {
    Q_OBJECT

private slots:
    void firstTickSendsAllJoints();
    void changesWithinOneTick_data();
    void changesWithinOneTick();
    void changeIsSentOnce();
};

void TestGroupMove::firstTickSendsAllJoints()
{
    Arm arm;
    arm::GroupMove groupMove;
    QCOMPARE(groupMove.next(arm.joints), std::string("#16P1500#17P1500#18P1500#19P1500#20P1500"));
    QCOMPARE(groupMove.next(arm.joints), std::string());
}

void TestGroupMove::changesWithinOneTick_data()
{
    QTest::addColumn<QList<int>>("jointPositions"); // pairs: joint index, position (-1 = speed 500)
    QTest::addColumn<int>("timeMs");
    QTest::addColumn<QString>("command");
    QTest::newRow("basis alone") << QList<int>{0, 1600} << 0 << "#16P1600";
    QTest::newRow("joints 5 and 1 go out in joint order") << QList<int>{4, 1300, 0, 1600} << 0 << "#16P1600#20P1300";
    QTest::newRow("schulter and greifer with speed")
        << QList<int>{1, 1800, 4, 1300, 4, -1} << 0 << "#17P1800#20P1300S500";
    QTest::newRow("speed alone") << QList<int>{2, -1} << 0 << "#18P1500S500";
    QTest::newRow("changed and changed back") << QList<int>{3, 1700, 3, 1500} << 0 << "";
    QTest::newRow("timed: the time term ends it") << QList<int>{0, 1600, 2, 1400} << 250 << "#16P1600#18P1400T250";
    QTest::newRow("timed: speed terms left out") << QList<int>{1, 1800, 1, -1, 4, -1} << 40 << "#17P1800#20P1500T40";
    QTest::newRow("timed: nothing changed, no time term") << QList<int>{} << 40 << "";
}

void TestGroupMove::changesWithinOneTick()
{
    QFETCH(QList<int>, jointPositions);
    QFETCH(int, timeMs);
    QFETCH(QString, command);
    Arm arm;
    arm::GroupMove groupMove;
    groupMove.next(arm.joints);
    for (int i = 0; i < jointPositions.size(); i += 2) {
        if (jointPositions[i + 1] < 0)
            arm[jointPositions[i]].setSpeed(500);
        else
            arm[jointPositions[i]].setPosition(jointPositions[i + 1]);
    }
    QCOMPARE(QString::fromStdString(groupMove.next(arm.joints, timeMs)), command);
}

void TestGroupMove::changeIsSentOnce()
{
    Arm arm;
    arm::GroupMove groupMove;
    groupMove.next(arm.joints);
    arm[0].setPosition(1600);
    QCOMPARE(groupMove.next(arm.joints), std::string("#16P1600"));
    QCOMPARE(groupMove.next(arm.joints), std::string());
    QCOMPARE(groupMove.next(arm.joints), std::string());
}

QTEST_APPLESS_MAIN(TestGroupMove)
#include "test_group_move.moc"
