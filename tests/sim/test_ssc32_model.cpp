#include "ssc32_model.h"

#include <QtTest>

class TestSsc32Model : public QObject {
    Q_OBJECT

private slots:
    void acceptsCommandForms_data();
    void acceptsCommandForms();
    void dropsLinesItCannotParse_data();
    void dropsLinesItCannotParse();
    void movesOverTime_data();
    void movesOverTime();
    void timeTermMakesGroupArriveTogether();
    void firstPulseOfChannelJumpsWhateverTheSpeed();
    void moveStatusQuery_data();
    void moveStatusQuery();
    void moveStatusQueryCanBeIgnored();
    void pulseQueryAnswersOneByte_data();
    void pulseQueryAnswersOneByte();
    void pulseQueriesChainInOneLine();
    void answersVersion_data();
    void answersVersion();
};

// A fresh channel jumps to its first pulse, so every row lands at once.
void TestSsc32Model::acceptsCommandForms_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("pulse");

    QTest::newRow("console fragment") << "#17P1800" << 17 << 1800;
    QTest::newRow("first fragment of a group") << "#17P1800#20P1300S500" << 17 << 1800;
    QTest::newRow("second fragment with speed") << "#17P1800#20P1300S500" << 20 << 1300;
    QTest::newRow("lower case") << "#5p1600s300" << 5 << 1600;
    QTest::newRow("spaces between terms") << "# 5 P 1600 S 300" << 5 << 1600;
    QTest::newRow("time term for the group") << "#3P900#4P2000T1000" << 4 << 2000;
    QTest::newRow("lower-case time term") << "#3p900 t1000" << 3 << 900;
    QTest::newRow("channel 0") << "#0P1500" << 0 << 1500;
    QTest::newRow("channel 31") << "#31P2500" << 31 << 2500;
    QTest::newRow("pulse above range is clamped") << "#8P3000" << 8 << 2500;
    QTest::newRow("pulse below range is clamped") << "#8P100" << 8 << 500;
}

void TestSsc32Model::acceptsCommandForms()
{
    QFETCH(QString, line);
    QFETCH(int, channel);
    QFETCH(int, pulse);

    sim::Ssc32Model arm;
    QCOMPARE(arm.handleLine(line.toStdString()), std::string());
    QCOMPARE(arm.position(channel), pulse);
    QCOMPARE(arm.target(channel), pulse);
}

void TestSsc32Model::dropsLinesItCannotParse_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("channel");

    QTest::newRow("channel 32 does not exist") << "#32P1500" << 0;
    QTest::newRow("fragment without pulse") << "#5S300" << 5;
    QTest::newRow("pulse without digits") << "#5P" << 5;
    QTest::newRow("pulse without channel") << "P1500" << 0;
    QTest::newRow("negative channel") << "#-1P1500" << 1;
    QTest::newRow("unknown letter after a good fragment") << "#5P1500X" << 5;
    QTest::newRow("good fragment before a bad one") << "#5P1500#40P1500" << 5;
    QTest::newRow("time term without digits") << "#5P1500T" << 5;
}

void TestSsc32Model::dropsLinesItCannotParse()
{
    QFETCH(QString, line);
    QFETCH(int, channel);

    sim::Ssc32Model arm;
    QCOMPARE(arm.handleLine(line.toStdString()), std::string());
    QVERIFY(!arm.inUse(channel));
    QCOMPARE(arm.position(channel), 0);
}

// Channel 5 starts at 1000 µs; the row's command moves it on for elapsedMs.
void TestSsc32Model::movesOverTime_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("elapsedMs");
    QTest::addColumn<int>("expected");

    QTest::newRow("speed, halfway") << "#5P2000S500" << 1000 << 1500;
    QTest::newRow("speed, arrived") << "#5P2000S500" << 2000 << 2000;
    QTest::newRow("speed, no overshoot") << "#5P2000S500" << 5000 << 2000;
    QTest::newRow("speed, moving down") << "#5P500S250" << 1000 << 750;
    QTest::newRow("no speed jumps") << "#5P2000" << 0 << 2000;
    QTest::newRow("time term") << "#5P2000T4000" << 1000 << 1250;
    QTest::newRow("time term longer than speed needs") << "#5P2000S2000T4000" << 2000 << 1500;
    QTest::newRow("speed slower than time term") << "#5P2000S100T1000" << 5000 << 1500;
}

void TestSsc32Model::movesOverTime()
{
    QFETCH(QString, command);
    QFETCH(int, elapsedMs);
    QFETCH(int, expected);

    sim::Ssc32Model arm;
    arm.handleLine("#5P1000");
    arm.handleLine(command.toStdString());
    arm.advance(elapsedMs);
    QCOMPARE(arm.position(5), expected);
}

