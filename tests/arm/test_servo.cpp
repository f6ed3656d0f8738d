#include "arm/servo.h"
#include "support/message_recorder.h"

#include <QtTest>

namespace {
const QString kKanal = QStringLiteral("Fehler: pKanal falsch!");
const QString kMin = QStringLiteral("Fehler: pLimitMin falsch!");
const QString kMax = QStringLiteral("Fehler: pLimitMax falsch!");
const QString kPos = QStringLiteral("Fehler: pPosition falsch!!");
const QString kSpeed = QStringLiteral("Fehler: Speed zu groß!");
} // namespace

class TestServo : public QObject {
    Q_OBJECT

private slots:
    void constructorStartsAtCentreWithoutSpeed();
    void constructorChecks_data();
    void constructorChecks();
    void setKanal_data();
    void setKanal();
    void setPosition_data();
    void setPosition();
    void setSpeed_data();
    void setSpeed();
    void setLimit_data();
    void setLimit();
    void warningsHaveOneYesButtonAndWarningIcon();
    void getCommand_data();
    void getCommand();
};

void TestServo::constructorStartsAtCentreWithoutSpeed()
{
    MessageRecorder recorder;
    arm::Servo servo(16, 751, 2251);
    QCOMPARE(servo.getKanal(), 16);
    QCOMPARE(servo.getLimitMin(), 751);
    QCOMPARE(servo.getLimitMax(), 2251);
    QCOMPARE(servo.getPosition(), 1500);
    QCOMPARE(servo.getSpeed(), 0);
    QCOMPARE(servo.getCommand(), std::string("#16P1500"));
    QVERIFY(recorder.texts().isEmpty());
}

void TestServo::constructorChecks_data()
{
    QTest::addColumn<int>("kanal");
    QTest::addColumn<int>("limitMin");
    QTest::addColumn<int>("limitMax");
    QTest::addColumn<QStringList>("warnings");
    QTest::addColumn<int>("position");

    QTest::newRow("valid") << 20 << 1175 << 1825 << QStringList() << 1500;
    QTest::newRow("lowest bound 750") << 0 << 750 << 2500 << QStringList() << 1500;
    QTest::newRow("500 refused at construction") << 0 << 500 << 2500 << QStringList{kMin} << 1500;
    QTest::newRow("channel 32") << 32 << 800 << 2000 << QStringList{kKanal} << 1500;
    QTest::newRow("channel -1") << -1 << 800 << 2000 << QStringList{kKanal} << 1500;
    QTest::newRow("upper above 2500") << 1 << 800 << 2501 << QStringList{kMax} << 1500;
    QTest::newRow("limits crossed, lower first") << 40 << 2000 << 1000
                                                 << QStringList{kKanal, kMin, kMax} << 1500;
    // The start position is not checked against the limits.
    QTest::newRow("position outside limits") << 3 << 1600 << 2000 << QStringList() << 1500;
}

void TestServo::constructorChecks()
{
    QFETCH(int, kanal);
    QFETCH(int, limitMin);
    QFETCH(int, limitMax);
    QFETCH(QStringList, warnings);
    QFETCH(int, position);
    MessageRecorder recorder;
    arm::Servo servo(kanal, limitMin, limitMax);
    QCOMPARE(recorder.texts(), warnings);
    QCOMPARE(servo.getPosition(), position);
    QCOMPARE(servo.getSpeed(), 0);
}

void TestServo::setKanal_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("expected");
    QTest::addColumn<bool>("warns");
    QTest::newRow("0") << 0 << 0 << false;
    QTest::newRow("31") << 31 << 31 << false;
    QTest::newRow("32") << 32 << 16 << true;
    QTest::newRow("-1") << -1 << 16 << true;
    QTest::newRow("INT_MIN") << std::numeric_limits<int>::min() << 16 << true;
}

void TestServo::setKanal()
{
    QFETCH(int, value);
    QFETCH(int, expected);
    QFETCH(bool, warns);
    arm::Servo servo(16, 751, 2251);
    MessageRecorder recorder;
    servo.setKanal(value);
    QCOMPARE(servo.getKanal(), expected);
    QCOMPARE(recorder.texts(), warns ? QStringList{kKanal} : QStringList());
}

void TestServo::setPosition_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("expected");
    QTest::addColumn<bool>("warns");
    QTest::newRow("lower limit") << 1000 << 1000 << false;
    QTest::newRow("upper limit") << 2000 << 2000 << false;
    QTest::newRow("one below") << 999 << 1500 << true;
    QTest::newRow("one above") << 2001 << 1500 << true;
}

void TestServo::setPosition()
{
    QFETCH(int, value);
    QFETCH(int, expected);
    QFETCH(bool, warns);
    arm::Servo servo(0, 1000, 2000);
    MessageRecorder recorder;
    servo.setPosition(value);
    QCOMPARE(servo.getPosition(), expected);
    QCOMPARE(recorder.texts(), warns ? QStringList{kPos} : QStringList());
}

