#include "drive/fahrwerk.h"

#include <QtTest>

namespace {

QStringList nextTexts(drive::Fahrwerk &fahrwerk, int count)
{
    QStringList texts;
    for (int i = 0; i < count; ++i)
        texts << QString::fromStdString(fahrwerk.getCommand());
    return texts;
}

const QStringList kIdleRotation{"K0Q0", "W0", "H0", "K0Q0", "A1", "B1",
                                "K0Q0", "W0", "H0", "K0Q0", "A1", "T1"};

} // namespace

class TestFahrwerk : public QObject {
    Q_OBJECT

private slots:
    void freshObjectIsInactiveAndSilent();
    void activatedRotationWithoutDirection();
    void inactiveRotationDoesNotMove();
    void trackSteps_data();
    void trackSteps();
    void unknownLettersChangeNothing_data();
    void unknownLettersChangeNothing();
    void stopGivesStopTextWhateverTheSpeeds();
    void hornAndHazardSteps();
    void requestStepsFollowTheirFlags_data();
    void requestStepsFollowTheirFlags();
    void reactivationKeepsHornHazardAndRestoresRequests();
};

void TestFahrwerk::freshObjectIsInactiveAndSilent()
{
    drive::Fahrwerk fahrwerk;
    QVERIFY(!fahrwerk.getAktiv());
    QCOMPARE(fahrwerk.getCommand(), std::string());
}

void TestFahrwerk::activatedRotationWithoutDirection()
{
    drive::Fahrwerk fahrwerk;
    fahrwerk.setAktiv(true);
    QVERIFY(fahrwerk.getAktiv());
    QCOMPARE(nextTexts(fahrwerk, 12), kIdleRotation);
    QCOMPARE(nextTexts(fahrwerk, 1), QStringList{"K0Q0"});
}

void TestFahrwerk::inactiveRotationDoesNotMove()
{
    drive::Fahrwerk fahrwerk;
    QCOMPARE(nextTexts(fahrwerk, 20), QStringList(20, QString()));
    fahrwerk.setAktiv(true);
    QCOMPARE(nextTexts(fahrwerk, 2), (QStringList{"K0Q0", "W0"}));
    fahrwerk.setAktiv(false);
    QCOMPARE(nextTexts(fahrwerk, 7), QStringList(7, QString()));
    fahrwerk.setAktiv(true);
    QCOMPARE(nextTexts(fahrwerk, 10), kIdleRotation.mid(2));
}

void TestFahrwerk::trackSteps_data()
{
    QTest::addColumn<char>("richtung");
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("lenkung");
    QTest::addColumn<QString>("leftText");
    QTest::addColumn<QString>("rightText");

    QTest::newRow("forward, steering left 30") << 'v' << 100 << -30 << "K70" << "Q100";
    QTest::newRow("forward, steering right 30") << 'v' << 100 << 30 << "K100" << "Q70";
    QTest::newRow("forward, 33.5 truncated") << 'v' << 50 << -33 << "K33" << "Q50";
    QTest::newRow("forward, right 33.5 truncated") << 'v' << 50 << 33 << "K50" << "Q33";
    QTest::newRow("sharp left") << 'v' << 100 << -255 << "K-155" << "Q100";
    QTest::newRow("sharp right") << 'v' << 100 << 255 << "K100" << "Q-155";
    QTest::newRow("sharp left, -77.5 toward zero") << 'v' << 50 << -255 << "K-77" << "Q50";
    QTest::newRow("forward at speed 0") << 'v' << 0 << 0 << "K0" << "Q0";
    QTest::newRow("full speed straight") << 'v' << 255 << 0 << "K255" << "Q255";
    QTest::newRow("left track stopped at -100") << 'v' << 200 << -100 << "K0" << "Q200";
    QTest::newRow("backward") << 'r' << 60 << -50 << "L30" << "R60";
    QTest::newRow("turn left on the spot") << 'L' << 80 << 0 << "L80" << "Q80";
    QTest::newRow("turn right on the spot") << 'R' << 80 << 0 << "K80" << "R80";
    QTest::newRow("no direction chosen") << 's' << 120 << 10 << "K0Q0" << "K0Q0";
}

void TestFahrwerk::trackSteps()
{
    QFETCH(char, richtung);
    QFETCH(int, speed);
    QFETCH(int, lenkung);
    QFETCH(QString, leftText);
    QFETCH(QString, rightText);

    drive::Fahrwerk fahrwerk;
    fahrwerk.setAktiv(true);
    fahrwerk.setRichtung(richtung);
    fahrwerk.setSpeed(speed, lenkung);
    const QStringList rotation = nextTexts(fahrwerk, 12);
    QCOMPARE(rotation.at(0), leftText);
    QCOMPARE(rotation.at(3), rightText);
    QCOMPARE(rotation.at(6), leftText);
    QCOMPARE(rotation.at(9), rightText);
}

