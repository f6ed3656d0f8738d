// TCommThread against a scripted device and a hand-over the test drives: the
// order of the device calls, the write retry rule, port listing, and what
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
const std::string kDefaultConfigure = "configure 9600 8 0 0 / 15 1 250 1 250";
const std::string kQueueSizes = "setQueueSizes 32768 9216";

Calls openCalls(const std::string &open, const std::string &configure)
{
    return {open, "saveCurrent", configure, kQueueSizes};
}

void setParameter(TCommThread &port, const QString &parameter)
{
    if (parameter == "DeviceName")
        port.setDeviceName("COM7");
    else if (parameter == "BaudRate")
        port.setBaudRate(115200);
    else if (parameter == "ByteSize")
        port.setByteSize(7);
    else if (parameter == "Parity")
        port.setParity(2);
    else if (parameter == "StopBits")
        port.setStopBits(2);
}

} // namespace

class TestTCommThread : public QObject {
    Q_OBJECT

private slots:
    void startsClosedWithDefaultParametersAndNoWorker()
    {
        FakePort fake;
        ManualHandOver handOver;
        TCommThread port(handOver, FakeSerialDevice::on(fake));
        QCOMPARE(port.Connected(), false);
        QCOMPARE(port.Suspended(), true);
        QCOMPARE(port.DeviceName(), std::string("COM1"));
        QCOMPARE(port.BaudRate(), 9600u);
        QCOMPARE(port.ByteSize(), 8);
        QCOMPARE(port.Parity(), 0);
        QCOMPARE(port.StopBits(), 0);
        QVERIFY(fake.calls.empty());
    }

    void openSavesFoundSettingsThenAppliesOurs()
    {
        FakePort fake;
        ManualHandOver handOver;
        TCommThread port(handOver, FakeSerialDevice::on(fake));
        QVERIFY(port.Open());
        QVERIFY(port.Connected());
        QVERIFY(!port.Suspended());
        QCOMPARE(fake.calls, openCalls(kOpenCom1, kDefaultConfigure));
    }

    void failedOpenLeavesPortClosedAndWorkerUnstarted()
    {
        FakePort fake;
        fake.openSucceeds = false;
        ManualHandOver handOver;
        TCommThread port(handOver, FakeSerialDevice::on(fake));
        QVERIFY(!port.Open());
        QVERIFY(!port.Connected());
        QVERIFY(port.Suspended());
        QCOMPARE(fake.calls, Calls{kOpenCom1});
    }

    void failedOpenKeepsTheReasonUntilAnOpenSucceeds()
    {
        FakePort fake;
        fake.openSucceeds = false;
        fake.openError = "Permission denied";
        ManualHandOver handOver;
        TCommThread port(handOver, FakeSerialDevice::on(fake));
        QVERIFY(port.LastError().empty());
        QVERIFY(!port.Open());
        QCOMPARE(port.LastError(), std::string("Permission denied"));
        fake.openSucceeds = true;
        QVERIFY(port.Open());
        QVERIFY(port.LastError().empty());
    }

    void refusedParametersStillLeaveThePortOpen()
    {
        FakePort fake;
        fake.configureSucceeds = false;
        ManualHandOver handOver;
        TCommThread port(handOver, FakeSerialDevice::on(fake));
        QVERIFY(port.Open());
        QVERIFY(port.Connected());
    }

    void openOnOpenPortChangesNothing()
    {
        FakePort fake;
        ManualHandOver handOver;
        TCommThread port(handOver, FakeSerialDevice::on(fake));
        QVERIFY(port.Open());
        fake.calls.clear();
        QVERIFY(port.Open());
        QVERIFY(fake.calls.empty());
    }

    void closeOnClosedPortChangesNothing()
    {
        FakePort fake;
        ManualHandOver handOver;
        TCommThread port(handOver, FakeSerialDevice::on(fake));
        QVERIFY(port.Close());
        QVERIFY(fake.calls.empty());
    }

