#include "telemetry/telemetry_plots.h"
#include "telemetry/telemetry_window.h"
#include "settings/program_location.h"
#include "support/file_bytes.h"
#include "support/file_dialog_answer.h"
#include "support/message_recorder.h"
#include "support/program_dir_fixture.h"
#include "support/resource_limit.h"
#include "support/window_test_main.h"

#include <QAccessible>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>

using telemetry::Quantity;
using telemetry::TelemetryRecord;
using telemetry::TelemetryWindow;

namespace {

template <typename Widget>
Widget *named(const QWidget &window, const QString &name)
{
    for (Widget *widget : window.findChildren<Widget *>())
        if (widget->accessibleName() == name || widget->accessibleDescription() == name
            || widget->property("text").toString() == name)
            return widget;
    qFatal("no control %s", qPrintable(name));
}

const QRegularExpression kLocalTime("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}$");

} // namespace

class TestTelemetryWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void recordsAShortRunIntoCsv();
    void failedWriteIsSaidOnce_data();
    void failedWriteIsSaidOnce();
    void linkGoneShowsNoDataAndLeavesAGap();
    void haltedViewStaysWhileSamplesArrive();
    void choicesAreKeptInVelmoraIni();

private:
    void openWindow();
    void startRecording(const QString &path);

    std::unique_ptr<ProgramDirFixture> dir;
    double now = 1000; // the record's monotonic clock
    std::unique_ptr<TelemetryRecord> record;
    std::unique_ptr<TelemetryWindow> window;
};

void TestTelemetryWindow::init()
{
    dir = std::make_unique<ProgramDirFixture>();
    openWindow();
}

void TestTelemetryWindow::cleanup()
{
    window.reset();
    record.reset();
    dir.reset();
}

void TestTelemetryWindow::openWindow()
{
    window.reset();
    record = std::make_unique<TelemetryRecord>(nullptr, [this] { return now; });
    window = std::make_unique<TelemetryWindow>(*record, settings::ProgramLocation::ofProgramDirectory(dir->path()));
    window->show();
}

void TestTelemetryWindow::startRecording(const QString &path)
{
    FileDialogAnswer answer(path);
    QTest::mouseClick(named<QPushButton>(*window, "Aufzeichnen..."), Qt::LeftButton);
    QVERIFY(answer.answered());
    QCOMPARE(answer.directory, QDir(dir->rfsPath()).absolutePath());
    QCOMPARE(answer.defaultSuffix, QString("csv"));
}

void TestTelemetryWindow::recordsAShortRunIntoCsv()
{
    record->addSample(Quantity::Battery, 7.9); // before the recording: not written
    const QString path = dir->filePath("RFS/fahrt.csv");
    startRecording(path);
    record->addSample(Quantity::Battery, 7.5);
    record->addSample(Quantity::Temperature, 31);
    record->addSample(Quantity::Distance, 42);
    QTRY_COMPARE(named<QLabel>(*window, "Aufzeichnung")->text(), QString("Aufzeichnung: fahrt.csv, 3 Zeilen"));
    QTest::mouseClick(named<QPushButton>(*window, "Aufzeichnung beenden"), Qt::LeftButton);

    const QStringList lines = QString::fromUtf8(readBytes(path)).split("\r\n");
    QCOMPARE(lines.mid(0, 1), QStringList{"\uFEFFZeit;Batterie (V);Temperatur (°C);Abstand (cm)"});
    QStringList values;
    for (const QString &line : lines.mid(1, lines.size() - 2)) {
        QVERIFY2(kLocalTime.match(line.section(';', 0, 0)).hasMatch(), qPrintable(line));
        values << line.section(';', 1);
    }
    QCOMPARE(values, (QStringList{"7,5;;", ";31;", ";;42"}));
    QCOMPARE(lines.last(), QString());
    QTRY_COMPARE(window->findChild<telemetry::TelemetryPlots *>()->graph(0)->dataCount(), 2);
}

void TestTelemetryWindow::failedWriteIsSaidOnce_data()
{
    QTest::addColumn<bool>("deviceFull");
    QTest::addColumn<QString>("said");
    QTest::newRow("the disk fills up") << false << "Die Aufzeichnung wurde beendet: ";
    QTest::newRow("a link to /dev/full") << true << "Die Aufzeichnung kann nicht beginnen: ";
}

