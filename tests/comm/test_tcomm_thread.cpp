// TCommThread against a scripted device and a hand-over the test drives: the
// order of the device calls, whole-or-nothing writes, port listing, and what
// happens while the worker waits in a hand-over.
#include "comm/tcomm_thread.h"
#include "support/fake_serial_device.h"
#include "support/manual_hand_over.h"

#include <QtTest>

using platform::IoResult;
using Calls = std::vector<std::string>;

Q_DECLARE_METATYPE(Calls)

namespace {

const std::string kOpenCom1 = "open COM1";
const std::string kDefaultConfigure = "configure 9600 8 0 0";
const std::string kQueueSizes = "setQueueSizes 32768 9216";

Calls openCalls(const std::string &open, const std::string &configure)
{
    return {open, "saveCurrent", configure, kQueueSizes};
}

void setParameter(comm::TCommThread &port, const QString &parameter)
{
    if (parameter == "DeviceName")
        port.setDeviceName("COM7");
    else if (parameter == "BaudRate")
        port.setBaudRate(115200);
    else if (parameter == "ByteSize")
        port.setByteSize(7);
    else if (parameter == "Parity")
        port.setParity(platform::Parity::Even);
    else if (parameter == "StopBits")
        port.setStopBits(platform::StopBits::Two);
}

// A port on a scripted device, with a hand-over the test drives; the test
// scripts the device before it opens the port.
struct PortOnFake {
    explicit PortOnFake(comm::TCommThread::PortNameSource names = platform::listPorts)
        : port(handOver, FakeSerialDevice::on(fake), std::move(names))
    {
    }

    FakePort fake;
    ManualHandOver handOver;
    comm::TCommThread port;
};

} // namespace

class TestTCommThread : public QObject {
    Q_OBJECT

private slots:
    void startsClosedWithDefaultParametersAndNoWorker()
    {
        PortOnFake rig;
        QCOMPARE(rig.port.Connected(), false);
        QCOMPARE(rig.port.Suspended(), true);
        QCOMPARE(rig.port.DeviceName(), std::string("COM1"));
        QCOMPARE(rig.port.BaudRate(), 9600u);
        QCOMPARE(rig.port.ByteSize(), 8);
        QCOMPARE(rig.port.Parity(), platform::Parity::None);
        QCOMPARE(rig.port.StopBits(), platform::StopBits::One);
        QVERIFY(rig.fake.calls.empty());
    }

    void openSavesFoundSettingsThenAppliesOurs()
    {
        PortOnFake rig;
        QVERIFY(rig.port.Open());
        QVERIFY(rig.port.Connected());
        QVERIFY(!rig.port.Suspended());
        QCOMPARE(rig.fake.calls, openCalls(kOpenCom1, kDefaultConfigure));
    }

    void failedOpenLeavesPortClosedAndWorkerUnstarted()
    {
        PortOnFake rig;
        rig.fake.openSucceeds = false;
        QVERIFY(!rig.port.Open());
        QVERIFY(!rig.port.Connected());
        QVERIFY(rig.port.Suspended());
        QCOMPARE(rig.fake.calls, Calls{kOpenCom1});
    }

    void failedOpenKeepsTheReasonUntilAnOpenSucceeds()
    {
        PortOnFake rig;
        rig.fake.openSucceeds = false;
        rig.fake.openError = "Permission denied";
        QVERIFY(rig.port.LastError().empty());
        QVERIFY(!rig.port.Open());
        QCOMPARE(rig.port.LastError(), std::string("Permission denied"));
        rig.fake.openSucceeds = true;
        QVERIFY(rig.port.Open());
        QVERIFY(rig.port.LastError().empty());
    }

    void refusedParametersStillLeaveThePortOpen()
    {
        PortOnFake rig;
        rig.fake.configureSucceeds = false;
        QVERIFY(rig.port.Open());
        QVERIFY(rig.port.Connected());
    }

    void openOnOpenPortChangesNothing()
    {
        PortOnFake rig;
        QVERIFY(rig.port.Open());
        rig.fake.calls.clear();
        QVERIFY(rig.port.Open());
        QVERIFY(rig.fake.calls.empty());
    }

    void closeOnClosedPortChangesNothing()
    {
        PortOnFake rig;
        QVERIFY(rig.port.Close());
        QVERIFY(rig.fake.calls.empty());
    }

