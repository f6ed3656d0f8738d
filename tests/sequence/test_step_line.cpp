#include "sequence/step_line.h"

#include <QtTest>

#include <limits>

using sequence::StepValues;

namespace {

QList<int> listOf(const StepValues &values) { return QList<int>(values.begin(), values.end()); }

QList<int> padded(QList<int> values)
{
    while (values.size() < int(sequence::kStepFields))
        values << 0;
    return values;
}

const QByteArray kCentred = "0 1500 0 1500 0 1500 0 1500 0 1500 ";

} // namespace

class TestStepLine : public QObject {
    Q_OBJECT

private slots:
    void recordsEachValueFollowedByOneSpace();
    void recordsNegativeAndExtremeValuesInPlainDecimal();
    void read_data();
    void read();
    void recordedLinesReadBack_data();
    void recordedLinesReadBack();
    void readingStopsAtTheEndOfTheView();
    void stepLines_data();
    void stepLines();
};

void TestStepLine::recordsEachValueFollowedByOneSpace()
{
    const StepValues centred{0, 1500, 0, 1500, 0, 1500, 0, 1500, 0, 1500};
    QCOMPARE(QByteArray::fromStdString(sequence::recordStepLine(centred)), kCentred);
}

void TestStepLine::recordsNegativeAndExtremeValuesInPlainDecimal()
{
    const StepValues values{-1, 2500, 65535, 500, 0, -0, std::numeric_limits<std::int32_t>::max(),
                            std::numeric_limits<std::int32_t>::min(), 7, 10};
    QCOMPARE(QByteArray::fromStdString(sequence::recordStepLine(values)),
             QByteArray("-1 2500 65535 500 0 0 2147483647 -2147483648 7 10 "));
}

void TestStepLine::read_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QList<int>>("values");

    const QList<int> centred{0, 1500, 0, 1500, 0, 1500, 0, 1500, 0, 1500};
    QTest::newRow("recorded form") << kCentred << centred;
    QTest::newRow("without the trailing space") << kCentred.chopped(1) << centred;
    QTest::newRow("tabs") << QByteArray("0\t1500\t0\t1500\t0\t1500\t0\t1500\t0\t1500") << centred;
    QTest::newRow("several spaces and CR LF")
        << QByteArray("   0    1500  0 1500 0 1500 0 1500 0   1500  \r\n") << centred;
    QTest::newRow("line ends between values")
        << QByteArray("0\r\n1500\r0\n1500\v0\f1500 0 1500 0 1500") << centred;
    QTest::newRow("six numbers") << QByteArray("10 1100 20 1200 30 1300")
                                 << padded({10, 1100, 20, 1200, 30, 1300});
    QTest::newRow("twelve numbers uses the first ten")
        << QByteArray("1 2 3 4 5 6 7 8 9 10 11 12") << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    QTest::newRow("eleventh field unreadable") << QByteArray("1 2 3 4 5 6 7 8 9 10 x")
                                               << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    QTest::newRow("third field a letter") << QByteArray("5 1500 x 1600 7 1700 8 1800 9 1900")
                                          << padded({5, 1500});
    QTest::newRow("first field a letter") << QByteArray("a 1 2 3") << padded({});
    QTest::newRow("letters glued to a number") << QByteArray("0 1500abc 0 1500 0 1500")
                                               << padded({0, 1500});
    QTest::newRow("plus signs") << QByteArray("+5 +1500 +0") << padded({5, 1500, 0});
    QTest::newRow("minus signs") << QByteArray("-5 -1500 -0") << padded({-5, -1500, 0});
    QTest::newRow("lone minus") << QByteArray("1 - 2") << padded({1});
    QTest::newRow("lone plus") << QByteArray("1 + 2") << padded({1});
    QTest::newRow("plus at the end") << QByteArray("1 +") << padded({1});
    QTest::newRow("plus then minus") << QByteArray("1 +-2 3") << padded({1});
    QTest::newRow("two minus signs") << QByteArray("1 --2 3") << padded({1});
    QTest::newRow("sign ends the previous number") << QByteArray("12-5+7 8") << padded({12, -5, 7, 8});
    QTest::newRow("decimal point") << QByteArray("1.5 2") << padded({1});
    QTest::newRow("leading zeros") << QByteArray("0007 -0012 +000") << padded({7, -12, 0});
    QTest::newRow("largest and smallest") << QByteArray("2147483647 -2147483648 1")
                                          << padded({2147483647, int(-2147483647 - 1), 1});
    QTest::newRow("overflow ends the reading with 0") << QByteArray("1 2147483648 3") << padded({1});
    QTest::newRow("negative overflow ends the reading with 0") << QByteArray("1 -2147483649 3")
                                                               << padded({1});
    QTest::newRow("thousand digits") << QByteArray("1 " + QByteArray(1000, '9') + " 3") << padded({1});
    QTest::newRow("empty line") << QByteArray() << padded({});
    QTest::newRow("only whitespace") << QByteArray(" \t\r\n ") << padded({});
    QTest::newRow("NUL byte") << QByteArray("1 \0 2", 5) << padded({1});
    QTest::newRow("bytes above 127") << QByteArray("1 \xe4\xf6 2") << padded({1});
}

