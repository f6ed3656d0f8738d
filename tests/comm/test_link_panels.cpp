// The two link panels in a real main window, over pseudo-terminals standing in for
// serial lines and over loopback TCP standing in for the WiPort: what the operator
// sees on the panels, what goes out on the line and what comes back.
#include "app/tform1.h"
#include "drive/drive_panel.h"
#include "arm/servo_timer.h"
#include "drive/fahrwerk.h"
#include "comm/connection.h"
#include "comm/link_panel.h"
#include "comm/tcomm_thread.h"
#include "comm/tcp_link.h"
#include "platform/port_list.h"
#include "support/manual_hand_over.h"
#include "support/file_bytes.h"
#include "support/message_recorder.h"
#include "support/program_dir_fixture.h"
#include "support/pty_pair.h"
#include "support/tcp_peer.h"
#include "support/window_test_main.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QtTest>
#include <functional>
#include <sys/stat.h>
#include <termios.h>

namespace {

const QString kConnect = QStringLiteral("Verbinden");
const QString kConnectHint = QStringLiteral("klicken, um Verbindung aufzubauen");
const QString kConnectionFailed = QStringLiteral(
    "Die Verbindung konnte nicht hergestellt werden!\nPrüfen Sie die Netzwerkeinstellungen und das WiPort!");
const QString kArmFound = QStringLiteral("Lynxmotion SSC32 am WiPort gefunden!");

// The controls of link panel n (1 or 2), found by their object names.
struct Panel {
    Panel(const app::TForm1 &form, int n) : number(QString::number(n))
    {
        const QString suffix = n == 1 ? QString() : number; // link 1's memo and edit carry no number
        seriell = form.findChild<QRadioButton *>("rbtnSeriell" + number);
        tcp = form.findChild<QRadioButton *>("rbtnTCP" + number);
        ip = form.findChild<QLineEdit *>("edtTCP_IP" + number);
        port = form.findChild<QLineEdit *>("edtTCP_Port" + number);
        receiveMemo = form.findChild<QPlainTextEdit *>("Receive_Memo" + suffix);
        transmitEdit = form.findChild<QLineEdit *>("Transmit_Edit" + suffix);
        connectButton = form.findChild<QPushButton *>("btnConnect" + number);
        transmitButton = form.findChild<QPushButton *>("btnTransmit" + number);
        deviceName = form.findChild<QComboBox *>("cbxDeviceName" + number);
        baudRate = form.findChild<QComboBox *>("cbxBaudRate" + number);
        byteSize = form.findChild<QComboBox *>("cbxByteSize" + number);
        parity = form.findChild<QComboBox *>("cbxParity" + number);
        stopBits = form.findChild<QComboBox *>("cbxStopBits" + number);
        for (const char *label : {"labNameSeriell", "labBaudRateSeriell", "labByteSizeSeriell", "labParity",
                                  "labStopBitsSeriell"})
            labels << form.findChild<QLabel *>(QLatin1String(label) + number);
        connection = form.findChild<comm::Connection *>("connection" + number);
        link = form.findChild<comm::LinkPanel *>("link" + number);
    }

    QList<QWidget *> serialBoxes() const { return {deviceName, baudRate, byteSize, parity, stopBits}; }
    // Made anew for another address: looked up when asked for.
    comm::TcpLink *socket() const { return connection->findChild<comm::TcpLink *>("ClientSocket" + number); }

    QString number;

    QRadioButton *seriell;
    QRadioButton *tcp;
    QLineEdit *ip;
    QLineEdit *port;
    QPlainTextEdit *receiveMemo;
    QLineEdit *transmitEdit;
    QPushButton *connectButton;
    QPushButton *transmitButton;
    QComboBox *deviceName;
    QComboBox *baudRate;
    QComboBox *byteSize;
    QComboBox *parity;
    QComboBox *stopBits;
    QList<QLabel *> labels;
    comm::Connection *connection;
    comm::LinkPanel *link;
};

// The operator clicks into the edit (which empties it) and types.
void typeInto(QLineEdit *edit, const QString &text)
{
    QTest::mouseClick(edit, Qt::LeftButton);
    QVERIFY(edit->hasFocus());
    QTest::keyClicks(edit, text);
}

QStringList lines(const QPlainTextEdit *memo) { return memo->toPlainText().split(QLatin1Char('\n')); }

// The operator opens the box's list and clicks the item.
void choose(QComboBox *box, const QString &item)
{
    const int row = box->findText(item);
    QVERIFY2(row >= 0, qPrintable(item));
    box->showPopup();
    QAbstractItemView *list = box->view();
    QTRY_VERIFY(list->isVisible());
    const QRect itemArea = list->visualRect(box->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, itemArea.center());
    QTRY_VERIFY(!list->isVisible());
    QCOMPARE(box->currentText(), item);
}

// Shows a different value without telling the window, so that only a refresh
// from the stored parameters can bring the old one back.
void blankOut(QComboBox *box)
{
    const QSignalBlocker quiet(box);
    box->setCurrentIndex(-1);
    box->setEditText(QString());
}

// Runs a check at the moment a question is asked, while the asking handler waits for the answer.
class QuestionWatcher : public MessageRecorder {
public:
    std::function<void()> atQuestion;

    msg::Answer show(msg::Kind kind, msg::Buttons buttons, const platform::UiText &text) override
    {
        if (buttons == msg::Buttons::YesNo && atQuestion)
            atQuestion();
        return MessageRecorder::show(kind, buttons, text);
    }
};

} // namespace

