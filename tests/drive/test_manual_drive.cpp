// Driving by gamepad and keyboard in a real main window with link 2 open over a
// pseudo-terminal: the pad is SDL's virtual joystick, the keys go through the
// application as typed ones do. What they do is read from the drive controls and
// from the drive command they write to, the state line as a screen reader reads it.
#include "app/tform1.h"
#include "arm/move_executor.h"
#include "drive/drive_command.h"
#include "drive/fahrwerk.h"
#include "platform/game_controller.h"
#include "support/message_recorder.h"
#include "support/program_dir_fixture.h"
#include "support/pty_pair.h"
#include "support/virtual_pad.h"
#include "support/window_test_main.h"
#include "toolkit/track_bar.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

#define SDL_MAIN_HANDLED
#include <SDL.h>

class TestManualDrive : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void padDrivesInProportionWhileTheTriggerIsHeld();
    void padDeadZoneIsRespectedAndKept();
    void padStopsWhenItCeasesToAct_data();
    void padStopsWhenItCeasesToAct();
    void keysActWhileHeldAndSpaceStops();
    void anotherWindowOfTheProgramEndsHeldKeysAndKeysDriveThere();
    void keysByFocusLinkAndKeySpeed_data();
    void keysByFocusLinkAndKeySpeed();
    void padJogsTheArmWhileKinematikIsActive_data();
    void padJogsTheArmWhileKinematikIsActive();

private:
    // In the main window or one of its companions.
    template <typename T>
    T *find(const char *name) const
    {
        for (const QWidget *window : QApplication::topLevelWidgets())
            if (auto *found = window->findChild<T *>(QLatin1String(name)))
                return found;
        return nullptr;
    }
    bool down(const char *button) const { return find<QToolButton>(button)->isChecked(); }
    int position(const char *trackBar) const { return find<toolkit::TrackBar>(trackBar)->position(); }
    QString stateLine() const
    {
        return QAccessible::queryAccessibleInterface(find<QLabel>("stateLine"))->text(QAccessible::Name);
    }
    // The drive command: direction, speed, steering and "Hupe" while the horn sounds.
    QString commanded() const;
    void plugPad();

    std::unique_ptr<ProgramDirFixture> dir;
    std::unique_ptr<MessageRecorder> recorder; // the start-up's box about the missing settings file
    std::unique_ptr<PtyPair> pty;
    std::unique_ptr<app::TForm1> form;
    std::unique_ptr<VirtualPad> pad;
};

void TestManualDrive::init()
{
    dir = std::make_unique<ProgramDirFixture>();
    recorder = std::make_unique<MessageRecorder>();
    pty = std::make_unique<PtyPair>();
    form = std::make_unique<app::TForm1>(dir->path());
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    find<QRadioButton>("rbtnSeriell2")->click();
    find<QComboBox>("cbxDeviceName2")->setEditText(QString::fromStdString(pty->deviceName()));
    QTest::mouseClick(find<QPushButton>("btnConnect2"), Qt::LeftButton);
    QCOMPARE(stateLine(), QStringLiteral("Bereit"));
    // Space stops rather than presses the connect button just clicked.
    QVERIFY(QApplication::focusWidget() != find<QPushButton>("btnConnect2"));
}

void TestManualDrive::cleanup()
{
    pad.reset();
    form.reset();
    pty.reset();
    recorder.reset();
    dir.reset();
}

QString TestManualDrive::commanded() const
{
    const drive::DriveCommand &command = form->driveCommand();
    return QStringLiteral("%1 %2 %3%4")
        .arg(QLatin1Char(command.direction()))
        .arg(command.speed())
        .arg(command.steering())
        .arg(command.horn() ? QStringLiteral(" Hupe") : QString());
}

void TestManualDrive::plugPad()
{
    pad = std::make_unique<VirtualPad>("Testpad");
    QTRY_COMPARE(find<QLabel>("padName")->text(), QStringLiteral("Testpad"));
    QCOMPARE(stateLine(), QStringLiteral("Bereit: zum Fahren den rechten Trigger halten"));
}

