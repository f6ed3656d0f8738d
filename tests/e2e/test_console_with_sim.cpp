// The console's main window and the real simulator in one run: the operator
// connects the links through the window, over loopback TCP or over the
// simulator's pseudo-terminals, or lets the window search for them, and what
// the window shows is checked against what the simulator received and reports.
#include "app/tform1.h"
#include "arm/arm.h"
#include "arm/move_executor.h"
#include "arm/servo_timer.h"
#include "comm/connection_search_window.h"
#include "ssc32_model.h"
#include "settings/settings_file.h"
#include "support/file_dialog_answer.h"
#include "support/message_recorder.h"
#include "support/program_dir_fixture.h"
#include "support/simulator_process.h"
#include "support/tcp_peer.h"
#include "support/window_test_main.h"
#include "toolkit/gauge.h"
#include "toolkit/track_bar.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

// Generous bounds: the simulator reports once a second and the machine may be busy.
constexpr int kSimTimeoutMs = 10000;

const QString kArmFound = QStringLiteral("Lynxmotion SSC32 am WiPort gefunden!");
const QString kChassisFound = QStringLiteral("Kettenfahrzeug am WiPort gefunden!");
const QColor kSilver(192, 192, 192);

} // namespace

class TestConsoleWithSim : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void connectingIdentifiesTheController_data();
    void connectingIdentifiesTheController();
    void sliderMoveReachesTheSimulatedJoint_data();
    void sliderMoveReachesTheSimulatedJoint();
    void chassisLinkBringsTelemetryIntoTheReadOuts_data();
    void chassisLinkBringsTelemetryIntoTheReadOuts();
    void watchdogStopsTheTracksWhenTheChassisLinkCloses_data();
    void watchdogStopsTheTracksWhenTheChassisLinkCloses();
    void playerWaitsForEachMoveAndTheDwell();
    void telemetryRunIsRecordedAsCsv();
    void linksComeBackWithTheSimulator_data();
    void linksComeBackWithTheSimulator();
    void searchFindsTheSimulator();
    void anfahrenKeepsTheTipOnTheLine();

private:
    static void addTransportRows();
    template <typename Widget>
    Widget *control(const QString &name) const;
    // Connects link 1 or 2 through its panel as the operator does (to the
    // shared simulator unless another is given); true once it is up.
    bool connectLink(int link, const QString &transport, const SimulatorProcess *simulator = nullptr);
    void loadThreeStepSet();
    // Sends a text by hand from the link's transmit edit.
    void transmit(int link, const QString &text);

    QTemporaryDir simDir;
    SimulatorProcess sim{QStringLiteral(VELMORA_SIM_PATH)};
    std::unique_ptr<ProgramDirFixture> dir;
    std::unique_ptr<MessageRecorder> recorder;
    std::unique_ptr<app::TForm1> form;
};

void TestConsoleWithSim::initTestCase()
{
    QVERIFY(simDir.isValid());
    QVERIFY2(sim.start(simDir.filePath(QStringLiteral("received.log")), {QStringLiteral("--pty")}),
             "velmora-sim did not get ready");
    for (const char *name : {"arm-tcp", "chassis-tcp", "arm-pty", "chassis-pty"})
        QVERIFY2(!sim.endpoint(QLatin1String(name)).isEmpty(), name);
}

void TestConsoleWithSim::cleanupTestCase() { sim.stop(); }

// A program directory whose settings point both links at the simulator, as the
// demo program directory does.
void TestConsoleWithSim::init()
{
    dir = std::make_unique<ProgramDirFixture>();
    QVERIFY(dir->isValid());
    const auto address = [this](const char *link) {
        const QStringList hostPort = sim.endpoint(QLatin1String(link) + "-tcp").split(QLatin1Char(':'));
        return settings::LinkAddress{hostPort[0].toStdString(), hostPort[1].toStdString()};
    };
    settings::Settings values;
    values.joints = {{{16, 751, 2251}, {17, 752, 2252}, {18, 753, 2253}, {19, 754, 2254}, {20, 1175, 1825}}};
    values.links = {address("arm"), address("chassis")};
    values.webCam = {"192", "168", "100", "5"};
    const auto error =
        settings::writeSettingsFile(dir->filePath(QStringLiteral("RFS/STARTW2.stw")).toStdString(), values);
    QVERIFY2(!error, error ? error->german().c_str() : "");

    recorder = std::make_unique<MessageRecorder>();
    form = std::make_unique<app::TForm1>(dir->path());
    form->show();
    QVERIFY2(recorder->texts().isEmpty(), qPrintable(recorder->texts().join(QLatin1Char('|'))));
}

