#include "telemetry/gauge_scales.h"
#include "telemetry/telemetry_alarms.h"

#include <QtTest>
#include <cmath>

using telemetry::Quantity;
using telemetry::TelemetryAlarms;

Q_DECLARE_METATYPE(telemetry::Quantity)

class TestTelemetryAlarms : public QObject {
    Q_OBJECT

private slots:
    void crossings_data();
    void crossings();
    void defaultsAreTheGaugesRedZones_data();
    void defaultsAreTheGaugesRedZones();
};

void TestTelemetryAlarms::crossings_data()
{
    QTest::addColumn<Quantity>("quantity");
    QTest::addColumn<double>("limit"); // NaN: the gauge's
    QTest::addColumn<QString>("readings");
    // per reading: - nothing, F fired, R re-armed; "connect" resets and gives *
    QTest::addColumn<QString>("changes");

    const double gauge = std::nan("");
    QTest::newRow("battery: below 7.26 V, re-arms from 7.46 V")
        << Quantity::Battery << gauge << "7.5 7.2 7.1 7.3 7.4 7.5 7.2" << "- F - - - R F";
    QTest::newRow("temperature: from 55, re-arms under 52")
        << Quantity::Temperature << gauge << "50 55 60 53 52 51 55" << "- F - - - R F";
    QTest::newRow("distance: below 10, re-arms from 15")
        << Quantity::Distance << gauge << "40 9 12 14 15 9" << "- F - - R F";
    QTest::newRow("wavering at the limit fires once")
        << Quantity::Distance << gauge << "9 10 9 11 9" << "F - - - -";
    QTest::newRow("first reading already in the zone") << Quantity::Battery << gauge << "6.8" << "F";
    QTest::newRow("a connect starts afresh")
        << Quantity::Distance << gauge << "9 connect 9 12 connect 20" << "F * F - * -";
    QTest::newRow("no alarm before the first reading after a connect")
        << Quantity::Temperature << gauge << "connect connect 40" << "* * -";
    QTest::newRow("own limit") << Quantity::Distance << 20.0 << "25 19 24 25" << "- F - R";
}

void TestTelemetryAlarms::crossings()
{
    QFETCH(Quantity, quantity);
    QFETCH(double, limit);
    QFETCH(QString, readings);
    QFETCH(QString, changes);
    TelemetryAlarms alarms;
    if (!std::isnan(limit))
        alarms.setLimit(quantity, limit);
    QStringList seen;
    bool firing = false;
    for (const QString &reading : readings.split(' ')) {
        if (reading == "connect") {
            alarms.reset();
            seen << "*";
        } else {
            const TelemetryAlarms::Change change = alarms.check(quantity, reading.toDouble());
            seen << (change == TelemetryAlarms::Change::Fired     ? "F"
                     : change == TelemetryAlarms::Change::Rearmed ? "R" : "-");
        }
        if (seen.back() != "-")
            firing = seen.back() == "F";
        QCOMPARE(alarms.firing(quantity), firing);
    }
    QCOMPARE(seen.join(' '), changes);
}

void TestTelemetryAlarms::defaultsAreTheGaugesRedZones_data()
{
    QTest::addColumn<Quantity>("quantity");
    QTest::addColumn<double>("reading");
    QTest::addColumn<bool>("gaugeRed");

    const telemetry::GaugeLook start{0, telemetry::colour::blue, telemetry::colour::silver};
    using telemetry::colour::red;
    for (double volts : {7.1, 7.2, 7.3, 7.4})
        QTest::addRow("battery %.1f V", volts)
            << Quantity::Battery << volts << (telemetry::batteryLook(float(volts), start).background == red);
    for (int degrees : {54, 55, 56})
        QTest::addRow("temperature %d", degrees)
            << Quantity::Temperature << double(degrees) << (telemetry::temperatureLook(degrees, start).fill == red);
    for (int centimetres : {9, 10, 11})
        QTest::addRow("distance %d cm", centimetres)
            << Quantity::Distance << double(centimetres)
            << (telemetry::distanceLook(centimetres, start).background == red);
}

void TestTelemetryAlarms::defaultsAreTheGaugesRedZones()
{
    QFETCH(Quantity, quantity);
    QFETCH(double, reading);
    QFETCH(bool, gaugeRed);
    TelemetryAlarms alarms;
    QCOMPARE(alarms.check(quantity, reading) == TelemetryAlarms::Change::Fired, gaugeRed);
}

QTEST_APPLESS_MAIN(TestTelemetryAlarms)
#include "test_telemetry_alarms.moc"
