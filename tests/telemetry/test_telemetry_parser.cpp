#include "telemetry/telemetry_parser.h"

#include <QtTest>

using telemetry::FahrwerkAntwortParser;
using telemetry::TelemetryItem;

namespace {

// One word per item: "ID", "A42" (centimetres), "B75" (tenths), "T031" (digits).
QString describe(const std::vector<TelemetryItem> &items)
{
    QStringList words;
    for (const TelemetryItem &item : items) {
        switch (item.kind) {
        case TelemetryItem::Kind::Identification: words << "ID"; break;
        case TelemetryItem::Kind::Distance: words << "A" + QString::number(item.value); break;
        case TelemetryItem::Kind::Battery: words << "B" + QString::number(item.value); break;
        case TelemetryItem::Kind::Temperature: words << "T" + QString::fromStdString(item.digits); break;
        }
    }
    return words.join(' ');
}

std::string bytes(const QByteArray &data) { return data.toStdString(); }

} // namespace

class TestTelemetryParser : public QObject {
    Q_OBJECT

private slots:
    void receive_data();
    void receive();
    void everyByteValueIsSurvived();
    void floodWithoutCarriageReturnStaysBounded();
    void unfinishedRecordSurvivesTheCap();
    void cutStartsAtARecordBoundary();
    void endOfTextEndsARecord();
    void passInsideAnIdentificationBoxTakesTheWholeBuffer();
    void formatTenths_data();
    void formatTenths();
};

void TestTelemetryParser::receive_data()
{
    QTest::addColumn<QByteArrayList>("pieces");
    QTest::addColumn<QStringList>("itemsPerPiece");

    QTest::newRow("record split over two pieces") << QByteArrayList{"A4", "2\r"} << QStringList{"", "A42"};
    QTest::newRow("three records in one piece")
        << QByteArrayList{"A042\rB75\rT031\r"} << QStringList{"A42 B75 T031"};
    QTest::newRow("identification then distance")
        << QByteArrayList{"VELMO-2007\rA10\r"} << QStringList{"ID A10"};
    QTest::newRow("two identifications")
        << QByteArrayList{"VELMO-2007\rVELMO-2007\r"} << QStringList{"ID ID"};
    QTest::newRow("identification inside a record")
        << QByteArrayList{"A1VELMO-2007\r2\r"} << QStringList{"ID A12"};
    QTest::newRow("identification revealed by removing another")
        << QByteArrayList{"VELMO-VELMO-2007\r2007\r"} << QStringList{"ID ID"};
    QTest::newRow("identification split over pieces")
        << QByteArrayList{"VELMO-", "2007\r"} << QStringList{"", "ID"};
    QTest::newRow("identifications come before records")
        << QByteArrayList{"B70\rVELMO-2007\r"} << QStringList{"ID B70"};
    QTest::newRow("CR LF waits for a later CR")
        << QByteArrayList{"A12\r\n", "B80\r"} << QStringList{"", "A12 B80"};
    QTest::newRow("sign ignored") << QByteArrayList{"A-12\r"} << QStringList{"A12"};
    QTest::newRow("decimal point and space ignored") << QByteArrayList{"B7.5 \r"} << QStringList{"B75"};
    QTest::newRow("decimal comma ignored") << QByteArrayList{"B7,5\r"} << QStringList{"B75"};
    QTest::newRow("NUL byte ignored") << QByteArrayList{QByteArray("A4\0" "2\r", 5)} << QStringList{"A42"};
    QTest::newRow("record letter inside a record") << QByteArrayList{"A12B34\r"} << QStringList{"A1234"};
    QTest::newRow("leading zeros of distance dropped") << QByteArrayList{"A007\r"} << QStringList{"A7"};
    QTest::newRow("leading zeros of temperature kept") << QByteArrayList{"T007\r"} << QStringList{"T007"};
    QTest::newRow("distance without digits skipped") << QByteArrayList{"A\rB75\r"} << QStringList{"B75"};
    QTest::newRow("battery without digits skipped") << QByteArrayList{"B-\rA3\r"} << QStringList{"A3"};
    QTest::newRow("temperature without digits skipped") << QByteArrayList{"T\r"} << QStringList{""};
    QTest::newRow("largest distance") << QByteArrayList{"A2147483647\r"} << QStringList{"A2147483647"};
    QTest::newRow("distance beyond 32 bits skipped")
        << QByteArrayList{"A2147483648\rA7\r"} << QStringList{"A7"};
    QTest::newRow("battery beyond 32 bits skipped") << QByteArrayList{"B99999999999\r"} << QStringList{""};
    QTest::newRow("temperature beyond 32 bits kept as text")
        << QByteArrayList{"T99999999999\r"} << QStringList{"T99999999999"};
    QTest::newRow("noise between records skipped")
        << QByteArrayList{"\n xyz\x01!A5\r\n\rz9\rT30\r"} << QStringList{"A5 T30"};
    QTest::newRow("lower-case letters start no record") << QByteArrayList{"a5\rb6\rt7\r"} << QStringList{""};
    QTest::newRow("empty piece") << QByteArrayList{""} << QStringList{""};
    QTest::newRow("lone carriage return") << QByteArrayList{"\r"} << QStringList{""};
    QTest::newRow("same record twice parsed twice")
        << QByteArrayList{"A5\r", "A5\r"} << QStringList{"A5", "A5"};
}