class TestLinkPanels : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startUpShowsBothPanelsInTcpMode_data();
    void startUpShowsBothPanelsInTcpMode();
    void deviceListHoldsThePortsFoundOrCom1ToCom4_data();
    void deviceListHoldsThePortsFoundOrCom1ToCom4();
    void choosingSeriellSwapsTheEnabledControls_data();
    void choosingSeriellSwapsTheEnabledControls();

    void typedCommandGoesOutOnEnterAndEditEmpties();
    void focusEmptiesTheTransmitEdit();
    void sendingWithBothPathsDownKeepsTheText_data();
    void sendingWithBothPathsDownKeepsTheText();
    void serialBlocksAppendWithoutLineBreak_data();
    void serialBlocksAppendWithoutLineBreak();
    void armReplyOverSerialIsRecognised();
    void connectingTwiceOverSerialTogglesTheChannelBoxes();
    void clearingTheBaudRateShowsTheConversionErrorAndKeepsTheValue();
    void portThatCannotBeOpenedIsReportedAndPanelStaysIdle_data();
    void portThatCannotBeOpenedIsReportedAndPanelStaysIdle();
    void vanishedDeviceReturnsPanelToSerialIdle_data();
    void vanishedDeviceReturnsPanelToSerialIdle();
    void typingInAParameterBoxStoresWhatFits_data();
    void typingInAParameterBoxStoresWhatFits();
    void chosenItemStoresItsPosition_data();
    void chosenItemStoresItsPosition();
    void parametersChosenWhileClosedApplyAtOpen();
    void chassisRunsWhileLink2IsOpenOverSerial();

    void tcpConnectShowsProgressAndIdentifiesTheArm();
    void armReplySplitOverTwoReadsIsNotRecognised();
    void chassisLinkProbesAndEnablesTheChassisOnConnect();
    void closingByTheButtonEndsTheConnection();
    void refusedConnectionShowsErrorAndIdleLook_data();
    void refusedConnectionShowsErrorAndIdleLook();
    void peerClosingReturnsToIdleWithoutMessage_data();
    void peerClosingReturnsToIdleWithoutMessage();
    void unansweredConnectIsGivenUpAfterFiveSeconds();
    void clickWhileWaitingAbortsTheAttempt();
    void unusablePortIsRefused_data();
    void unusablePortIsRefused();
    void thirdReadOnLink2IsCounted();

    void sliderMoveReachesTheSerialLine();
    void sliderMoveReachesTheTcpPeer();
    void closingTheWindowClosesLinksBeforeTheSaveQuestion();
    void closingTheWindowDropsAPendingConnect();

private:
    void openSerial(const Panel &panel, const PtyPair &pty);
    void startTcp(const Panel &panel, quint16 port, const QString &host = QStringLiteral("127.0.0.1"));
    void verifyTcpIdle(const Panel &panel);
    void verifyChannelBoxesEnabled(bool enabled);
    void refreshSerialBoxes(int n) { Panel(*form, n).link->RefreshSerialBoxes(); }
    QGroupBox *chassisGroup() const { return form->findChild<QGroupBox *>(QStringLiteral("gbxFahrwerk")); }

    std::unique_ptr<ProgramDirFixture> dir;
    std::unique_ptr<QuestionWatcher> recorder;
    std::unique_ptr<app::TForm1> form;
    QPlainTextEdit *memo = nullptr;
};

// Both timers are stopped so that only the test's own ticks send; the arm cycle's
// first tick (all five joints) is taken before any link opens, and the start-up
// messages (no settings file) are dropped.
void TestLinkPanels::init()
{
    dir = std::make_unique<ProgramDirFixture>();
    recorder = std::make_unique<QuestionWatcher>();
    form = std::make_unique<app::TForm1>(dir->path());
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    form->findChild<QTimer *>(QStringLiteral("ServoTimer1"))->stop();
    form->findChild<QTimer *>(QStringLiteral("KettenTimer1"))->stop();
    memo = form->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"));
    form->findChild<arm::ServoTimer *>()->ServoTimer1Timer();
    recorder->clear();
}

void TestLinkPanels::cleanup()
{
    form.reset();
    recorder.reset();
    dir.reset();
}

void TestLinkPanels::openSerial(const Panel &panel, const PtyPair &pty)
{
    QVERIFY(pty.isValid());
    QTest::mouseClick(panel.seriell, Qt::LeftButton);
    QVERIFY(panel.seriell->isChecked());
    panel.deviceName->setEditText(QString::fromStdString(pty.deviceName()));
    QTest::mouseClick(panel.connectButton, Qt::LeftButton);
    QCOMPARE(panel.connectButton->text(), QStringLiteral("Trennen"));
}

void TestLinkPanels::startTcp(const Panel &panel, quint16 port, const QString &host)
{
    panel.ip->setText(host);
    panel.port->setText(QString::number(port));
    QTest::mouseClick(panel.connectButton, Qt::LeftButton);
}

void TestLinkPanels::verifyTcpIdle(const Panel &panel)
{
    QCOMPARE(panel.connectButton->text(), kConnect);
    QCOMPARE(panel.connectButton->toolTip(), kConnectHint);
    QVERIFY(panel.ip->isEnabled());
    QVERIFY(panel.port->isEnabled());
    QVERIFY(panel.seriell->isEnabled());
    QVERIFY(panel.tcp->isChecked());
}

void TestLinkPanels::verifyChannelBoxesEnabled(bool enabled)
{
    for (int n = 1; n <= 5; ++n) {
        auto *kanal = form->findChild<QComboBox *>(QStringLiteral("cbxKanalServo%1").arg(n));
        QVERIFY(kanal);
        QCOMPARE(kanal->isEnabled(), enabled);
    }
}

void TestLinkPanels::startUpShowsBothPanelsInTcpMode_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("port");
    QTest::newRow("link 1") << 1 << "10001";
    QTest::newRow("link 2") << 2 << "10002";
}