void TestConsoleWithSim::cleanup()
{
    form.reset();
    recorder.reset();
    dir.reset();
}

void TestConsoleWithSim::addTransportRows()
{
    QTest::addColumn<QString>("transport");
    QTest::newRow("tcp") << "tcp";
    QTest::newRow("pty") << "pty";
}

template <typename Widget>
Widget *TestConsoleWithSim::control(const QString &name) const
{
    // In the main window or one of its companion windows.
    for (const QWidget *window : QApplication::topLevelWidgets())
        if (auto *widget = window->findChild<Widget *>(name))
            return widget;
    qFatal("no control %s", qPrintable(name));
}

bool TestConsoleWithSim::connectLink(int link, const QString &transport, const SimulatorProcess *simulator)
{
    const QString n = QString::number(link);
    auto *button = control<QPushButton>("btnConnect" + n);
    const SimulatorProcess &to = simulator ? *simulator : sim;
    if (transport == QLatin1String("pty")) {
        QTest::mouseClick(control<QRadioButton>("rbtnSeriell" + n), Qt::LeftButton);
        const QString device = to.endpoint(link == 1 ? QStringLiteral("arm-pty") : QStringLiteral("chassis-pty"));
        control<QComboBox>("cbxDeviceName" + n)->setEditText(device);
        QTest::mouseClick(button, Qt::LeftButton);
        return button->text() == QLatin1String("Trennen");
    }
    QTest::mouseClick(button, Qt::LeftButton);
    return QTest::qWaitFor([button] { return button->text() == QLatin1String("TCP aktiv"); }, kSimTimeoutMs);
}

void TestConsoleWithSim::transmit(int link, const QString &text)
{
    control<QLineEdit>(link == 1 ? QStringLiteral("Transmit_Edit") : QStringLiteral("Transmit_Edit2"))->setText(text);
    QTest::mouseClick(control<QPushButton>("btnTransmit" + QString::number(link)), Qt::LeftButton);
}

void TestConsoleWithSim::connectingIdentifiesTheController_data()
{
    QTest::addColumn<int>("link");
    QTest::addColumn<QString>("transport");
    QTest::addColumn<QString>("probeByHand");
    QTest::addColumn<QString>("announcement");

    // The TCP connect sends the probe itself; over a serial line the operator types it.
    QTest::newRow("arm over tcp") << 1 << "tcp" << QString() << kArmFound;
    QTest::newRow("arm over pty") << 1 << "pty" << "VER" << kArmFound;
    QTest::newRow("chassis over tcp") << 2 << "tcp" << QString() << kChassisFound;
    QTest::newRow("chassis over pty") << 2 << "pty" << "I1" << kChassisFound;
}

void TestConsoleWithSim::connectingIdentifiesTheController()
{
    QFETCH(int, link);
    QFETCH(QString, transport);
    QFETCH(QString, probeByHand);
    QFETCH(QString, announcement);

    QVERIFY(connectLink(link, transport));
    if (!probeByHand.isEmpty())
        transmit(link, probeByHand);
    QTRY_VERIFY_WITH_TIMEOUT(!recorder->entries().empty(), kSimTimeoutMs);
    QCOMPARE(recorder->texts(), QStringList{announcement});
    QCOMPARE(recorder->entries().front().kind, msg::Kind::Plain);
}

void TestConsoleWithSim::sliderMoveReachesTheSimulatedJoint_data()
{
    QTest::addColumn<QString>("transport");
    QTest::addColumn<int>("target");
    // Different targets, so that one row cannot pass on what the other left behind.
    QTest::newRow("tcp") << "tcp" << 1600;
    QTest::newRow("pty") << "pty" << 1400;
}

