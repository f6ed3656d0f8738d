// Faults injected into a running main window, both timers running: far ends that
// vanish, close, reset, refuse or never answer; a flood of noise; replies that
// trickle in; a box left open while the links go on; a settings file of garbage;
// a motion set far too big. Each case checks that the window kept turning (a 10 ms
// probe timer never stalls for long), that nothing spins afterwards (the process's
// CPU time over 2 s), that the memory does not run away, and that nothing was lost
// or taken twice.
#include "app/tform1.h"
#include "arm/arm.h"
#include "drive/fahrwerk.h"
#include "support/file_bytes.h"
#include "support/file_dialog_answer.h"
#include "support/message_recorder.h"
#include "support/program_dir_fixture.h"
#include "support/pty_pair.h"
#include "support/tcp_peer.h"
#include "support/window_test_main.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSlider>
#include <QToolButton>
#include <QtTest>
#include <functional>
#include <malloc.h>
#include <random>
#include <sys/resource.h>

namespace {

// AddressSanitizer keeps freed memory in quarantine and pads every allocation,
// so there resident memory says nothing about growth of ours: the plain build
// checks memory, the sanitized one everything else.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryIsMeasurable = false;
#else
constexpr bool kMemoryIsMeasurable = true;
#endif

constexpr int kProbeIntervalMs = 10;
// A frozen window stalls for seconds; a loaded 2-core machine for far less.
constexpr qint64 kLargestGapMs = 1000;
constexpr int kCpuWindowMs = 2000;
// Both window timers and the probe cost a few percent of a core. A thread that
// spins takes a whole one, and still a third of one with six others runnable on
// the two cores (measured: 37-40 %).
constexpr double kMostCpuShare = 0.3;
constexpr qint64 kMiB = 1024 * 1024;
// A box, a reconnection or a new window costs a few MiB at most.
constexpr qint64 kOrdinaryGrowth = 16 * kMiB;

const QString kChassisFound = QStringLiteral("Kettenfahrzeug am WiPort gefunden!");
const QString kConnectionFailed = QStringLiteral(
    "Die Verbindung konnte nicht hergestellt werden!\nPrüfen Sie die Netzwerkeinstellungen und das WiPort!");
const QString kSettingsUnreadable = QStringLiteral("Fehler beim lesen der Einstellungen");

double cpuSeconds()
{
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// A size the kernel reports for this process: "VmRSS" resident now, "VmHWM" the
// most resident since the last reset, which also catches a jump that is over.
qint64 memoryBytes(const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith(field + ':'))
                return line.mid(field.size() + 1).trimmed().split(' ').value(0).toLongLong() * 1024;
        }
    }
    return -1;
}

// Freed memory the allocator keeps would hide new growth, and an earlier peak a new one.
qint64 trimmedResidentBytes()
{
    ::malloc_trim(0);
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
    return memoryBytes("VmRSS");
}

// Bytes of every value, the same in every run.
std::string noise(std::size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(size, '\0');
    for (char &c : bytes)
        c = static_cast<char>(byte(random));
    return bytes;
}