    void closeRestoresFoundSettingsAndKeepsWorkerRunning()
    {
        FakePort fake;
        ManualHandOver handOver;
        TCommThread port(handOver, FakeSerialDevice::on(fake));
        QVERIFY(port.Open());
        fake.calls.clear();
        QVERIFY(port.Close());
        QVERIFY(!port.Connected());
        QVERIFY(!port.Suspended());
        QCOMPARE(fake.calls, (Calls{"restoreSaved", "close"}));
    }

    void refusedCloseReappliesOurSettingsAndStaysOpen()
    {
        FakePort fake;
        fake.closeSucceeds = false;
        ManualHandOver handOver;
        TCommThread port(handOver, FakeSerialDevice::on(fake));
        QVERIFY(port.Open());
        fake.calls.clear();
        QVERIFY(!port.Close());
        QVERIFY(port.Connected());
        QCOMPARE(fake.calls, (Calls{"restoreSaved", "close", kDefaultConfigure}));
        fake.closeSucceeds = true; // let the destructor close it
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
            << "BaudRate" << reopen(kOpenCom1, "configure 115200 8 0 0 / 15 1 250 1 250");
        QTest::newRow("byte size")
            << "ByteSize" << reopen(kOpenCom1, "configure 9600 7 0 0 / 15 1 250 1 250");
        QTest::newRow("parity")
            << "Parity" << reopen(kOpenCom1, "configure 9600 8 2 0 / 15 1 250 1 250");
        QTest::newRow("stop bits")
            << "StopBits" << reopen(kOpenCom1, "configure 9600 8 0 2 / 15 1 250 1 250");
    }

    void parameterChangeWhileOpenClosesAndReopens()
    {
        QFETCH(QString, parameter);
        QFETCH(Calls, expected);
        FakePort fake;
        ManualHandOver handOver;
        TCommThread port(handOver, FakeSerialDevice::on(fake));
        QVERIFY(port.Open());
        fake.calls.clear();
        setParameter(port, parameter);
        QCOMPARE(fake.calls, expected);
        QVERIFY(port.Connected());
    }

    void parameterChangeWhileClosedOnlyStoresIt_data()
    {
        parameterChangeWhileOpenClosesAndReopens_data();
    }

    void parameterChangeWhileClosedOnlyStoresIt()
    {
        QFETCH(QString, parameter);
        QFETCH(Calls, expected);
        FakePort fake;
        ManualHandOver handOver;
        TCommThread port(handOver, FakeSerialDevice::on(fake));
        setParameter(port, parameter);
        QVERIFY(fake.calls.empty());
        QVERIFY(port.Open());
        const Calls reopenedWith(expected.begin() + 2, expected.end());
        QCOMPARE(fake.calls, reopenedWith);
    }

    void settersStoreTheValuesGettersReturn()
    {
        FakePort fake;
        ManualHandOver handOver;
        TCommThread port(handOver, FakeSerialDevice::on(fake));
        port.setDeviceName("/dev/ttyUSB0");
        port.setBaudRate(57600);
        port.setByteSize(4); // nothing validates; the device refuses it at open
        port.setParity(4);
        port.setStopBits(1);
        QCOMPARE(port.DeviceName(), std::string("/dev/ttyUSB0"));
        QCOMPARE(port.BaudRate(), 57600u);
        QCOMPARE(port.ByteSize(), 4);
        QCOMPARE(port.Parity(), 4);
        QCOMPARE(port.StopBits(), 1);
    }

    void emptyTextIsWrittenWithoutAnyWrite()
    {
        FakePort fake;
        ManualHandOver handOver;
        TCommThread port(handOver, FakeSerialDevice::on(fake));
        QVERIFY(port.Open());
        QVERIFY(port.WriteText(""));
        QCOMPARE(fake.writeCalls.load(), 0);
    }

    void writeOnClosedPortFailsWithoutTouchingTheDevice()
    {
        FakePort fake;
        ManualHandOver handOver;
        TCommThread port(handOver, FakeSerialDevice::on(fake));
        QVERIFY(!port.WriteText("#0P1500\r"));
        QCOMPARE(fake.writeCalls.load(), 0);
    }

