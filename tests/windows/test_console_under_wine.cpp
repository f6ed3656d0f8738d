// The whole console built for Windows (console_wine_driver.exe, from the mingw
// build against the Windows SDK) under Wine on an Xvfb of this test's own,
// against the Linux simulator over loopback TCP. The driver uses the window as
// the operator would and prints each step; this side hands it a program
// directory whose settings point both links at the simulator, and checks what
// only it can see: the joint command in the simulator's log, the settings file
// on disk after closing, and the process's end.
#include "settings/settings_file.h"
#include "support/file_bytes.h"
#include "support/program_dir_fixture.h"
#include "support/simulator_process.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kWine = QStringLiteral(VELMORA_WINE);
const QString kWineServer = QStringLiteral(VELMORA_WINESERVER);
const QString kDriver = QStringLiteral(VELMORA_CONSOLE_WINE_DRIVER);
const QString kPrefix = QStringLiteral(VELMORA_WINE_PREFIX);
const QString kXvfb = QStringLiteral(VELMORA_XVFB);
// Bounds for a failing run only: Wine's first start in a prefix takes a while.
constexpr int kXvfbTimeoutMs = 10000;
constexpr int kRunTimeoutMs = 180000;
constexpr int kPosition = 1600;

// Where a Windows program finds a Linux path: Wine maps the root as drive Z:.
QString onDriveZ(const QString &path) { return QStringLiteral("Z:") + path; }

} // namespace

class TestConsoleUnderWine : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void consoleConnectsMovesJointReadsTelemetryAndSaves();

private:
    // Stops the prefix's Wine server, and with it every Windows process and desktop it holds.
    void killWineServer();

    QTemporaryDir simDir;
    SimulatorProcess sim{QStringLiteral(VELMORA_SIM_PATH)};
    QProcess xvfb;
    QProcessEnvironment wineEnvironment = QProcessEnvironment::systemEnvironment();
};

void TestConsoleUnderWine::initTestCase()
{
    QVERIFY(simDir.isValid());
    QVERIFY2(sim.start(simDir.filePath(QStringLiteral("received.log"))), "velmora-sim did not get ready");
    // The server picks a free display and says which once it takes clients.
    xvfb.start(kXvfb, {"-displayfd", "1", "-screen", "0", "1600x900x24", "-nolisten", "tcp"});
    QVERIFY2(xvfb.waitForReadyRead(kXvfbTimeoutMs), qPrintable(xvfb.errorString()));
    wineEnvironment.insert(QStringLiteral("DISPLAY"), QLatin1Char(':') + QString::fromLatin1(xvfb.readLine()).trimmed());
    wineEnvironment.insert(QStringLiteral("WINEPREFIX"), kPrefix);
    wineEnvironment.insert(QStringLiteral("WINEDEBUG"), QStringLiteral("-all"));
    // One left by another run may hold a desktop on another display.
    killWineServer();
}

void TestConsoleUnderWine::cleanupTestCase()
{
    killWineServer();
    xvfb.terminate();
    xvfb.waitForFinished();
    sim.stop();
}

void TestConsoleUnderWine::consoleConnectsMovesJointReadsTelemetryAndSaves()
{
    ProgramDirFixture dir;
    QVERIFY(dir.isValid());
    const auto address = [this](const char *link) {
        const QStringList hostPort = sim.endpoint(QLatin1String(link) + "-tcp").split(QLatin1Char(':'));
        return settings::LinkAddress{hostPort.value(0).toStdString(), hostPort.value(1).toStdString()};
    };
    settings::Settings values;
    values.joints = {{{16, 751, 2251}, {17, 752, 2252}, {18, 753, 2253}, {19, 754, 2254}, {20, 1175, 1825}}};
    values.links = {address("arm"), address("chassis")};
    values.webCam = {"192", "168", "100", "5"};
    const std::string settingsPath = nativePath(dir.filePath(QStringLiteral("RFS/STARTW2.stw")));
    const auto error = settings::writeSettingsFile(settingsPath, values);
    QVERIFY2(!error, error ? error->c_str() : "");

    QProcess driver;
    driver.setProcessEnvironment(wineEnvironment);
    driver.setProcessChannelMode(QProcess::MergedChannels);
    // Wine passes no QT_ variables, so the font engine comes as an argument: with
    // the native one Wine draws no text in edit fields. The screenshot stays in the
    // build tree for a look at how the window came out.
    driver.start(kWine, {kDriver, "-platform", "windows:fontengine=freetype", onDriveZ(dir.path()),
                         QString::number(kPosition),
                         onDriveZ(QCoreApplication::applicationDirPath() + "/console-under-wine.png")});
    const bool ended = driver.waitForFinished(kRunTimeoutMs);
    const QByteArray transcript = driver.readAll().replace("\r\n", "\n");
    qInfo("%s", transcript.constData());
    QVERIFY2(ended && driver.exitStatus() == QProcess::NormalExit && driver.exitCode() == 0, transcript);

    // Schulter is channel 17 above; no speed is chosen, so the command is the position alone.
    const QRegularExpression command(QStringLiteral("^\\d+ arm \\S*#17P%1(\\D|$)").arg(kPosition),
                                     QRegularExpression::MultilineOption);
    QTRY_VERIFY2(command.match(sim.logText()).hasMatch(), qPrintable(sim.logText().right(500)));

    // The driver lowered Schulter's upper limit by one before closing.
    values.joints[1].limitMax -= 1;
    QCOMPARE(readBytes(dir.filePath(QStringLiteral("RFS/STARTW2.stw"))),
             QByteArray::fromStdString(settings::formatSettings(values)));
}

void TestConsoleUnderWine::killWineServer()
{
    QProcess server;
    server.setProcessEnvironment(wineEnvironment);
    server.start(kWineServer, {QStringLiteral("-k")});
    server.waitForFinished();
}

QTEST_GUILESS_MAIN(TestConsoleUnderWine)
#include "test_console_under_wine.moc"
