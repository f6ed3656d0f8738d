// Programs drive the console, and through it the simulated robot, over the
// programming interface: a raw client request by request, then the Python
// examples as a user runs them. The console's links are connected through its
// window as the operator does; all traffic stays on loopback.
#include "app/tform1.h"
#include "drive/drive_command.h"
#include "settings/settings_file.h"
#include "support/file_bytes.h"
#include "support/message_recorder.h"
#include "support/program_dir_fixture.h"
#include "support/remote_program.h"
#include "support/simulator_process.h"
#include "support/window_test_main.h"

#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using remote::Json;

namespace {

constexpr int kSimTimeoutMs = 10000;
constexpr int kExampleTimeoutMs = 60000;

// "Setup: Fernsteuerung", a companion window without a parent.
QWidget *remoteSetup()
{
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->objectName() == QLatin1String("remoteSetupWindow"))
            return window;
    qFatal("no window Setup: Fernsteuerung");
}

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

} // namespace

class TestRemoteWithSim : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void aJointMovesAndALimitIsRefusedWithTheWindowsReason();
    void theTipMovesInAStraightLine();
    void aMotionSetPlays();
    void theChassisStopsWithoutAHeartbeat();
    void aStrangerIsClosedBeyondLoopback();
    void examplesRun_data();
    void examplesRun();

private:
    // One request; its reply.
    Json ask(RemoteProgram &program, const QByteArray &request);
    bool connectLink(int link);

    QTemporaryDir simDir;
    SimulatorProcess sim{QStringLiteral(VELMORA_SIM_PATH)};
    std::unique_ptr<ProgramDirFixture> dir;
    std::unique_ptr<MessageRecorder> recorder;
    std::unique_ptr<app::TForm1> form;
    quint16 port = 0;
};

void TestRemoteWithSim::initTestCase()
{
    QVERIFY(simDir.isValid());
    QVERIFY2(sim.start(simDir.filePath(QStringLiteral("received.log"))), "velmora-sim did not get ready");
    dir = std::make_unique<ProgramDirFixture>();
    settings::Settings values;
    values.joints = {{{16, 751, 2251}, {17, 752, 2252}, {18, 753, 2253}, {19, 754, 2254}, {20, 1175, 1825}}};
    for (int link = 0; link < 2; ++link) {
        const QStringList hostPort = sim.endpoint(link == 0 ? "arm-tcp" : "chassis-tcp").split(':');
        values.links[std::size_t(link)] = {hostPort[0].toStdString(), hostPort[1].toStdString()};
    }
    values.webCam = {"192", "168", "100", "5"};
    QVERIFY(!settings::writeSettingsFile(dir->filePath("RFS/STARTW2.stw").toStdString(), values));
    port = freePort();
    QVERIFY(writeBytes(dir->filePath("RFS/velmora.ini"),
                       QStringLiteral("[remote]\nenabled=true\nport=%1\n").arg(port).toUtf8()));
    QVERIFY(writeBytes(dir->filePath("RFS/zwei.rfs"), "300 1000 0 1500 0 1500 0 1500 0 1500 \r\n"
                                                      "300 1200 0 1500 0 1500 0 1500 0 1500 \r\n"));
    recorder = std::make_unique<MessageRecorder>();
    form = std::make_unique<app::TForm1>(dir->path());
    form->show();
    QVERIFY(connectLink(1));
    QVERIFY(connectLink(2));
    QTRY_COMPARE_WITH_TIMEOUT(recorder->texts().size(), 2, kSimTimeoutMs);
}

void TestRemoteWithSim::cleanupTestCase()
{
    form.reset();
    sim.stop();
}

bool TestRemoteWithSim::connectLink(int link)
{
    auto *button = form->findChild<QPushButton *>(QStringLiteral("btnConnect%1").arg(link));
    QTest::mouseClick(button, Qt::LeftButton);
    return QTest::qWaitFor([button] { return button->text() == QLatin1String("TCP aktiv"); }, kSimTimeoutMs);
}

Json TestRemoteWithSim::ask(RemoteProgram &program, const QByteArray &request)
{
    program.send(request);
    return program.nextWith("id");
}

void TestRemoteWithSim::aJointMovesAndALimitIsRefusedWithTheWindowsReason()
{
    RemoteProgram program(port, kSimTimeoutMs);
    program.next();
    const qsizetype mark = sim.mark();
    const Json moved = ask(program, R"({"id":1,"request":"arm.joints","joints":[{"joint":"Schulter","pulse":1700,"speed":2000}]})");
    QCOMPARE(RemoteProgram::field(moved, "ok"), "true");
    QTRY_VERIFY_WITH_TIMEOUT(sim.statusSince(mark, QRegularExpression("#17=1700 ")), kSimTimeoutMs);
    const Json refused = ask(program, R"({"id":2,"request":"arm.joints","joints":[{"joint":1,"pulse":2300}]})");
    QCOMPARE(RemoteProgram::field(refused, "message"), "\"Schulter: Grenze überschritten\"");
}