    void closeRestoresFoundSettingsAndKeepsWorkerRunning()
    {
        PortOnFake rig;
        QVERIFY(rig.port.Open());
        rig.fake.calls.clear();
        QVERIFY(rig.port.Close());
        QVERIFY(!rig.port.Connected());
        QVERIFY(!rig.port.Suspended());
        QCOMPARE(rig.fake.calls, (Calls{"restoreSaved", "close"}));
    }

    void refusedCloseReappliesOurSettingsAndStaysOpen()
    {
        PortOnFake rig;
        rig.fake.closeSucceeds = false;
        QVERIFY(rig.port.Open());
        rig.fake.calls.clear();
        QVERIFY(!rig.port.Close());
        QVERIFY(rig.port.Connected());
        QCOMPARE(rig.fake.calls, (Calls{"restoreSaved", "close", kDefaultConfigure}));
        rig.fake.closeSucceeds = true; // let the destructor close it
    }

    void parameterChangeWhileOpenClosesAndReopens_data()
    {
        QTest::addColumn<QString>("parameter");
        QTest::addColumn<Calls>("expected");
        const Calls close {"restoreSaved", "close"};
        const auto reopen = [&](const std::string &open, const std::string &configure) {
            Calls calls = close;
            for (const std::string &call : openCalls(open, configure))
                calls.push_back(call);
            return calls;
        };
        QTest::newRow("device name") << "DeviceName" << reopen("open COM7", kDefaultConfigure);
        QTest::newRow("baud rate")
            << "BaudRate" << reopen(kOpenCom1, "configure 115200 8 0 0");
        QTest::newRow("byte size")
            << "ByteSize" << reopen(kOpenCom1, "configure 9600 7 0 0");
        QTest::newRow("parity")
            << "Parity" << reopen(kOpenCom1, "configure 9600 8 2 0");
        QTest::newRow("stop bits")
            << "StopBits" << reopen(kOpenCom1, "configure 9600 8 0 2");
    }

    void parameterChangeWhileOpenClosesAndReopens()
    {
        QFETCH(QString, parameter);
        QFETCH(Calls, expected);
        PortOnFake rig;
        QVERIFY(rig.port.Open());
        rig.fake.calls.clear();
        setParameter(rig.port, parameter);
        QCOMPARE(rig.fake.calls, expected);
        QVERIFY(rig.port.Connected());
    }

    void parameterChangeWhileClosedOnlyStoresIt_data()
    {
        parameterChangeWhileOpenClosesAndReopens_data();
    }

    void parameterChangeWhileClosedOnlyStoresIt()
    {
        QFETCH(QString, parameter);
        QFETCH(Calls, expected);
        PortOnFake rig;
        setParameter(rig.port, parameter);
        QVERIFY(rig.fake.calls.empty());
        QVERIFY(rig.port.Open());
        const Calls reopenedWith(expected.begin() + 2, expected.end());
        QCOMPARE(rig.fake.calls, reopenedWith);
    }

    void settersStoreTheValuesGettersReturn()
    {
        PortOnFake rig;
        rig.port.setDeviceName("/dev/ttyUSB0");
        rig.port.setBaudRate(57600);
        rig.port.setByteSize(4); // nothing validates; the device refuses it at open
        rig.port.setParity(platform::Parity::Space);
        rig.port.setStopBits(platform::StopBits::OneAndAHalf);
        QCOMPARE(rig.port.DeviceName(), std::string("/dev/ttyUSB0"));
        QCOMPARE(rig.port.BaudRate(), 57600u);
        QCOMPARE(rig.port.ByteSize(), 4);
        QCOMPARE(rig.port.Parity(), platform::Parity::Space);
        QCOMPARE(rig.port.StopBits(), platform::StopBits::OneAndAHalf);
    }

    void emptyTextIsWrittenWithoutAnyWrite()
    {
        PortOnFake rig;
        QVERIFY(rig.port.Open());
        QVERIFY(rig.port.WriteText(""));
        QCOMPARE(rig.fake.writeCalls.load(), 0);
    }

    void writeOnClosedPortFailsWithoutTouchingTheDevice()
    {
        PortOnFake rig;
        QVERIFY(!rig.port.WriteText("#0P1500\r"));
        QCOMPARE(rig.fake.writeCalls.load(), 0);
    }

