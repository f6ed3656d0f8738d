// Runs the real simulator and talks to it as the console would, over loopback
// TCP and over its pseudo-terminals.
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Reads what is waiting on a non-blocking descriptor.
QByteArray readWaiting(int fd)
{
    QByteArray bytes;
    char buffer[256];
    ssize_t n = 0;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0)
        bytes.append(buffer, n);
    return bytes;
}

} // namespace

class TestSimProcess : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void answersOverTcp_data();
    void answersOverTcp();
    void answersOverPty_data();
    void answersOverPty();
    void newestClientReplacesOlder();
    void pulseQueryFollowsTheMoveAsItHappens();
    void logsReceivedLinesWithTimeAndLink();
    void windowWithoutDisplayIsRefused();

private:
    // Collects the endpoint lines printed before "ready"; true once it has come.
    bool readEndpoints();
    void addLinkRows();

    QTemporaryDir dir;
    QProcess sim;
    QByteArray output;
    QMap<QString, QString> endpoints; // "arm-tcp" -> "127.0.0.1:41234", "arm-pty" -> "/dev/pts/5"
};

void TestSimProcess::initTestCase()
{
    QVERIFY(dir.isValid());
    sim.start(QStringLiteral(VELMORA_SIM_PATH),
              {"--arm-port", "0", "--chassis-port", "0", "--pty", "--log", dir.filePath("received.log")});
    QVERIFY2(sim.waitForStarted(), qPrintable(sim.errorString()));
    QTRY_VERIFY_WITH_TIMEOUT(readEndpoints(), 10000);
    for (const char *key : {"arm-tcp", "chassis-tcp", "arm-pty", "chassis-pty"})
        QVERIFY2(endpoints.contains(key), key);
    QVERIFY(endpoints["arm-tcp"].startsWith("127.0.0.1:"));
}

void TestSimProcess::cleanupTestCase()
{
    sim.terminate();
    QVERIFY(sim.waitForFinished());
}

bool TestSimProcess::readEndpoints()
{
    output += sim.readAllStandardOutput();
    for (const QByteArray &line : output.split('\n')) {
        const QList<QByteArray> words = line.trimmed().split(' ');
        if (words.size() == 2)
            endpoints.insert(QString::fromLatin1(words[0]), QString::fromLatin1(words[1]));
        if (line.trimmed() == "ready")
            return true;
    }
    return false;
}

void TestSimProcess::addLinkRows()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QString>("reply");

    QTest::newRow("arm version") << "arm" << QByteArray("VER\r") << "^SSC32-1\\.06XE\\r$";
    QTest::newRow("chassis identification") << "chassis" << QByteArray("I1\r") << "^VELMO-2007\\r$";
    QTest::newRow("chassis distance") << "chassis" << QByteArray("A1\r") << "^A\\d+\\r$";
    QTest::newRow("chassis battery") << "chassis" << QByteArray("B1\r") << "^B\\d+\\r$";
    QTest::newRow("chassis temperature") << "chassis" << QByteArray("T1\r") << "^T\\d+\\r$";
}

void TestSimProcess::answersOverTcp_data()
{
    addLinkRows();
}

void TestSimProcess::answersOverTcp()
{
    QFETCH(QString, link);
    QFETCH(QByteArray, request);
    QFETCH(QString, reply);

    const QStringList hostPort = endpoints[link + "-tcp"].split(':');
    QTcpSocket socket;
    socket.connectToHost(hostPort[0], hostPort[1].toUShort());
    QVERIFY(socket.waitForConnected(5000));
    QByteArray received;
    connect(&socket, &QTcpSocket::readyRead, this, [&] { received += socket.readAll(); });
    socket.write(request);
    QTRY_VERIFY2(received.endsWith('\r'), received.constData());
    QVERIFY2(QRegularExpression(reply).match(QString::fromLatin1(received)).hasMatch(),
             received.constData());
}

void TestSimProcess::answersOverPty_data()
{
    addLinkRows();
}

void TestSimProcess::answersOverPty()
{
    QFETCH(QString, link);
    QFETCH(QByteArray, request);
    QFETCH(QString, reply);

    const QByteArray path = QFile::encodeName(endpoints[link + "-pty"]);
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    QVERIFY2(fd >= 0, path.constData());
    const auto closeFd = qScopeGuard([fd] { ::close(fd); });
    QCOMPARE(::write(fd, request.constData(), size_t(request.size())), ssize_t(request.size()));
    QByteArray received;
    QTRY_VERIFY2((received += readWaiting(fd)).endsWith('\r'), received.constData());
    QVERIFY2(QRegularExpression(reply).match(QString::fromLatin1(received)).hasMatch(),
             received.constData());
}