void TestSsc32Model::timeTermMakesGroupArriveTogether()
{
    sim::Ssc32Model arm;
    arm.handleLine("#5P1000#6P1000");
    // Channel 5 needs 2 s at its speed, so the whole group takes 2 s, not 1 s.
    arm.handleLine("#5P2000S500#6P1200T1000");

    arm.advance(1000);
    QCOMPARE(arm.position(5), 1500);
    QCOMPARE(arm.position(6), 1100);
    QVERIFY(arm.isMoving());

    arm.advance(1000);
    QCOMPARE(arm.position(5), 2000);
    QCOMPARE(arm.position(6), 1200);
    QVERIFY(!arm.isMoving());
}

void TestSsc32Model::firstPulseOfChannelJumpsWhateverTheSpeed()
{
    sim::Ssc32Model arm;
    arm.handleLine("#7P1800S10");
    QCOMPARE(arm.position(7), 1800);
    QVERIFY(!arm.isMoving());
}

// Channels 5 and 6 start at 1000 µs; the row's command moves them on for elapsedMs.
void TestSsc32Model::moveStatusQuery_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("elapsedMs");
    QTest::addColumn<QString>("reply");

    QTest::newRow("just started") << "#5P2000S500" << 0 << "+";
    QTest::newRow("almost there") << "#5P2000S500" << 1999 << "+";
    QTest::newRow("arrived") << "#5P2000S500" << 2000 << ".";
    QTest::newRow("no speed arrives at once") << "#5P2000" << 0 << ".";
    QTest::newRow("slowest joint of a group still moving") << "#5P1100S1000#6P2000S500" << 1999 << "+";
    QTest::newRow("slowest joint of a group arrived") << "#5P1100S1000#6P2000S500" << 2000 << ".";
}

void TestSsc32Model::moveStatusQuery()
{
    QFETCH(QString, command);
    QFETCH(int, elapsedMs);
    QFETCH(QString, reply);

    sim::Ssc32Model arm;
    QCOMPARE(arm.handleLine("Q"), std::string("."));
    arm.handleLine("#5P1000#6P1000");
    arm.handleLine(command.toStdString());
    arm.advance(elapsedMs);
    QCOMPARE(arm.handleLine("Q"), reply.toStdString());
    QCOMPARE(arm.handleLine("q"), reply.toStdString());
}

// As a controller that does not know it: no byte back, the rest of the line acts.
void TestSsc32Model::moveStatusQueryCanBeIgnored()
{
    sim::Ssc32Model arm;
    arm.setMoveStatusIgnored(true);
    QCOMPARE(arm.handleLine("#5P2000QVER"), std::string("SSC32-1.06XE\r"));
    QCOMPARE(arm.position(5), 2000);
}

void TestSsc32Model::pulseQueryAnswersOneByte_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("byte");

    QTest::newRow("centre") << "#9P1500" << "QP9" << 150;
    QTest::newRow("lowest pulse") << "#9P500" << "QP9" << 50;
    QTest::newRow("highest pulse") << "#9P2500" << "QP9" << 250;
    QTest::newRow("units are cut off") << "#9P1239" << "QP9" << 123;
    QTest::newRow("lower case with spaces") << "#9P1500" << "qp 9" << 150;
    QTest::newRow("channel without pulse") << "#9P1500" << "QP10" << 0;
}

void TestSsc32Model::pulseQueryAnswersOneByte()
{
    QFETCH(QString, command);
    QFETCH(QString, query);
    QFETCH(int, byte);

    sim::Ssc32Model arm;
    arm.handleLine(command.toStdString());
    QCOMPARE(arm.handleLine(query.toStdString()), std::string(1, char(byte)));
}

void TestSsc32Model::pulseQueriesChainInOneLine()
{
    sim::Ssc32Model arm;
    arm.handleLine("#1P1000#2P2000");
    arm.handleLine("#1P2000S1000");
    arm.advance(500);
    const std::string bytes{char(150), char(200)};
    QCOMPARE(arm.handleLine("QP1QP2"), bytes);
}

void TestSsc32Model::answersVersion_data()
{
    QTest::addColumn<QString>("line");

    QTest::newRow("as the console sends it") << "VER";
    QTest::newRow("lower case") << "ver";
    QTest::newRow("spaced") << " V E R ";
}

void TestSsc32Model::answersVersion()
{
    QFETCH(QString, line);

    sim::Ssc32Model arm;
    QCOMPARE(arm.handleLine(line.toStdString()), std::string("SSC32-1.06XE\r"));
}

QTEST_GUILESS_MAIN(TestSsc32Model)
#include "test_ssc32_model.moc"