void TestConsoleWithSim::sliderMoveReachesTheSimulatedJoint()
{
    QFETCH(QString, transport);
    QFETCH(int, target);

    QVERIFY(connectLink(1, transport));
    control<toolkit::TrackBar>(QStringLiteral("trbServo1"))->setValue(target);
    form->findChild<arm::ServoTimer *>()->ServoTimer1Timer();

    // Basis is channel 16 in the settings; no speed is chosen, so the joint jumps.
    const QRegularExpression received(QStringLiteral("^\\d+ arm \\S*#16P%1(\\D|$)").arg(target),
                                      QRegularExpression::MultilineOption);
    QTRY_VERIFY_WITH_TIMEOUT(received.match(sim.logText()).hasMatch(), kSimTimeoutMs);
    const qsizetype afterCommand = sim.mark();
    const QRegularExpression reached(QStringLiteral(" #16=%1 ").arg(target));
    QTRY_VERIFY2_WITH_TIMEOUT(sim.statusSince(afterCommand, reached), qPrintable(sim.latestStatus()),
                              kSimTimeoutMs);
}

void TestConsoleWithSim::chassisLinkBringsTelemetryIntoTheReadOuts_data() { addTransportRows(); }

void TestConsoleWithSim::chassisLinkBringsTelemetryIntoTheReadOuts()
{
    QFETCH(QString, transport);
    auto *abstand = control<QLineEdit>(QStringLiteral("edtAbstand"));
    auto *batterie = control<QLineEdit>(QStringLiteral("edtBatterie"));
    auto *temperatur = control<QLineEdit>(QStringLiteral("edtTemperatur"));
    QVERIFY(abstand->text().isEmpty() && batterie->text().isEmpty() && temperatur->text().isEmpty());

    const qsizetype logBeforeConnecting = sim.logText().size();
    QVERIFY(connectLink(2, transport));
    // The readings must come from this connection's own requests.
    const QRegularExpression distanceRequest(QStringLiteral("^\\d+ chassis A1$"),
                                             QRegularExpression::MultilineOption);
    QTRY_VERIFY2_WITH_TIMEOUT(distanceRequest.match(sim.logText().mid(logBeforeConnecting)).hasMatch(),
                              qPrintable(sim.logText().mid(logBeforeConnecting).right(500)), kSimTimeoutMs);
    QTRY_VERIFY_WITH_TIMEOUT(!abstand->text().isEmpty() && !batterie->text().isEmpty() &&
                                 !temperatur->text().isEmpty(),
                             kSimTimeoutMs);
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d+[.,]\\d$")).match(batterie->text()).hasMatch(),
             qPrintable(batterie->text()));
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d+$")).match(temperatur->text()).hasMatch(),
             qPrintable(temperatur->text()));
    // A reading colours the gauges that connecting had reset to silver.
    QVERIFY(control<toolkit::Gauge>(QStringLiteral("cgBat"))->backColor() != kSilver);
    QVERIFY(control<toolkit::Gauge>(QStringLiteral("cgTemp"))->backColor() != kSilver);

    // The chassis stands still, so the distance shown is the simulator's.
    const QRegularExpression distance(QStringLiteral("\\| A(\\d+) B"));
    QTRY_COMPARE_WITH_TIMEOUT(abstand->text(), distance.match(sim.latestStatus()).captured(1), kSimTimeoutMs);
}

void TestConsoleWithSim::watchdogStopsTheTracksWhenTheChassisLinkCloses_data() { addTransportRows(); }