    void textGoesOutOneWritePerByte()
    {
        FakePort fake;
        ManualHandOver handOver;
        TCommThread port(handOver, FakeSerialDevice::on(fake));
        QVERIFY(port.Open());
        QVERIFY(port.WriteText("#0P1500\r"));
        QCOMPARE(fake.written, std::string("#0P1500\r"));
        QCOMPARE(fake.writeCalls.load(), 8);
    }

    void failedByteIsRetriedUntilItGoesOut()
    {
        FakePort fake;
        fake.writeResults = {IoResult::Ok, IoResult::Retry, IoResult::Retry, IoResult::Retry};
        ManualHandOver handOver;
        TCommThread port(handOver, FakeSerialDevice::on(fake));
        QVERIFY(port.Open());
        QVERIFY(port.WriteText("ab"));
        QCOMPARE(fake.written, std::string("ab"));
        QCOMPARE(fake.writeCalls.load(), 5);
    }

    void retriesCountOnlyConsecutiveFailures()
    {
        FakePort fake;
        fake.writeResults.assign(99999, IoResult::Retry);
        fake.writeResults.push_back(IoResult::Ok);
        fake.writeResults.insert(fake.writeResults.end(), 99999, IoResult::Retry);
        ManualHandOver handOver;
        TCommThread port(handOver, FakeSerialDevice::on(fake));
        QVERIFY(port.Open());
        QVERIFY(port.WriteText("ab"));
        QCOMPARE(fake.written, std::string("ab"));
    }

    void writeGivesUpAfterOneHundredThousandFailures()
    {
        FakePort fake;
        fake.writeResults.assign(200000, IoResult::Retry);
        ManualHandOver handOver;
        TCommThread port(handOver, FakeSerialDevice::on(fake));
        QVERIFY(port.Open());
        QVERIFY(!port.WriteText("ab"));
        QCOMPARE(fake.writeCalls.load(), 100000);
        QVERIFY(fake.written.empty());
    }

    void writeToDeadDeviceFailsAtOnce()
    {
        FakePort fake;
        fake.writeResults = {IoResult::Ok, IoResult::HardError};
        ManualHandOver handOver;
        TCommThread port(handOver, FakeSerialDevice::on(fake));
        QVERIFY(port.Open());
        QVERIFY(!port.WriteText("abc"));
        QCOMPARE(fake.writeCalls.load(), 2);
        QCOMPARE(fake.written, std::string("a"));
    }

    void receivedBlockReachesOnReceiveOnPump()
    {
        FakePort fake;
        ManualHandOver handOver;
        TCommThread port(handOver, FakeSerialDevice::on(fake));
        std::vector<std::string> blocks;
        port.OnReceive = [&](std::string block) { blocks.push_back(block); };
        QVERIFY(port.Open());
        fake.feed("Rev 2.01\r\n");
        QVERIFY(handOver.waitForWaiting());
        QVERIFY(blocks.empty());
        handOver.pump();
        QCOMPARE(blocks, std::vector<std::string>{"Rev 2.01\r\n"});
    }

    void blockReadBeforeCloseIsDropped()
    {
        FakePort fake;
        ManualHandOver handOver;
        TCommThread port(handOver, FakeSerialDevice::on(fake));
        std::vector<std::string> blocks;
        port.OnReceive = [&](std::string block) { blocks.push_back(block); };
        QVERIFY(port.Open());
        fake.feed("stale");
        QVERIFY(handOver.waitForWaiting());
        QVERIFY(port.Close()); // the worker waits in the hand-over without the lock
        handOver.pump();
        QVERIFY(blocks.empty());
    }

    void blockReadBeforeReopenIsDropped()
    {
        FakePort fake;
        ManualHandOver handOver;
        TCommThread port(handOver, FakeSerialDevice::on(fake));
        std::vector<std::string> blocks;
        port.OnReceive = [&](std::string block) { blocks.push_back(block); };
        QVERIFY(port.Open());
        fake.feed("old line");
        QVERIFY(handOver.waitForWaiting());
        port.setBaudRate(19200);
        QVERIFY(port.Connected());
        handOver.pump();
        QVERIFY(blocks.empty());
        fake.feed("new line");
        QVERIFY(handOver.waitForWaiting());
        handOver.pump();
        QCOMPARE(blocks, std::vector<std::string>{"new line"});
    }

