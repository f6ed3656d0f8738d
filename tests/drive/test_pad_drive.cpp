#include "drive/pad_drive.h"
#include "drive/pad_jog.h"

#include <QtTest>

namespace {

using Stop = drive::PadIntent::Stop;

// Readings separated by "|", each a list of controls: x / y with the left
// stick's deflection in percent (up and left negative), Y the right stick's, t
// held trigger (t50: at 50 %), a, b, l(eft shoulder), r(ight shoulder), u / d
// the d-pad up / down; "!" disarms instead of a reading.
template <typename Mapping>
auto play(Mapping &drive, const QString &script)
{
    decltype(drive.next(platform::PadState())) intent;
    for (const QString &reading : script.split(QLatin1Char('|'))) {
        platform::PadState pad;
        if (reading.trimmed() == QLatin1String("!")) {
            drive.disarm();
            continue;
        }
        for (const QString &control : reading.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const auto percent = [&](double fallback) {
                return control.size() > 1 ? qRound(control.mid(1).toDouble() * platform::kPadAxisMax / 100)
                                          : qRound(fallback * platform::kPadAxisMax / 100);
            };
            switch (control.at(0).toLatin1()) {
            case 'x': pad.leftX = percent(0); break;
            case 'y': pad.leftY = percent(0); break;
            case 'Y': pad.rightY = percent(0); break;
            case 'u': pad.dpadUp = true; break;
            case 'd': pad.dpadDown = true; break;
            case 't': pad.rightTrigger = percent(100); break;
            case 'a': pad.a = true; break;
            case 'b': pad.b = true; break;
            case 'l': pad.leftShoulder = true; break;
            case 'r': pad.rightShoulder = true; break;
            default: qFatal("unknown control %s", qPrintable(control));
            }
        }
        intent = drive.next(pad);
    }
    return intent;
}

} // namespace

class TestPadDrive : public QObject {
    Q_OBJECT

private slots:
    void readings_data();
    void readings();
    void jogReadings_data();
    void jogReadings();
};

void TestPadDrive::readings_data()
{
    QTest::addColumn<bool>("deadMan");
    QTest::addColumn<int>("deadZone");
    QTest::addColumn<QString>("script");
    QTest::addColumn<Stop>("stop");
    QTest::addColumn<bool>("driving");
    QTest::addColumn<char>("richtung");
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("steering");
    QTest::addColumn<bool>("horn");

    const auto row = [](const char *name, bool deadMan, int deadZone, const char *script, Stop stop, bool driving,
                        char richtung, int speed, int steering, bool horn) {
        QTest::newRow(name) << deadMan << deadZone << QString::fromLatin1(script) << stop << driving << richtung
                            << speed << steering << horn;
    };
    row("trigger pressed, stick half forward", true, 15, " | t y-50", Stop::None, true, 'v', 128, 0, false);
    row("full forward", true, 15, " | t y-100", Stop::None, true, 'v', 255, 0, false);
    row("full backward", true, 15, " | t y100", Stop::None, true, 'r', 255, 0, false);
    row("at the dead zone's edge: none", true, 15, " | t y-15", Stop::None, true, 's', 0, 0, false);
    row("just beyond the dead zone", true, 15, " | t y-15.01", Stop::None, true, 'v', 38, 0, false);
    row("wider dead zone", true, 30, " | t y-25 x25", Stop::None, true, 's', 0, 0, false);
    row("dead zone beyond 50 % is 50 %", true, 80, " | t y-55", Stop::None, true, 'v', 140, 0, false);
    row("steering right half", true, 15, " | t y-100 x50", Stop::None, true, 'v', 255, 50, false);
    row("steering within the dead zone", true, 15, " | t y-100 x-10", Stop::None, true, 'v', 255, 0, false);
    row("left shoulder: sharp left", true, 15, " | t y-50 l", Stop::None, true, 'v', 128, -255, false);
    row("right shoulder: sharp right", true, 15, " | t r", Stop::None, true, 's', 0, 255, false);
    row("both shoulders: the stick steers", true, 15, " | t x-50 l r", Stop::None, true, 's', 0, -50, false);
    row("trigger at half way is not held", true, 15, " | t50 y-50", Stop::None, false, 's', 0, 0, false);
    row("trigger held before the pad acted", true, 15, "t y-50", Stop::None, false, 's', 0, 0, false);
    row("trigger released: stop", true, 15, " | t y-50 | y-50", Stop::DeadMan, false, 's', 0, 0, false);
    row("trigger pressed again drives", true, 15, " | t y-50 | y-50 | t y-50", Stop::None, true, 'v', 128, 0, false);
    row("B stops", true, 15, " | t y-50 | t y-50 b", Stop::Button, false, 's', 0, 0, false);
    row("B held stops once", true, 15, " | t y-50 | t b | t b", Stop::None, false, 's', 0, 0, false);
    row("after B the trigger must be pressed again", true, 15, " | t y-50 | t b | t y-50", Stop::None, false, 's', 0,
        0, false);
    row("B stops also while the pad is idle", true, 15, " | b", Stop::Button, false, 's', 0, 0, false);
    row("A sounds the horn without the trigger", true, 15, " | a", Stop::None, false, 's', 0, 0, true);
    row("disarmed: a held trigger must be pressed again", true, 15, " | t y-50 | ! | t y-50", Stop::None, false, 's',
        0, 0, false);
    row("no dead-man: a resting stick arms", false, 15, " | y-50", Stop::None, true, 'v', 128, 0, false);
    row("no dead-man: a deflected stick must rest first", false, 15, "y-50", Stop::None, false, 's', 0, 0, false);
    row("no dead-man: the trigger does nothing", false, 15, " | t y-50 | y-50", Stop::None, true, 'v', 128, 0, false);
    row("no dead-man: after B the stick must rest", false, 15, " | y-50 | y-50 b | y-50", Stop::None, false, 's', 0,
        0, false);
    row("no dead-man: rested again drives", false, 15, " | y-50 | b | | y50", Stop::None, true, 'r', 128, 0, false);
}