void TestConsoleWithSim::watchdogStopsTheTracksWhenTheChassisLinkCloses()
{
    QFETCH(QString, transport);
    QVERIFY(connectLink(2, transport));
    QTest::mouseClick(control<QToolButton>(QStringLiteral("btnVor")), Qt::LeftButton);
    control<toolkit::TrackBar>(QStringLiteral("trbSpeed"))->setPosition(-100);
    const qsizetype beforeDriving = sim.mark();
    QTRY_VERIFY2_WITH_TIMEOUT(sim.statusSince(beforeDriving, QRegularExpression(QStringLiteral("tracks L\\+100 R\\+100 "))),
                              qPrintable(sim.latestStatus()), kSimTimeoutMs);

    auto *connectButton = control<QPushButton>(QStringLiteral("btnConnect2"));
    QTest::mouseClick(connectButton, Qt::LeftButton);
    const qsizetype afterClosing = sim.mark();
    QTRY_COMPARE(connectButton->text(), QStringLiteral("Verbinden"));
    QTRY_VERIFY2_WITH_TIMEOUT(sim.statusSince(afterClosing, QRegularExpression(QStringLiteral("tracks L0 R0 "))),
                              qPrintable(sim.latestStatus()), kSimTimeoutMs);

    // The console sent no stop: the last track command the simulator got still drives.
    const QRegularExpression trackCommand(QStringLiteral("^\\d+ chassis ([KLQR]\\d+\\S*)$"),
                                          QRegularExpression::MultilineOption);
    QString lastTrackCommand;
    for (auto it = trackCommand.globalMatch(sim.logText()); it.hasNext();)
        lastTrackCommand = it.next().captured(1);
    QVERIFY2(lastTrackCommand == QLatin1String("K100") || lastTrackCommand == QLatin1String("Q100"),
             qPrintable(lastTrackCommand));
}

// A three-step set for the Basis (channel 16) at 1000 µs/s, played in a loop
// with a dwell of 300 ms: each step's command reaches the controller only once
// the previous move is over and the dwell has passed.
void TestConsoleWithSim::loadThreeStepSet()
{
    const QString path = dir->filePath(QStringLiteral("RFS/drei.rfs"));
    QFile set(path);
    QVERIFY(set.open(QIODevice::WriteOnly));
    for (int position : {1000, 2000, 1500})
        set.write(QStringLiteral("1000 %1 0 1500 0 1500 0 1500 0 1500 \r\n").arg(position).toLatin1());
    set.close();
    FileDialogAnswer answer(path);
    control<QAction>(QStringLiteral("laden1"))->trigger();
    QVERIFY(answer.answered());
}

void TestConsoleWithSim::playerWaitsForEachMoveAndTheDwell()
{
    loadThreeStepSet();
    QVERIFY(connectLink(1, QStringLiteral("tcp")));
    QTRY_COMPARE_WITH_TIMEOUT(recorder->texts(), QStringList{kArmFound}, kSimTimeoutMs);
    QWidget *player = control<QSpinBox>(QStringLiteral("dwellEdit"))->window();
    control<QSpinBox>(QStringLiteral("dwellEdit"))->setValue(300);
    control<QCheckBox>(QStringLiteral("loopBox"))->setChecked(true);
    const qsizetype logBefore = sim.logText().size();
    control<QAction>(QStringLiteral("starten1"))->trigger();
    QVERIFY(player->isVisible());

    // The Basis' commands and the queries as the simulator received them, with its times.
    const QRegularExpression line(QStringLiteral("^(\\d+) arm (#16P(\\d+)\\S*|Q)$"), QRegularExpression::MultilineOption);
    struct Received {
        qint64 ms;
        int position; // 0: a query
    };
    const auto received = [&] {
        std::vector<Received> all;
        for (auto it = line.globalMatch(sim.logText().mid(logBefore)); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            all.push_back({match.captured(1).toLongLong(), match.captured(3).toInt()});
        }
        return all;
    };
    const auto commands = [&] {
        std::vector<Received> moves;
        for (const Received &r : received()) {
            if (r.position != 0)
                moves.push_back(r);
        }
        return moves;
    };
    // Steps 1, 2, 3 and, looping, step 1 again.
    QTRY_VERIFY_WITH_TIMEOUT(commands().size() >= 4, 20000);
    const std::vector<Received> moves = commands();
    QCOMPARE((QList<int>{moves[0].position, moves[1].position, moves[2].position, moves[3].position}),
             (QList<int>{1000, 2000, 1500, 1000}));
    // The first command finds a channel that never had a pulse, which jumps; then
    // 1000 to 2000 and 2000 to 1500 at 1000 µs/s.
    const qint64 moveMs[] = {0, 1000, 500};
    for (int i = 0; i < 3; ++i)
        QVERIFY2(moves[i + 1].ms - moves[i].ms >= moveMs[i] + 300,
                 qPrintable(QStringLiteral("step %1 came %2 ms after step %3").arg(i + 2).arg(moves[i + 1].ms - moves[i].ms).arg(i + 1)));

    // Stopp while the arm moves: nothing more goes out for the set.
    QTRY_VERIFY_WITH_TIMEOUT(received().back().position == 0, kSimTimeoutMs); // a query after the last command
    QTest::mouseClick(control<QPushButton>(QStringLiteral("stopButton")), Qt::LeftButton);
    QCOMPARE(control<QLabel>(QStringLiteral("stateLabel"))->text(), QStringLiteral("gestoppt"));
    QTest::qWait(300); // what was on its way before the click
    const std::size_t atStop = received().size();
    QTest::qWait(1000); // a second without traffic, where the player would query ten times
    QCOMPARE(received().size(), atStop);

    // Started again and the link closed: the player stops and says why.
    control<QAction>(QStringLiteral("starten1"))->trigger();
    QTest::mouseClick(control<QPushButton>(QStringLiteral("btnConnect1")), Qt::LeftButton);
    QCOMPARE(control<QLabel>(QStringLiteral("stateLabel"))->text(), QStringLiteral("Verbindung 1 wurde getrennt"));
}