void TestLinkPanels::startUpShowsBothPanelsInTcpMode()
{
    QFETCH(int, n);
    QFETCH(QString, port);
    const Panel panel(*form, n);
    QVERIFY(panel.tcp->isChecked());
    QVERIFY(!panel.seriell->isChecked());
    QVERIFY(panel.ip->isEnabled());
    QVERIFY(panel.port->isEnabled());
    QCOMPARE(panel.ip->text(), QStringLiteral("192.168.100.100"));
    QCOMPARE(panel.port->text(), port);
    for (QWidget *box : panel.serialBoxes())
        QVERIFY2(!box->isEnabled(), qPrintable(box->objectName()));
    for (QLabel *label : panel.labels)
        QVERIFY2(!label->isEnabled(), qPrintable(label->objectName()));
    QCOMPARE(panel.connectButton->text(), kConnect);
    QCOMPARE(panel.connectButton->toolTip(), kConnectHint);
    QCOMPARE(panel.baudRate->currentText(), QStringLiteral("9600"));
    QCOMPARE(panel.byteSize->currentText(), QStringLiteral("8"));
    QCOMPARE(panel.parity->currentText(), QStringLiteral("no"));
    QCOMPARE(panel.stopBits->currentText(), QStringLiteral("1"));
    QVERIFY(panel.receiveMemo->toPlainText().isEmpty());
}

void TestLinkPanels::deviceListHoldsThePortsFoundOrCom1ToCom4_data()
{
    QTest::addColumn<int>("n");
    QTest::newRow("link 1") << 1;
    QTest::newRow("link 2") << 2;
}

// The window's threads are its own; a thread of the same kind asks the machine the
// same way. The box keeps the order it is given: sorted without regard to case.
void TestLinkPanels::deviceListHoldsThePortsFoundOrCom1ToCom4()
{
    QFETCH(int, n);
    const Panel panel(*form, n);
    ManualHandOver handOver; // never used: nothing is opened
    comm::TCommThread sameKind(handOver);
    QStringList found;
    for (const std::string &name : sameKind.EnumPorts(1, 0))
        found << QString::fromStdString(name);
    QStringList shown;
    for (int i = 0; i < panel.deviceName->count(); ++i)
        shown << panel.deviceName->itemText(i);
    if (found.isEmpty())
        found = QStringList{"COM1", "COM2", "COM3", "COM4"};
    QCOMPARE(shown, found);
    for (int i = 1; i < shown.size(); ++i)
        QVERIFY2(QString::compare(shown.at(i - 1), shown.at(i), Qt::CaseInsensitive) <= 0,
                 qPrintable(shown.join(QLatin1Char(' '))));
    QCOMPARE(panel.deviceName->currentText(), QStringLiteral("COM1"));

    // A typed name is used as it stands; Enter does not add it to the list.
    QTest::mouseClick(panel.seriell, Qt::LeftButton);
    panel.deviceName->lineEdit()->selectAll();
    QTest::keyClicks(panel.deviceName->lineEdit(), QStringLiteral("/dev/ttyUSB7"));
    QTest::keyClick(panel.deviceName, Qt::Key_Return);
    QCOMPARE(panel.deviceName->count(), shown.size());
    QCOMPARE(panel.deviceName->currentText(), QStringLiteral("/dev/ttyUSB7"));
}

void TestLinkPanels::choosingSeriellSwapsTheEnabledControls_data() { deviceListHoldsThePortsFoundOrCom1ToCom4_data(); }

void TestLinkPanels::choosingSeriellSwapsTheEnabledControls()
{
    QFETCH(int, n);
    const Panel panel(*form, n);
    QTest::mouseClick(panel.seriell, Qt::LeftButton);
    QVERIFY(!panel.tcp->isChecked());
    QVERIFY(!panel.ip->isEnabled());
    QVERIFY(!panel.port->isEnabled());
    for (QWidget *box : panel.serialBoxes())
        QVERIFY2(box->isEnabled(), qPrintable(box->objectName()));
    for (QLabel *label : panel.labels)
        QVERIFY2(label->isEnabled(), qPrintable(label->objectName()));
    QCOMPARE(panel.connectButton->text(), kConnect); // choosing opens nothing

    QTest::mouseClick(panel.tcp, Qt::LeftButton);
    QVERIFY(panel.ip->isEnabled());
    for (QWidget *box : panel.serialBoxes())
        QVERIFY2(!box->isEnabled(), qPrintable(box->objectName()));
}

void TestLinkPanels::typedCommandGoesOutOnEnterAndEditEmpties()
{
    const Panel panel(*form, 1);
    PtyPair pty;
    openSerial(panel, pty);
    typeInto(panel.transmitEdit, QStringLiteral("#0P1500"));
    QCOMPARE(panel.transmitEdit->text(), QStringLiteral("#0P1500"));
    QTest::keyClick(panel.transmitEdit, Qt::Key_Return);
    QCOMPARE(pty.receive(8), std::string("#0P1500\r"));
    QCOMPARE(panel.transmitEdit->text(), QString());
}

void TestLinkPanels::focusEmptiesTheTransmitEdit()
{
    // Link 1's edit still shows the arm's first command, which found no open link.
    const Panel panel(*form, 1);
    QCOMPARE(panel.transmitEdit->text(), QStringLiteral("#16P1500#17P1500#18P1500#19P1500#20P1500\r"));
    QTest::mouseClick(panel.transmitEdit, Qt::LeftButton);
    QVERIFY(panel.transmitEdit->hasFocus());
    QCOMPARE(panel.transmitEdit->text(), QString());
}

void TestLinkPanels::sendingWithBothPathsDownKeepsTheText_data() { deviceListHoldsThePortsFoundOrCom1ToCom4_data(); }