void TestServo::setSpeed_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("speed");
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("warns");
    QTest::newRow("65535 switches on") << 0 << 65535 << 65535 << "#5P1500S65535" << false;
    QTest::newRow("1 switches on") << 0 << 1 << 1 << "#5P1500S1" << false;
    QTest::newRow("65536 keeps speed") << 300 << 65536 << 300 << "#5P1500S300" << true;
    QTest::newRow("65536 keeps off") << 0 << 65536 << 0 << "#5P1500" << true;
    QTest::newRow("0 switches off") << 300 << 0 << 0 << "#5P1500" << false;
    QTest::newRow("-5 switches off") << 300 << -5 << 0 << "#5P1500" << false;
}

void TestServo::setSpeed()
{
    QFETCH(int, before);
    QFETCH(int, value);
    QFETCH(int, speed);
    QFETCH(QString, command);
    QFETCH(bool, warns);
    arm::Servo servo(5, 800, 2000);
    servo.setSpeed(before);
    MessageRecorder recorder;
    servo.setSpeed(value);
    QCOMPARE(servo.getSpeed(), speed);
    QCOMPARE(QString::fromStdString(servo.getCommand()), command);
    QCOMPARE(recorder.texts(), warns ? QStringList{kSpeed} : QStringList());
}

void TestServo::setLimit_data()
{
    QTest::addColumn<int>("startMin");
    QTest::addColumn<int>("startMax");
    QTest::addColumn<int>("startPos");
    QTest::addColumn<int>("newMin");
    QTest::addColumn<int>("newMax");
    QTest::addColumn<int>("limitMin");
    QTest::addColumn<int>("limitMax");
    QTest::addColumn<int>("position");
    QTest::addColumn<QStringList>("warnings");

    QTest::newRow("equal limits: both refused, lower first")
        << 1000 << 2000 << 1500 << 600 << 600 << 1000 << 2000 << 1500 << QStringList{kMin, kMax};
    QTest::newRow("lower too low: upper stored, position pulled down")
        << 1000 << 2400 << 2200 << 400 << 2000 << 1000 << 2000 << 2000 << QStringList{kMin};
    QTest::newRow("raised lower limit pulls position up")
        << 1000 << 2000 << 1500 << 1600 << 2000 << 1600 << 2000 << 1600 << QStringList();
    QTest::newRow("full range accepted") << 1000 << 2000 << 1500 << 500 << 2500 << 500 << 2500 << 1500
                                         << QStringList();
    QTest::newRow("upper above 2500") << 1000 << 2000 << 1500 << 900 << 2501 << 900 << 2000 << 1500
                                      << QStringList{kMax};
    QTest::newRow("inconsistent pair stored")
        << 1000 << 2000 << 1500 << 400 << 900 << 1000 << 900 << 900 << QStringList{kMin};
}

void TestServo::setLimit()
{
    QFETCH(int, startMin);
    QFETCH(int, startMax);
    QFETCH(int, startPos);
    QFETCH(int, newMin);
    QFETCH(int, newMax);
    QFETCH(int, limitMin);
    QFETCH(int, limitMax);
    QFETCH(int, position);
    QFETCH(QStringList, warnings);
    arm::Servo servo(0, 750, 2500);
    servo.setLimit(startMin, startMax);
    servo.setPosition(startPos);
    MessageRecorder recorder;
    servo.setLimit(newMin, newMax);
    QCOMPARE(recorder.texts(), warnings);
    QCOMPARE(servo.getLimitMin(), limitMin);
    QCOMPARE(servo.getLimitMax(), limitMax);
    QCOMPARE(servo.getPosition(), position);
}

void TestServo::warningsHaveOneYesButtonAndWarningIcon()
{
    arm::Servo servo(0, 800, 2000);
    MessageRecorder recorder;
    servo.setPosition(100);
    servo.setKanal(99);
    servo.setSpeed(70000);
    QCOMPARE(recorder.entries().size(), size_t(3));
    for (const MessageRecorder::Entry &entry : recorder.entries()) {
        QCOMPARE(entry.kind, msg::Kind::Warning);
        QCOMPARE(entry.buttons, msg::Buttons::Yes);
    }
}

void TestServo::getCommand_data()
{
    QTest::addColumn<int>("kanal");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("speed");
    QTest::addColumn<QString>("command");
    QTest::newRow("channel 5 at 500") << 5 << 500 << 0 << "#5P500";
    QTest::newRow("with speed 1") << 5 << 500 << 1 << "#5P500S1";
    QTest::newRow("channel 0 at 2250 speed 300") << 0 << 2250 << 300 << "#0P2250S300";
    QTest::newRow("channel 31 at 2500") << 31 << 2500 << 0 << "#31P2500";
}

void TestServo::getCommand()
{
    QFETCH(int, kanal);
    QFETCH(int, position);
    QFETCH(int, speed);
    QFETCH(QString, command);
    arm::Servo servo(kanal, 750, 2500);
    servo.setLimit(500, 2500);
    servo.setPosition(position);
    servo.setSpeed(speed);
    QCOMPARE(QString::fromStdString(servo.getCommand()), command);
}

QTEST_APPLESS_MAIN(TestServo)
#include "test_servo.moc"