void TestTelemetryParser::receive()
{
    QFETCH(QByteArrayList, pieces);
    QFETCH(QStringList, itemsPerPiece);

    FahrwerkAntwortParser parser;
    QStringList seen;
    for (const QByteArray &piece : pieces)
        seen << describe(parser.receive(bytes(piece)));
    QCOMPARE(seen, itemsPerPiece);
    if (pieces.last().endsWith('\r'))
        QCOMPARE(parser.pending(), std::string());
}

void TestTelemetryParser::everyByteValueIsSurvived()
{
    QByteArray all;
    for (int value = 0; value < 256; ++value)
        all.append(char(value));
    FahrwerkAntwortParser parser;
    // 'A' (65) opens a record that runs to the end of the text without a digit.
    QCOMPARE(describe(parser.receive(bytes(all + "\r"))), QString());
    QVERIFY(parser.pending().empty());
    QCOMPARE(describe(parser.receive("B81\r")), QString("B81"));
}

void TestTelemetryParser::floodWithoutCarriageReturnStaysBounded()
{
    FahrwerkAntwortParser parser;
    const std::string piece(1024, 'x');
    for (int i = 0; i < 1024; ++i) {
        QVERIFY(parser.receive(piece).empty());
        QVERIFY(parser.pending().size() <= FahrwerkAntwortParser::kMaxUnfinished);
    }
    QVERIFY(parser.receive(std::string(1 << 20, '\n')).empty());
    QVERIFY(parser.pending().size() <= FahrwerkAntwortParser::kMaxUnfinished);
    QCOMPARE(describe(parser.receive("A7\r")), QString("A7"));
    QVERIFY(parser.pending().empty());
}

void TestTelemetryParser::unfinishedRecordSurvivesTheCap()
{
    FahrwerkAntwortParser parser;
    QVERIFY(parser.receive(std::string(10000, '?') + "A4").empty());
    QCOMPARE(describe(parser.receive("2\r")), QString("A42"));
}

void TestTelemetryParser::cutStartsAtARecordBoundary()
{
    // CR LF endings never leave a CR at the end: the text grows until capped.
    std::string flood;
    for (int i = 0; i < 1000; ++i)
        flood += "A12B34\r\n";
    FahrwerkAntwortParser parser;
    QVERIFY(parser.receive(flood).empty());
    QVERIFY(parser.pending().size() <= FahrwerkAntwortParser::kMaxUnfinished);
    QCOMPARE(parser.pending().front(), '\n');
    const QStringList items = describe(parser.receive("\r")).split(' ');
    QVERIFY(!items.isEmpty());
    for (const QString &item : items)
        QCOMPARE(item, QString("A1234"));
}

void TestTelemetryParser::endOfTextEndsARecord()
{
    FahrwerkAntwortParser parser;
    QVERIFY(!parser.append("T2"));
    QCOMPARE(describe(parser.takeReadings()), QString("T2"));
    QVERIFY(parser.pending().empty());
}

void TestTelemetryParser::passInsideAnIdentificationBoxTakesTheWholeBuffer()
{
    FahrwerkAntwortParser parser;
    QVERIFY(parser.append("VELMO-2007\rA1\r"));
    QCOMPARE(parser.takeIdentifications(), 1);
    // While the box is open another piece arrives and runs a pass of its own.
    QVERIFY(parser.append("B80\rVELMO-2007\r"));
    QCOMPARE(parser.takeIdentifications(), 1);
    QCOMPARE(describe(parser.takeReadings()), QString("A1 B80"));
    // The interrupted pass finds nothing left.
    QCOMPARE(describe(parser.takeReadings()), QString());
}

void TestTelemetryParser::formatTenths_data()
{
    QTest::addColumn<int>("tenths");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("text");

    QTest::newRow("7.5") << 75 << "." << "7.5";
    QTest::newRow("German separator") << 75 << "," << "7,5";
    QTest::newRow("zero") << 0 << "." << "0.0";
    QTest::newRow("below one volt") << 5 << "," << "0,5";
    QTest::newRow("whole volts keep the decimal") << 120 << "." << "12.0";
    QTest::newRow("largest") << 2147483647 << "." << "214748364.7";
    QTest::newRow("negative") << -5 << "." << "-0.5";
    QTest::newRow("most negative") << int(-2147483647 - 1) << "." << "-214748364.8";
}

void TestTelemetryParser::formatTenths()
{
    QFETCH(int, tenths);
    QFETCH(QString, separator);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(telemetry::formatTenths(tenths, separator.toStdString())), text);
}

QTEST_APPLESS_MAIN(TestTelemetryParser)
#include "test_telemetry_parser.moc"