void TestLinkPanels::sendingWithBothPathsDownKeepsTheText()
{
    QFETCH(int, n);
    const Panel panel(*form, n);
    typeInto(panel.transmitEdit, QStringLiteral("VER"));
    QTest::mouseClick(panel.transmitButton, Qt::LeftButton);
    QCOMPARE(panel.transmitEdit->text(), QStringLiteral("VER"));
    QTest::keyClick(panel.transmitEdit, Qt::Key_Return);
    QCOMPARE(panel.transmitEdit->text(), QStringLiteral("VER"));
    QVERIFY(recorder->texts().isEmpty());
}

void TestLinkPanels::serialBlocksAppendWithoutLineBreak_data() { deviceListHoldsThePortsFoundOrCom1ToCom4_data(); }

void TestLinkPanels::serialBlocksAppendWithoutLineBreak()
{
    QFETCH(int, n);
    const Panel panel(*form, n);
    PtyPair pty;
    openSerial(panel, pty);
    QVERIFY(pty.send("abc"));
    QTRY_COMPARE(panel.receiveMemo->toPlainText(), QStringLiteral("abc"));
    QVERIFY(pty.send("def"));
    QTRY_COMPARE(panel.receiveMemo->toPlainText(), QStringLiteral("abcdef"));
    QVERIFY(recorder->texts().isEmpty());
}

void TestLinkPanels::armReplyOverSerialIsRecognised()
{
    const Panel panel(*form, 1);
    PtyPair pty;
    openSerial(panel, pty);
    QVERIFY(pty.send("SSC32-1.06XE\r"));
    QTRY_COMPARE(recorder->texts(), QStringList{kArmFound});
    QCOMPARE(recorder->entries().front().kind, msg::Kind::Plain);
}

void TestLinkPanels::connectingTwiceOverSerialTogglesTheChannelBoxes()
{
    const Panel panel(*form, 1);
    PtyPair pty;
    QVERIFY(pty.isValid());
    QTest::mouseClick(panel.seriell, Qt::LeftButton);
    panel.deviceName->setEditText(QString::fromStdString(pty.deviceName()));
    for (int round = 0; round < 2; ++round) {
        QTest::mouseClick(panel.connectButton, Qt::LeftButton);
        QCOMPARE(panel.connectButton->text(), QStringLiteral("Trennen"));
        QCOMPARE(panel.connectButton->toolTip(), QStringLiteral("klicken, um serielle Verbindung zu trennen"));
        QVERIFY(!panel.tcp->isEnabled());
        for (QWidget *box : panel.serialBoxes())
            QVERIFY2(!box->isEnabled(), qPrintable(box->objectName()));
        verifyChannelBoxesEnabled(false);
        QVERIFY(!(pty.slaveSettings().c_lflag & ICANON)); // the port is open, in raw mode

        QTest::mouseClick(panel.connectButton, Qt::LeftButton);
        QCOMPARE(panel.connectButton->text(), kConnect);
        QCOMPARE(panel.connectButton->toolTip(), kConnectHint);
        QVERIFY(panel.tcp->isEnabled());
        for (QWidget *box : panel.serialBoxes())
            QVERIFY2(box->isEnabled(), qPrintable(box->objectName()));
        verifyChannelBoxesEnabled(true);
        QVERIFY(pty.slaveSettings().c_lflag & ICANON); // closed: the line's own settings are back
    }
    QVERIFY(recorder->texts().isEmpty());
}

void TestLinkPanels::clearingTheBaudRateShowsTheConversionErrorAndKeepsTheValue()
{
    const Panel panel(*form, 2);
    QTest::mouseClick(panel.seriell, Qt::LeftButton);
    QLineEdit *typing = panel.baudRate->lineEdit();
    typing->selectAll();
    QTest::keyClick(typing, Qt::Key_Backspace);
    QCOMPARE(recorder->texts(), QStringList{QStringLiteral("'' ist kein gültiger Integerwert")});
    QCOMPARE(recorder->entries().front().kind, msg::Kind::Error);
    refreshSerialBoxes(2);
    QCOMPARE(panel.baudRate->currentText(), QStringLiteral("9600"));

    // Each further key stores what the box then holds.
    typing->selectAll();
    QTest::keyClicks(typing, QStringLiteral("19200"));
    QCOMPARE(recorder->texts().size(), 1);
    refreshSerialBoxes(2);
    QCOMPARE(panel.baudRate->currentText(), QStringLiteral("19200"));
}

void TestLinkPanels::portThatCannotBeOpenedIsReportedAndPanelStaysIdle_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << "missing" << "No such file or directory";
    // Neither read nor written nor deleted: typed by mistake, it stays as it was.
    QTest::newRow("regular file") << "file" << "kein serielles Gerät";
    QTest::newRow("named pipe") << "fifo" << "kein serielles Gerät";
    QTest::newRow("directory") << "directory" << "Is a directory";
}

void TestLinkPanels::portThatCannotBeOpenedIsReportedAndPanelStaysIdle()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    const Panel panel(*form, 1);
    const QString device = dir->filePath(QStringLiteral("kein-geraet"));
    const QByteArray content("#0P1500\r\nA42\r");
    if (kind == "file")
        QVERIFY(writeBytes(device, content));
    else if (kind == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(device).constData(), 0600), 0);
    else if (kind == "directory")
        QVERIFY(QDir().mkpath(device));
    QTest::mouseClick(panel.seriell, Qt::LeftButton);
    panel.deviceName->setEditText(device);
    QTest::mouseClick(panel.connectButton, Qt::LeftButton);
    QCOMPARE(recorder->texts().size(), 1);
    QCOMPARE(recorder->entries().front().kind, msg::Kind::Error);
    QVERIFY2(recorder->texts().front().contains(device), qPrintable(recorder->texts().front()));
    QVERIFY2(recorder->texts().front().contains(reason), qPrintable(recorder->texts().front()));
    if (kind == "file")
        QCOMPARE(readBytes(device), content);
    QCOMPARE(panel.connectButton->text(), kConnect);
    QCOMPARE(panel.connectButton->toolTip(), kConnectHint);
    QVERIFY(panel.tcp->isEnabled());
    for (QWidget *box : panel.serialBoxes())
        QVERIFY2(box->isEnabled(), qPrintable(box->objectName()));
    verifyChannelBoxesEnabled(true);

    // The next click tries to open again rather than to close.
    QTest::mouseClick(panel.connectButton, Qt::LeftButton);
    QCOMPARE(recorder->texts().size(), 2);
    QCOMPARE(panel.connectButton->text(), kConnect);
}