// The event loop turns meanwhile, as it does for the operator.
void keepRunning(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Watches the process from its creation on.
class HealthWatch {
public:
    HealthWatch()
    {
        probe.setTimerType(Qt::PreciseTimer);
        QObject::connect(&probe, &QTimer::timeout, &probe,
                         [this] { largestGap = std::max(largestGap, sinceLastTick.restart()); });
        sinceLastTick.start();
        probe.start(kProbeIntervalMs);
    }

    // Lets the window run 2 s more, then checks the three figures.
    void verify(qint64 mostGrowth)
    {
        const double cpuBefore = cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        keepRunning(kCpuWindowMs);
        const double cpuShare = (cpuSeconds() - cpuBefore) * 1000.0 / double(wall.elapsed());
        largestGap = std::max(largestGap, sinceLastTick.elapsed());
        const qint64 growth = memoryBytes("VmRSS") - residentAtStart;
        const qint64 peakGrowth = memoryBytes("VmHWM") - residentAtStart;
        const QByteArray figures =
            QStringLiteral("largest probe gap %1 ms, CPU %2 % of a core over 2 s, memory %3 MiB (at its peak %4 MiB)")
                .arg(largestGap).arg(cpuShare * 100, 0, 'f', 1).arg(double(growth) / kMiB, 0, 'f', 1)
                .arg(double(peakGrowth) / kMiB, 0, 'f', 1).toUtf8();
        qInfo("%s", figures.constData());
        QVERIFY2(largestGap < kLargestGapMs, figures.constData());
        QVERIFY2(cpuShare < kMostCpuShare, figures.constData());
        if (kMemoryIsMeasurable)
            QVERIFY2(residentAtStart > 0 && peakGrowth < mostGrowth, figures.constData());
    }

private:
    const qint64 residentAtStart = trimmedResidentBytes();
    QTimer probe;
    QElapsedTimer sinceLastTick;
    qint64 largestGap = 0;
};

// The robot's end of a link: a pseudo-terminal standing in for the serial line,
// or a loopback peer standing in for the WiPort.
class FarEnd {
public:
    explicit FarEnd(bool serial)
        : pty(serial ? std::make_unique<PtyPair>() : nullptr), peer(serial ? nullptr : std::make_unique<TcpPeer>())
    {
    }

    bool send(const std::string &bytes) { return pty ? pty->send(bytes) : peer->send(QByteArray::fromStdString(bytes)); }

    // Everything the window has sent here so far.
    QByteArray received()
    {
        if (!pty)
            return peer->received();
        for (std::string chunk; !(chunk = pty->receiveWhatCame(0)).empty();)
            fromWindow += QByteArray::fromStdString(chunk);
        return fromWindow;
    }

    std::unique_ptr<PtyPair> pty;
    std::unique_ptr<TcpPeer> peer;

private:
    QByteArray fromWindow;
};

// Records every box; the one with the held text stays open for a second, as when
// the operator leaves it standing: a nested event loop runs meanwhile, as in
// QMessageBox::exec().
class BoxHolder : public MessageRecorder {
public:
    QString heldText;
    std::function<void()> atOpen;
    std::function<void()> atClose;

    msg::Answer show(msg::Kind kind, msg::Buttons buttons, const platform::UiText &text) override
    {
        const msg::Answer answer = MessageRecorder::show(kind, buttons, text);
        if (QString::fromStdString(text.german()) == heldText) {
            atOpen();
            keepRunning(1000);
            atClose();
        }
        return answer;
    }
};

} // namespace

class TestFaultInjection : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void vanishingPtyLeavesTheLinkIdle_data();
    void vanishingPtyLeavesTheLinkIdle();
    void tcpPeerFaultLeavesTheLinkIdle_data();
    void tcpPeerFaultLeavesTheLinkIdle();
    void floodOfNoiseIsFollowedByValidReadings();
    void replyTricklingInIsTakenOnce_data();
    void replyTricklingInIsTakenOnce();
    void linksGoOnWhileABoxIsOpen_data();
    void linksGoOnWhileABoxIsOpen();
    void garbageSettingsLeaveTheDefaults();
    void hugeMotionSetIsRefusedUnread();

private:
    static void addTransportRows();
    template <typename Widget>
    Widget *control(const QString &name) const
    {
        auto *widget = form->findChild<Widget *>(name);
        if (!widget)
            qFatal("no control %s", qPrintable(name));
        return widget;
    }
    QLineEdit *edit(const char *name) const { return control<QLineEdit>(QLatin1String(name)); }
    QPlainTextEdit *receiveMemo(int n) const { return control<QPlainTextEdit>(n == 1 ? "Receive_Memo" : "Receive_Memo2"); }
    void startWindow();
    void connectLink(int n, FarEnd &end);
    void verifyLinkIdle(int n, bool serial);

    std::unique_ptr<ProgramDirFixture> dir;
    std::unique_ptr<BoxHolder> recorder;
    std::unique_ptr<app::TForm1> form;
};

