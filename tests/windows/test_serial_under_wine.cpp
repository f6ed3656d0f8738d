// TCommThread with its Win32 backend, built with mingw (serial_wine_driver.exe)
// and run under Wine on COM ports of a private prefix that this test points at
// ptys: the pty's far end here plays the robot and reads back the line settings.
// What Wine or a pty cannot show: data bits and parity enable (a pty forces CS8
// and clears PARENB), cbOutQue (Wine reports TIOCOUTQ, always 0 on a pty), and
// a terminal's own modes after close (a DCB has none; Wine leaves the pty raw).
#include "support/pty_pair.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cstdio>
#include <thread>

namespace {

const QString kWine = QStringLiteral(VELMORA_WINE);
const QString kWineServer = QStringLiteral(VELMORA_WINESERVER);
const QString kDriver = QStringLiteral(VELMORA_WINE_DRIVER);
const QString kPrefix = QStringLiteral(VELMORA_WINE_PREFIX);
const QString kPorts = QStringLiteral(VELMORA_WINE_PORTS);

QProcessEnvironment wineEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("WINEPREFIX"), kPrefix);
    environment.insert(QStringLiteral("WINEDEBUG"), QStringLiteral("-all"));
    return environment;
}

// Points the prefix's port (com1, com2) at a device or file; atomic, so a run
// never finds the port missing.
bool pointPort(const QString &port, const QString &target)
{
    const QString link = kPorts + QLatin1Char('/') + port;
    const QString fresh = link + QStringLiteral(".new");
    QFile::remove(fresh);
    return QFile::link(target, fresh) && std::rename(qPrintable(fresh), qPrintable(link)) == 0;
}

// One run of the driver: its output lines, and its stdin for go-aheads.
class DriverRun {
public:
    explicit DriverRun(const QStringList &arguments)
    {
        process.setProcessEnvironment(wineEnvironment());
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(kWine, QStringList{kDriver} + arguments);
    }
    ~DriverRun()
    {
        process.kill();
        process.waitForFinished();
    }

    // Takes what the driver said so far, waiting up to waitMs for more.
    void poll(int waitMs)
    {
        if (process.bytesAvailable() == 0)
            process.waitForReadyRead(waitMs);
        while (process.canReadLine())
            lines << QString::fromUtf8(process.readLine()).trimmed();
    }
    // The first line so far that starts with prefix, or none.
    QString said(const QString &prefix) const
    {
        const auto found = std::find_if(lines.cbegin(), lines.cend(),
                                        [&](const QString &line) { return line.startsWith(prefix); });
        return found == lines.cend() ? QString() : *found;
    }
    // The same, waiting for it; none when the driver ends or stays silent for a
    // long while (a failure guard, not a timing).
    QString waitFor(const QString &prefix)
    {
        QElapsedTimer waited;
        waited.start();
        while (said(prefix).isEmpty() && waited.elapsed() < 60000
               && (process.state() != QProcess::NotRunning || process.canReadLine()))
            poll(100);
        return said(prefix);
    }
    void goAhead() { process.write("\n"); }
    bool succeeded()
    {
        const bool ended = process.waitForFinished(60000);
        poll(0);
        return ended && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }
    QByteArray transcript() const { return lines.join(QLatin1Char('\n')).toUtf8(); }

private:
    QProcess process;
    QStringList lines;
};

std::string commands(const QStringList &indices)
{
    std::string text;
    for (const QString &index : indices)
        text += "#16P" + std::to_string(1000 + index.toInt()) + "\r";
    return text;
}

termios cookedAt2400()
{
    termios settings {};
    settings.c_cflag = CS8 | CREAD;
    settings.c_lflag = ICANON | ISIG;
    ::cfsetispeed(&settings, B2400);
    ::cfsetospeed(&settings, B2400);
    return settings;
}

} // namespace

