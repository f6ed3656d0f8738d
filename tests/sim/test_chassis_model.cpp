#include "chassis_model.h"

#include <QRegularExpression>
#include <QtTest>

namespace {

// Drives as the console does: a track command every 150 ms, so the watchdog never bites.
void drive(sim::ChassisModel &chassis, const std::string &tracks, int seconds)
{
    for (int ms = 0; ms < seconds * 1000; ms += 150) {
        chassis.handleLine(tracks);
        chassis.advance(150);
    }
}

void rest(sim::ChassisModel &chassis, int seconds)
{
    chassis.advance(seconds * 1000);
}

} // namespace

class TestChassisModel : public QObject {
    Q_OBJECT

private slots:
    void answersIdentification();
    void answersRequestsWithRecords_data();
    void answersRequestsWithRecords();
    void setsTracks_data();
    void setsTracks();
    void setsHornAndHazard_data();
    void setsHornAndHazard();
    void distanceFollowsDriveDirection_data();
    void distanceFollowsDriveDirection();
    void distanceStaysWithinRange_data();
    void distanceStaysWithinRange();
    void batteryDrainsUnderLoadOnly();
    void batteryStopsAtEmpty();
    void heatSinkWarmsUnderLoadAndCoolsAtRest();
    void watchdogStopsTracksAfter600Ms();
    void watchdogIsFedOnlyByTrackCommands_data();
    void watchdogIsFedOnlyByTrackCommands();
    void watchdogCutsLongStepShort();
};

void TestChassisModel::answersIdentification()
{
    sim::ChassisModel chassis;
    QCOMPARE(chassis.handleLine("I1"), std::string("VELMO-2007\r"));
    QCOMPARE(chassis.handleLine("I0"), std::string());
}

void TestChassisModel::answersRequestsWithRecords_data()
{
    QTest::addColumn<QString>("request");
    QTest::addColumn<QString>("pattern");

    QTest::newRow("distance") << "A1" << "^A\\d+\\r$";
    QTest::newRow("battery") << "B1" << "^B\\d+\\r$";
    QTest::newRow("temperature") << "T1" << "^T\\d+\\r$";
    QTest::newRow("two requests in one message") << "A1B1" << "^A\\d+\\rB\\d+\\r$";
    QTest::newRow("request switched off") << "A0" << "^$";
    QTest::newRow("track command") << "K120" << "^$";
    QTest::newRow("stop text") << "K0Q0" << "^$";
    QTest::newRow("unknown letter") << "Z1" << "^$";
}

void TestChassisModel::answersRequestsWithRecords()
{
    QFETCH(QString, request);
    QFETCH(QString, pattern);

    sim::ChassisModel chassis;
    const QString reply = QString::fromStdString(chassis.handleLine(request.toStdString()));
    QVERIFY2(QRegularExpression(pattern).match(reply).hasMatch(), qPrintable(reply));
}

// Both tracks run at 10 before the row's message.
void TestChassisModel::setsTracks_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("right");

    QTest::newRow("left forward") << "K120" << 120 << 10;
    QTest::newRow("left backward") << "L80" << -80 << 10;
    QTest::newRow("right forward") << "Q50" << 10 << 50;
    QTest::newRow("right backward") << "R70" << 10 << -70;
    QTest::newRow("sharp turn, negative number") << "K-155" << -155 << 10;
    QTest::newRow("stop text") << "K0Q0" << 0 << 0;
    QTest::newRow("speed above range") << "K999" << 255 << 10;
    QTest::newRow("letter without number") << "K" << 10 << 10;
    QTest::newRow("unknown letter drops the message") << "K200X1" << 10 << 10;
}

void TestChassisModel::setsTracks()
{
    QFETCH(QString, message);
    QFETCH(int, left);
    QFETCH(int, right);

    sim::ChassisModel chassis;
    chassis.handleLine("K10Q10");
    chassis.handleLine(message.toStdString());
    QCOMPARE(chassis.leftSpeed(), left);
    QCOMPARE(chassis.rightSpeed(), right);
}

void TestChassisModel::setsHornAndHazard_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("horn");
    QTest::addColumn<bool>("hazard");

    QTest::newRow("horn on") << "" << "H1" << true << false;
    QTest::newRow("hazard on") << "" << "W1" << false << true;
    QTest::newRow("horn off") << "H1W1" << "H0" << false << true;
    QTest::newRow("hazard off") << "H1W1" << "W0" << true << false;
    QTest::newRow("both in one message") << "" << "H1W1" << true << true;
}

void TestChassisModel::setsHornAndHazard()
{
    QFETCH(QString, before);
    QFETCH(QString, message);
    QFETCH(bool, horn);
    QFETCH(bool, hazard);

    sim::ChassisModel chassis;
    chassis.handleLine(before.toStdString());
    chassis.handleLine(message.toStdString());
    QCOMPARE(chassis.horn(), horn);
    QCOMPARE(chassis.hazard(), hazard);
}

void TestChassisModel::distanceFollowsDriveDirection_data()
{
    QTest::addColumn<QString>("tracks");
    QTest::addColumn<int>("sign");

    QTest::newRow("backward shrinks") << "L120R120" << -1;
    QTest::newRow("forward grows") << "K120Q120" << +1;
    QTest::newRow("turning on the spot keeps it") << "L120Q120" << 0;
    QTest::newRow("standing keeps it") << "K0Q0" << 0;
}