void TestManualDrive::padDrivesInProportionWhileTheTriggerIsHeld()
{
    plugPad();
    pad->move(SDL_CONTROLLER_AXIS_LEFTY, -16384); // half forward, without the dead-man: nothing
    pad->move(SDL_CONTROLLER_AXIS_LEFTX, 16384);
    QTRY_COMPARE(form->findChild<platform::GameController *>()->state().leftY, -16384);
    QVERIFY(down("btnStop"));
    pad->drive(0.5);
    QTRY_VERIFY(down("btnVor"));
    QCOMPARE(position("trbSpeed"), -128);
    QCOMPARE(position("trbLenk"), 50);
    QCOMPARE(commanded(), QStringLiteral("v 128 50"));
    QCOMPARE(stateLine(), QStringLiteral("Fährt mit dem Gamepad"));
    find<QAction>("Steuerung1")->trigger(); // a companion window active: the pad goes on
    QTRY_VERIFY(find<QLabel>("stateLine")->window()->isActiveWindow());
    QCOMPARE(stateLine(), QStringLiteral("Fährt mit dem Gamepad"));

    pad->move(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
    QTRY_VERIFY(down("btnStop"));
    QCOMPARE(position("trbSpeed"), 0);
    QCOMPARE(commanded(), QStringLiteral("s 0 50"));
    QCOMPARE(stateLine(), QStringLiteral("Angehalten: Totmannschalter losgelassen"));
}

void TestManualDrive::padDeadZoneIsRespectedAndKept()
{
    plugPad();
    pad->drive(0.12);
    QTRY_COMPARE(stateLine(), QStringLiteral("Fährt mit dem Gamepad"));
    QVERIFY(down("btnStop"));
    pad->drive(0.2);
    QTRY_COMPARE(position("trbSpeed"), -51);
    find<QSpinBox>("deadZone")->setValue(25);
    pad->drive(0.21);
    QTRY_VERIFY(down("btnStop"));
    QCOMPARE(position("trbSpeed"), 0);
    QCOMPARE(QSettings(dir->filePath("RFS/velmora.ini"), QSettings::IniFormat).value("drive/dead_zone_percent").toInt(),
             25);
}

void TestManualDrive::padStopsWhenItCeasesToAct_data()
{
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("state");
    QTest::newRow("unplugged") << "unplug" << "Angehalten: Gamepad abgezogen";
    QTest::newRow("another program's window active") << "elsewhere"
                                                     << "Angehalten: kein Fenster des Programms ist mehr aktiv";
    QTest::newRow("link 2 closed") << "btnConnect2" << "Angehalten: Verbindung 2 (Fahrwerk) getrennt";
}

void TestManualDrive::padStopsWhenItCeasesToAct()
{
    QFETCH(QString, cause);
    QWidget elsewhere;
    plugPad();
    pad->drive(1);
    QTRY_VERIFY(down("btnVor"));
    if (cause == QLatin1String("unplug")) {
        pad->unplug();
    } else if (cause == QLatin1String("elsewhere")) {
        elsewhere.show();
        elsewhere.activateWindow();
    } else {
        form->findChild<QPushButton *>(cause)->click();
    }
    QTRY_VERIFY(down("btnStop"));
    QCOMPARE(position("trbSpeed"), 0);
    QTEST(stateLine(), "state");
}

// The focused toggle button sees the driving keys, but space is its own.
void TestManualDrive::keysActWhileHeldAndSpaceStops()
{
    find<toolkit::TrackBar>("trbSpeed")->setPosition(-100);
    QWidget *focus = find<QToolButton>("btnWarnblink");
    focus->setFocus();
    QTest::keyPress(focus, Qt::Key_W);
    QVERIFY(down("btnVor"));
    QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_W, Qt::NoModifier, QStringLiteral("w"), true);
    QKeyEvent repeatPress(QEvent::KeyPress, Qt::Key_W, Qt::NoModifier, QStringLiteral("w"), true);
    QApplication::sendEvent(focus, &repeatRelease);
    QApplication::sendEvent(focus, &repeatPress);
    QCOMPARE(commanded(), QStringLiteral("v 100 0"));
    QTest::keyPress(focus, Qt::Key_A);
    QTest::keyPress(focus, Qt::Key_H);
    QCOMPARE(position("trbLenk"), -drive::kSharpTurnSteering);
    QCOMPARE(commanded(), QStringLiteral("v 100 -255 Hupe"));
    for (const Qt::Key key : {Qt::Key_A, Qt::Key_H, Qt::Key_W})
        QTest::keyRelease(focus, key);
    QVERIFY(down("btnStop"));
    QCOMPARE(position("trbLenk"), 0);
    QCOMPARE(position("trbSpeed"), -100);
    QCOMPARE(commanded(), QStringLiteral("s 100 0"));

    QTest::keyPress(focus, Qt::Key_S);
    QVERIFY(down("btnRueck"));
    QTest::keyClick(focus, Qt::Key_Space);
    QVERIFY(down("btnRueck") && down("btnWarnblink"));
    focus = find<QWidget>("trbServo1");
    focus->setFocus();
    QTest::keyClick(focus, Qt::Key_Space);
    QVERIFY(down("btnStop"));
    QCOMPARE(position("trbSpeed"), 0);
}

