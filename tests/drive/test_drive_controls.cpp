// The "Fahrwerk" group in a real main window with link 2 open over a
// pseudo-terminal standing in for the chassis board: what the drive controls make
// the chassis timer send, and how the board's replies show in read-outs and gauges.
#include "app/tform1.h"
#include "drive/drive_panel.h"
#include "arm/servo_timer.h"
#include "support/message_recorder.h"
#include "support/program_dir_fixture.h"
#include "support/pty_pair.h"
#include "support/tcp_peer.h"
#include "support/window_test_main.h"
#include "toolkit/gauge.h"
#include "toolkit/track_bar.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>

namespace {

const QColor kSilver(192, 192, 192);
const QColor kLime(0, 255, 0);
const QColor kYellow(255, 255, 0);
const QColor kMaroon(128, 0, 0);
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);

// One rotation of an activated chassis with no direction chosen.
const QStringList kStandingRotation{"K0Q0", "W0", "H0", "K0Q0", "A1", "B1",
                                    "K0Q0", "W0", "H0", "K0Q0", "A1", "T1"};

// The pointer moves with the left mouse button held, to a point given in the
// button's own coordinates.
void dragTo(QWidget *button, const QPoint &to)
{
    QMouseEvent move(QEvent::MouseMove, to, button->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(button, &move);
}

QPoint besides(const QWidget *button) { return {button->width() + 20, button->height() / 2}; }

} // namespace

class TestDriveControls : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void chassisTimerTicksEvery50ms();
    void groupStartsDisabledAndTicksSendNothing();
    void openingLink2EnablesTheGroupAndStartsTheRotation();
    void stopSendsTheStopTextAndZeroesTheSpeed();
    void holdingTheHornSendsH1UntilReleased();
    void directionPressedAgainCentresTheSteering_data();
    void directionPressedAgainCentresTheSteering();
    void sharpTurnDrivesTheInnerTrackBackward_data();
    void sharpTurnDrivesTheInnerTrackBackward();
    void turningOnTheSpotUsesOppositeTracks_data();
    void turningOnTheSpotUsesOppositeTracks();
    void hazardButtonToggles();
    void closingLink2StopsSendingAtOnce();

    void telemetryFillsReadOutsAndGauges();
    void recordSplitOverTwoPiecesShowsOnceComplete();
    void identificationIsAnnouncedThenDistanceShown();
    void closeDistanceAfterVeryCloseStaysYellowOnRed();
    void firstReadingAfterReopeningSetsTheResetGauge();
    void telemetryOverTcpReachesTheReadOuts();

private:
    void openChassisLink();
    // Runs the chassis timer n times and returns the n messages that reached the line.
    QStringList tick(int n);
    QToolButton *button(const char *name) const { return form->findChild<QToolButton *>(QLatin1String(name)); }
    QLineEdit *edit(const char *name) const { return form->findChild<QLineEdit *>(QLatin1String(name)); }
    toolkit::Gauge *gauge(const char *name) const { return form->findChild<toolkit::Gauge *>(QLatin1String(name)); }
    void verifyGauge(const char *name, int progress, const QColor &fill, const QColor &background);

    std::unique_ptr<ProgramDirFixture> dir;
    std::unique_ptr<MessageRecorder> recorder;
    std::unique_ptr<app::TForm1> form;
    std::unique_ptr<PtyPair> pty;
    QPlainTextEdit *memo = nullptr;
    QGroupBox *group = nullptr;
    toolkit::TrackBar *trbLenk = nullptr;
    toolkit::TrackBar *trbSpeed = nullptr;
};