void TestTelemetryWindow::failedWriteIsSaidOnce()
{
    QFETCH(bool, deviceFull);
    QFETCH(QString, said);
    MessageRecorder messages;
    const QString path = dir->filePath("RFS/voll.csv");
    QVERIFY(!deviceFull || QFile::link("/dev/full", path));
    startRecording(path);
    {
        // Room for the header and a few rows, as a disk that fills up.
        std::optional<ResourceLimit> limit;
        if (!deviceFull)
            limit.emplace(RLIMIT_FSIZE, 200);
        for (int centimetres = 40; centimetres < 60; ++centimetres)
            record->addSample(Quantity::Distance, centimetres);
        QTRY_VERIFY(!record->recorder().recording());
    }
    QCOMPARE(messages.entries().size(), std::size_t(1));
    QCOMPARE(messages.entries()[0].kind, msg::Kind::Warning);
    QVERIFY2(messages.texts()[0].startsWith(said), qPrintable(messages.texts()[0]));
    QTRY_COMPARE(named<QLabel>(*window, "Aufzeichnung")->text(), messages.texts()[0]);
    QVERIFY(named<QPushButton>(*window, "Aufzeichnen...")->isEnabled());
    record->addSample(Quantity::Distance, 60);
    QTRY_COMPARE(window->findChild<telemetry::TelemetryPlots *>()->graph(2)->dataCount(), 21);
    QCOMPARE(messages.entries().size(), std::size_t(1));
    if (deviceFull)
        return;
    const QByteArray written = readBytes(path);
    QVERIFY(written.size() <= 200 && written.count("\r\n") >= 2);
}

// The state line says so and is read so; the recording goes on without rows
// for the gap, and the plot leaves one.
void TestTelemetryWindow::linkGoneShowsNoDataAndLeavesAGap()
{
    auto *state = named<QLabel>(*window, "Alarmzustand");
    QTRY_COMPARE(state->text(), QString("Keine Daten"));
    record->linkConnected();
    startRecording(dir->filePath("RFS/luecke.csv"));
    record->addSample(Quantity::Distance, 9);
    QTRY_VERIFY(state->text().startsWith("Alarm: Abstand 9 cm"));
    now += 5;
    record->linkClosed();
    const QDateTime gone = QDateTime::fromMSecsSinceEpoch(qint64((now + record->wallClockOffset()) * 1000));
    QTRY_COMPARE(state->text(), "Keine Daten: Verbindung 2 (Fahrwerk) getrennt seit " + gone.toString("hh:mm:ss"));
    QCOMPARE(QAccessible::queryAccessibleInterface(state)->text(QAccessible::Name), state->text());
    QTRY_COMPARE(named<QLabel>(*window, "Aufzeichnung")->text(),
                 QString("Aufzeichnung: luecke.csv, 1 Zeilen (läuft weiter, wartet auf Verbindung 2)"));
    now += 60;
    record->linkConnected();
    record->addSample(Quantity::Distance, 40);
    QTRY_COMPARE(state->text(), QString("Kein Alarm"));
    const auto plotted = [this] {
        QStringList values;
        for (const QCPGraphData &point : *window->findChild<telemetry::TelemetryPlots *>()->graph(2)->data())
            values << QString::number(point.value);
        return values;
    };
    QTRY_COMPARE(plotted(), (QStringList{"9", "nan", "40"}));
    QTest::mouseClick(named<QPushButton>(*window, "Aufzeichnung beenden"), Qt::LeftButton);
    const QStringList lines = QString::fromUtf8(readBytes(dir->filePath("RFS/luecke.csv"))).split("\r\n");
    QCOMPARE(lines.size(), 4); // the header, two rows, the end of the last
}

void TestTelemetryWindow::haltedViewStaysWhileSamplesArrive()
{
    auto *plots = window->findChild<telemetry::TelemetryPlots *>();
    record->addSample(Quantity::Distance, 40);
    QTRY_COMPARE(plots->graph(2)->dataCount(), 1);
    QTest::mouseClick(named<QPushButton>(*window, "Anhalten"), Qt::LeftButton);
    const QCPRange halted = plots->timeRange();
    now += 30;
    record->addSample(Quantity::Distance, 41);
    QSignalSpy pictures(plots, &QCustomPlot::afterReplot);
    emit named<QComboBox>(*window, "Y-Achse Abstand (cm)")->activated(1);
    QVERIFY(pictures.wait());
    QCOMPARE(plots->timeRange(), halted);
    QTest::mouseClick(named<QPushButton>(*window, "Weiter"), Qt::LeftButton);
    QTRY_COMPARE(plots->timeRange().upper, now + record->wallClockOffset());
}

void TestTelemetryWindow::choicesAreKeptInVelmoraIni()
{
    auto *timeWindow = named<QComboBox>(*window, "Zeitfenster");
    timeWindow->setCurrentIndex(timeWindow->findText("15 min"));
    emit timeWindow->activated(timeWindow->currentIndex());
    named<QDoubleSpinBox>(*window, "Alarmgrenze Abstand (cm)")->setValue(20);
    openWindow();
    QCOMPARE(named<QComboBox>(*window, "Zeitfenster")->currentText(), QString("15 min"));
    QCOMPARE(record->alarms().rule(Quantity::Distance).limit, 20.0);
    record->addSample(Quantity::Distance, 19);
    QTRY_VERIFY(named<QLabel>(*window, "Alarmzustand")->text().startsWith("Alarm: Abstand 19 cm unter 20 cm"));
}

VELMORA_WINDOW_TEST_MAIN(TestTelemetryWindow)
#include "test_telemetry_window.moc"
