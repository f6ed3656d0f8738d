// TCommThread on real pseudo-terminals with the Qt hand-over: what the port's
// settings are while open and after close, data in both directions, a far end
// that goes away, and shutting down while the worker waits for the main thread.
#include "comm/qt_hand_over.h"
#include "comm/tcomm_thread.h"
#include "support/pty_pair.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

namespace {

// The Qt hand-over, telling the test when a worker has entered it; the block
// then waits for the main thread's event loop (or a pump).
class ObservedHandOver final : public comm::MainThreadHandOver {
public:
    void run(std::function<void()> block) override
    {
        {
            std::lock_guard<std::mutex> guard(lock);
            ++entered;
        }
        changed.notify_all();
        qt.run(std::move(block));
    }
    void pump() override { qt.pump(); }

    // False if no worker comes for a long while (a failure guard, not a timing).
    bool waitForEntered(int count)
    {
        std::unique_lock<std::mutex> guard(lock);
        return changed.wait_for(guard, std::chrono::seconds(10), [&] { return entered >= count; });
    }

private:
    comm::QtHandOver qt;
    std::mutex lock;
    std::condition_variable changed;
    int entered = 0;
};

termios cookedAt2400()
{
    termios settings {};
    settings.c_iflag = ICRNL | IXON;
    settings.c_oflag = OPOST | ONLCR;
    settings.c_cflag = CS8 | CREAD;
    settings.c_lflag = ICANON | ISIG | IEXTEN;
    ::cfsetispeed(&settings, B2400);
    ::cfsetospeed(&settings, B2400);
    return settings;
}

int openDescriptorCount()
{
    return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size();
}

struct Received {
    std::vector<std::string> blocks;
    std::string all() const
    {
        std::string joined;
        for (const std::string &block : blocks)
            joined += block;
        return joined;
    }
    int lost = 0;
};

void listen(comm::TCommThread &port, Received &received)
{
    port.OnReceive = [&received](std::string block) { received.blocks.push_back(block); };
    port.OnLost = [&received] { ++received.lost; };
}

// A port set to a fresh pty, with what it receives recorded. The test checks the
// pty and opens the port itself, so that it can set the line up first.
template <typename HandOver = comm::QtHandOver>
struct PortOnPty {
    PortOnPty()
    {
        listen(port, received);
        port.setDeviceName(line.deviceName());
    }

    PtyPair line;
    HandOver handOver;
    Received received;
    comm::TCommThread port {handOver};
};

} // namespace

class TestTCommThreadPty : public QObject {
    Q_OBJECT

private slots:
    void missingDeviceDoesNotOpenOrStartTheWorker()
    {
        comm::QtHandOver handOver;
        comm::TCommThread port(handOver);
        port.setDeviceName("/dev/velmora-no-such-port");
        QVERIFY(!port.Open());
        QVERIFY(!port.Connected());
        QVERIFY(port.Suspended());
        QCOMPARE(port.LastError(), std::string(std::strerror(ENOENT)));
    }

    void parametersHoldWhileOpenAndFoundOnesReturnAtClose_data()
    {
        QTest::addColumn<int>("baudRate");
        QTest::addColumn<int>("byteSize");
        QTest::addColumn<int>("parity");
        QTest::addColumn<int>("stopBits");
        QTest::addColumn<int>("speed");
        QTest::addColumn<bool>("cstopb");
        QTest::addColumn<bool>("parodd");
        QTest::addColumn<bool>("cmspar");
        QTest::newRow("9600 8N1") << 9600 << 8 << 0 << 0 << int(B9600) << false << false << false;
        QTest::newRow("19200 two stop bits") << 19200 << 8 << 0 << 2 << int(B19200) << true << false << false;
        QTest::newRow("odd parity") << 4800 << 8 << 1 << 0 << int(B4800) << false << true << false;
        QTest::newRow("even parity") << 4800 << 8 << 2 << 0 << int(B4800) << false << false << false;
        QTest::newRow("mark parity") << 115200 << 8 << 3 << 0 << int(B115200) << false << true << true;
        QTest::newRow("space parity") << 110 << 7 << 4 << 0 << int(B110) << false << false << true;
        QTest::newRow("1.5 stop bits with 5 data bits") << 300 << 5 << 0 << 1 << int(B300) << true << false << false;
        // Refused values leave the line as found (2400, one stop bit).
        QTest::newRow("1.5 stop bits with 8 data bits") << 19200 << 8 << 0 << 1 << int(B2400) << false << false << false;
        QTest::newRow("4 data bits") << 19200 << 4 << 0 << 2 << int(B2400) << false << false << false;
        QTest::newRow("unknown parity") << 19200 << 8 << 5 << 2 << int(B2400) << false << false << false;
        QTest::newRow("unknown speed") << 12345 << 8 << 0 << 2 << int(B2400) << false << false << false;
    }