// The window's timers are stopped so that every chassis tick is one the test makes;
// the arm cycle's first tick is taken and the start-up messages are dropped.
void TestDriveControls::init()
{
    dir = std::make_unique<ProgramDirFixture>();
    recorder = std::make_unique<MessageRecorder>();
    form = std::make_unique<app::TForm1>(dir->path());
    form->show();
    auto *chassisTimer = form->findChild<QTimer *>(QStringLiteral("KettenTimer1"));
    QVERIFY(chassisTimer && chassisTimer->isActive());
    chassisTimer->stop();
    form->findChild<QTimer *>(QStringLiteral("ServoTimer1"))->stop();
    form->findChild<arm::ServoTimer *>()->ServoTimer1Timer();
    recorder->clear();
    memo = form->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"));
    group = form->findChild<QGroupBox *>(QStringLiteral("gbxFahrwerk"));
    trbLenk = form->findChild<toolkit::TrackBar *>(QStringLiteral("trbLenk"));
    trbSpeed = form->findChild<toolkit::TrackBar *>(QStringLiteral("trbSpeed"));
    pty = std::make_unique<PtyPair>();
}

void TestDriveControls::cleanup()
{
    form.reset();
    pty.reset();
    recorder.reset();
    dir.reset();
}

void TestDriveControls::openChassisLink()
{
    QVERIFY(pty->isValid());
    QTest::mouseClick(form->findChild<QRadioButton *>(QStringLiteral("rbtnSeriell2")), Qt::LeftButton);
    form->findChild<QComboBox *>(QStringLiteral("cbxDeviceName2"))
        ->setEditText(QString::fromStdString(pty->deviceName()));
    auto *connectButton = form->findChild<QPushButton *>(QStringLiteral("btnConnect2"));
    QTest::mouseClick(connectButton, Qt::LeftButton);
    QCOMPARE(connectButton->text(), QStringLiteral("Trennen"));
}

QStringList TestDriveControls::tick(int n)
{
    for (int i = 0; i < n; ++i)
        form->findChild<drive::DrivePanel *>()->KettenTimer1Timer();
    QStringList messages;
    QString current;
    while (messages.size() < n) {
        const std::string byte = pty->receive(1);
        if (byte.empty())
            break; // nothing more came: the comparison shows what is missing
        if (byte == "\r") {
            messages << current;
            current.clear();
        } else {
            current += QString::fromLatin1(byte.c_str());
        }
    }
    return messages;
}

void TestDriveControls::verifyGauge(const char *name, int progress, const QColor &fill, const QColor &background)
{
    const toolkit::Gauge *shown = gauge(name);
    QVERIFY(shown);
    QCOMPARE(shown->progress(), progress);
    QCOMPARE(shown->foreColor(), fill);
    QCOMPARE(shown->backColor(), background);
}

void TestDriveControls::chassisTimerTicksEvery50ms()
{
    auto *chassisTimer = form->findChild<QTimer *>(QStringLiteral("KettenTimer1"));
    QCOMPARE(chassisTimer->interval(), 50);
    QCOMPARE(chassisTimer->timerType(), Qt::PreciseTimer);
}

void TestDriveControls::groupStartsDisabledAndTicksSendNothing()
{
    QVERIFY(!group->isEnabled());
    for (const char *name : {"btnHupe", "btnLinks", "btnRechts", "btnRueck", "btnStop", "btnVor", "btnWarnblink",
                             "btnWende_L", "btnWende_R"})
        QVERIFY2(!button(name)->isEnabled(), name);
    for (QWidget *control : std::initializer_list<QWidget *>{edit("edtAbstand"), edit("edtBatterie"),
                                                             edit("edtTemperatur"), trbLenk, trbSpeed})
        QVERIFY2(!control->isEnabled(), qPrintable(control->objectName()));
    QVERIFY(button("btnStop")->isChecked());
    QCOMPARE(trbLenk->position(), 0);
    QCOMPARE(trbSpeed->position(), 0);
    for (const char *name : {"cgBat", "cgDist", "cgTemp"})
        verifyGauge(name, 0, kBlue, kSilver);

    const QString memoBefore = memo->toPlainText();
    auto *transmit = edit("Transmit_Edit2");
    for (int i = 0; i < 3; ++i)
        form->findChild<drive::DrivePanel *>()->KettenTimer1Timer();
    QCOMPARE(memo->toPlainText(), memoBefore);
    QCOMPARE(transmit->text(), QString());
}

