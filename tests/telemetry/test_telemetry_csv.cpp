#include "telemetry/telemetry_csv.h"

#include <QtTest>

using telemetry::LocalTime;
using telemetry::Quantity;

Q_DECLARE_METATYPE(telemetry::Quantity)

class TestTelemetryCsv : public QObject {
    Q_OBJECT

private slots:
    void header();
    void row_data();
    void row();
};

void TestTelemetryCsv::header()
{
    QCOMPARE(QString::fromStdString(telemetry::csvHeader()),
             QString("Zeit;Batterie (V);Temperatur (°C);Abstand (cm)"));
}

void TestTelemetryCsv::row_data()
{
    QTest::addColumn<QList<int>>("time"); // year, month, day, hour, minute, second, millisecond
    QTest::addColumn<Quantity>("quantity");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    const QList<int> time{2024, 5, 3, 14, 32, 5, 123};
    QTest::newRow("battery, decimal comma") << time << Quantity::Battery << 7.5 << "2024-05-03T14:32:05.123;7,5;;";
    QTest::newRow("battery, whole volts keep their decimal")
        << time << Quantity::Battery << 8.0 << "2024-05-03T14:32:05.123;8,0;;";
    QTest::newRow("temperature") << time << Quantity::Temperature << 31.0 << "2024-05-03T14:32:05.123;;31;";
    QTest::newRow("distance") << time << Quantity::Distance << 142.0 << "2024-05-03T14:32:05.123;;;142";
    QTest::newRow("large distance, no grouping")
        << time << Quantity::Distance << 2147483647.0 << "2024-05-03T14:32:05.123;;;2147483647";
    QTest::newRow("time fields padded") << QList<int>{2025, 1, 2, 3, 4, 5, 6} << Quantity::Temperature << 9.0
                                        << "2025-01-02T03:04:05.006;;9;";
}

void TestTelemetryCsv::row()
{
    QFETCH(QList<int>, time);
    QFETCH(Quantity, quantity);
    QFETCH(double, value);
    QFETCH(QString, expected);
    const LocalTime local{time[0], time[1], time[2], time[3], time[4], time[5], time[6]};
    QCOMPARE(QString::fromStdString(telemetry::csvRow(local, quantity, value)), expected);
}

QTEST_APPLESS_MAIN(TestTelemetryCsv)
#include "test_telemetry_csv.moc"