// A short run of the chassis, recorded from the telemetry window and read back:
// a header, then rows of local time and one value each, in the read-outs' numbers.
void TestConsoleWithSim::telemetryRunIsRecordedAsCsv()
{
    QVERIFY(connectLink(2, QStringLiteral("tcp")));
    control<QAction>(QStringLiteral("Telemetrie1"))->trigger();
    QWidget *telemetry = nullptr;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->windowTitle() == QLatin1String("Telemetrie"))
            telemetry = window;
    }
    QVERIFY(telemetry);
    const auto button = [telemetry](const QString &text) {
        for (QPushButton *candidate : telemetry->findChildren<QPushButton *>()) {
            if (candidate->text() == text)
                return candidate;
        }
        qFatal("no button %s", qPrintable(text));
    };
    const QString path = dir->filePath(QStringLiteral("RFS/fahrt.csv"));
    {
        FileDialogAnswer answer(path);
        QTest::mouseClick(button(QStringLiteral("Aufzeichnen...")), Qt::LeftButton);
        QVERIFY(answer.answered());
        QCOMPARE(answer.directory, dir->rfsPath());
    }
    QFile csv(path);
    const auto rows = [&csv] {
        csv.open(QIODevice::ReadOnly);
        const QStringList lines = QString::fromUtf8(csv.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        csv.close();
        return lines;
    };
    // Each of the three quantities at least once.
    QTRY_VERIFY_WITH_TIMEOUT(rows().size() > 6, kSimTimeoutMs);
    QTest::mouseClick(button(QStringLiteral("Aufzeichnung beenden")), Qt::LeftButton);
    const QStringList lines = rows();
    QVERIFY(lines.first().endsWith(QStringLiteral("Zeit;Batterie (V);Temperatur (°C);Abstand (cm)")));
    const QRegularExpression row(QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}"
                                                ";(\\d+,\\d)?;(\\d+)?;(\\d+)?$"));
    QSet<int> columnsSeen;
    for (const QString &line : lines.mid(1)) {
        const QRegularExpressionMatch match = row.match(line);
        QVERIFY2(match.hasMatch(), qPrintable(line));
        for (int column = 1; column <= 3; ++column) {
            if (match.hasCaptured(column) && !match.captured(column).isEmpty())
                columnsSeen.insert(column);
        }
    }
    QCOMPARE(columnsSeen.size(), 3);
    QTest::qWait(700); // one more rotation of requests: nothing is written after the end
    QCOMPARE(rows(), lines);
}

void TestConsoleWithSim::linksComeBackWithTheSimulator_data() { addTransportRows(); }