void TestDriveControls::openingLink2EnablesTheGroupAndStartsTheRotation()
{
    openChassisLink();
    QVERIFY(group->isEnabled());
    for (const char *name : {"btnHupe", "btnLinks", "btnRechts", "btnRueck", "btnStop", "btnVor", "btnWarnblink",
                             "btnWende_L", "btnWende_R"})
        QVERIFY2(button(name)->isEnabled(), name);
    QVERIFY(trbLenk->isEnabled() && trbSpeed->isEnabled());

    for (int i = 0; i < 6; ++i)
        form->findChild<drive::DrivePanel *>()->KettenTimer1Timer();
    QCOMPARE(pty->receive(22), std::string("K0Q0\rW0\rH0\rK0Q0\rA1\rB1\r"));
    QCOMPARE(tick(6), kStandingRotation.mid(6));
    QCOMPARE(tick(1), QStringList{"K0Q0"}); // the next rotation begins
    const QStringList logged = memo->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(logged.mid(logged.size() - 13),
             (QStringList{"K0Q0<cr>", "W0<cr>", "H0<cr>", "K0Q0<cr>", "A1<cr>", "B1<cr>", "K0Q0<cr>", "W0<cr>",
                          "H0<cr>", "K0Q0<cr>", "A1<cr>", "T1<cr>", "K0Q0<cr>"}));
    QCOMPARE(edit("Transmit_Edit2")->text(), QString()); // the serial path took each one
}

void TestDriveControls::stopSendsTheStopTextAndZeroesTheSpeed()
{
    openChassisLink();
    QTest::mouseClick(button("btnVor"), Qt::LeftButton);
    trbSpeed->setValue(-100);
    QCOMPARE(trbSpeed->selStart(), -100);
    QCOMPARE(tick(4), (QStringList{"K100", "W0", "H0", "Q100"}));

    QTest::mouseClick(button("btnStop"), Qt::LeftButton);
    QVERIFY(button("btnStop")->isChecked());
    QVERIFY(!button("btnVor")->isChecked());
    QCOMPARE(trbSpeed->position(), 0);
    QCOMPARE(trbSpeed->selStart(), 0);
    QCOMPARE(tick(8), (QStringList{"A1", "B1", "K0Q0", "W0", "H0", "K0Q0", "A1", "T1"}));

    // Forward again at the standstill speed: the tracks get speed 0, not the stop text.
    QTest::mouseClick(button("btnVor"), Qt::LeftButton);
    QCOMPARE(tick(4), (QStringList{"K0", "W0", "H0", "Q0"}));
}

void TestDriveControls::holdingTheHornSendsH1UntilReleased()
{
    openChassisLink();
    QToolButton *horn = button("btnHupe");
    QTest::mousePress(horn, Qt::LeftButton);
    QCOMPARE(tick(3), (QStringList{"K0Q0", "W0", "H1"}));
    // The mouse button decides, not the pointer: dragged off and back, it sounds on.
    dragTo(horn, besides(horn));
    QCOMPARE(tick(6), (QStringList{"K0Q0", "A1", "B1", "K0Q0", "W0", "H1"}));
    dragTo(horn, horn->rect().center());
    dragTo(horn, besides(horn));
    QTest::mouseRelease(horn, Qt::LeftButton, {}, besides(horn));
    QCOMPARE(tick(6), (QStringList{"K0Q0", "A1", "T1", "K0Q0", "W0", "H0"}));

    // A short click between two horn steps leaves nothing to send but "H0".
    QTest::mouseClick(horn, Qt::LeftButton);
    QCOMPARE(tick(6), (QStringList{"K0Q0", "A1", "B1", "K0Q0", "W0", "H0"}));

    // The space key holds it like the mouse button.
    QTest::keyPress(horn, Qt::Key_Space);
    QCOMPARE(tick(6), (QStringList{"K0Q0", "A1", "T1", "K0Q0", "W0", "H1"}));
    QTest::keyRelease(horn, Qt::Key_Space);
    QCOMPARE(tick(6), (QStringList{"K0Q0", "A1", "B1", "K0Q0", "W0", "H0"}));
}

