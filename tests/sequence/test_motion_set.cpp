// The motion set's current-step rules: which step an operation makes current,
// whether the step number is shown afresh, and which step reaches the arm.
#include "arm/arm.h"
#include "sequence/motion_set.h"
#include "sequence/step_line.h"

#include <QSignalSpy>
#include <QtTest>
#include <functional>
#include <map>

class TestMotionSet : public QObject {
    Q_OBJECT

private slots:
    void currentStepRules_data();
    void currentStepRules();
};

// Step n holds the Basis at 1000 + n; the Basis stands at 1800 when the operation starts.
void TestMotionSet::currentStepRules_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QList<int>>("steps");
    QTest::addColumn<int>("currentAfter");
    QTest::addColumn<bool>("numberShown");
    QTest::addColumn<int>("basis");
    const QList<int> three{1001, 1002, 1003};
    QTest::newRow("add without current appends") << 2 << -1 << "add" << QList<int>{1001, 1002, 1800} << -1 << false
                                                 << 1800;
    QTest::newRow("add at step 2 of 4 inserts step 3, none current")
        << 4 << 1 << "add" << QList<int>{1001, 1002, 1800, 1003, 1004} << -1 << false << 1800;
    QTest::newRow("delete takes the current step") << 3 << 1 << "delete" << QList<int>{1001, 1003} << -1 << false
                                                   << 1800;
    QTest::newRow("delete without current") << 3 << -1 << "delete" << three << -1 << false << 1800;
    QTest::newRow("forward without current applies step 1") << 3 << -1 << "forward" << three << 0 << true << 1001;
    QTest::newRow("forward applies the next step") << 3 << 0 << "forward" << three << 1 << true << 1002;
    QTest::newRow("forward past the last applies nothing") << 3 << 2 << "forward" << three << -1 << true << 1800;
    QTest::newRow("forward on an empty set") << 0 << -1 << "forward" << QList<int>() << -1 << true << 1800;
    QTest::newRow("back applies the previous step") << 3 << 2 << "back" << three << 1 << true << 1002;
    QTest::newRow("back at step 1 applies nothing") << 3 << 0 << "back" << three << -1 << true << 1800;
    QTest::newRow("back without current") << 3 << -1 << "back" << three << -1 << true << 1800;
    QTest::newRow("choosing step 2 moves nothing") << 3 << -1 << "choose 2" << three << 1 << true << 1800;
    QTest::newRow("previous shows no number") << 3 << 2 << "previous" << three << 1 << false << 1800;
    QTest::newRow("previous at step 1") << 3 << 0 << "previous" << three << -1 << false << 1800;
    QTest::newRow("clear") << 3 << 1 << "clear" << QList<int>() << -1 << true << 1800;
}

void TestMotionSet::currentStepRules()
{
    QFETCH(int, count);
    QFETCH(int, current);
    QFETCH(QString, operation);
    QFETCH(QList<int>, steps);
    QFETCH(int, currentAfter);
    QFETCH(bool, numberShown);
    QFETCH(int, basis);
    arm::Arm arm;
    sequence::MotionSet set(arm, QString());
    for (int n = 1; n <= count; ++n) {
        arm.setPosition(0, 1000 + n);
        set.addStep();
    }
    arm.setPosition(0, 1800);
    set.chooseStep(current);
    QSignalSpy shown(&set, &sequence::MotionSet::stepNumberRefreshed);
    const std::map<QString, std::function<void()>> operations{
        {"add", [&] { set.addStep(); }},           {"delete", [&] { set.deleteStep(); }},
        {"forward", [&] { set.stepForward(); }},   {"back", [&] { set.stepBack(); }},
        {"choose 2", [&] { set.chooseStep(1); }}, {"previous", [&] { set.makePreviousStepCurrent(); }},
        {"clear", [&] { set.clear(); }},
    };
    operations.at(operation)();
    QList<int> basisOfSteps;
    for (const std::string &line : set.steps())
        basisOfSteps << sequence::readStepLine(line)[1];
    QCOMPARE(basisOfSteps, steps);
    QCOMPARE(set.currentStep(), currentAfter);
    QCOMPARE(shown.count(), numberShown ? 1 : 0);
    QCOMPARE(arm.joint(0).getPosition(), basis);
}

QTEST_GUILESS_MAIN(TestMotionSet)
#include "test_motion_set.moc"