void TestLinkPanels::vanishedDeviceReturnsPanelToSerialIdle_data() { deviceListHoldsThePortsFoundOrCom1ToCom4_data(); }

void TestLinkPanels::vanishedDeviceReturnsPanelToSerialIdle()
{
    QFETCH(int, n);
    const Panel panel(*form, n);
    PtyPair pty;
    openSerial(panel, pty);
    if (n == 2)
        QVERIFY(chassisGroup()->isEnabled());
    pty.closeMaster();
    QTRY_COMPARE(recorder->texts().size(), 1);
    QCOMPARE(recorder->entries().front().kind, msg::Kind::Error);
    QVERIFY(recorder->texts().front().contains(QString::fromStdString(pty.deviceName())));
    QCOMPARE(panel.connectButton->text(), kConnect);
    QVERIFY(panel.tcp->isEnabled());
    for (QWidget *box : panel.serialBoxes())
        QVERIFY2(box->isEnabled(), qPrintable(box->objectName()));
    if (n == 1)
        verifyChannelBoxesEnabled(true);
    else
        QVERIFY(!chassisGroup()->isEnabled());

    // The lost port is closed for good: the next click opens a new line instead of
    // closing the old one, and the link's worker hands blocks over in order, so once
    // the new line's first block is shown no second loss can still be on its way.
    PtyPair replacement;
    openSerial(panel, replacement);
    QVERIFY(replacement.send("abc"));
    QTRY_COMPARE(panel.receiveMemo->toPlainText(), QStringLiteral("abc"));
    QCOMPARE(recorder->texts().size(), 1);
}

void TestLinkPanels::typingInAParameterBoxStoresWhatFits_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("caret"); // where the typing starts; -1: over the whole text
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("stored");
    QTest::newRow("link 1, byte size 7") << 1 << "cbxByteSize" << -1 << "7" << "7" << "7";
    QTest::newRow("link 1, byte size 260 wraps to 4") << 1 << "cbxByteSize" << -1 << "260" << "4" << "4";
    QTest::newRow("link 2, byte size 263 wraps to 7") << 2 << "cbxByteSize" << -1 << "263" << "7" << "7";
    QTest::newRow("link 1, baud rate, digit in front") << 1 << "cbxBaudRate" << 0 << "1" << "19600" << "19600";
    QTest::newRow("link 2, baud rate, digit inside") << 2 << "cbxBaudRate" << 2 << "0" << "96000" << "96000";
    QTest::newRow("link 1, parity, an item") << 1 << "cbxParity" << -1 << "even" << "even" << "even";
    QTest::newRow("link 2, parity, no item") << 2 << "cbxParity" << -1 << "xyz" << "xyz" << "no";
    QTest::newRow("link 2, stop bits, an item") << 2 << "cbxStopBits" << -1 << "2" << "2" << "2";
    QTest::newRow("link 1, stop bits, no item") << 1 << "cbxStopBits" << -1 << "3" << "3" << "1";
}

// Every key stores what the box then holds as far as it fits: a number wraps to
// one byte, a text that names no item stores nothing and is left for the operator
// to finish. The caret stays where the operator types; Enter adds no item.
void TestLinkPanels::typingInAParameterBoxStoresWhatFits()
{
    QFETCH(int, n);
    QFETCH(QString, box);
    QFETCH(int, caret);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, stored);
    const Panel panel(*form, n);
    QTest::mouseClick(panel.seriell, Qt::LeftButton);
    auto *typedInto = form->findChild<QComboBox *>(box + QString::number(n));
    QVERIFY(typedInto);
    const int items = typedInto->count();
    QLineEdit *typing = typedInto->lineEdit();
    caret < 0 ? typing->selectAll() : typing->setCursorPosition(caret);
    QTest::keyClicks(typing, typed);
    QCOMPARE(typedInto->currentText(), shown);
    if (caret >= 0)
        QCOMPARE(typing->cursorPosition(), caret + typed.size());
    QTest::keyClick(typedInto, Qt::Key_Return);
    QCOMPARE(typedInto->count(), items);

    blankOut(typedInto);
    refreshSerialBoxes(n);
    QCOMPARE(typedInto->currentText(), stored);
    QVERIFY(recorder->texts().isEmpty());
}

void TestLinkPanels::chosenItemStoresItsPosition_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("position");
    QTest::newRow("link 1, parity odd") << 1 << "cbxParity" << "odd" << 1;
    QTest::newRow("link 2, parity mark") << 2 << "cbxParity" << "mark" << 3;
    QTest::newRow("link 1, stop bits 2") << 1 << "cbxStopBits" << "2" << 2;
    QTest::newRow("link 2, stop bits 1.5") << 2 << "cbxStopBits" << "1.5" << 1;
}