void TestDriveControls::directionPressedAgainCentresTheSteering_data()
{
    QTest::addColumn<QString>("buttonName");
    QTest::addColumn<QStringList>("steered");
    QTest::addColumn<QStringList>("centred");
    QTest::newRow("forward") << "btnVor" << QStringList{"K100", "W0", "H0", "Q60"}
                             << QStringList{"A1", "B1", "K100", "W0", "H0", "Q100"};
    QTest::newRow("backward") << "btnRueck" << QStringList{"L100", "W0", "H0", "R60"}
                              << QStringList{"A1", "B1", "L100", "W0", "H0", "R100"};
}

void TestDriveControls::directionPressedAgainCentresTheSteering()
{
    QFETCH(QString, buttonName);
    QFETCH(QStringList, steered);
    QFETCH(QStringList, centred);
    QToolButton *direction = button(qPrintable(buttonName));
    openChassisLink();
    trbSpeed->setValue(-100);
    trbLenk->setValue(40);
    QCOMPARE(trbLenk->selStart(), 0);
    QCOMPARE(trbLenk->selEnd(), 40);

    QTest::mouseClick(direction, Qt::LeftButton);
    QVERIFY(direction->isChecked());
    QCOMPARE(trbLenk->position(), 40); // the first click only chooses the direction
    QCOMPARE(tick(4), steered);

    QTest::mouseClick(direction, Qt::LeftButton);
    QVERIFY(direction->isChecked());
    QCOMPARE(trbLenk->position(), 0);
    QCOMPARE(trbLenk->selEnd(), 0);
    QCOMPARE(tick(6), centred);
}

void TestDriveControls::sharpTurnDrivesTheInnerTrackBackward_data()
{
    QTest::addColumn<QString>("buttonName");
    QTest::addColumn<int>("steering");
    QTest::addColumn<int>("shown");
    QTest::addColumn<QStringList>("held");
    QTest::newRow("scharf links") << "btnLinks" << -255 << -100 << QStringList{"K-155", "W0", "H0", "Q100"};
    QTest::newRow("scharf rechts") << "btnRechts" << 255 << 100 << QStringList{"K100", "W0", "H0", "Q-155"};
}

void TestDriveControls::sharpTurnDrivesTheInnerTrackBackward()
{
    QFETCH(QString, buttonName);
    QFETCH(int, steering);
    QFETCH(int, shown);
    QFETCH(QStringList, held);
    QToolButton *sharp = button(qPrintable(buttonName));
    openChassisLink();
    QTest::mouseClick(button("btnVor"), Qt::LeftButton);
    trbSpeed->setValue(-100);
    trbLenk->setValue(30);

    QTest::mousePress(sharp, Qt::LeftButton);
    QCOMPARE(trbLenk->position(), steering);
    QCOMPARE(trbLenk->value(), shown); // the bar shows its end
    dragTo(sharp, besides(sharp)); // still held
    QCOMPARE(trbLenk->position(), steering);
    QCOMPARE(tick(4), held);

    // Released, wherever the pointer is, the steering is straight, not what it was before.
    QTest::mouseRelease(sharp, Qt::LeftButton, {}, besides(sharp));
    QVERIFY(!sharp->isChecked());
    QCOMPARE(trbLenk->position(), 0);
    QCOMPARE(trbLenk->value(), 0);
    QCOMPARE(tick(6), (QStringList{"A1", "B1", "K100", "W0", "H0", "Q100"}));
}

void TestDriveControls::turningOnTheSpotUsesOppositeTracks_data()
{
    QTest::addColumn<QString>("buttonName");
    QTest::addColumn<QStringList>("sent");
    QTest::newRow("wenden links") << "btnWende_L" << QStringList{"L80", "W0", "H0", "Q80"};
    QTest::newRow("wenden rechts") << "btnWende_R" << QStringList{"K80", "W0", "H0", "R80"};
}

void TestDriveControls::turningOnTheSpotUsesOppositeTracks()
{
    QFETCH(QString, buttonName);
    QFETCH(QStringList, sent);
    openChassisLink();
    trbSpeed->setValue(-80);
    QTest::mouseClick(button(qPrintable(buttonName)), Qt::LeftButton);
    QVERIFY(button(qPrintable(buttonName))->isChecked());
    QVERIFY(!button("btnStop")->isChecked());
    QCOMPARE(tick(4), sent);
}

