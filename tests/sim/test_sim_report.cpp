#include "arm_shape.h"
#include "chassis_model.h"
#include "line_assembler.h"
#include "sim_report.h"
#include "ssc32_model.h"

#include <QtTest>

class TestSimReport : public QObject {
    Q_OBJECT

private slots:
    void assemblesLines_data();
    void assemblesLines();
    void discardsOverlongLineUpToItsCarriageReturn_data();
    void discardsOverlongLineUpToItsCarriageReturn();
    void keepsLineOfMaximumLength();
    void logLineEscapesControlBytes_data();
    void logLineEscapesControlBytes();
    void statusLineShowsRobotState_data();
    void statusLineShowsRobotState();
    void statusLineShowsTheTip_data();
    void statusLineShowsTheTip();
};

void TestSimReport::assemblesLines_data()
{
    QTest::addColumn<QStringList>("pieces");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("one whole line") << QStringList{"VER\r"} << QStringList{"VER"};
    QTest::newRow("split over reads") << QStringList{"#17P18", "00S5", "00\r"} << QStringList{"#17P1800S500"};
    QTest::newRow("two lines in one read") << QStringList{"A1\rB1\r"} << QStringList{"A1", "B1"};
    QTest::newRow("line feed dropped") << QStringList{"VER\r\n", "Q\r"} << QStringList{"VER", "Q"};
    QTest::newRow("unfinished line held back") << QStringList{"K100"} << QStringList{};
    QTest::newRow("empty line") << QStringList{"\r"} << QStringList{""};
}

void TestSimReport::assemblesLines()
{
    QFETCH(QStringList, pieces);
    QFETCH(QStringList, lines);

    sim::LineAssembler assembler;
    QStringList assembled;
    for (const QString &piece : pieces) {
        for (const std::string &line : assembler.feed(piece.toStdString()))
            assembled << QString::fromStdString(line);
    }
    QCOMPARE(assembled, lines);
}

void TestSimReport::discardsOverlongLineUpToItsCarriageReturn_data()
{
    QTest::addColumn<int>("garbageLength");
    QTest::addColumn<int>("readSize");

    const int limit = int(sim::LineAssembler::kMaxLineLength);
    QTest::newRow("command starts at the limit") << limit << limit;
    QTest::newRow("one byte over, one read") << limit + 1 << limit + 1;
    QTest::newRow("one byte over, small reads") << limit + 1 << 100;
    QTest::newRow("three times over, one read") << 3 * limit + 7 << 3 * limit + 7;
    QTest::newRow("three times over, reads of the limit") << 3 * limit + 7 << limit;
}

// The tail of an overlong line, here a valid command, must not pass for a line of
// its own; the next line after its carriage return counts again.
void TestSimReport::discardsOverlongLineUpToItsCarriageReturn()
{
    QFETCH(int, garbageLength);
    QFETCH(int, readSize);

    const std::string stream = std::string(std::size_t(garbageLength), 'x') + "#3P2400\r" + "VER\r";
    sim::LineAssembler assembler;
    std::vector<std::string> assembled;
    for (std::size_t at = 0; at < stream.size(); at += std::size_t(readSize)) {
        for (const std::string &line : assembler.feed(stream.substr(at, std::size_t(readSize))))
            assembled.push_back(line);
    }
    QCOMPARE(assembled, std::vector<std::string>{"VER"});
}

void TestSimReport::keepsLineOfMaximumLength()
{
    const std::string longest(sim::LineAssembler::kMaxLineLength, 'x');
    sim::LineAssembler assembler;
    QCOMPARE(assembler.feed(longest + "\rVER\r"), (std::vector<std::string>{longest, "VER"}));
}

void TestSimReport::logLineEscapesControlBytes_data()
{
    QTest::addColumn<int>("ms");
    QTest::addColumn<QString>("link");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("expected");

    QTest::newRow("arm command") << 12 << "arm" << QByteArray("#17P1800") << "12 arm #17P1800";
    QTest::newRow("chassis command") << 4031 << "chassis" << QByteArray("K-155") << "4031 chassis K-155";
    QTest::newRow("empty line") << 0 << "arm" << QByteArray() << "0 arm ";
    QTest::newRow("control byte") << 5 << "arm" << QByteArray("\x1b" "VER") << "5 arm \\x1BVER";
    QTest::newRow("high byte") << 5 << "arm" << QByteArray("\xfc") << "5 arm \\xFC";
    QTest::newRow("backslash itself") << 5 << "arm" << QByteArray("a\\b") << "5 arm a\\x5Cb";
}

void TestSimReport::logLineEscapesControlBytes()
{
    QFETCH(int, ms);
    QFETCH(QString, link);
    QFETCH(QByteArray, line);
    QFETCH(QString, expected);

    QCOMPARE(QString::fromStdString(sim::logLine(ms, link.toStdString(), line.toStdString())), expected);
}

void TestSimReport::statusLineShowsRobotState_data()
{
    QTest::addColumn<QString>("part");

    QTest::newRow("time") << "2.5 s |";
    QTest::newRow("joint at rest") << "#17=1800";
    QTest::newRow("moving joint with its target") << "#5=1500>2000";
    QTest::newRow("tracks with direction") << "tracks L+120 R-50";
    QTest::newRow("horn") << "horn on";
    QTest::newRow("hazard") << "hazard off";
    QTest::newRow("telemetry records") << "| A60 B81 T22";
}

void TestSimReport::statusLineShowsRobotState()
{
    QFETCH(QString, part);

    sim::Ssc32Model arm;
    arm.handleLine("#17P1800#5P1000");
    arm.handleLine("#5P2000S1000");
    arm.advance(500);
    sim::ChassisModel chassis;
    chassis.handleLine("K120R50");
    chassis.handleLine("H1");

    const sim::ArmShape shape(arm::ArmProfile{}, {16, 17, 18, 19, 20});
    const QString line = QString::fromStdString(sim::statusLine(2500, arm, shape, chassis));
    QVERIFY2(line.contains(part), qPrintable(line));
    QVERIFY(!line.contains("#0="));
}

void TestSimReport::statusLineShowsTheTip_data()
{
    QTest::addColumn<QString>("commands"); // lines separated by "|", then 500 ms pass
    QTest::addColumn<QString>("part");
    const QString centre = QStringLiteral("#16P1500#17P1500#18P1500#19P1500#20P1500");
    QTest::newRow("centre pose") << centre << "| tip x 287.3 y 0.0 z 213.4 |";
    QTest::newRow("Basis at 90°: to the left") << centre + "|#16P2500" << "tip x 0.0 y 287.3 z 213.4";
    QTest::newRow("half way up a timed move, unrounded") << centre + "|#19P2500T1000" << "tip x 258.0 y 0.0 z 284.1";
    QTest::newRow("a joint not yet commanded") << "#16P1500#17P1500" << "| tip - |";
}

void TestSimReport::statusLineShowsTheTip()
{
    QFETCH(QString, commands);
    QFETCH(QString, part);
    sim::Ssc32Model arm;
    for (const QString &line : commands.split(QLatin1Char('|')))
        arm.handleLine(line.toStdString());
    arm.advance(500);
    const QString line = QString::fromStdString(
        sim::statusLine(500, arm, sim::ArmShape(arm::ArmProfile{}, {16, 17, 18, 19, 20}), sim::ChassisModel()));
    QVERIFY2(line.contains(part), qPrintable(line));
}

QTEST_GUILESS_MAIN(TestSimReport)
#include "test_sim_report.moc"