// A simulator of the test's own, started again on the same ports and terminal
// names: both links come back by themselves, and nothing of before goes out. The
// arm sends only what changes after the return (the change made while the arm
// timer stood is not sent), the chassis starts stopped, the player stays stopped.
void TestConsoleWithSim::linksComeBackWithTheSimulator()
{
    QFETCH(QString, transport);
    const QStringList arguments{"--arm-port",     QString::number(unusedLoopbackPort()),
                                "--chassis-port", QString::number(unusedLoopbackPort()),
                                "--pty-link",     simDir.filePath(QStringLiteral("robot"))};
    auto own = std::make_unique<SimulatorProcess>(QStringLiteral(VELMORA_SIM_PATH));
    QVERIFY(own->start(simDir.filePath(QStringLiteral("before.log")), arguments));
    loadThreeStepSet();
    for (const QString n : {"1", "2"}) {
        const QStringList hostPort = own->endpoint(n == "1" ? "arm-tcp" : "chassis-tcp").split(QLatin1Char(':'));
        control<QLineEdit>("edtTCP_IP" + n)->setText(hostPort[0]);
        control<QLineEdit>("edtTCP_Port" + n)->setText(hostPort[1]);
        control<QCheckBox>("reconnect" + n)->setChecked(true);
        QVERIFY(connectLink(n.toInt(), transport, own.get()));
    }
    control<QAction>(QStringLiteral("starten1"))->trigger();
    QTest::mouseClick(control<QToolButton>(QStringLiteral("btnVor")), Qt::LeftButton);
    control<toolkit::TrackBar>(QStringLiteral("trbSpeed"))->setPosition(-100);
    const QRegularExpression driving(QStringLiteral("tracks L\\+100 R\\+100 "));
    QTRY_VERIFY_WITH_TIMEOUT(own->statusSince(0, driving), kSimTimeoutMs);

    own->stop();
    for (const char *button : {"btnConnect1", "btnConnect2"})
        QTRY_COMPARE(control<QPushButton>(QLatin1String(button))->text(), QStringLiteral("unterbrochen"));
    QCOMPARE(control<QLabel>(QStringLiteral("stateLabel"))->text(), QStringLiteral("Verbindung 1 wurde getrennt"));
    auto *armTimer = form->findChild<QTimer *>(QStringLiteral("ServoTimer1"));
    armTimer->stop();
    control<toolkit::TrackBar>(QStringLiteral("trbServo2"))->setValue(1700); // pending at the return

    own = std::make_unique<SimulatorProcess>(QStringLiteral(VELMORA_SIM_PATH));
    QVERIFY(own->start(simDir.filePath(QStringLiteral("after.log")), arguments));
    const QString up = transport == QLatin1String("tcp") ? QStringLiteral("TCP aktiv") : QStringLiteral("Trennen");
    for (const char *button : {"btnConnect1", "btnConnect2"})
        QTRY_COMPARE_WITH_TIMEOUT(control<QPushButton>(QLatin1String(button))->text(), up, kSimTimeoutMs);
    armTimer->start();
    control<toolkit::TrackBar>(QStringLiteral("trbServo1"))->setValue(1234);
    const QRegularExpression armLine(QStringLiteral("^\\d+ arm (.*)$"), QRegularExpression::MultilineOption);
    const auto armLines = [&] {
        QStringList lines;
        for (auto it = armLine.globalMatch(own->logText()); it.hasNext();)
            lines << it.next().captured(1);
        return lines;
    };
    // The Basis keeps the speed the player's step gave it.
    const QStringList probe = transport == QLatin1String("tcp") ? QStringList{"VER"} : QStringList{};
    QTRY_COMPARE_WITH_TIMEOUT(armLines(), probe + QStringList{"#16P1234S1000"}, kSimTimeoutMs);

    const QRegularExpression trackCommand(QStringLiteral("^\\d+ chassis [KLQR](\\d+)"),
                                          QRegularExpression::MultilineOption);
    QTRY_VERIFY_WITH_TIMEOUT(trackCommand.match(own->logText()).hasMatch(), kSimTimeoutMs);
    for (auto it = trackCommand.globalMatch(own->logText()); it.hasNext();)
        QCOMPARE(it.next().captured(1), QStringLiteral("0"));
    QVERIFY(control<QToolButton>(QStringLiteral("btnStop"))->isChecked());
    QCOMPARE(control<toolkit::TrackBar>(QStringLiteral("trbSpeed"))->position(), 0);
    QCOMPARE(control<QLabel>(QStringLiteral("stateLabel"))->text(), QStringLiteral("Verbindung 1 wurde getrennt"));
    const QString debugLog = control<QPlainTextEdit>(QStringLiteral("Memo1"))->toPlainText();
    for (const char *line : {"Verbindung 1 wiederhergestellt", "Verbindung 2 wiederhergestellt"})
        QVERIFY(QRegularExpression(QStringLiteral("\\d\\d:\\d\\d:\\d\\d ") + line).match(debugLog).hasMatch());
    // Identified as after the operator's connect: over TCP the box comes again.
    const QStringList boxes = transport == QLatin1String("tcp") ? QStringList{kArmFound, kArmFound} : QStringList{};
    QTRY_COMPARE(recorder->texts().filter(kArmFound), boxes);
    own->stop();
}

