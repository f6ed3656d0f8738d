#include "telemetry/telemetry_stream.h"
#include "support/message_recorder.h"

#include <QtTest>

using telemetry::Reading;
using telemetry::TelemetryStream;

namespace {

// Hands the stream one more piece while the identification box is open, as a
// reception handled inside the box does.
class BoxThatReceives : public MessageRecorder {
public:
    BoxThatReceives(TelemetryStream &stream, std::string piece) : stream(stream), piece(std::move(piece)) {}

    msg::Answer show(msg::Kind kind, msg::Buttons buttons, const platform::UiText &text) override
    {
        const msg::Answer answer = MessageRecorder::show(kind, buttons, text);
        if (!piece.empty())
            stream.parseFahrwerkAntwort(std::exchange(piece, std::string()));
        return answer;
    }

private:
    TelemetryStream &stream;
    std::string piece;
};

// "Abstand 042=42": the quantity, the digits as received and the value, "-" for none.
QString describe(const Reading &reading)
{
    const std::string name = textOf(reading.quantity).name.source();
    const std::optional<double> value = reading.value();
    return QString("%1 %2=%3")
        .arg(QString::fromStdString(name), QString::fromStdString(reading.digits),
             value ? QString::number(*value, 'f', 1) : QString("-"));
}

} // namespace

class TestTelemetryStream : public QObject {
    Q_OBJECT

private slots:
    void readings_data();
    void readings();
};

void TestTelemetryStream::readings_data()
{
    QTest::addColumn<QByteArrayList>("pieces");
    QTest::addColumn<QByteArray>("duringBox"); // received while the identification box is open
    QTest::addColumn<QStringList>("readings");
    QTest::addColumn<int>("boxes");

    QTest::newRow("three records in one piece")
        << QByteArrayList{"A042\rB75\rT031\r"} << QByteArray()
        << QStringList{"Abstand 042=42.0", "Batterie 75=7.5", "Temperatur 031=31.0"} << 0;
    QTest::newRow("temperature beyond a number has no value")
        << QByteArrayList{"T99999999999\r"} << QByteArray() << QStringList{"Temperatur 99999999999=-"} << 0;
    QTest::newRow("identification then distance")
        << QByteArrayList{"VELMO-2007\rA10\r"} << QByteArray() << QStringList{"Abstand 10=10.0"} << 1;
    QTest::newRow("reception inside the box runs its own pass")
        << QByteArrayList{"VELMO-2007\rA1\r"} << QByteArray("B80\rVELMO-2007\r")
        << QStringList{"Abstand 1=1.0", "Batterie 80=8.0"} << 2;
}

void TestTelemetryStream::readings()
{
    QFETCH(QByteArrayList, pieces);
    QFETCH(QByteArray, duringBox);
    TelemetryStream stream;
    BoxThatReceives box(stream, duringBox.toStdString());
    QStringList seen;
    connect(&stream, &TelemetryStream::readingArrived, this,
            [&](const Reading &reading) { seen << describe(reading); });
    for (const QByteArray &piece : pieces)
        stream.parseFahrwerkAntwort(piece.toStdString());
    QTEST(seen, "readings");
    QCOMPARE(box.texts(), QStringList(int(box.texts().size()), "Kettenfahrzeug am WiPort gefunden!"));
    QTEST(int(box.texts().size()), "boxes");
}

QTEST_GUILESS_MAIN(TestTelemetryStream)
#include "test_telemetry_stream.moc"