void TestPadDrive::readings()
{
    QFETCH(bool, deadMan);
    QFETCH(int, deadZone);
    QFETCH(QString, script);
    drive::PadDrive drive;
    drive.setSettings({deadZone, deadMan});
    const drive::PadIntent intent = play(drive, script);
    QTEST(intent.stop, "stop");
    QTEST(intent.driving, "driving");
    QCOMPARE(drive.armed(), intent.driving);
    QTEST(intent.richtung, "richtung");
    QTEST(intent.speed, "speed");
    QTEST(intent.steering, "steering");
    QTEST(intent.horn, "horn");
}

// The jog arms, stops and keeps its dead zone as the drive does (the rows
// above); these are what it makes of the sticks and buttons.
void TestPadDrive::jogReadings_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<Stop>("stop");
    QTest::addColumn<bool>("jogging");
    QTest::addColumn<QList<double>>("shares"); // forward, left, up, pitch, gripper
    const auto row = [](const char *name, const char *script, Stop stop, bool jogging, QList<double> shares) {
        QTest::newRow(name) << QString::fromLatin1(script) << stop << jogging << shares;
    };
    row("left stick forward half, to the right", " | t y-50 x25", Stop::None, true, {0.5, -0.25, 0, 0, 0});
    row("right stick up full", " | t Y-100", Stop::None, true, {0, 0, 1, 0, 0});
    row("right stick within the dead zone", " | t Y10", Stop::None, true, {0, 0, 0, 0, 0});
    row("shoulders tilt the hand", " | t r", Stop::None, true, {0, 0, 0, 1, 0});
    row("both shoulders cancel", " | t l r", Stop::None, true, {0, 0, 0, 0, 0});
    row("d-pad down closes the gripper", " | t d", Stop::None, true, {0, 0, 0, 0, -1});
    row("trigger released: stop, nothing held", " | t y-50 | y-50 u", Stop::DeadMan, false, {0, 0, 0, 0, 0});
    row("B stops", " | t Y-50 | t Y-50 b", Stop::Button, false, {0, 0, 0, 0, 0});
    row("trigger held before the jog took the pad", "t y-50", Stop::None, false, {0, 0, 0, 0, 0});
}

void TestPadDrive::jogReadings()
{
    QFETCH(QString, script);
    QFETCH(QList<double>, shares);
    drive::PadJog jog;
    const drive::PadJogIntent intent = play(jog, script);
    QTEST(intent.stop, "stop");
    QTEST(intent.jogging, "jogging");
    const QList<double> got{intent.forward, intent.left, intent.up, intent.pitch, intent.gripper};
    for (int i = 0; i < got.size(); ++i)
        QVERIFY2(std::abs(got[i] - shares[i]) < 1e-4, qPrintable(QString::number(i)));
}

QTEST_APPLESS_MAIN(TestPadDrive)
#include "test_pad_drive.moc"