    void parametersHoldWhileOpenAndFoundOnesReturnAtClose()
    {
        QFETCH(int, baudRate);
        QFETCH(int, byteSize);
        QFETCH(int, parity);
        QFETCH(int, stopBits);
        QFETCH(int, speed);
        QFETCH(bool, cstopb);
        QFETCH(bool, parodd);
        QFETCH(bool, cmspar);
        PortOnPty rig;
        QVERIFY(rig.line.isValid());
        rig.line.setSlaveSettings(cookedAt2400());
        rig.port.setBaudRate(std::uint32_t(baudRate));
        rig.port.setByteSize(std::uint8_t(byteSize));
        rig.port.setParity(static_cast<platform::Parity>(parity));
        rig.port.setStopBits(static_cast<platform::StopBits>(stopBits));

        QVERIFY(rig.port.Open()); // refused values do not keep the port from opening
        termios open = rig.line.slaveSettings();
        QCOMPARE(int(::cfgetospeed(&open)), speed);
        QCOMPARE(bool(open.c_cflag & CSTOPB), cstopb);
        QCOMPARE(bool(open.c_cflag & PARODD), parodd);
        QCOMPARE(bool(open.c_cflag & CMSPAR), cmspar);
        // Raw in any case, without flow control.
        QCOMPARE(open.c_lflag & (ICANON | ECHO | ISIG), tcflag_t(0));
        QCOMPARE(open.c_iflag & (IXON | IXOFF | IXANY | ICRNL), tcflag_t(0));
        QCOMPARE(open.c_oflag & OPOST, tcflag_t(0));
        QCOMPARE(open.c_cflag & CRTSCTS, tcflag_t(0));

        QVERIFY(rig.port.Close());
        termios closed = rig.line.slaveSettings();
        QCOMPARE(int(::cfgetospeed(&closed)), int(B2400));
        QCOMPARE(closed.c_cflag & (CSTOPB | PARODD | CMSPAR), tcflag_t(0));
        QCOMPARE(closed.c_lflag & ICANON, tcflag_t(ICANON));
        QCOMPARE(closed.c_iflag & IXON, tcflag_t(IXON));
    }

    void speedChangeWhileOpenReopensWithTheFoundSettingsSavedAgain()
    {
        PortOnPty rig;
        QVERIFY(rig.line.isValid());
        rig.line.setSlaveSettings(cookedAt2400());
        QVERIFY(rig.port.Open());
        rig.port.setBaudRate(57600);
        QVERIFY(rig.port.Connected());
        termios open = rig.line.slaveSettings();
        QCOMPARE(::cfgetospeed(&open), speed_t(B57600));
        // Had the reopen not put the found settings back first, it would have
        // saved our 9600 raw settings and restore those now.
        QVERIFY(rig.port.Close());
        termios closed = rig.line.slaveSettings();
        QCOMPARE(::cfgetospeed(&closed), speed_t(B2400));
        QCOMPARE(closed.c_lflag & ICANON, tcflag_t(ICANON));
    }

    void deviceNameChangeWhileOpenMovesToTheNewDevice()
    {
        PtyPair first;
        PtyPair second;
        QVERIFY(first.isValid() && second.isValid());
        first.setSlaveSettings(cookedAt2400());
        comm::QtHandOver handOver;
        comm::TCommThread port(handOver);
        Received received;
        listen(port, received);
        port.setDeviceName(first.deviceName());
        QVERIFY(port.Open());
        port.setDeviceName(second.deviceName());
        QVERIFY(port.Connected());
        QCOMPARE(first.slaveSettings().c_lflag & ICANON, tcflag_t(ICANON));
        QVERIFY(second.send("on the second line"));
        QTRY_COMPARE(received.all(), std::string("on the second line"));
    }