// The refresh selects the item at the stored position; starting from a blank box,
// it can only find that position in the link's thread.
void TestLinkPanels::chosenItemStoresItsPosition()
{
    QFETCH(int, n);
    QFETCH(QString, box);
    QFETCH(QString, item);
    QFETCH(int, position);
    const Panel panel(*form, n);
    QTest::mouseClick(panel.seriell, Qt::LeftButton);
    auto *chosen = form->findChild<QComboBox *>(box + QString::number(n));
    QVERIFY(chosen);
    choose(chosen, item);

    blankOut(chosen);
    refreshSerialBoxes(n);
    QCOMPARE(chosen->currentIndex(), position);
    QCOMPARE(chosen->currentText(), item);
    QVERIFY(recorder->texts().isEmpty());
}

// While the port is closed a change only waits for the next open.
void TestLinkPanels::parametersChosenWhileClosedApplyAtOpen()
{
    const Panel panel(*form, 1);
    PtyPair pty;
    QVERIFY(pty.isValid());
    const termios untouched = pty.slaveSettings();
    QVERIFY(!(untouched.c_cflag & CSTOPB));
    QVERIFY(cfgetospeed(&untouched) != B19200);

    QTest::mouseClick(panel.seriell, Qt::LeftButton);
    panel.deviceName->setEditText(QString::fromStdString(pty.deviceName()));
    choose(panel.stopBits, QStringLiteral("2"));
    QLineEdit *typing = panel.baudRate->lineEdit();
    typing->selectAll();
    QTest::keyClicks(typing, QStringLiteral("19200"));
    QCOMPARE(panel.connectButton->text(), kConnect);
    const termios closed = pty.slaveSettings();
    QVERIFY(closed.c_lflag & ICANON); // nobody has taken the line
    QVERIFY(!(closed.c_cflag & CSTOPB));
    QCOMPARE(cfgetospeed(&closed), cfgetospeed(&untouched));

    QTest::mouseClick(panel.connectButton, Qt::LeftButton);
    QCOMPARE(panel.connectButton->text(), QStringLiteral("Trennen"));
    const termios open = pty.slaveSettings();
    QVERIFY(!(open.c_lflag & ICANON));
    QVERIFY(open.c_cflag & CSTOPB);
    QCOMPARE(cfgetospeed(&open), speed_t(B19200));
    QVERIFY(recorder->texts().isEmpty());
}

void TestLinkPanels::chassisRunsWhileLink2IsOpenOverSerial()
{
    const Panel panel(*form, 2);
    PtyPair pty;
    QVERIFY(!chassisGroup()->isEnabled());
    QVERIFY(!form->fahrwerk().getAktiv());
    openSerial(panel, pty);
    QVERIFY(chassisGroup()->isEnabled());
    QVERIFY(form->fahrwerk().getAktiv());
    form->findChild<drive::DrivePanel *>()->KettenTimer1Timer();
    QCOMPARE(pty.receive(5), std::string("K0Q0\r"));
    QCOMPARE(lines(memo).last(), QStringLiteral("K0Q0<cr>"));
    QCOMPARE(panel.transmitEdit->text(), QString());

    QTest::mouseClick(panel.connectButton, Qt::LeftButton);
    QCOMPARE(panel.connectButton->text(), kConnect);
    QVERIFY(!chassisGroup()->isEnabled());
    QVERIFY(!form->fahrwerk().getAktiv());
    // A command would be logged and, finding the port closed, stay in the edit.
    const QString logged = memo->toPlainText();
    form->findChild<drive::DrivePanel *>()->KettenTimer1Timer();
    QCOMPARE(memo->toPlainText(), logged);
    QCOMPARE(panel.transmitEdit->text(), QString());
    QVERIFY(recorder->texts().isEmpty());
}

// By host name: the waiting look and its locks come with the click, before the
// name is looked up and the socket reports connecting.
void TestLinkPanels::tcpConnectShowsProgressAndIdentifiesTheArm()
{
    const Panel panel(*form, 1);
    TcpPeer peer;
    QVERIFY(peer.isListening());
    startTcp(panel, peer.port(), QStringLiteral("localhost"));
    QCOMPARE(panel.connectButton->text(), QStringLiteral("warten..."));
    QCOMPARE(panel.connectButton->toolTip(), QStringLiteral("klicken, um TCP-Verbindung zu trennen"));
    QVERIFY(!panel.ip->isEnabled());
    QVERIFY(!panel.port->isEnabled());
    QVERIFY(!panel.seriell->isEnabled());
    verifyChannelBoxesEnabled(false);

    QTRY_COMPARE(panel.connectButton->text(), QStringLiteral("TCP aktiv"));
    QVERIFY(panel.socket()->isOpen());
    QTRY_COMPARE(peer.received(), QByteArray("VER\r"));
    QCOMPARE(panel.connectButton->toolTip(), QStringLiteral("klicken, um TCP-Verbindung zu trennen"));

    QVERIFY(peer.send("SSC32-1.06XE\r"));
    QTRY_COMPARE(recorder->texts(), QStringList{kArmFound});
    QCOMPARE(recorder->entries().front().kind, msg::Kind::Plain);
    const QStringList debug = lines(memo);
    const int counted = debug.indexOf(QStringLiteral("1 Client 1: Daten empfangen"));
    QVERIFY2(counted >= 0, qPrintable(memo->toPlainText()));
    QVERIFY(counted + 1 < debug.size());
    QCOMPARE(debug.at(counted + 1).trimmed(), QStringLiteral("SSC32-1.06XE"));
    QCOMPARE(panel.receiveMemo->toPlainText().trimmed(), QStringLiteral("SSC32-1.06XE"));
}