void TestFaultInjection::init()
{
    dir = std::make_unique<ProgramDirFixture>();
    recorder = std::make_unique<BoxHolder>();
    startWindow();
    recorder->clear(); // no settings file
}

void TestFaultInjection::cleanup()
{
    form.reset();
    recorder.reset();
    dir.reset();
}

void TestFaultInjection::startWindow()
{
    form = std::make_unique<app::TForm1>(dir->path());
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
}

void TestFaultInjection::addTransportRows()
{
    QTest::addColumn<bool>("serial");
    QTest::newRow("pty") << true;
    QTest::newRow("tcp") << false;
}

void TestFaultInjection::connectLink(int n, FarEnd &end)
{
    const QString number = QString::number(n);
    auto *button = control<QPushButton>("btnConnect" + number);
    if (end.pty) {
        QVERIFY(end.pty->isValid());
        QTest::mouseClick(control<QRadioButton>("rbtnSeriell" + number), Qt::LeftButton);
        control<QComboBox>("cbxDeviceName" + number)->setEditText(QString::fromStdString(end.pty->deviceName()));
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(button->text(), QStringLiteral("Trennen"));
        return;
    }
    QVERIFY(end.peer->isListening());
    control<QLineEdit>("edtTCP_IP" + number)->setText(QStringLiteral("127.0.0.1"));
    control<QLineEdit>("edtTCP_Port" + number)->setText(QString::number(end.peer->port()));
    QTest::mouseClick(button, Qt::LeftButton);
    QTRY_COMPARE(button->text(), QStringLiteral("TCP aktiv"));
    // Up once the probe has left the window.
    QTRY_VERIFY2(end.received().startsWith(n == 1 ? "VER\r" : "I1\r"), end.received().constData());
}

// Idle in its mode; link 1 gives the joints' channels back, link 2 has the chassis off.
void TestFaultInjection::verifyLinkIdle(int n, bool serial)
{
    const QString number = QString::number(n);
    QCOMPARE(control<QPushButton>("btnConnect" + number)->text(), QStringLiteral("Verbinden"));
    QVERIFY(control<QRadioButton>((serial ? "rbtnTCP" : "rbtnSeriell") + number)->isEnabled());
    QVERIFY(control<QWidget>((serial ? "cbxDeviceName" : "edtTCP_IP") + number)->isEnabled());
    if (n == 1) {
        QVERIFY(control<QComboBox>(QStringLiteral("cbxKanalServo1"))->isEnabled());
    } else {
        QVERIFY(!control<QGroupBox>(QStringLiteral("gbxFahrwerk"))->isEnabled());
        QVERIFY(!control<QSlider>(QStringLiteral("trbSpeed"))->isEnabled());
        QVERIFY(!form->fahrwerk().getAktiv());
    }
}

void TestFaultInjection::vanishingPtyLeavesTheLinkIdle_data()
{
    QTest::addColumn<int>("n");
    QTest::newRow("link 1") << 1;
    QTest::newRow("link 2") << 2;
}

// The far end goes while both directions carry traffic: the window's commands
// (an arm move, the chassis rotation) and the robot's replies.
void TestFaultInjection::vanishingPtyLeavesTheLinkIdle()
{
    QFETCH(int, n);
    FarEnd end(true);
    connectLink(n, end);
    auto *basis = control<QSlider>(QStringLiteral("trbServo1"));
    if (n == 1)
        basis->setValue(1600);
    QTRY_VERIFY(end.received().contains(n == 1 ? "#16P1600" : "A1\r"));
    QVERIFY(end.send("A42\r"));
    QTRY_COMPARE(receiveMemo(n)->toPlainText().trimmed(), QStringLiteral("A42"));

    HealthWatch watch;
    end.pty->closeMaster();
    QTRY_COMPARE(recorder->texts().size(), 1);
    QVERIFY(recorder->texts().front().contains(QString::fromStdString(end.pty->deviceName())));
    verifyLinkIdle(n, true);
    watch.verify(kOrdinaryGrowth);
    QCOMPARE(recorder->texts().size(), 1);

    // What came stays shown; an arm move that cannot go any more stays in view.
    QCOMPARE(receiveMemo(n)->toPlainText().trimmed(), QStringLiteral("A42"));
    basis->setValue(1700);
    QTRY_COMPARE(edit("Transmit_Edit")->text(), QStringLiteral("#16P1700\r"));
}

