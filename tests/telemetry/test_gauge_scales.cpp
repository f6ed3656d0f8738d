#include "telemetry/gauge_scales.h"

#include <QtTest>

using telemetry::GaugeLook;
using telemetry::Rgb;

namespace {

Rgb named(const QString &name)
{
    static const QHash<QString, Rgb> colours{
        {"lime", {0, 255, 0}},   {"green", {0, 128, 0}}, {"yellow", {255, 255, 0}},
        {"maroon", {128, 0, 0}}, {"red", {255, 0, 0}},   {"blue", {0, 0, 255}},
        {"silver", {192, 192, 192}}};
    Q_ASSERT(colours.contains(name));
    return colours.value(name);
}

QString nameOf(Rgb colour)
{
    for (const char *name : {"lime", "green", "yellow", "maroon", "red", "blue", "silver"})
        if (named(name) == colour)
            return name;
    return QString("rgb(%1,%2,%3)").arg(colour.red).arg(colour.green).arg(colour.blue);
}

// "91 yellow on red": progress, fill colour on background colour.
QString describe(const GaugeLook &look)
{
    return QString("%1 %2 on %3").arg(look.progress).arg(nameOf(look.fill), nameOf(look.background));
}

GaugeLook look(int progress, const QString &fill, const QString &background)
{
    return GaugeLook{progress, named(fill), named(background)};
}

// How setFahrwerkEnabled leaves a gauge: empty on silver, fill as before.
const GaugeLook kReset = look(0, "blue", "silver");

void addLookColumns()
{
    QTest::addColumn<int>("reading");
    QTest::addColumn<QString>("previous");
    QTest::addColumn<QString>("expected");
}

} // namespace

class TestGaugeScales : public QObject {
    Q_OBJECT

private slots:
    void colourValues();
    void distance_data();
    void distance();
    void distanceAfterDistance();
    void battery_data();
    void battery();
    void temperature_data();
    void temperature();
    void fromTelemetryExamples();
};

void TestGaugeScales::colourValues()
{
    QCOMPARE(telemetry::colour::lime, (Rgb{0, 255, 0}));
    QCOMPARE(telemetry::colour::green, (Rgb{0, 128, 0}));
    QCOMPARE(telemetry::colour::yellow, (Rgb{255, 255, 0}));
    QCOMPARE(telemetry::colour::maroon, (Rgb{128, 0, 0}));
    QCOMPARE(telemetry::colour::red, (Rgb{255, 0, 0}));
    QCOMPARE(telemetry::colour::blue, (Rgb{0, 0, 255}));
    QCOMPARE(telemetry::colour::silver, (Rgb{192, 192, 192}));
}

void TestGaugeScales::distance_data()
{
    addLookColumns();
    QTest::newRow("35 fills, background stays") << 35 << "0 blue on silver" << "100 lime on silver";
    QTest::newRow("36 clamped to 100") << 36 << "0 blue on silver" << "100 lime on silver";
    QTest::newRow("largest number") << 2147483647 << "0 blue on silver" << "100 lime on silver";
    QTest::newRow("34 keeps both colours") << 34 << "0 blue on silver" << "97 blue on silver";
    QTest::newRow("30 keeps both colours") << 30 << "12 green on maroon" << "85 green on maroon";
    QTest::newRow("29") << 29 << "0 blue on silver" << "82 green on yellow";
    QTest::newRow("20") << 20 << "0 blue on silver" << "57 green on yellow";
    QTest::newRow("19") << 19 << "0 blue on silver" << "54 yellow on maroon";
    QTest::newRow("10") << 10 << "0 blue on silver" << "28 yellow on maroon";
    QTest::newRow("9") << 9 << "0 blue on silver" << "25 yellow on red";
    QTest::newRow("0") << 0 << "0 blue on silver" << "0 yellow on red";
    QTest::newRow("negative shows empty") << -5 << "0 blue on silver" << "0 yellow on red";
}