void TestChassisModel::distanceFollowsDriveDirection()
{
    QFETCH(QString, tracks);
    QFETCH(int, sign);

    sim::ChassisModel chassis;
    const int before = chassis.distanceCm();
    drive(chassis, tracks.toStdString(), 1);
    const int change = chassis.distanceCm() - before;
    QCOMPARE((change > 0) - (change < 0), sign);
}

void TestChassisModel::distanceStaysWithinRange_data()
{
    QTest::addColumn<QString>("tracks");
    QTest::addColumn<int>("limit");

    QTest::newRow("backward to the wall") << "L255R255" << 3;
    QTest::newRow("forward into the open") << "K255Q255" << 200;
}

void TestChassisModel::distanceStaysWithinRange()
{
    QFETCH(QString, tracks);
    QFETCH(int, limit);

    sim::ChassisModel chassis;
    drive(chassis, tracks.toStdString(), 30);
    QCOMPARE(chassis.distanceCm(), limit);
    QCOMPARE(chassis.handleLine("A1"), "A" + std::to_string(limit) + "\r");
}

void TestChassisModel::batteryDrainsUnderLoadOnly()
{
    sim::ChassisModel chassis;
    QCOMPARE(chassis.batteryTenthsOfVolt(), 81);
    rest(chassis, 600);
    QCOMPARE(chassis.batteryTenthsOfVolt(), 81);

    drive(chassis, "K200Q200", 60);
    const int afterAMinute = chassis.batteryTenthsOfVolt();
    QVERIFY2(afterAMinute < 81, "a minute of driving must show in the battery gauge");
    QVERIFY(afterAMinute > 69);
}

void TestChassisModel::batteryStopsAtEmpty()
{
    sim::ChassisModel chassis;
    drive(chassis, "K255Q255", 600);
    QCOMPARE(chassis.batteryTenthsOfVolt(), 69);
    QCOMPARE(chassis.handleLine("B1"), std::string("B69\r"));
}

void TestChassisModel::heatSinkWarmsUnderLoadAndCoolsAtRest()
{
    sim::ChassisModel chassis;
    QCOMPARE(chassis.temperatureCelsius(), 22);

    drive(chassis, "K255Q255", 30);
    const int warm = chassis.temperatureCelsius();
    QVERIFY2(warm > 40, qPrintable(QString::number(warm)));
    QCOMPARE(chassis.handleLine("T1"), "T" + std::to_string(warm) + "\r");

    rest(chassis, 30);
    const int cooler = chassis.temperatureCelsius();
    QVERIFY(cooler < warm);
    QVERIFY(cooler > 22);

    rest(chassis, 600);
    QCOMPARE(chassis.temperatureCelsius(), 22);
}

void TestChassisModel::watchdogStopsTracksAfter600Ms()
{
    sim::ChassisModel chassis;
    chassis.handleLine("K100Q100");
    chassis.advance(599);
    QCOMPARE(chassis.leftSpeed(), 100);
    QCOMPARE(chassis.rightSpeed(), 100);
    chassis.advance(1);
    QCOMPARE(chassis.leftSpeed(), 0);
    QCOMPARE(chassis.rightSpeed(), 0);
}

// 400 ms after "K100Q100" the row's message arrives; 300 ms later the tracks either
// still run (the watchdog was fed) or have been stopped.
void TestChassisModel::watchdogIsFedOnlyByTrackCommands_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("running");

    QTest::newRow("right track command") << "Q100" << true;
    QTest::newRow("left track command") << "K100" << true;
    QTest::newRow("backward command") << "L100" << true;
    QTest::newRow("horn") << "H1" << false;
    QTest::newRow("hazard") << "W1" << false;
    QTest::newRow("distance request") << "A1" << false;
    QTest::newRow("identification") << "I1" << false;
}

void TestChassisModel::watchdogIsFedOnlyByTrackCommands()
{
    QFETCH(QString, message);
    QFETCH(bool, running);

    sim::ChassisModel chassis;
    chassis.handleLine("K100Q100");
    chassis.advance(400);
    chassis.handleLine(message.toStdString());
    chassis.advance(300);
    QCOMPARE(chassis.rightSpeed() != 0, running);
}

void TestChassisModel::watchdogCutsLongStepShort()
{
    sim::ChassisModel inOneStep;
    sim::ChassisModel inTwoSteps;
    inOneStep.handleLine("K255Q255");
    inTwoSteps.handleLine("K255Q255");

    inOneStep.advance(10000);
    inTwoSteps.advance(600);
    inTwoSteps.advance(9400);

    QCOMPARE(inOneStep.leftSpeed(), 0);
    QCOMPARE(inOneStep.distanceCm(), inTwoSteps.distanceCm());
    QCOMPARE(inOneStep.batteryTenthsOfVolt(), inTwoSteps.batteryTenthsOfVolt());
    QCOMPARE(inOneStep.temperatureCelsius(), inTwoSteps.temperatureCelsius());
}

QTEST_GUILESS_MAIN(TestChassisModel)
#include "test_chassis_model.moc"