    void deviceInUseCannotBeOpenedTwice()
    {
        PtyPair line;
        QVERIFY(line.isValid());
        comm::QtHandOver handOver;
        comm::TCommThread link1(handOver);
        comm::TCommThread link2(handOver);
        link1.setDeviceName(line.deviceName());
        link2.setDeviceName(line.deviceName());
        QVERIFY(link1.Open());
        QVERIFY(!link2.Open());
        QCOMPARE(link2.LastError(), std::string(std::strerror(EBUSY)));
        QVERIFY(link1.Close());
        QVERIFY(link2.Open());
    }

    void writtenTextReachesTheFarEnd()
    {
        PortOnPty rig;
        QVERIFY(rig.line.isValid());
        QVERIFY(rig.port.Open());
        const std::string command = "#0P1500#1P1500T1000\r";
        QVERIFY(rig.port.WriteText(command));
        QCOMPARE(rig.line.receive(command.size()), command);
    }

    // What waited on the line before the open (an earlier session's replies) is
    // not delivered as if it had just arrived.
    void bytesFromBeforeTheOpenAreDropped()
    {
        PortOnPty rig;
        QVERIFY(rig.line.isValid());
        QVERIFY(rig.line.send("VELMO-2007\rA69\r"));
        QVERIFY(rig.port.Open());
        QVERIFY(rig.line.send("A42\r"));
        QTRY_COMPARE(rig.received.all(), std::string("A42\r"));
    }

    void replyAcrossTwoPollsArrivesAsTwoBlocks()
    {
        PortOnPty rig;
        QVERIFY(rig.line.isValid());
        QVERIFY(rig.port.Open());
        QVERIFY(rig.line.send("SSC32-"));
        QTRY_COMPARE(rig.received.blocks.size(), std::size_t(1));
        QVERIFY(rig.line.send("V2.01\r\n"));
        QTRY_COMPARE(rig.received.blocks.size(), std::size_t(2));
        QCOMPARE(rig.received.blocks, (std::vector<std::string>{"SSC32-", "V2.01\r\n"}));
    }

    void twentyThousandBytesArriveCompleteAndInOrder()
    {
        PortOnPty rig;
        QVERIFY(rig.line.isValid());
        QVERIFY(rig.port.Open());
        std::string stream(20000, '\0');
        for (std::size_t i = 0; i < stream.size(); ++i)
            stream[i] = char(i % 251); // a period that does not divide the buffer sizes
        // The line fills up; a writer thread keeps the main thread free for the hand-overs.
        bool sent = false;
        std::thread writer([&] { sent = rig.line.send(stream); });
        QTRY_COMPARE_WITH_TIMEOUT(rig.received.all().size(), stream.size(), 20000);
        writer.join();
        QVERIFY(sent);
        QVERIFY(rig.received.all() == stream);
    }

    void closeWhileWorkerWaitsInHandOverDropsTheBlock()
    {
        PortOnPty<ObservedHandOver> rig;
        QVERIFY(rig.line.isValid());
        QVERIFY(rig.port.Open());
        QVERIFY(rig.line.send("late reply"));
        QVERIFY(rig.handOver.waitForEntered(1));
        QVERIFY(rig.port.Close());
        rig.handOver.pump();
        QVERIFY(rig.received.blocks.empty());

        // The worker is free again: a reopened port receives.
        QVERIFY(rig.port.Open());
        QVERIFY(rig.line.send("fresh"));
        QTRY_COMPARE(rig.received.all(), std::string("fresh"));
    }

    void destructionWhileWorkerWaitsInHandOverEnds()
    {
        PtyPair line;
        QVERIFY(line.isValid());
        line.setSlaveSettings(cookedAt2400());
        ObservedHandOver handOver;
        auto port = std::make_unique<comm::TCommThread>(handOver);
        Received received;
        listen(*port, received);
        port->setDeviceName(line.deviceName());
        QVERIFY(port->Open());
        QVERIFY(line.send("in flight"));
        QVERIFY(handOver.waitForEntered(1));
        port.reset();
        QVERIFY(received.blocks.empty());
        QCOMPARE(line.slaveSettings().c_lflag & ICANON, tcflag_t(ICANON)); // closed on the way
    }