void TestLinkPanels::armReplySplitOverTwoReadsIsNotRecognised()
{
    const Panel panel(*form, 1);
    TcpPeer peer;
    startTcp(panel, peer.port());
    QTRY_COMPARE(peer.received(), QByteArray("VER\r"));
    QVERIFY(peer.send("SSC32-"));
    QTRY_COMPARE(panel.receiveMemo->toPlainText(), QStringLiteral("SSC32-"));
    QVERIFY(peer.send("1.06XE\r"));
    QTRY_VERIFY(lines(panel.receiveMemo).size() >= 2);
    QCOMPARE(lines(panel.receiveMemo).at(1).trimmed(), QStringLiteral("1.06XE"));
    QVERIFY(lines(memo).contains(QStringLiteral("2 Client 1: Daten empfangen")));
    QVERIFY(recorder->texts().isEmpty());
}

void TestLinkPanels::chassisLinkProbesAndEnablesTheChassisOnConnect()
{
    const Panel panel(*form, 2);
    TcpPeer peer;
    startTcp(panel, peer.port());
    QVERIFY(!chassisGroup()->isEnabled());
    QTRY_COMPARE(panel.connectButton->text(), QStringLiteral("TCP aktiv"));
    QVERIFY(chassisGroup()->isEnabled());
    QTRY_COMPARE(peer.received(), QByteArray("I1\r"));
    verifyChannelBoxesEnabled(true); // link 2 leaves the arm's channels alone

    // From now on the chassis timer sends on the connection.
    peer.clearReceived();
    form->findChild<drive::DrivePanel *>()->KettenTimer1Timer();
    QTRY_COMPARE(peer.received(), QByteArray("K0Q0\r"));
}

void TestLinkPanels::closingByTheButtonEndsTheConnection()
{
    const Panel panel(*form, 2);
    TcpPeer peer;
    startTcp(panel, peer.port());
    QTRY_COMPARE(panel.connectButton->text(), QStringLiteral("TCP aktiv"));
    QTRY_VERIFY(peer.hasClient());
    QTest::mouseClick(panel.connectButton, Qt::LeftButton);
    QCOMPARE(panel.connectButton->toolTip(), kConnectHint);
    QTRY_COMPARE(panel.connectButton->text(), kConnect);
    verifyTcpIdle(panel);
    QVERIFY(!chassisGroup()->isEnabled());
    QTRY_VERIFY(!peer.hasClient());
    QVERIFY(recorder->texts().isEmpty());
}

void TestLinkPanels::refusedConnectionShowsErrorAndIdleLook_data() { deviceListHoldsThePortsFoundOrCom1ToCom4_data(); }

void TestLinkPanels::refusedConnectionShowsErrorAndIdleLook()
{
    QFETCH(int, n);
    const Panel panel(*form, n);
    const quint16 port = unusedLoopbackPort();
    QVERIFY(port != 0);
    startTcp(panel, port);
    QTRY_COMPARE(recorder->texts(), QStringList{kConnectionFailed});
    QCOMPARE(recorder->entries().front().kind, msg::Kind::Error);
    verifyTcpIdle(panel);
    QVERIFY(!panel.socket()->isOpen());
    if (n == 1)
        verifyChannelBoxesEnabled(true);
    else
        QVERIFY(!chassisGroup()->isEnabled());
}

void TestLinkPanels::peerClosingReturnsToIdleWithoutMessage_data() { deviceListHoldsThePortsFoundOrCom1ToCom4_data(); }

void TestLinkPanels::peerClosingReturnsToIdleWithoutMessage()
{
    QFETCH(int, n);
    const Panel panel(*form, n);
    TcpPeer peer;
    startTcp(panel, peer.port());
    QTRY_COMPARE(panel.connectButton->text(), QStringLiteral("TCP aktiv"));
    QTRY_VERIFY(peer.hasClient());
    peer.closeClient();
    QTRY_COMPARE(panel.connectButton->text(), kConnect);
    verifyTcpIdle(panel);
    QVERIFY(!panel.socket()->isOpen());
    QVERIFY(recorder->texts().isEmpty());
    if (n == 1)
        verifyChannelBoxesEnabled(true);
    else
        QVERIFY(!chassisGroup()->isEnabled()); // a chassis must not stay active on a dead link

    // The next click connects again.
    startTcp(panel, peer.port());
    QTRY_COMPARE(panel.connectButton->text(), QStringLiteral("TCP aktiv"));
}

// Our own time-out, long before the system's own limit of about two minutes.
void TestLinkPanels::unansweredConnectIsGivenUpAfterFiveSeconds()
{
    const Panel panel(*form, 1);
    SilentListener silent;
    QVERIFY(silent.isValid());
    QElapsedTimer waited;
    waited.start();
    startTcp(panel, silent.port());
    QCOMPARE(panel.connectButton->text(), QStringLiteral("warten..."));
    QCOMPARE(panel.connection->state(), comm::Connection::State::Connecting);
    QTRY_COMPARE_WITH_TIMEOUT(recorder->texts(), QStringList{kConnectionFailed}, 20000);
    QVERIFY2(waited.elapsed() >= 4500, qPrintable(QString::number(waited.elapsed()))); // a coarse timer
    verifyTcpIdle(panel);
    verifyChannelBoxesEnabled(true);
}

void TestLinkPanels::clickWhileWaitingAbortsTheAttempt()
{
    const Panel panel(*form, 1);
    SilentListener silent;
    QVERIFY(silent.isValid());
    startTcp(panel, silent.port());
    QCOMPARE(panel.connectButton->text(), QStringLiteral("warten..."));
    QTest::mouseClick(panel.connectButton, Qt::LeftButton);
    QVERIFY(panel.connection->state() == comm::Connection::State::Idle);
    verifyTcpIdle(panel);
    QCOMPARE(panel.connectButton->toolTip(), kConnectHint);
    verifyChannelBoxesEnabled(true);
    QVERIFY(recorder->texts().isEmpty());

    // The socket is free for a new attempt.
    TcpPeer peer;
    startTcp(panel, peer.port());
    QTRY_COMPARE(panel.connectButton->text(), QStringLiteral("TCP aktiv"));
    QVERIFY(recorder->texts().isEmpty());
}