void TestFahrwerk::unknownLettersChangeNothing_data()
{
    QTest::addColumn<bool>("drivingBefore");
    QTest::addColumn<char>("letter");
    QTest::addColumn<QString>("leftText");

    QTest::newRow("x while driving forward") << true << 'x' << "K90";
    QTest::newRow("V while driving forward") << true << 'V' << "K90";
    QTest::newRow("S while driving forward") << true << 'S' << "K90";
    QTest::newRow("l while driving forward") << true << 'l' << "K90";
    QTest::newRow("x while stopped") << false << 'x' << "K0Q0";
    QTest::newRow("V while stopped") << false << 'V' << "K0Q0";
}

void TestFahrwerk::unknownLettersChangeNothing()
{
    QFETCH(bool, drivingBefore);
    QFETCH(char, letter);
    QFETCH(QString, leftText);

    drive::Fahrwerk fahrwerk;
    fahrwerk.setAktiv(true);
    fahrwerk.setSpeed(90, 0);
    if (drivingBefore)
        fahrwerk.setRichtung('v');
    fahrwerk.setRichtung(letter);
    QCOMPARE(nextTexts(fahrwerk, 1), QStringList{leftText});
}

void TestFahrwerk::stopGivesStopTextWhateverTheSpeeds()
{
    drive::Fahrwerk fahrwerk;
    fahrwerk.setAktiv(true);
    fahrwerk.setRichtung('v');
    fahrwerk.setSpeed(200, -255);
    QCOMPARE(nextTexts(fahrwerk, 1), QStringList{"K-310"});
    fahrwerk.setRichtung('s');
    QCOMPARE(nextTexts(fahrwerk, 3), (QStringList{"W0", "H0", "K0Q0"}));
    // The speeds survive the stop: driving on resumes with them.
    fahrwerk.setRichtung('v');
    QCOMPARE(nextTexts(fahrwerk, 3), (QStringList{"A1", "B1", "K-310"}));
}

void TestFahrwerk::hornAndHazardSteps()
{
    drive::Fahrwerk fahrwerk;
    fahrwerk.setAktiv(true);
    fahrwerk.setHupe(true);
    fahrwerk.setWarnblink(true);
    QCOMPARE(nextTexts(fahrwerk, 12),
             (QStringList{"K0Q0", "W1", "H1", "K0Q0", "A1", "B1",
                          "K0Q0", "W1", "H1", "K0Q0", "A1", "T1"}));
    fahrwerk.setHupe(false);
    QCOMPARE(nextTexts(fahrwerk, 3), (QStringList{"K0Q0", "W1", "H0"}));
    fahrwerk.setWarnblink(false);
    QCOMPARE(nextTexts(fahrwerk, 6), (QStringList{"K0Q0", "A1", "B1", "K0Q0", "W0", "H0"}));
}

void TestFahrwerk::requestStepsFollowTheirFlags_data()
{
    QTest::addColumn<bool>("abstand");
    QTest::addColumn<bool>("batterie");
    QTest::addColumn<bool>("temperatur");
    QTest::addColumn<QStringList>("requestSteps"); // steps 5, 6, 11, 12

    QTest::newRow("all on") << true << true << true << QStringList{"A1", "B1", "A1", "T1"};
    QTest::newRow("distance off") << false << true << true << QStringList{"", "B1", "", "T1"};
    QTest::newRow("battery off") << true << false << true << QStringList{"A1", "", "A1", "T1"};
    QTest::newRow("temperature off") << true << true << false << QStringList{"A1", "B1", "A1", ""};
    QTest::newRow("all off") << false << false << false << QStringList{"", "", "", ""};
}

void TestFahrwerk::requestStepsFollowTheirFlags()
{
    QFETCH(bool, abstand);
    QFETCH(bool, batterie);
    QFETCH(bool, temperatur);
    QFETCH(QStringList, requestSteps);

    drive::Fahrwerk fahrwerk;
    fahrwerk.setAktiv(true);
    fahrwerk.setAbstandAbfrage(abstand);
    fahrwerk.setBatterieAbfrage(batterie);
    fahrwerk.setTemperaturAbfrage(temperatur);
    const QStringList rotation = nextTexts(fahrwerk, 12);
    QCOMPARE((QStringList{rotation.at(4), rotation.at(5), rotation.at(10), rotation.at(11)}),
             requestSteps);
}

// Switching on switches all three requests on again, whatever they were.
void TestFahrwerk::reactivationKeepsHornHazardAndRestoresRequests()
{
    drive::Fahrwerk fahrwerk;
    fahrwerk.setAktiv(true);
    fahrwerk.setHupe(true);
    fahrwerk.setWarnblink(true);
    fahrwerk.setAbstandAbfrage(false);
    fahrwerk.setBatterieAbfrage(false);
    fahrwerk.setTemperaturAbfrage(false);
    fahrwerk.setAktiv(false);
    QCOMPARE(fahrwerk.getCommand(), std::string());
    fahrwerk.setAktiv(true);
    QCOMPARE(nextTexts(fahrwerk, 12),
             (QStringList{"K0Q0", "W1", "H1", "K0Q0", "A1", "B1",
                          "K0Q0", "W1", "H1", "K0Q0", "A1", "T1"}));
}

QTEST_APPLESS_MAIN(TestFahrwerk)
#include "test_fahrwerk.moc"