void TestDriveControls::hazardButtonToggles()
{
    openChassisLink();
    QToolButton *hazard = button("btnWarnblink");
    QTest::mouseClick(hazard, Qt::LeftButton);
    QVERIFY(hazard->isChecked());
    QVERIFY(button("btnStop")->isChecked()); // not one of the drive directions
    QCOMPARE(tick(2), (QStringList{"K0Q0", "W1"}));
    QTest::mouseClick(hazard, Qt::LeftButton);
    QVERIFY(!hazard->isChecked());
    QCOMPARE(tick(6), (QStringList{"H0", "K0Q0", "A1", "B1", "K0Q0", "W0"}));
}

void TestDriveControls::closingLink2StopsSendingAtOnce()
{
    openChassisLink();
    QTest::mouseClick(button("btnVor"), Qt::LeftButton);
    trbSpeed->setValue(-100);
    QVERIFY(pty->send("A042\rB75\rT031\r"));
    QTRY_COMPARE(edit("edtTemperatur")->text(), QStringLiteral("031"));
    QCOMPARE(tick(3), (QStringList{"K100", "W0", "H0"}));

    auto *connectButton = form->findChild<QPushButton *>(QStringLiteral("btnConnect2"));
    QTest::mouseClick(connectButton, Qt::LeftButton);
    QCOMPARE(connectButton->text(), QStringLiteral("Verbinden"));
    QVERIFY(!group->isEnabled());
    QVERIFY(!trbSpeed->isEnabled());
    for (const char *name : {"cgBat", "cgDist", "cgTemp"}) {
        QCOMPARE(gauge(name)->progress(), 0);
        QCOMPARE(gauge(name)->backColor(), kSilver);
    }
    // The read-outs and the drive state stay as they were.
    QCOMPARE(edit("edtAbstand")->text(), QStringLiteral("42"));
    QVERIFY(button("btnVor")->isChecked());
    QCOMPARE(trbSpeed->position(), -100);

    const QString memoBefore = memo->toPlainText();
    auto *transmit = edit("Transmit_Edit2");
    const QString transmitBefore = transmit->text();
    for (int i = 0; i < 5; ++i)
        form->findChild<drive::DrivePanel *>()->KettenTimer1Timer();
    QCOMPARE(memo->toPlainText(), memoBefore);
    QCOMPARE(transmit->text(), transmitBefore);

    // Reopened, the rotation goes on where it stopped: nothing was fetched meanwhile.
    QTest::mouseClick(connectButton, Qt::LeftButton);
    QVERIFY(group->isEnabled());
    QCOMPARE(tick(1), QStringList{"Q100"});
}

void TestDriveControls::telemetryFillsReadOutsAndGauges()
{
    openChassisLink();
    QVERIFY(pty->send("A042\rB75\rT031\r"));
    QTRY_COMPARE(edit("edtTemperatur")->text(), QStringLiteral("031"));
    QCOMPARE(edit("edtAbstand")->text(), QStringLiteral("42"));
    QCOMPARE(edit("edtBatterie")->text(), QStringLiteral("7") + QLocale().decimalPoint() + QStringLiteral("5"));
    verifyGauge("cgTemp", 41, kLime, kYellow);
    verifyGauge("cgBat", 50, kBlue, kYellow);
    verifyGauge("cgDist", 100, kLime, kSilver); // from 35 cm on the background is left as it was
    QVERIFY(recorder->texts().isEmpty());
}

void TestDriveControls::recordSplitOverTwoPiecesShowsOnceComplete()
{
    openChassisLink();
    auto *receiveMemo = form->findChild<QPlainTextEdit *>(QStringLiteral("Receive_Memo2"));
    QVERIFY(pty->send("A4"));
    QTRY_COMPARE(receiveMemo->toPlainText(), QStringLiteral("A4"));
    QCOMPARE(edit("edtAbstand")->text(), QString());
    QVERIFY(pty->send("2\r"));
    QTRY_COMPARE(edit("edtAbstand")->text(), QStringLiteral("42"));
}