void TestManualDrive::anotherWindowOfTheProgramEndsHeldKeysAndKeysDriveThere()
{
    QTest::keyPress(form.get(), Qt::Key_W);
    QTest::keyPress(form.get(), Qt::Key_D);
    QCOMPARE(stateLine(), QStringLiteral("Fährt mit der Tastatur"));
    find<QAction>("Steuerung1")->trigger();
    QTRY_VERIFY(down("btnStop"));
    QCOMPARE(position("trbLenk"), 0);
    QCOMPARE(stateLine(), QStringLiteral("Angehalten: ein anderes Fenster wurde aktiv"));
    QWidget *setup = find<QLabel>("stateLine")->window();
    QVERIFY(form->isEnabled() && !setup->isModal() && setup->windowType() == Qt::Tool);
    QTest::keyPress(QApplication::focusWidget(), Qt::Key_W); // the window itself has the focus
    QCOMPARE(stateLine(), QStringLiteral("Fährt mit der Tastatur"));
    // No pad: the trigger's bar is empty.
    QWidget *trigger = nullptr;
    for (QWidget *bar : setup->findChildren<QWidget *>())
        trigger = bar->accessibleName() == QLatin1String("Rechter Trigger") ? bar : trigger;
    QVERIFY(trigger);
    QCOMPARE(trigger->grab().toImage().pixelColor(trigger->width() / 4, trigger->height() / 2),
             trigger->palette().base().color());
}

// Typed and released, the keys leave the chassis standing; held, they drive.
void TestManualDrive::keysByFocusLinkAndKeySpeed_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("linkOpen");
    QTest::addColumn<int>("keySpeed");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("commanded");
    QTest::newRow("text field keeps the keys") << "edtTCP_IP1" << true << 50 << int(Qt::Key_W) << "s 0 0";
    QTest::newRow("drop-down keeps the keys") << "cbxKanalServo1" << true << 50 << int(Qt::Key_W) << "s 0 0";
    QTest::newRow("slider: W at the key speed") << "trbServo1" << true << 50 << int(Qt::Key_W) << "v 128 0";
    QTest::newRow("key speed chosen and kept") << "trbServo1" << true << 30 << int(Qt::Key_S) << "r 77 0";
    QTest::newRow("A at a standstill turns on the spot") << "trbServo1" << true << 50 << int(Qt::Key_A) << "L 128 0";
    QTest::newRow("link 2 closed: W does nothing") << "trbServo1" << false << 50 << int(Qt::Key_W) << "s 0 0";
    QTest::newRow("link 2 closed: D does nothing") << "trbServo1" << false << 50 << int(Qt::Key_D) << "s 0 0";
}