void TestFaultInjection::tcpPeerFaultLeavesTheLinkIdle_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QStringList>("boxes");
    // A close is the far end's ordinary end: no box. A reset ends the connection
    // just as well, but may take what the window had not read yet with it.
    QTest::newRow("link 1, peer closes") << 1 << "close" << QStringList();
    QTest::newRow("link 2, peer closes") << 2 << "close" << QStringList();
    QTest::newRow("link 2, peer resets") << 2 << "reset" << QStringList();
    QTest::newRow("link 1, refused") << 1 << "refuse" << QStringList{kConnectionFailed};
    QTest::newRow("link 2, never answers") << 2 << "silent" << QStringList{kConnectionFailed};
}

void TestFaultInjection::tcpPeerFaultLeavesTheLinkIdle()
{
    QFETCH(int, n);
    QFETCH(QString, fault);
    QFETCH(QStringList, boxes);
    const QString number = QString::number(n);
    FarEnd end(false);
    SilentListener silent;
    QVERIFY(silent.isValid());
    const bool connects = fault == QLatin1String("close") || fault == QLatin1String("reset");
    if (connects) {
        connectLink(n, end);
        QVERIFY(end.send("A42\r"));
        QTRY_VERIFY(receiveMemo(n)->toPlainText().contains(QStringLiteral("A42")));
    }

    HealthWatch watch;
    if (fault == QLatin1String("close")) {
        QVERIFY(end.send("A43\r")); // the last words, which must still arrive
        end.peer->closeClient();
    } else if (fault == QLatin1String("reset")) {
        end.peer->resetClient();
    } else {
        const quint16 port = fault == QLatin1String("refuse") ? unusedLoopbackPort() : silent.port();
        control<QLineEdit>("edtTCP_IP" + number)->setText(QStringLiteral("127.0.0.1"));
        control<QLineEdit>("edtTCP_Port" + number)->setText(QString::number(port));
        QTest::mouseClick(control<QPushButton>("btnConnect" + number), Qt::LeftButton);
    }
    // A connect nobody answers is given up after the link's five seconds.
    QTRY_COMPARE_WITH_TIMEOUT(recorder->texts(), boxes, 20000);
    QTRY_COMPARE(control<QPushButton>("btnConnect" + number)->text(), QStringLiteral("Verbinden"));
    verifyLinkIdle(n, false);
    if (fault == QLatin1String("close"))
        QTRY_VERIFY(receiveMemo(n)->toPlainText().contains(QStringLiteral("A43")));
    watch.verify(kOrdinaryGrowth);
    QCOMPARE(recorder->texts(), boxes);
    QCOMPARE(receiveMemo(n)->toPlainText().contains(QStringLiteral("A42")), connects);

    FarEnd next(false); // the link is as good as new
    connectLink(n, next);
}