void TestSimProcess::newestClientReplacesOlder()
{
    const QStringList hostPort = endpoints["chassis-tcp"].split(':');
    QTcpSocket older;
    older.connectToHost(hostPort[0], hostPort[1].toUShort());
    QVERIFY(older.waitForConnected(5000));
    QSignalSpy olderDropped(&older, &QTcpSocket::disconnected);

    QTcpSocket newer;
    newer.connectToHost(hostPort[0], hostPort[1].toUShort());
    QVERIFY(newer.waitForConnected(5000));
    QVERIFY(olderDropped.wait(5000));

    QByteArray received;
    connect(&newer, &QTcpSocket::readyRead, this, [&] { received += newer.readAll(); });
    newer.write("I1\r");
    QTRY_COMPARE(received, QByteArray("VELMO-2007\r"));
}

// QP answers with the joint as it stands when the query arrives, and a move starts
// when its command arrives. The client's own clock bounds both moments: the move
// began between sending it and its reply, the query was handled between sending
// it and its reply. Answering from the last 20 ms clock tick falls outside.
void TestSimProcess::pulseQueryFollowsTheMoveAsItHappens()
{
    constexpr int kFrom = 500;
    constexpr int kTo = 2500;
    constexpr int kMoveMs = 200;
    // The millisecond steps of the simulator's clock at both ends and QP's 10 µs unit.
    constexpr double kMarginUs = 35;
    constexpr int kReplyTimeoutMs = 5000;

    const QStringList hostPort = endpoints["arm-tcp"].split(':');
    QTcpSocket socket;
    socket.connectToHost(hostPort[0], hostPort[1].toUShort());
    QVERIFY(socket.waitForConnected(kReplyTimeoutMs));
    const auto ask = [&socket](const QByteArray &line) {
        socket.write(line);
        return socket.waitForReadyRead(kReplyTimeoutMs) ? socket.readAll() : QByteArray();
    };
    const auto pulseAfter = [](qint64 ns) {
        return std::min<double>(kTo, kFrom + (kTo - kFrom) * (double(ns) / 1e6) / kMoveMs);
    };

    QCOMPARE(ask("#5P" + QByteArray::number(kFrom) + "Q\r"), QByteArray("."));
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(ask("#5P" + QByteArray::number(kTo) + "T" + QByteArray::number(kMoveMs) + "Q\r"), QByteArray("+"));
    const qint64 moveAnsweredNs = clock.nsecsElapsed();

    int pulse = kFrom;
    while (pulse < kTo && clock.elapsed() < kReplyTimeoutMs) {
        const qint64 sentNs = clock.nsecsElapsed();
        const QByteArray reply = ask("QP5\r");
        const qint64 answeredNs = clock.nsecsElapsed();
        QCOMPARE(reply.size(), 1);
        pulse = quint8(reply[0]) * 10;
        const double earliest = pulseAfter(sentNs - moveAnsweredNs) - kMarginUs;
        const double latest = pulseAfter(answeredNs) + kMarginUs;
        QVERIFY2(pulse >= earliest && pulse <= latest,
                 qPrintable(QStringLiteral("pulse %1, expected %2..%3").arg(pulse).arg(earliest).arg(latest)));
    }
    QCOMPARE(pulse, kTo);
}

void TestSimProcess::logsReceivedLinesWithTimeAndLink()
{
    const QStringList hostPort = endpoints["arm-tcp"].split(':');
    QTcpSocket socket;
    socket.connectToHost(hostPort[0], hostPort[1].toUShort());
    QVERIFY(socket.waitForConnected(5000));
    socket.write("#17P1800#20P1300S500\r");

    QFile log(dir.filePath("received.log"));
    const auto logText = [&log] {
        log.open(QIODevice::ReadOnly);
        const QString text = QString::fromLatin1(log.readAll());
        log.close();
        return text;
    };
    const QRegularExpression entry("^\\d+ arm #17P1800#20P1300S500$",
                                   QRegularExpression::MultilineOption);
    QTRY_VERIFY2(entry.match(logText()).hasMatch(), qPrintable(logText()));
}

// Qt would abort with a plugin message; the simulator says what is missing instead.
void TestSimProcess::windowWithoutDisplayIsRefused()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    QProcess windowed;
    windowed.setProcessEnvironment(environment);
    windowed.start(QStringLiteral(VELMORA_SIM_PATH), {"--window", "--arm-port", "0", "--chassis-port", "0"});
    QVERIFY(windowed.waitForFinished(10000));
    QCOMPARE(windowed.exitStatus(), QProcess::NormalExit);
    QCOMPARE(windowed.exitCode(), 2);
    const QByteArray error = windowed.readAllStandardError();
    QVERIFY2(error.contains("--window needs a display"), error.constData());
    QVERIFY2(!windowed.readAllStandardOutput().contains("ready"), "links were opened");
}

QTEST_GUILESS_MAIN(TestSimProcess)
#include "test_sim_process.moc"