    void textGoesOutWholeOrNotAtAll_data()
    {
        QTest::addColumn<int>("queued");
        QTest::addColumn<QList<int>>("script");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("written");
        const int queueSize = 9216;
        QTest::newRow("in one write") << 0 << QList<int>{} << true << "#0P1500\r";
        QTest::newRow("queue takes just all of it") << queueSize - 8 << QList<int>{} << true << "#0P1500\r";
        QTest::newRow("queue one byte short") << queueSize - 7 << QList<int>{} << false << "";
        QTest::newRow("driver takes nothing") << 0 << QList<int>{0} << false << "";
        QTest::newRow("dead device") << 0 << QList<int>{int(FakePort::kDeadDevice)} << false << "";
        // The rest goes out from the worker once the driver takes it.
        QTest::newRow("driver takes part") << 0 << QList<int>{3} << true << "#0P1500\r";
    }

    void textGoesOutWholeOrNotAtAll()
    {
        QFETCH(int, queued);
        QFETCH(QList<int>, script);
        QFETCH(bool, accepted);
        QFETCH(QString, written);
        PortOnFake rig;
        rig.fake.queuedOutput = std::size_t(queued);
        rig.fake.writeScript.assign(script.begin(), script.end());
        QVERIFY(rig.port.Open());
        QCOMPARE(rig.port.WriteText("#0P1500\r"), accepted);
        QTRY_COMPARE(QString::fromStdString(rig.fake.sent()), written);
    }

    void restOfAPartlyTakenTextGoesFirstAndSendingResumesOnceTheLineDrains()
    {
        PortOnFake rig;
        QVERIFY(rig.port.Open());
        rig.fake.writeScript.assign(1000, 0); // a stalled line after the first bytes
        rig.fake.writeScript.front() = 4;
        QVERIFY(rig.port.WriteText("#16P1500\r"));
        QVERIFY(!rig.port.WriteText("#16P1600\r")); // refused while the rest waits
        QCOMPARE(rig.fake.sent(), std::string("#16P"));

        rig.fake.takeWrites();
        QTRY_COMPARE(rig.fake.sent(), std::string("#16P1500\r"));
        QVERIFY(rig.port.WriteText("#16P1700\r"));
        QCOMPARE(rig.fake.sent(), std::string("#16P1500\r#16P1700\r"));
    }

    void receivedBlockReachesOnReceiveOnPump()
    {
        PortOnFake rig;
        std::vector<std::string> blocks;
        rig.port.OnReceive = [&](std::string block) { blocks.push_back(block); };
        QVERIFY(rig.port.Open());
        rig.fake.feed("Rev 2.01\r\n");
        QVERIFY(rig.handOver.waitForWaiting());
        QVERIFY(blocks.empty());
        rig.handOver.pump();
        QCOMPARE(blocks, std::vector<std::string>{"Rev 2.01\r\n"});
    }

    void blockReadBeforeCloseIsDropped()
    {
        PortOnFake rig;
        std::vector<std::string> blocks;
        rig.port.OnReceive = [&](std::string block) { blocks.push_back(block); };
        QVERIFY(rig.port.Open());
        rig.fake.feed("stale");
        QVERIFY(rig.handOver.waitForWaiting());
        QVERIFY(rig.port.Close()); // the worker waits in the hand-over without the lock
        rig.handOver.pump();
        QVERIFY(blocks.empty());
    }

    void blockReadBeforeReopenIsDropped()
    {
        PortOnFake rig;
        std::vector<std::string> blocks;
        rig.port.OnReceive = [&](std::string block) { blocks.push_back(block); };
        QVERIFY(rig.port.Open());
        rig.fake.feed("old line");
        QVERIFY(rig.handOver.waitForWaiting());
        rig.port.setBaudRate(19200);
        QVERIFY(rig.port.Connected());
        rig.handOver.pump();
        QVERIFY(blocks.empty());
        rig.fake.feed("new line");
        QVERIFY(rig.handOver.waitForWaiting());
        rig.handOver.pump();
        QCOMPARE(blocks, std::vector<std::string>{"new line"});
    }

    void destructionWhileWorkerWaitsInHandOverEnds()
    {
        FakePort fake;
        ManualHandOver handOver;
        auto port = std::make_unique<comm::TCommThread>(handOver, FakeSerialDevice::on(fake));
        int received = 0;
        port->OnReceive = [&](std::string) { ++received; };
        QVERIFY(port->Open());
        fake.feed("in flight");
        QVERIFY(handOver.waitForWaiting());
        port.reset();
        QCOMPARE(received, 0);
        QCOMPARE(handOver.waiting(), std::size_t(0));
        QCOMPARE(fake.calls.back(), std::string("close"));
    }