// Noise and odd records on the chassis line at the pty's own pace, with the
// telemetry window shown and recording: the records after it still show, every
// row holds one number, and the noise is not kept beyond the log's bound.
void TestFaultInjection::floodOfNoiseIsFollowedByValidReadings()
{
    FarEnd end(true);
    connectLink(2, end);
    control<QAction>(QStringLiteral("Telemetrie1"))->trigger();
    QList<QPushButton *> buttons;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->windowTitle() == QLatin1String("Telemetrie"))
            buttons = window->findChildren<QPushButton *>();
    QVERIFY(!buttons.isEmpty());
    const auto button = [&buttons](const QString &text) {
        return *std::find_if(buttons.cbegin(), buttons.cend(), [&](auto *found) { return found->text() == text; });
    };
    const QString csv = dir->filePath(QStringLiteral("RFS/rauschen.csv"));
    FileDialogAnswer answer(csv);
    QTest::mouseClick(button(QStringLiteral("Aufzeichnen...")), Qt::LeftButton);
    QVERIFY(answer.answered());
    // The carriage return ends whatever record the noise left open. Then a sign,
    // a decimal comma, no digits, a NUL byte and numbers beyond 32 bits.
    const std::string odd("\rA-12\rB7,5\rA\rT\0" "30\rA99999999999\rB99999999999\r", 44);
    const std::string flood = noise(10 * 1000 * 1000, 2007) + odd + "A42\rB75\rT31\r";

    HealthWatch watch;
    std::size_t sent = 0;
    QTimer feeder;
    QObject::connect(&feeder, &QTimer::timeout, &feeder, [&] {
        sent += end.pty->sendWhatFits(std::string_view(flood).substr(sent));
        if (sent == flood.size())
            feeder.stop();
    });
    feeder.start(1);
    QTRY_VERIFY_WITH_TIMEOUT(sent == flood.size(), 120000);
    QTRY_COMPARE(edit("edtTemperatur")->text(), QStringLiteral("31"));
    QCOMPARE(edit("edtAbstand")->text(), QStringLiteral("42"));
    QCOMPARE(edit("edtBatterie")->text(), QStringLiteral("7") + QLocale().decimalPoint() + QStringLiteral("5"));
    // The receive log keeps its newest 50 000 lines, of this noise some 6.4 million
    // characters, which with the document's structures and the heap's churn come
    // to about 55 MiB resident. Kept as text once more, in a log without bound,
    // the 10 MB alone would cost some 50 MiB, and more in any further copy.
    watch.verify(96 * kMiB);
    QVERIFY(recorder->texts().isEmpty());
    QTest::mouseClick(button(QStringLiteral("Aufzeichnung beenden")), Qt::LeftButton);
    const QStringList rows = QString::fromUtf8(readBytes(csv)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    const QRegularExpression oneNumber(QStringLiteral("^[-\\d]{10}T[:\\d]{8}\\.\\d{3};(\\d+,\\d;;|;\\d+;|;;\\d+)$"));
    for (const QString &row : rows.mid(1))
        QVERIFY2(oneNumber.match(row).hasMatch(), qPrintable(row));
    QStringList last;
    for (const QString &row : rows.mid(rows.size() - 6))
        last << row.section(';', 1).remove(';');
    QCOMPARE(last, (QStringList{"12", "7,5", "30", "42", "7,5", "31"}));
}

void TestFaultInjection::replyTricklingInIsTakenOnce_data() { addTransportRows(); }

// One byte per millisecond: the identification is announced once, the reading
// shown once, and not before its record is complete.
void TestFaultInjection::replyTricklingInIsTakenOnce()
{
    QFETCH(bool, serial);
    FarEnd end(serial);
    connectLink(2, end);
    QSignalSpy distanceShown(edit("edtAbstand"), &QLineEdit::textChanged);
    const std::string reply = "VELMO-2007\rA42\r";

    HealthWatch watch;
    std::size_t sent = 0;
    QTimer dribbler;
    dribbler.setTimerType(Qt::PreciseTimer);
    QObject::connect(&dribbler, &QTimer::timeout, &dribbler, [&] {
        if (end.send(reply.substr(sent, 1)) && ++sent == reply.size())
            dribbler.stop();
    });
    dribbler.start(1);
    QTRY_COMPARE(sent, reply.size());
    QTRY_COMPARE(edit("edtAbstand")->text(), QStringLiteral("42"));
    watch.verify(kOrdinaryGrowth);
    QCOMPARE(recorder->texts(), QStringList{kChassisFound});
    QCOMPARE(distanceShown.count(), 1);
}

void TestFaultInjection::linksGoOnWhileABoxIsOpen_data() { addTransportRows(); }