void TestDriveControls::identificationIsAnnouncedThenDistanceShown()
{
    openChassisLink();
    QVERIFY(pty->send("VELMO-2007\rA10\r"));
    QTRY_COMPARE(edit("edtAbstand")->text(), QStringLiteral("10"));
    QCOMPARE(recorder->texts(), QStringList{QStringLiteral("Kettenfahrzeug am WiPort gefunden!")});
    QCOMPARE(recorder->entries().front().kind, msg::Kind::Plain);
    verifyGauge("cgDist", 28, kYellow, kMaroon);
}

void TestDriveControls::closeDistanceAfterVeryCloseStaysYellowOnRed()
{
    openChassisLink();
    QVERIFY(pty->send("A5\r"));
    QTRY_COMPARE(edit("edtAbstand")->text(), QStringLiteral("5"));
    verifyGauge("cgDist", 14, kYellow, kRed);
    QVERIFY(pty->send("A32\r"));
    QTRY_COMPARE(edit("edtAbstand")->text(), QStringLiteral("32"));
    verifyGauge("cgDist", 91, kYellow, kRed);
}

// Reopening link 2 resets the gauges; the first reading of each sets its gauge
// again, even one whose text the read-out already shows.
void TestDriveControls::firstReadingAfterReopeningSetsTheResetGauge()
{
    openChassisLink();
    QVERIFY(pty->send("T031\r"));
    QTRY_COMPARE(edit("edtTemperatur")->text(), QStringLiteral("031"));
    verifyGauge("cgTemp", 41, kLime, kYellow);

    auto *connectButton = form->findChild<QPushButton *>(QStringLiteral("btnConnect2"));
    QTest::mouseClick(connectButton, Qt::LeftButton);
    QTest::mouseClick(connectButton, Qt::LeftButton);
    QCOMPARE(gauge("cgTemp")->progress(), 0);
    QCOMPARE(gauge("cgTemp")->backColor(), kSilver);
    QVERIFY(pty->send("T031\rA20\r"));
    QTRY_COMPARE(edit("edtAbstand")->text(), QStringLiteral("20"));
    verifyGauge("cgTemp", 41, kLime, kYellow);

    QVERIFY(pty->send("T040\r"));
    QTRY_COMPARE(edit("edtTemperatur")->text(), QStringLiteral("040"));
    verifyGauge("cgTemp", 53, kLime, kYellow);
}

void TestDriveControls::telemetryOverTcpReachesTheReadOuts()
{
    TcpPeer peer;
    QVERIFY(peer.isListening());
    form->findChild<QLineEdit *>(QStringLiteral("edtTCP_IP2"))->setText(QStringLiteral("127.0.0.1"));
    form->findChild<QLineEdit *>(QStringLiteral("edtTCP_Port2"))->setText(QString::number(peer.port()));
    QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("btnConnect2")), Qt::LeftButton);
    QTRY_COMPARE(peer.received(), QByteArray("I1\r"));
    QVERIFY(group->isEnabled());
    QVERIFY(peer.send("VELMO-2007\r"));
    QTRY_COMPARE(recorder->texts(), QStringList{QStringLiteral("Kettenfahrzeug am WiPort gefunden!")});
    QVERIFY(peer.send("T6"));
    QTRY_VERIFY(form->findChild<QPlainTextEdit *>(QStringLiteral("Receive_Memo2"))->toPlainText().endsWith("T6"));
    QVERIFY(peer.send("0\r"));
    QTRY_COMPARE(edit("edtTemperatur")->text(), QStringLiteral("60"));
    verifyGauge("cgTemp", 80, kRed, kYellow);

    peer.clearReceived();
    form->findChild<drive::DrivePanel *>()->KettenTimer1Timer();
    QTRY_COMPARE(peer.received(), QByteArray("K0Q0\r"));
}

VELMORA_WINDOW_TEST_MAIN(TestDriveControls)

#include "test_drive_controls.moc"