    void vanishedDeviceIsClosedAndReportedOnceWithoutFurtherPolls()
    {
        PortOnFake rig;
        int lost = 0;
        rig.port.OnLost = [&] { ++lost; };
        QVERIFY(rig.port.Open());
        rig.fake.calls.clear();
        rig.fake.failPolls(IoResult::HardError);
        QVERIFY(rig.handOver.waitForWaiting());
        QCOMPARE(rig.fake.pollCalls.load(), 1);
        rig.handOver.pump();
        QCOMPARE(lost, 1);
        QVERIFY(!rig.port.Connected());
        QCOMPARE(rig.fake.calls, (Calls{"restoreSaved", "close"}));

        // Reopened on a working device, the worker reads again and reports nothing more.
        rig.fake.failPolls(IoResult::Ok, 0);
        QVERIFY(rig.port.Open());
        rig.fake.feed("back");
        QVERIFY(rig.handOver.waitForWaiting());
        rig.handOver.pump();
        QCOMPARE(lost, 1);
    }

    void lossAfterOwnerClosedIsNotReported()
    {
        PortOnFake rig;
        int lost = 0;
        rig.port.OnLost = [&] { ++lost; };
        QVERIFY(rig.port.Open());
        rig.fake.failPolls(IoResult::HardError);
        QVERIFY(rig.handOver.waitForWaiting());
        QVERIFY(rig.port.Close());
        rig.handOver.pump();
        QCOMPARE(lost, 0);
    }

    void failedPollSkipsOnlyThatPass()
    {
        PortOnFake rig;
        std::vector<std::string> blocks;
        int lost = 0;
        rig.port.OnReceive = [&](std::string block) { blocks.push_back(block); };
        rig.port.OnLost = [&] { ++lost; };
        rig.fake.failPolls(IoResult::Retry, 3);
        rig.fake.feed("held back");
        QVERIFY(rig.port.Open());
        QVERIFY(rig.handOver.waitForWaiting());
        QCOMPARE(rig.fake.pollCalls.load(), 4);
        rig.handOver.pump();
        QCOMPARE(blocks, std::vector<std::string>{"held back"});
        QCOMPARE(lost, 0);
    }

    void portsAreListedWhenTheirFlagIsExactlyOne_data()
    {
        QTest::addColumn<int>("serial");
        QTest::addColumn<int>("parallel");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("both") << 1 << 1 << QStringList{"COM1", "LPT1"};
        QTest::newRow("serial only") << 1 << 0 << QStringList{"COM1"};
        QTest::newRow("parallel only") << 0 << 1 << QStringList{"LPT1"};
        QTest::newRow("neither") << 0 << 0 << QStringList{};
        QTest::newRow("serial flag 2") << 2 << 1 << QStringList{"LPT1"};
        QTest::newRow("parallel flag 255") << 1 << 255 << QStringList{"COM1"};
    }

    void portsAreListedWhenTheirFlagIsExactlyOne()
    {
        QFETCH(int, serial);
        QFETCH(int, parallel);
        QFETCH(QStringList, expected);
        PortOnFake rig([](bool wantSerial, bool wantParallel) {
            std::vector<std::string> names;
            if (wantParallel)
                names.push_back("LPT1");
            if (wantSerial)
                names.push_back("COM1");
            return names;
        });
        QStringList listed;
        for (const std::string &name : rig.port.EnumPorts(std::uint8_t(serial), std::uint8_t(parallel)))
            listed << QString::fromStdString(name);
        QCOMPARE(listed, expected);
    }

    void portsAreSortedCaseInsensitivelyKeepingDuplicates()
    {
        PortOnFake rig([](bool, bool) {
            return std::vector<std::string>{"COM2", "com3", "COM10", "COM1", "COM2"};
        });
        QCOMPARE(rig.port.EnumPorts(1, 0),
                 (std::vector<std::string>{"COM1", "COM10", "COM2", "COM2", "com3"}));
    }
};

QTEST_APPLESS_MAIN(TestTCommThread)
#include "test_tcomm_thread.moc"