void TestGaugeScales::distance()
{
    QFETCH(int, reading);
    QFETCH(QString, previous);
    QFETCH(QString, expected);
    const QStringList parts = previous.split(' ');
    const GaugeLook before = look(parts[0].toInt(), parts[1], parts[3]);
    QCOMPARE(describe(before), previous);
    QCOMPARE(describe(telemetry::distanceLook(reading, before)), expected);
}

void TestGaugeScales::distanceAfterDistance()
{
    const GaugeLook after5 = telemetry::distanceLook(5, kReset);
    QCOMPARE(describe(after5), QString("14 yellow on red"));
    QCOMPARE(describe(telemetry::distanceLook(32, after5)), QString("91 yellow on red"));
    QCOMPARE(describe(telemetry::distanceLook(40, after5)), QString("100 lime on red"));
}

void TestGaugeScales::battery_data()
{
    QTest::addColumn<float>("volts");
    QTest::addColumn<QString>("expected");

    // Starting from 33 green on maroon: the fill colour is never the battery's business.

    QTest::newRow("7.5") << 7.5f << "50 green on yellow";
    QTest::newRow("8.1 full") << 8.1f << "100 green on lime";
    QTest::newRow("6.9 empty") << 6.9f << "0 green on red";
    QTest::newRow("6.5 negative") << 6.5f << "0 green on red";
    QTest::newRow("12.0 clamped") << 12.0f << "100 green on lime";
    QTest::newRow("7.2 red") << 7.2f << "24 green on red";
    QTest::newRow("7.25 just below 30 %") << 7.25f << "29 green on red";
    QTest::newRow("7.26 single precision reaches 30 %") << 7.26f << "30 green on yellow";
    QTest::newRow("7.3 yellow") << 7.3f << "33 green on yellow";
    QTest::newRow("7.74 single precision stays below 70 %") << 7.74f << "69 green on yellow";
    QTest::newRow("7.75 at 70 %") << 7.75f << "70 green on lime";
    QTest::newRow("7.8 lime") << 7.8f << "75 green on lime";
    QTest::newRow("whole volts") << 8.0f << "91 green on lime";
    QTest::newRow("largest reading") << 214748364.7f << "100 green on lime";
}

void TestGaugeScales::battery()
{
    QFETCH(float, volts);
    QFETCH(QString, expected);
    const GaugeLook before = look(33, "green", "maroon");
    QCOMPARE(describe(telemetry::batteryLook(volts, before)), expected);
}

void TestGaugeScales::temperature_data()
{
    addLookColumns();
    QTest::newRow("29 blue") << 29 << "0 blue on silver" << "38 blue on yellow";
    QTest::newRow("30 lime") << 30 << "0 blue on silver" << "40 lime on yellow";
    QTest::newRow("54 lime") << 54 << "0 red on silver" << "72 lime on yellow";
    QTest::newRow("55 red") << 55 << "0 blue on silver" << "73 red on yellow";
    QTest::newRow("75 fills") << 75 << "0 blue on silver" << "100 red on yellow";
    QTest::newRow("200 clamped") << 200 << "0 blue on silver" << "100 red on yellow";
    QTest::newRow("0") << 0 << "50 red on silver" << "0 blue on yellow";
}

void TestGaugeScales::temperature()
{
    QFETCH(int, reading);
    QFETCH(QString, previous);
    QFETCH(QString, expected);
    const QStringList parts = previous.split(' ');
    const GaugeLook before = look(parts[0].toInt(), parts[1], parts[3]);
    QCOMPARE(describe(telemetry::temperatureLook(reading, before)), expected);
}

void TestGaugeScales::fromTelemetryExamples()
{
    const GaugeLook initial = look(0, "blue", "yellow");
    QCOMPARE(describe(telemetry::distanceLook(10, initial)), QString("28 yellow on maroon"));
    QCOMPARE(describe(telemetry::temperatureLook(31, initial)), QString("41 lime on yellow"));
    QCOMPARE(describe(telemetry::batteryLook(7.5f, initial)), QString("50 blue on yellow"));
}

QTEST_APPLESS_MAIN(TestGaugeScales)
#include "test_gauge_scales.moc"