void TestLinkPanels::unusablePortIsRefused_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("message");
    QTest::newRow("not a number") << "abc" << "'abc' ist kein gültiger Integerwert";
    QTest::newRow("above 65535") << "70000" << "Der Port 70000 liegt nicht zwischen 1 und 65535.";
    QTest::newRow("zero") << "0" << "Der Port 0 liegt nicht zwischen 1 und 65535.";
}

void TestLinkPanels::unusablePortIsRefused()
{
    QFETCH(QString, port);
    QFETCH(QString, message);
    const Panel panel(*form, 1);
    panel.ip->setText(QStringLiteral("127.0.0.1")); // should a port get through, only to loopback
    panel.port->setText(port);
    QTest::mouseClick(panel.connectButton, Qt::LeftButton);
    QCOMPARE(recorder->texts(), QStringList{message});
    QCOMPARE(recorder->entries().front().kind, msg::Kind::Error);
    QVERIFY(panel.connection->state() == comm::Connection::State::Idle);
    QVERIFY(!panel.socket()->isOpen());
    verifyTcpIdle(panel);
    verifyChannelBoxesEnabled(true);
}

void TestLinkPanels::thirdReadOnLink2IsCounted()
{
    const Panel panel(*form, 2);
    TcpPeer peer;
    startTcp(panel, peer.port());
    QTRY_COMPARE(peer.received(), QByteArray("I1\r"));
    const QByteArray reads[] = {"eins", "zwei", "drei"};
    for (const QByteArray &read : reads) {
        QVERIFY(peer.send(read));
        QTRY_VERIFY(panel.receiveMemo->toPlainText().endsWith(QString::fromLatin1(read)));
    }
    QCOMPARE(lines(panel.receiveMemo), (QStringList{"eins", "zwei", "drei"}));
    const QStringList debug = lines(memo);
    const int third = debug.indexOf(QStringLiteral("3 Client 2: Daten empfangen"));
    QVERIFY2(third >= 0, qPrintable(memo->toPlainText()));
    QCOMPARE(debug.value(third + 1), QStringLiteral("drei"));
    QVERIFY(debug.indexOf(QStringLiteral("2 Client 2: Daten empfangen")) < third);
}

void TestLinkPanels::sliderMoveReachesTheSerialLine()
{
    const Panel panel(*form, 1);
    PtyPair pty;
    openSerial(panel, pty);
    form->findChild<QSlider *>(QStringLiteral("trbServo1"))->setValue(1600);
    form->findChild<arm::ServoTimer *>()->ServoTimer1Timer();
    QCOMPARE(pty.receive(9), std::string("#16P1600\r"));
    QCOMPARE(panel.transmitEdit->text(), QString()); // the serial path took it
    QCOMPARE(lines(memo).last(), QStringLiteral("#16P1600<cr>"));
}

void TestLinkPanels::sliderMoveReachesTheTcpPeer()
{
    const Panel panel(*form, 1);
    TcpPeer peer;
    startTcp(panel, peer.port());
    QTRY_COMPARE(peer.received(), QByteArray("VER\r"));
    peer.clearReceived();
    form->findChild<QSlider *>(QStringLiteral("trbServo1"))->setValue(1600);
    form->findChild<arm::ServoTimer *>()->ServoTimer1Timer();
    QTRY_COMPARE(peer.received(), QByteArray("#16P1600\r"));
    // The serial path is closed: the edit keeps the last command in view.
    QCOMPARE(panel.transmitEdit->text(), QStringLiteral("#16P1600\r"));
}

void TestLinkPanels::closingTheWindowClosesLinksBeforeTheSaveQuestion()
{
    const Panel arm(*form, 1);
    const Panel chassis(*form, 2);
    PtyPair pty;
    openSerial(arm, pty);
    TcpPeer peer;
    startTcp(chassis, peer.port());
    QTRY_COMPARE(peer.received(), QByteArray("I1\r")); // nothing left to send: the close is immediate

    bool asked = false;
    recorder->atQuestion = [&] {
        asked = true;
        QVERIFY(pty.slaveSettings().c_lflag & ICANON); // the port has given the line back
        QVERIFY(!chassis.socket()->isOpen());
    };
    recorder->answerQuestions({msg::Answer::No});
    form->close();
    QVERIFY(asked);
    QCOMPARE(recorder->texts(), QStringList{QStringLiteral("Wollen Sie die Einstellungen speichern?")});
    QTRY_VERIFY(!peer.hasClient());
    QVERIFY(!QFile::exists(dir->filePath(QStringLiteral("RFS/STARTW2.stw"))));
}

// Else the attempt's time-out would put an error box over the save question.
void TestLinkPanels::closingTheWindowDropsAPendingConnect()
{
    const Panel panel(*form, 1);
    SilentListener silent;
    QVERIFY(silent.isValid());
    startTcp(panel, silent.port());
    QCOMPARE(panel.connection->state(), comm::Connection::State::Connecting);
    bool asked = false;
    recorder->atQuestion = [&] {
        asked = true;
        QVERIFY(panel.connection->state() == comm::Connection::State::Idle);
    };
    recorder->answerQuestions({msg::Answer::No});
    form->close();
    QVERIFY(asked);
    QCOMPARE(recorder->texts(), QStringList{QStringLiteral("Wollen Sie die Einstellungen speichern?")});
}

VELMORA_WINDOW_TEST_MAIN(TestLinkPanels)

#include "test_link_panels.moc"
