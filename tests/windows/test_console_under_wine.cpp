// The whole console built for Windows (console_wine_driver.exe, from the mingw
// build against the Windows SDK) under Wine on an Xvfb of this test's own,
// against the Linux simulator over loopback TCP. The driver uses the window as
// the operator would and prints each step. This side installs the console
// silently and checks what only it can see: the Start menu and the uninstall
// entry, RFS/ in the profile, the joint command in the simulator's log, the
// settings file after closing, the process's end, and what uninstalling leaves.
#include "settings/settings_file.h"
#include "support/file_bytes.h"
#include "support/simulator_process.h"

#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kWine = QStringLiteral(VELMORA_WINE);
const QString kWineServer = QStringLiteral(VELMORA_WINESERVER);
const QString kDriver = QStringLiteral(VELMORA_CONSOLE_WINE_DRIVER);
const QString kPrefix = QStringLiteral(VELMORA_WINE_PREFIX);
const QString kXvfb = QStringLiteral(VELMORA_XVFB);
const QString kInstaller = QStringLiteral(VELMORA_WINDOWS_INSTALLER);
const QString kInstallFolder = QStringLiteral(R"(C:\Program Files\Velmora)");
const QString kUninstallKey = QStringLiteral(R"(HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora)");
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
    void installerInstallsSilently();
    void installedConsoleMakesItsFilesInTheProfile();
    void consoleConnectsMovesJointReadsTelemetryAndSaves();
    void uninstallerLeavesTheUsersFiles();

private:
    // Stops the prefix's Wine server, and with it every Windows process and desktop it holds.
    void killWineServer();
    // Runs a Windows program in the prefix to its end: its exit code, or -1.
    int runInPrefix(const QStringList &command, QByteArray *output = nullptr);

    const QDir driveC{kPrefix + QStringLiteral("/drive_c")};
    const QString programFolder = driveC.filePath(QStringLiteral("Program Files/Velmora"));
    const QString startMenuEntry =
        driveC.filePath(QStringLiteral("ProgramData/Microsoft/Windows/Start Menu/Programs/Velmora/Velmora.lnk"));
    QDir userFiles; // %APPDATA%\Velmora

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
    // Qt's test library for the driver, which lies in the install folder.
    wineEnvironment.insert(QStringLiteral("WINEPATH"), onDriveZ(QFileInfo(kDriver).path()));
    // One left by another run may hold a desktop on another display.
    killWineServer();
    QStringList users = QDir(driveC.filePath(QStringLiteral("users"))).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    users.removeOne(QStringLiteral("Public"));
    userFiles.setPath(driveC.filePath("users/" + users.value(0) + "/AppData/Roaming/Velmora"));
    QVERIFY(userFiles.removeRecursively()); // an earlier run leaves it
}

void TestConsoleUnderWine::installerInstallsSilently()
{
    QCOMPARE(runInPrefix({kInstaller, QStringLiteral("/S")}), 0);
    QVERIFY(QFile::exists(programFolder + "/velmora.exe") && QFile::exists(programFolder + "/info.htm"));
    QVERIFY(!QFile::exists(programFolder + "/RFS"));
    QVERIFY(QFile::exists(startMenuEntry));
    QByteArray entry;
    QCOMPARE(runInPrefix({QStringLiteral("reg"), QStringLiteral("query"), kUninstallKey}, &entry), 0);
    QVERIFY2(entry.contains("DisplayVersion    REG_SZ    " VELMORA_VERSION) &&
                 entry.contains("Publisher    REG_SZ    Velmora developers"),
             entry);
}

// velmora.exe as the Start menu starts it. Finding no settings, it says so and
// waits for OK, where the prefix's server ends it.
void TestConsoleUnderWine::installedConsoleMakesItsFilesInTheProfile()
{
    QProcess console;
    console.setProcessEnvironment(wineEnvironment);
    console.start(kWine, {kInstallFolder + QStringLiteral("\\velmora.exe")});
    QTRY_VERIFY_WITH_TIMEOUT(userFiles.exists(QStringLiteral("RFS")), kRunTimeoutMs);
    killWineServer();
    QVERIFY(console.waitForFinished());
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
    const auto address = [this](const char *link) {
        const QStringList hostPort = sim.endpoint(QLatin1String(link) + "-tcp").split(QLatin1Char(':'));
        return settings::LinkAddress{hostPort.value(0).toStdString(), hostPort.value(1).toStdString()};
    };
    settings::Settings values;
    values.joints = {{{16, 751, 2251}, {17, 752, 2252}, {18, 753, 2253}, {19, 754, 2254}, {20, 1175, 1825}}};
    values.links = {address("arm"), address("chassis")};
    values.webCam = {"192", "168", "100", "5"};
    const QString settingsPath = userFiles.filePath(QStringLiteral("RFS/STARTW2.stw"));
    const auto error = settings::writeSettingsFile(nativePath(settingsPath), values);
    QVERIFY2(!error, error ? error->german().c_str() : "");

    // Beside velmora.exe the driver is the installed console; the uninstaller
    // would leave a folder with a file it does not know.
    QVERIFY(QFile::copy(kDriver, programFolder + "/console_wine_driver.exe"));
    const auto removeDriver = qScopeGuard([this] { QFile::remove(programFolder + "/console_wine_driver.exe"); });
    // Wine passes no QT_ variables, so the font engine comes as an argument: with
    // the native one Wine draws no text in edit fields. The screenshot stays in the
    // build tree for a look at how the window came out.
    QByteArray transcript;
    const int exitCode = runInPrefix({kInstallFolder + "\\console_wine_driver.exe", "-platform",
                                      "windows:fontengine=freetype", QString::number(kPosition),
                                      onDriveZ(QCoreApplication::applicationDirPath() + "/console-under-wine.png")},
                                     &transcript);
    qInfo("%s", transcript.constData());
    QCOMPARE(exitCode, 0);

    // Schulter is channel 17 above; no speed is chosen, so the command is the position alone.
    const QRegularExpression command(QStringLiteral("^\\d+ arm \\S*#17P%1(\\D|$)").arg(kPosition),
                                     QRegularExpression::MultilineOption);
    QTRY_VERIFY2(command.match(sim.logText()).hasMatch(), qPrintable(sim.logText().right(500)));

    // The driver lowered Schulter's upper limit by one before closing.
    values.joints[1].limitMax -= 1;
    QCOMPARE(readBytes(settingsPath),
             QByteArray::fromStdString(settings::formatSettings(values)));
}

// It runs on from a copy of itself once the command has returned; the Start
// menu is the last it clears.
void TestConsoleUnderWine::uninstallerLeavesTheUsersFiles()
{
    QCOMPARE(runInPrefix({kInstallFolder + QStringLiteral("\\Uninstall.exe"), QStringLiteral("/S")}), 0);
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(programFolder) && !QFile::exists(startMenuEntry), kRunTimeoutMs);
    QVERIFY(runInPrefix({QStringLiteral("reg"), QStringLiteral("query"), kUninstallKey}) != 0);
    QVERIFY(userFiles.exists(QStringLiteral("RFS/STARTW2.stw")));
}

int TestConsoleUnderWine::runInPrefix(const QStringList &command, QByteArray *output)
{
    QProcess process;
    process.setProcessEnvironment(wineEnvironment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(kWine, command);
    const bool ended = process.waitForFinished(kRunTimeoutMs);
    if (output)
        *output = process.readAll().replace("\r\n", "\n");
    return ended && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
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