    void farEndGoneMidStreamIsReportedOnce()
    {
        PortOnPty rig;
        QVERIFY(rig.line.isValid());
        QVERIFY(rig.port.Open());
        QVERIFY(rig.line.send("Rev 2.01"));
        QTRY_COMPARE(rig.received.all(), std::string("Rev 2.01"));
        rig.line.closeMaster();
        QTRY_COMPARE(rig.received.lost, 1);
        QVERIFY(!rig.port.Connected());
        QVERIFY(!rig.port.WriteText("x"));

        // The same worker serves a new line and the loss is not reported again.
        PtyPair next;
        QVERIFY(next.isValid());
        rig.port.setDeviceName(next.deviceName());
        QVERIFY(rig.port.Open());
        QVERIFY(next.send("again"));
        QTRY_COMPARE(rig.received.all(), std::string("Rev 2.01again"));
        QCOMPARE(rig.received.lost, 1);
    }

    void writeToGoneFarEndFailsAtOnce()
    {
        PortOnPty<ObservedHandOver> rig;
        QVERIFY(rig.line.isValid());
        QVERIFY(rig.port.Open());
        rig.line.closeMaster();
        // The worker has seen the loss but the main thread has not closed the
        // port yet: the write meets the dead device itself.
        QVERIFY(rig.handOver.waitForEntered(1));
        QVERIFY(rig.port.Connected());
        QVERIFY(!rig.port.WriteText("#0P1500\r"));
    }

    // The far end stops reading (a stopped peer, XOFF, a slow line) while commands
    // keep coming, then reads again: only whole commands reach it, the writes
    // never hold the caller, and sending resumes by itself.
    void stalledLineTakesWholeCommandsOnlyAndResumesWhenItDrains()
    {
        PortOnPty rig;
        QVERIFY(rig.line.isValid());
        QVERIFY(rig.port.Open());
        const std::string filler(rig.line.fillLine(), 'F');
        QVERIFY(filler.size() > 0);

        std::string accepted;
        int attempts = 0;
        int acceptedWhileStalled = 0;
        QTimer sender;
        sender.setInterval(10);
        connect(&sender, &QTimer::timeout, this, [&] {
            const std::string command = "#16P" + std::to_string(1000 + attempts++) + "\r";
            if (rig.port.WriteText(command))
                accepted += command;
        });
        QElapsedTimer stalled;
        stalled.start();
        sender.start();
        QTRY_VERIFY_WITH_TIMEOUT(attempts >= 50, 20000);
        // Fifty refused writes at 10 ms each; retrying each one on the stalled
        // line would take seconds.
        QVERIFY2(stalled.elapsed() < 5000, qPrintable(QString::number(stalled.elapsed())));
        acceptedWhileStalled = int(accepted.size());

        std::string arrived;
        const auto drain = [&] {
            arrived += rig.line.receiveWhatCame(0);
            return arrived;
        };
        QTRY_VERIFY_WITH_TIMEOUT(drain().size() >= filler.size() && int(accepted.size()) > acceptedWhileStalled + 50,
                                 20000);
        sender.stop();
        const std::string expected = filler + accepted;
        QTRY_COMPARE_WITH_TIMEOUT(drain().size(), expected.size(), 20000);
        QVERIFY(arrived == expected);
    }

    void threeHundredOpenCloseCyclesLeakNothing()
    {
        PortOnPty rig;
        QVERIFY(rig.line.isValid());
        QVERIFY(rig.port.Open());
        QVERIFY(rig.port.Close());
        const int descriptors = openDescriptorCount();
        for (int cycle = 0; cycle < 300; ++cycle) {
            QVERIFY(rig.port.Open());
            QVERIFY(rig.port.Close());
        }
        QCOMPARE(openDescriptorCount(), descriptors);
        QVERIFY(rig.port.Open());
        QVERIFY(rig.line.send("still alive"));
        QTRY_COMPARE(rig.received.all(), std::string("still alive"));
    }
};

QTEST_GUILESS_MAIN(TestTCommThreadPty)
#include "test_tcomm_thread_pty.moc"