// The identification box stays open for a second. The chassis timer keeps sending
// meanwhile; a reading that comes then is shown once: at once over TCP, whose
// reads the box's event loop handles, or after the box over the serial line,
// whose worker waits in the hand-over that showed it.
void TestFaultInjection::linksGoOnWhileABoxIsOpen()
{
    QFETCH(bool, serial);
    FarEnd end(serial);
    connectLink(2, end);
    QSignalSpy distanceShown(edit("edtAbstand"), &QLineEdit::textChanged);
    qsizetype sentBeforeBox = -1;
    int commandsDuringBox = -1;
    QString shownDuringBox;
    recorder->heldText = kChassisFound;
    recorder->atOpen = [&] {
        sentBeforeBox = end.received().size();
        end.send("A42\r");
    };
    recorder->atClose = [&] {
        commandsDuringBox = int(end.received().mid(sentBeforeBox).count('\r'));
        shownDuringBox = edit("edtAbstand")->text();
    };

    HealthWatch watch;
    QVERIFY(end.send("VELMO-2007\r"));
    QTRY_VERIFY(commandsDuringBox >= 0);
    QTRY_COMPARE(edit("edtAbstand")->text(), QStringLiteral("42"));
    // 20 ticks in that second; a quarter of them is plenty on a loaded machine.
    QVERIFY2(commandsDuringBox >= 5, qPrintable(QString::number(commandsDuringBox)));
    QCOMPARE(shownDuringBox, serial ? QString() : QStringLiteral("42"));
    watch.verify(kOrdinaryGrowth);
    QCOMPARE(recorder->texts(), QStringList{kChassisFound});
    QCOMPARE(distanceShown.count(), 1);
}

// Start-up reports the file it cannot use and keeps the built-in values.
void TestFaultInjection::garbageSettingsLeaveTheDefaults()
{
    form.reset();
    // Within the size a settings file may have, with no number where the first channel belongs.
    QByteArray garbage = QByteArray::fromStdString(noise(60000, 1));
    garbage[0] = 'x';
    QVERIFY(writeBytes(dir->filePath(QStringLiteral("RFS/STARTW2.stw")), garbage));

    HealthWatch watch;
    startWindow();
    QCOMPARE(recorder->texts(), QStringList{kSettingsUnreadable});
    const int lowerLimits[] = {751, 752, 753, 754, 1175};
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(form->arm().joint(i).getKanal(), 16 + i);
        QCOMPARE(form->arm().joint(i).getLimitMin(), lowerLimits[i]);
    }
    QCOMPARE(edit("edtTCP_IP1")->text(), QStringLiteral("192.168.100.100"));
    QCOMPARE(edit("edtTCP_Port2")->text(), QStringLiteral("10002"));
    QCOMPARE(edit("edtWebCamIP4")->text(), QStringLiteral("5"));
    watch.verify(kOrdinaryGrowth);
    QCOMPARE(recorder->texts(), QStringList{kSettingsUnreadable});
}

// Chosen in the open dialog, a motion set beyond the editor's 16 MiB is refused
// with a box that names it, before a byte of it is read.
void TestFaultInjection::hugeMotionSetIsRefusedUnread()
{
    const QString path = dir->filePath(QStringLiteral("RFS/riesig.rfs"));
    const QByteArray step("0 1500 0 1500 0 1500 0 1500 0 1500 \r\n");
    QVERIFY(writeBytes(path, step.repeated(16 * kMiB / step.size() + 1)));

    HealthWatch watch;
    FileDialogAnswer answer(path);
    QTest::mouseClick(control<QToolButton>(QStringLiteral("btnSeqOpen")), Qt::LeftButton);
    QVERIFY(answer.answered());
    QCOMPARE(recorder->texts().size(), 1);
    QCOMPARE(recorder->entries().front().kind, msg::Kind::Error);
    QVERIFY2(recorder->texts().front().contains(path), qPrintable(recorder->texts().front()));
    QCOMPARE(control<QListWidget>(QStringLiteral("ListBox1"))->count(), 0);
    QCOMPARE(control<QLabel>(QStringLiteral("labSeqDatei"))->text(), QStringLiteral("Datei..."));
    // Read whole, the file alone would add 16 MiB, its steps in the list far more
    // (measured with a larger cap: 166 MiB, and a 10 s stall).
    watch.verify(8 * kMiB);
}

VELMORA_WINDOW_TEST_MAIN(TestFaultInjection)

#include "test_fault_injection.moc"