// The shared simulator's terminals and ports, with link 1 open on its arm's
// terminal: that one is not touched, the others answer, and "Übernehmen"
// changes only the free link.
void TestConsoleWithSim::searchFindsTheSimulator()
{
    QVERIFY(connectLink(1, QStringLiteral("pty")));
    control<QAction>(QStringLiteral("Verbindungsuchen1"))->trigger();
    const auto place = [this](const char *endpoint) { return sim.endpoint(QLatin1String(endpoint)); };
    control<QLineEdit>(QStringLiteral("moreDevices"))->setText(place("arm-pty") + " " + place("chassis-pty"));
    control<QLineEdit>(QStringLiteral("tcpHosts"))->setText(place("arm-tcp") + "," + place("chassis-tcp"));
    auto *window = qobject_cast<comm::ConnectionSearchWindow *>(control<QLineEdit>(QStringLiteral("moreDevices"))->window());
    window->search();
    QTRY_VERIFY_WITH_TIMEOUT(control<QLabel>(QStringLiteral("searchState"))->text().startsWith("Gefunden"),
                             kSimTimeoutMs);
    auto *table = control<QTableWidget>(QStringLiteral("findings"));
    QStringList rows;
    for (int row = 0; row < table->rowCount(); ++row)
        rows << table->item(row, 0)->text() + " " + table->item(row, 1)->text() + " " + table->item(row, 2)->text();
    for (const QString &row : {place("arm-pty") + " belegt ", place("chassis-pty") + " Fahrwerk 9600",
                               place("arm-tcp") + " SSC-32 (Greifarm) ", place("chassis-tcp") + " Fahrwerk "})
        QVERIFY2(rows.contains(row), qPrintable(rows.join('|') + " lacks " + row));

    window->takeOver();
    QCOMPARE(control<QComboBox>(QStringLiteral("cbxDeviceName1"))->currentText(), place("arm-pty"));
    QVERIFY(control<QRadioButton>(QStringLiteral("rbtnSeriell2"))->isChecked());
    QCOMPARE(control<QComboBox>(QStringLiteral("cbxDeviceName2"))->currentText(), place("chassis-pty"));
    QVERIFY(control<QLabel>(QStringLiteral("searchState"))->text().contains("Verbindung 1 ist in Gebrauch"));
}