void TestRemoteWithSim::theTipMovesInAStraightLine()
{
    RemoteProgram program(port, kSimTimeoutMs);
    program.next();
    const Json reply = ask(program, R"({"id":1,"request":"arm.tip","x":200,"y":50,"z":120,"pitch":-30,"speed":150})");
    QCOMPARE(RemoteProgram::field(reply, "ok"), "true");
    QCOMPARE(RemoteProgram::field(program.nextWith("event"), "done"), "true");
    const Json state = ask(program, R"({"id":2,"request":"state"})");
    const Json &tip = *state.find("state")->find("arm")->find("tip");
    QVERIFY(std::abs(tip.find("x")->asNumber() - 200) < 1 && std::abs(tip.find("z")->asNumber() - 120) < 1);
}

void TestRemoteWithSim::aMotionSetPlays()
{
    RemoteProgram program(port, kSimTimeoutMs);
    program.next();
    QCOMPARE(RemoteProgram::field(ask(program, R"({"id":1,"request":"sets.list"})"), "files"), "[\"zwei.rfs\"]");
    ask(program, R"({"id":2,"request":"subscribe","events":["player"]})");
    QCOMPARE(RemoteProgram::field(ask(program, R"({"id":3,"request":"sets.load","file":"zwei.rfs"})"), "ok"), "true");
    const qsizetype mark = sim.mark();
    QCOMPARE(RemoteProgram::field(ask(program, R"({"id":4,"request":"player.play","dwell_ms":0})"), "ok"), "true");
    for (Json event = program.nextWith("event"); RemoteProgram::field(event, "state") != "\"Ablauf beendet\"";
         event = program.nextWith("event"))
        QVERIFY2(!event.isNull(), "the player did not finish");
    QTRY_VERIFY_WITH_TIMEOUT(sim.statusSince(mark, QRegularExpression("#16=1200 ")), kSimTimeoutMs);
}

void TestRemoteWithSim::theChassisStopsWithoutAHeartbeat()
{
    RemoteProgram program(port, kSimTimeoutMs);
    program.next();
    const Json reply = ask(program, R"({"id":1,"request":"chassis.drive","direction":"forward","speed":100})");
    QCOMPARE(RemoteProgram::field(reply, "ok"), "true");
    // The lease is shorter than the simulator's status period: its log shows the drive.
    QTRY_VERIFY_WITH_TIMEOUT(sim.logText().contains(QRegularExpression("K100\\b")), kSimTimeoutMs);
    const Json ended = program.nextWith("event");
    QCOMPARE(RemoteProgram::field(ended, "reason"), "\"heartbeat\"");
    QCOMPARE(form->driveCommand().direction(), 's');
    const qsizetype stopped = sim.mark();
    QTRY_VERIFY_WITH_TIMEOUT(sim.statusSince(stopped, QRegularExpression("tracks L0 R0 ")), kSimTimeoutMs);
    // The operator's stop button wins over a program that keeps its heartbeat.
    ask(program, R"({"id":2,"request":"chassis.drive","direction":"backward","speed":80})");
    QTest::mouseClick(form->findChild<QToolButton *>(QStringLiteral("btnStop")), Qt::LeftButton);
    QCOMPARE(RemoteProgram::field(program.nextWith("event"), "reason"), "\"operator\"");
    QCOMPARE(RemoteProgram::field(ask(program, R"({"id":3,"request":"chassis.heartbeat"})"), "driving"), "false");
}

void TestRemoteWithSim::aStrangerIsClosedBeyondLoopback()
{
    remoteSetup()->findChild<QRadioButton *>(QStringLiteral("allNetworks"))->setChecked(true);
    RemoteProgram stranger(port, kSimTimeoutMs);
    QCOMPARE(RemoteProgram::field(stranger.next(), "token_required"), "true");
    QCOMPARE(RemoteProgram::field(ask(stranger, R"({"id":1,"request":"arm.park"})"), "error"), "\"unauthorized\"");
    QVERIFY(stranger.closed());
    RemoteProgram known(port, kSimTimeoutMs);
    known.next();
    const QString token = remoteSetup()->findChild<QLineEdit *>(QStringLiteral("tokenEdit"))->text();
    QCOMPARE(RemoteProgram::field(ask(known, "{\"id\":1,\"request\":\"auth\",\"token\":\"" + token.toUtf8() + "\"}"), "ok"),
             "true");
    remoteSetup()->findChild<QRadioButton *>(QStringLiteral("localOnly"))->setChecked(true);
}

void TestRemoteWithSim::examplesRun_data()
{
    QTest::addColumn<QString>("example");
    QTest::addColumn<QString>("says");
    QTest::newRow("pick and place") << "pick_and_place.py" << "done: the tip at x 200, y 100, z 100 mm";
    QTest::newRow("drive until close") << "drive_until_close.py" << "stopped at 1";
}

void TestRemoteWithSim::examplesRun()
{
    QFETCH(QString, example);
    QFETCH(QString, says);
    QProcess python;
    python.start(QStringLiteral(VELMORA_PYTHON),
                 {QStringLiteral(VELMORA_PYTHON_CLIENT "/examples/") + example, "--port", QString::number(port)});
    QVERIFY(python.waitForStarted());
    QVERIFY(QTest::qWaitFor([&python] { return python.state() == QProcess::NotRunning; }, kExampleTimeoutMs));
    const QString output = QString::fromUtf8(python.readAllStandardOutput() + python.readAllStandardError());
    QVERIFY2(python.exitCode() == 0 && output.startsWith(says), qPrintable(output));
    QCOMPARE(form->driveCommand().direction(), 's');
}

VELMORA_WINDOW_TEST_MAIN(TestRemoteWithSim)
#include "test_remote_with_sim.moc"
