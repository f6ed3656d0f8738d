#include "telemetry/telemetry_history.h"

#include <QtTest>

using telemetry::Quantity;
using telemetry::TelemetryHistory;
using telemetry::TelemetrySample;

namespace {

// Appends "B@1=7.5 A@2=40 |@3 ..." (B battery, T temperature, A distance: at
// time, value; | a break) into rings of four samples each.
TelemetryHistory filled(const QString &script)
{
    TelemetryHistory history({4, 4, 4});
    for (const QString &step : script.split(' ', Qt::SkipEmptyParts)) {
        if (step[0] == '|') {
            history.appendBreak(step.mid(2).toDouble());
            continue;
        }
        const Quantity quantity = step[0] == 'B' ? Quantity::Battery
                                  : step[0] == 'T' ? Quantity::Temperature : Quantity::Distance;
        const QStringList timeValue = step.mid(2).split('=');
        history.append(quantity, timeValue[0].toDouble(), timeValue[1].toDouble());
    }
    return history;
}

QString describe(const std::vector<TelemetrySample> &samples)
{
    QStringList words;
    for (const TelemetrySample &sample : samples)
        words << QString("%1=%2").arg(sample.time).arg(sample.value);
    return words.join(' ');
}

} // namespace

class TestTelemetryHistory : public QObject {
    Q_OBJECT

private slots:
    void around_data();
    void around();
    void nearest_data();
    void nearest();
    void holdsADayOfTheRotation();
};

void TestTelemetryHistory::around_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::addColumn<QString>("battery");

    QTest::newRow("nothing yet") << "" << 0.0 << 10.0 << "";
    QTest::newRow("all in range") << "B@1=7.1 B@2=7.2" << 0.0 << 10.0 << "1=7.1 2=7.2";
    QTest::newRow("one neighbour each side")
        << "B@1=7.1 B@2=7.2 B@3=7.3 B@4=7.4" << 2.5 << 2.9 << "2=7.2 3=7.3";
    QTest::newRow("edges belong inside") << "B@1=7.1 B@2=7.2 B@3=7.3 B@4=7.4" << 2.0 << 3.0
                                         << "1=7.1 2=7.2 3=7.3 4=7.4";
    QTest::newRow("full ring drops the oldest")
        << "B@1=7.1 B@2=7.2 B@3=7.3 B@4=7.4 B@5=7.5 B@6=7.6" << 0.0 << 10.0 << "3=7.3 4=7.4 5=7.5 6=7.6";
    QTest::newRow("other readings have rings of their own")
        << "B@1=7.1 A@2=40 T@3=31 A@4=41 A@5=42 A@6=43 A@7=44 B@8=7.8" << 0.0 << 10.0 << "1=7.1 8=7.8";
    QTest::newRow("a break between its neighbours, once per gap")
        << "B@1=7.1 |@2 |@3 B@4=7.4" << 0.0 << 10.0 << "1=7.1 2=nan 4=7.4";
    QTest::newRow("no break before the first reading") << "|@1 B@2=7.2" << 0.0 << 10.0 << "2=7.2";
    QTest::newRow("a time that goes back counts as the newest") << "B@5=7.1 A@6=40 B@2=7.2" << 0.0 << 10.0
                                                                << "5=7.1 6=7.2";
}

void TestTelemetryHistory::around()
{
    QFETCH(QString, script);
    QFETCH(double, from);
    QFETCH(double, to);
    QFETCH(QString, battery);
    QCOMPARE(describe(filled(script).around(Quantity::Battery, from, to)), battery);
}

void TestTelemetryHistory::nearest_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<double>("time");
    QTest::addColumn<QString>("distance");

    QTest::newRow("none") << "B@1=7.1" << 1.0 << "";
    QTest::newRow("before the first") << "A@2=40 A@4=41" << 0.0 << "2=40";
    QTest::newRow("after the last") << "A@2=40 A@4=41" << 9.0 << "4=41";
    QTest::newRow("closer to the later") << "A@2=40 A@4=41" << 3.5 << "4=41";
    QTest::newRow("halfway takes the earlier") << "A@2=40 A@4=41" << 3.0 << "2=40";
    QTest::newRow("a break is passed over") << "A@2=40 |@3 A@8=41" << 3.1 << "2=40";
    QTest::newRow("nor is a break the last") << "A@2=40 |@3" << 3.0 << "2=40";
    QTest::newRow("exact hit") << "A@2=40 A@4=41 A@6=42" << 4.0 << "4=41";
}

void TestTelemetryHistory::nearest()
{
    QFETCH(QString, script);
    QFETCH(double, time);
    QFETCH(QString, distance);
    const std::optional<TelemetrySample> found = filled(script).nearest(Quantity::Distance, time);
    QCOMPARE(found ? describe({*found}) : QString(), distance);
}

// The rotation asks for the distance every 300 ms, for battery and temperature
// every 600 ms.
void TestTelemetryHistory::holdsADayOfTheRotation()
{
    const TelemetryHistory::Capacities capacities = TelemetryHistory::dayAndAHalf();
    const double day = 24 * 3600;
    QVERIFY(capacities[telemetry::indexOf(Quantity::Distance)] >= day / 0.3);
    QVERIFY(capacities[telemetry::indexOf(Quantity::Battery)] >= day / 0.6);
    QVERIFY(capacities[telemetry::indexOf(Quantity::Temperature)] >= day / 0.6);
}

QTEST_APPLESS_MAIN(TestTelemetryHistory)
#include "test_telemetry_history.moc"