// "Anfahren" to a point 100 mm away. The simulator logs each command as it
// arrives; played again through its own controller model a millisecond at a
// time, the unrounded pulse widths it interpolates put the tip within 0.5 mm of
// the line all the way and within 1 mm of the target at the end. (Rounded to
// whole µs, as the controller's pulses are, they alone would stray up to
// about 0.6 mm: that is the controller's resolution, not the plan.)
void TestConsoleWithSim::anfahrenKeepsTheTipOnTheLine()
{
    QVERIFY(connectLink(1, QStringLiteral("tcp")));
    QTRY_COMPARE_WITH_TIMEOUT(recorder->texts(), QStringList{kArmFound}, kSimTimeoutMs);
    // A start away from the centre pose, so that all five joints go out.
    const arm::CommandPulses start{1600, 1450, 1400, 1550, 1400};
    for (int joint = 0; joint < arm::kJoints; ++joint)
        form->arm().setPosition(joint, start[joint]);
    form->findChild<arm::ServoTimer *>()->ServoTimer1Timer();
    QTRY_VERIFY_WITH_TIMEOUT(sim.logText().contains(QLatin1String("#16P1600#17P1450#18P1400#19P1550#20P1400")),
                             kSimTimeoutMs);
    const arm::Kinematics geometry = form->moveExecutor().kinematics();
    const arm::Pose from = geometry.poseAt(arm::toJointPulses(start));
    const arm::Pose target{{from.tip.x - 60, from.tip.y + 64, from.tip.z - 48}, from.pitch, from.gripper};

    control<QAction>(QStringLiteral("Kinematik1"))->trigger();
    QWidget *window = nullptr;
    for (QWidget *topLevel : QApplication::topLevelWidgets())
        if (topLevel->windowTitle() == QLatin1String("Kinematik") && topLevel->isVisible())
            window = topLevel;
    QVERIFY(window);
    const double fields[] = {target.tip.x, target.tip.y, target.tip.z, target.pitch, target.gripper};
    for (int i = 0; i < 5; ++i)
        window->findChild<QDoubleSpinBox *>(QStringLiteral("target%1").arg(i))->setValue(fields[i]);
    const qsizetype linesBefore = sim.logText().count(QLatin1Char('\n'));
    const auto anfahren = window->findChildren<QPushButton *>();
    QTest::mouseClick(*std::find_if(anfahren.begin(), anfahren.end(),
                                    [](QPushButton *b) { return b->text() == QLatin1String("&Anfahren"); }),
                      Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(window->findChild<QLabel *>(QStringLiteral("statusLine"))->text(),
                              QStringLiteral("Ziel erreicht"), kSimTimeoutMs);

    // The fields hold the target to 0.1 mm; the line runs to where they point.
    const arm::Point end{window->findChild<QDoubleSpinBox *>(QStringLiteral("target0"))->value(),
                         window->findChild<QDoubleSpinBox *>(QStringLiteral("target1"))->value(),
                         window->findChild<QDoubleSpinBox *>(QStringLiteral("target2"))->value()};
    const auto offLine = [&](const arm::Point &tip) {
        const arm::Point along{end.x - from.tip.x, end.y - from.tip.y, end.z - from.tip.z};
        const double share = std::clamp(((tip.x - from.tip.x) * along.x + (tip.y - from.tip.y) * along.y
                                         + (tip.z - from.tip.z) * along.z) / (100.0 * 100.0), 0.0, 1.0);
        return arm::distance(tip, {from.tip.x + share * along.x, from.tip.y + share * along.y,
                                   from.tip.z + share * along.z});
    };
    double farthest = 0;
    arm::Point reached{};
    int pieces = 0;
    const auto replay = [&] {
        sim::Ssc32Model controller;
        const QStringList lines = sim.logText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        const QRegularExpression armLine(QStringLiteral("^(\\d+) arm (.*)$"));
        farthest = 0;
        pieces = 0;
        long long now = 0;
        long long moveStart = -1;
        const auto sample = [&] {
            arm::JointPulses pulses;
            for (int joint = 0; joint < arm::kJoints; ++joint)
                pulses[joint] = controller.pulseWidth(16 + joint);
            reached = geometry.poseAt(pulses).tip;
            if (moveStart >= 0)
                farthest = std::max(farthest, offLine(reached));
        };
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QRegularExpressionMatch match = armLine.match(lines[i]);
            if (!match.hasMatch())
                continue;
            for (; now < match.captured(1).toLongLong(); ++now) {
                controller.advance(1);
                sample();
            }
            if (i >= linesBefore && moveStart < 0)
                moveStart = now;
            pieces += i >= linesBefore;
            controller.handleLine(match.captured(2).toStdString());
        }
        while (controller.isMoving()) {
            controller.advance(1);
            sample();
        }
        return arm::distance(reached, target.tip) <= 1.0;
    };
    QTRY_VERIFY_WITH_TIMEOUT(replay(), kSimTimeoutMs);
    QVERIFY2(pieces >= 20, qPrintable(QString::number(pieces)));
    QVERIFY2(farthest <= 0.5, qPrintable(QStringLiteral("%1 mm off the line").arg(farthest)));
}

VELMORA_WINDOW_TEST_MAIN(TestConsoleWithSim)
#include "test_console_with_sim.moc"