void TestStepLine::read()
{
    QFETCH(QByteArray, line);
    QFETCH(QList<int>, values);
    QCOMPARE(listOf(sequence::readStepLine(std::string_view(line.constData(), size_t(line.size())))),
             values);
}

void TestStepLine::recordedLinesReadBack_data()
{
    QTest::addColumn<QList<int>>("values");
    QTest::newRow("centred") << QList<int>{0, 1500, 0, 1500, 0, 1500, 0, 1500, 0, 1500};
    QTest::newRow("negative") << QList<int>{-1, -1500, -65535, 0, -7, 2500, 1, -1, 0, -2};
    QTest::newRow("extremes") << QList<int>{2147483647, int(-2147483647 - 1), 0, 0, 0, 0, 0, 0, 0, 0};
}

void TestStepLine::recordedLinesReadBack()
{
    QFETCH(QList<int>, values);
    StepValues step{};
    std::copy(values.begin(), values.end(), step.begin());
    QCOMPARE(listOf(sequence::readStepLine(sequence::recordStepLine(step))), values);
}

void TestStepLine::readingStopsAtTheEndOfTheView()
{
    const std::string text = "1 2345 6 7 8 9 10 11 12 13";
    QCOMPARE(listOf(sequence::readStepLine(std::string_view(text).substr(0, 3))), padded({1, 2}));
    QCOMPARE(listOf(sequence::readStepLine(std::string_view(text).substr(0, 2))), padded({1}));
    QCOMPARE(listOf(sequence::readStepLine(std::string_view(text.data(), 0))), padded({}));
}

// What the player takes as a step before it plays a set.
void TestStepLine::stepLines_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("isStep");
    QTest::newRow("recorded form") << kCentred << true;
    QTest::newRow("signs, tabs, no trailing space") << QByteArray("+0\t-1 2 3 4 5 6 7 8 2147483647") << true;
    QTest::newRow("nine numbers") << QByteArray("1 2 3 4 5 6 7 8 9 ") << false;
    QTest::newRow("eleven numbers") << QByteArray("1 2 3 4 5 6 7 8 9 10 11") << false;
    QTest::newRow("text after the tenth") << QByteArray("1 2 3 4 5 6 7 8 9 10 x") << false;
    QTest::newRow("signs not apart") << QByteArray("1 2 3 4 5 6 7 8 9-10") << false;
    QTest::newRow("letters glued to a number") << QByteArray("1 2 3 4 5 6 7 8 9 10abc") << false;
    QTest::newRow("overflow") << QByteArray("1 2 3 4 5 6 7 8 9 2147483648") << false;
    QTest::newRow("empty line") << QByteArray() << false;
}

void TestStepLine::stepLines()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, isStep);
    QCOMPARE(sequence::isStepLine(std::string_view(line.constData(), size_t(line.size()))), isStep);
}

QTEST_APPLESS_MAIN(TestStepLine)
#include "test_step_line.moc"