void TestManualDrive::keysByFocusLinkAndKeySpeed()
{
    QFETCH(QString, control);
    QFETCH(int, keySpeed);
    QFETCH(int, key);
    QFETCH(bool, linkOpen);
    find<QSpinBox>("keySpeed")->setValue(keySpeed);
    if (!linkOpen)
        find<QPushButton>("btnConnect2")->click();
    auto *focus = find<QWidget>(qPrintable(control));
    focus->setFocus();
    QCOMPARE(QApplication::focusWidget(), focus);
    auto *edit = qobject_cast<QLineEdit *>(focus);
    if (edit)
        edit->clear();
    QTest::keyClicks(focus, QStringLiteral("ws d"));
    QCOMPARE(commanded(), QStringLiteral("s 0 0"));
    QTest::keyPress(focus, Qt::Key(key));
    QTEST(commanded(), "commanded");
    if (edit)
        QCOMPARE(edit->text(), QStringLiteral("ws dw"));
    QCOMPARE(QSettings(dir->filePath("RFS/velmora.ini"), QSettings::IniFormat).value("drive/key_speed_percent", 50).toInt(),
             keySpeed);
}

void TestManualDrive::padJogsTheArmWhileKinematikIsActive_data()
{
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("state");
    QTest::newRow("main window active again") << "main" << "Angehalten: das Fenster Kinematik ist nicht mehr aktiv";
    QTest::newRow("trigger released") << "trigger" << "Angehalten: Totmannschalter losgelassen";
    QTest::newRow("unplugged") << "unplug" << "Angehalten: Gamepad abgezogen";
    QTest::newRow("link 1 closed") << "btnConnect1" << "Angehalten: Verbindung 1 (Greifarm) getrennt";
}

// The arm's jog takes the pad from driving while the window "Kinematik" is
// the active window, and stops at once when it ceases to act.
void TestManualDrive::padJogsTheArmWhileKinematikIsActive()
{
    QFETCH(QString, cause);
    const PtyPair armLine;
    find<QRadioButton>("rbtnSeriell1")->click();
    find<QComboBox>("cbxDeviceName1")->setEditText(QString::fromStdString(armLine.deviceName()));
    find<QPushButton>("btnConnect1")->click();
    plugPad();
    find<QAction>("Kinematik1")->trigger();
    const QWidgetList windows = QApplication::topLevelWidgets();
    QWidget *kinematik = *std::find_if(windows.begin(), windows.end(),
                                       [](QWidget *w) { return w->windowTitle() == QLatin1String("Kinematik"); });
    // The application's own activation, which the jog follows, not only the window system's.
    QTRY_VERIFY(kinematik->isActiveWindow());
    const double startX = form->moveExecutor().commandedPose().tip.x;
    pad->drive(0.5);
    QTRY_VERIFY(form->moveExecutor().commandedPose().tip.x > startX + 1);
    QVERIFY(form->moveExecutor().isHeldJog());
    QVERIFY(down("btnStop")); // the chassis stays where it is
    if (cause == QLatin1String("main")) {
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    } else if (cause == QLatin1String("trigger")) {
        pad->move(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
    } else if (cause == QLatin1String("unplug")) {
        pad->unplug();
    } else {
        find<QPushButton>(qPrintable(cause))->click();
    }
    QTRY_VERIFY(!form->moveExecutor().isMoving());
    QTEST(kinematik->findChild<QLabel *>(QStringLiteral("statusLine"))->text(), "state");
    QVERIFY(down("btnStop")); // the trigger held through does not drive off
    kinematik->close();
}

VELMORA_WINDOW_TEST_MAIN(TestManualDrive)

#include "test_manual_drive.moc"