class TestSerialUnderWine : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // One server for all runs; it ends by itself a while after the last.
        QProcess server;
        server.setProcessEnvironment(wineEnvironment());
        server.setStandardOutputFile(QProcess::nullDevice());
        server.setStandardErrorFile(QProcess::nullDevice());
        server.start(kWineServer, {QStringLiteral("-p10")});
        QVERIFY(server.waitForFinished(60000));
        QVERIFY(pointPort(QStringLiteral("com1"), QStringLiteral("/dev/null")));
        DriverRun usage({});
        QVERIFY(!usage.waitFor(QStringLiteral("usage")).isEmpty());
        // Never let a test write to a port the prefix maps elsewhere (a real ttyS0).
        for (const QString &port : {QStringLiteral("com1"), QStringLiteral("com2")})
            QCOMPARE(QFileInfo(kPrefix + QStringLiteral("/dosdevices/") + port).symLinkTarget(),
                     kPorts + QLatin1Char('/') + port);
    }

    void cleanupTestCase()
    {
        QProcess server; // in the prefix, or it would stop another one's
        server.setProcessEnvironment(wineEnvironment());
        server.start(kWineServer, {QStringLiteral("-k")});
        server.waitForFinished();
    }

    void lineSettingsReachThePortAndTheFoundOnesReturn_data()
    {
        QTest::addColumn<QStringList>("settings"); // baud rate, byte size, parity, stop bits
        QTest::addColumn<int>("speed");
        QTest::addColumn<bool>("cstopb");
        QTest::addColumn<bool>("parodd");
        QTest::addColumn<bool>("cmspar");
        QTest::newRow("9600 8N1") << QStringList{"9600", "8", "0", "0"} << int(B9600) << false << false << false;
        QTest::newRow("19200 two stop bits") << QStringList{"19200", "8", "0", "2"} << int(B19200) << true << false << false;
        QTest::newRow("odd parity") << QStringList{"4800", "8", "1", "0"} << int(B4800) << false << true << false;
        QTest::newRow("mark parity") << QStringList{"115200", "8", "3", "0"} << int(B115200) << false << true << true;
        QTest::newRow("space parity") << QStringList{"110", "7", "4", "0"} << int(B110) << false << false << true;
    }

    void lineSettingsReachThePortAndTheFoundOnesReturn()
    {
        QFETCH(QStringList, settings);
        QFETCH(int, speed);
        QFETCH(bool, cstopb);
        QFETCH(bool, parodd);
        QFETCH(bool, cmspar);
        PtyPair line;
        QVERIFY(line.isValid());
        line.setSlaveSettings(cookedAt2400());
        QVERIFY(pointPort(QStringLiteral("com1"), QString::fromStdString(line.deviceName())));
        DriverRun run(QStringList{QStringLiteral("configure"), QStringLiteral("COM1")} + settings);
        QVERIFY2(run.waitFor(QStringLiteral("open")) == QStringLiteral("open"), run.transcript());
        const termios open = line.slaveSettings();
        QCOMPARE(int(::cfgetospeed(&open)), speed);
        QCOMPARE(bool(open.c_cflag & CSTOPB), cstopb);
        QCOMPARE(bool(open.c_cflag & PARODD), parodd);
        QCOMPARE(bool(open.c_cflag & CMSPAR), cmspar);
        QCOMPARE(open.c_lflag & (ICANON | ECHO | ISIG), tcflag_t(0)); // raw while open
        QCOMPARE(open.c_iflag & (IXON | IXOFF), tcflag_t(0));
        run.goAhead();
        QVERIFY2(run.succeeded(), run.transcript());
        const termios closed = line.slaveSettings();
        QCOMPARE(int(::cfgetospeed(&closed)), int(B2400));
        QCOMPARE(closed.c_cflag & (CSTOPB | PARODD | CMSPAR), tcflag_t(0));
    }

    void commandsGoOutWholeAndBlocksComeBackInOrder()
    {
        PtyPair line;
        QVERIFY(line.isValid());
        QVERIFY(pointPort(QStringLiteral("com1"), QString::fromStdString(line.deviceName())));
        constexpr int kProbes = 20;
        std::string stream;
        for (int record = 0; stream.size() < 6000; ++record)
            stream += "A" + std::to_string(record) + "\r";
        DriverRun run({QStringLiteral("exchange"), QStringLiteral("COM1"), QStringLiteral("100"),
                       QString::number(kProbes + stream.size())});
        QVERIFY2(run.waitFor(QStringLiteral("open")) == QStringLiteral("open"), run.transcript());
        QStringList indices;
        for (int index = 0; index < 100; ++index)
            indices << QString::number(index);
        const std::string written = commands(indices);
        QCOMPARE(line.receive(written.size()), written);

        // A byte's way to the worker, the main thread and back out, as Wine gives it.
        std::vector<qint64> roundTripsUs;
        for (int probe = 0; probe < kProbes; ++probe) {
            QElapsedTimer roundTrip;
            roundTrip.start();
            QVERIFY(line.send("?"));
            QCOMPARE(line.receive(1), std::string("?"));
            roundTripsUs.push_back(roundTrip.nsecsElapsed() / 1000);
        }
        std::sort(roundTripsUs.begin(), roundTripsUs.end());
        qInfo("echo round trip under Wine: median %lld us, longest %lld us", roundTripsUs[kProbes / 2],
              roundTripsUs.back());

        bool sent = false;
        std::thread writer([&] { sent = line.send(stream); });
        const std::string echoed = line.receive(stream.size());
        writer.join();
        QVERIFY(sent);
        QVERIFY(echoed == stream);
        QVERIFY2(run.succeeded(), run.transcript());
        qInfo("%s", qPrintable(run.waitFor(QStringLiteral("blocks"))));
    }

    void farEndGoneIsReportedOnceWithoutSpinning()
    {
        PtyPair line;
        QVERIFY(line.isValid());
        QVERIFY(pointPort(QStringLiteral("com1"), QString::fromStdString(line.deviceName())));
        DriverRun run({QStringLiteral("lost"), QStringLiteral("COM1")});
        QVERIFY2(!run.waitFor(QStringLiteral("measured")).isEmpty(), run.transcript());
        QVERIFY(line.send("Rev 2.01"));
        QVERIFY2(!run.waitFor(QStringLiteral("received")).isEmpty(), run.transcript());
        line.closeMaster();
        QVERIFY2(run.succeeded(), run.transcript());
        qInfo("%s; %s", qPrintable(run.waitFor(QStringLiteral("cpu while open"))),
              qPrintable(run.waitFor(QStringLiteral("cpu after loss"))));
    }

    void stalledLineTakesWholeCommandsOnlyAndResumesWhenItDrains()
    {
        PtyPair line;
        QVERIFY(line.isValid());
        QVERIFY(pointPort(QStringLiteral("com1"), QString::fromStdString(line.deviceName())));
        DriverRun run({QStringLiteral("stalled"), QStringLiteral("COM1")});
        QVERIFY2(run.waitFor(QStringLiteral("open")) == QStringLiteral("open"), run.transcript());
        const std::string filler(line.fillLine(), 'F');
        QVERIFY(!filler.empty());
        run.goAhead();
        QVERIFY2(!run.waitFor(QStringLiteral("drain")).isEmpty(), run.transcript());
        std::string arrived;
        QString accepted;
        QElapsedTimer guard;
        guard.start();
        while ((accepted = run.said(QStringLiteral("accepted "))).isEmpty() && guard.elapsed() < 60000) {
            arrived += line.receiveWhatCame(10);
            run.poll(0);
        }
        QVERIFY2(!accepted.isEmpty(), run.transcript());
        const std::string expected = filler + commands(accepted.split(' ').mid(1));
        while (arrived.size() < expected.size() && guard.elapsed() < 60000)
            arrived += line.receiveWhatCame(100);
        QCOMPARE(arrived.size(), expected.size());
        QVERIFY(arrived == expected);
        run.goAhead();
        QVERIFY2(run.succeeded(), run.transcript());
        qInfo("%s; %s", qPrintable(run.waitFor(QStringLiteral("stalled:"))),
              qPrintable(run.waitFor(QStringLiteral("longest"))));
    }

    void regularFileAsComPortIsRefusedAndKeptAsItWas()
    {
        QTemporaryDir directory;
        QVERIFY(directory.isValid());
        const QString path = directory.filePath(QStringLiteral("COM2"));
        const QByteArray content("settings the operator wants to keep\r\n");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        QVERIFY(pointPort(QStringLiteral("com2"), path));
        DriverRun run({QStringLiteral("notserial"), QStringLiteral("COM2")});
        QCOMPARE(run.waitFor(QStringLiteral("refused")), QStringLiteral("refused: kein serielles Gerät"));
        QVERIFY2(run.succeeded(), run.transcript());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
    }

    void portListComesSortedFromTheReadOnlyDeviceMaps()
    {
        DriverRun run({QStringLiteral("ports")});
        QCOMPARE(run.waitFor(QStringLiteral("ports")), QStringLiteral("ports com1 COM10 COM2 LPT1"));
        QVERIFY2(run.succeeded(), run.transcript());
    }
};

QTEST_GUILESS_MAIN(TestSerialUnderWine)
#include "test_serial_under_wine.moc"