    void destructionWhileWorkerWaitsInHandOverEnds()
    {
        FakePort fake;
        ManualHandOver handOver;
        auto port = std::make_unique<TCommThread>(handOver, FakeSerialDevice::on(fake));
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
        FakePort fake;
        ManualHandOver handOver;
        TCommThread port(handOver, FakeSerialDevice::on(fake));
        int lost = 0;
        port.OnLost = [&] { ++lost; };
        QVERIFY(port.Open());
        fake.calls.clear();
        fake.failPolls(IoResult::HardError);
        QVERIFY(handOver.waitForWaiting());
        QCOMPARE(fake.pollCalls.load(), 1);
        handOver.pump();
        QCOMPARE(lost, 1);
        QVERIFY(!port.Connected());
        QCOMPARE(fake.calls, (Calls{"restoreSaved", "close"}));

        // Reopened on a working device, the worker reads again and reports nothing more.
        fake.failPolls(IoResult::Ok, 0);
        QVERIFY(port.Open());
        fake.feed("back");
        QVERIFY(handOver.waitForWaiting());
        handOver.pump();
        QCOMPARE(lost, 1);
    }

    void lossAfterOwnerClosedIsNotReported()
    {
        FakePort fake;
        ManualHandOver handOver;
        TCommThread port(handOver, FakeSerialDevice::on(fake));
        int lost = 0;
        port.OnLost = [&] { ++lost; };
        QVERIFY(port.Open());
        fake.failPolls(IoResult::HardError);
        QVERIFY(handOver.waitForWaiting());
        QVERIFY(port.Close());
        handOver.pump();
        QCOMPARE(lost, 0);
    }

    void failedPollSkipsOnlyThatPass()
    {
        FakePort fake;
        ManualHandOver handOver;
        TCommThread port(handOver, FakeSerialDevice::on(fake));
        std::vector<std::string> blocks;
        int lost = 0;
        port.OnReceive = [&](std::string block) { blocks.push_back(block); };
        port.OnLost = [&] { ++lost; };
        fake.failPolls(IoResult::Retry, 3);
        fake.feed("held back");
        QVERIFY(port.Open());
        QVERIFY(handOver.waitForWaiting());
        QCOMPARE(fake.pollCalls.load(), 4);
        handOver.pump();
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
        FakePort fake;
        ManualHandOver handOver;
        TCommThread port(handOver, FakeSerialDevice::on(fake));
        port.setPortNameSource([](bool wantSerial, bool wantParallel) {
            std::vector<std::string> names;
            if (wantParallel)
                names.push_back("LPT1");
            if (wantSerial)
                names.push_back("COM1");
            return names;
        });
        QStringList listed;
        for (const std::string &name : port.EnumPorts(std::uint8_t(serial), std::uint8_t(parallel)))
            listed << QString::fromStdString(name);
        QCOMPARE(listed, expected);
    }

    void portsAreSortedCaseInsensitivelyKeepingDuplicates()
    {
        FakePort fake;
        ManualHandOver handOver;
        TCommThread port(handOver, FakeSerialDevice::on(fake));
        port.setPortNameSource([](bool, bool) {
            return std::vector<std::string>{"COM2", "com3", "COM10", "COM1", "COM2"};
        });
        QCOMPARE(port.EnumPorts(1, 0),
                 (std::vector<std::string>{"COM1", "COM10", "COM2", "COM2", "com3"}));
    }

    void givenListIsClearedFirstAndReturned()
    {
        FakePort fake;
        ManualHandOver handOver;
        TCommThread port(handOver, FakeSerialDevice::on(fake));
        port.setPortNameSource([](bool, bool) { return std::vector<std::string>{"COM4"}; });
        std::vector<std::string> list {"stale"};
        std::vector<std::string> &result = port.EnumPorts(1, 1, list);
        QCOMPARE(&result, &list);
        QCOMPARE(list, std::vector<std::string>{"COM4"});
        port.EnumPorts(0, 0, list);
        QVERIFY(list.empty());
    }
};

QTEST_APPLESS_MAIN(TestTCommThread)
#include "test_tcomm_thread.moc"
