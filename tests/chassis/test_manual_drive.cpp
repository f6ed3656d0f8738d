// Driving by gamepad and keyboard in a real main window with link 2 open over a
// pseudo-terminal: the pad is SDL's virtual joystick (no hardware, no display),
// the keys go through the application as typed ones do. What they do is read
// from the drive controls and from the chassis model's command rotation.
#include "app/tform1.h"
#include "chassis/drive_setup_window.h"
#include "chassis/fahrwerk.h"
#include "platform/game_controller.h"
#include "support/message_recorder.h"
#include "support/program_dir_fixture.h"
#include "support/pty_pair.h"
#include "support/window_test_main.h"
#include "toolkit/track_bar.h"

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

namespace {

constexpr int kReleased = -32768; // a trigger's raw axis at rest

// A pad plugged in for the test; the window finds it by its hot-plug check.
class VirtualPad {
public:
    VirtualPad()
    {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
        desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
        desc.name = "Testpad";
        index = SDL_JoystickAttachVirtualEx(&desc);
        joystick = SDL_JoystickOpen(index);
        move(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, kReleased);
    }
    ~VirtualPad() { unplug(); }
    void move(SDL_GameControllerAxis axis, int raw) { SDL_JoystickSetVirtualAxis(joystick, axis, Sint16(raw)); }
    // Trigger held past half way, stick forward by share of its travel.
    void drive(double forward)
    {
        move(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
        move(SDL_CONTROLLER_AXIS_LEFTY, qRound(-forward * 32767));
    }
    void unplug()
    {
        if (!joystick)
            return;
        SDL_JoystickClose(joystick);
        SDL_JoystickDetachVirtual(index);
        joystick = nullptr;
    }

private:
    int index = -1;
    SDL_Joystick *joystick = nullptr;
};

} // namespace

class TestManualDrive : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void padDrivesInProportionWhileTheTriggerIsHeld();
    void padDeadZoneIsRespectedAndKept();
    void padUnpluggedWhileMovingStops();
    void setupWindowLeavesTheMainWindowUsableAndFocusLossStops();
    void keysActWhileHeld();
    void spaceStopsWithoutReachingTheFocusedButton();
    void focusLossEndsHeldKeys();
    void keysStayWithTextFieldsDropDownsAndSliders_data();
    void keysStayWithTextFieldsDropDownsAndSliders();

private:
    template <typename T>
    T *find(const char *name) const { return form->findChild<T *>(QLatin1String(name)); }
    QToolButton *button(const char *name) const { return find<QToolButton>(name); }
    QString stateLine() const { return find<QLabel>("stateLine")->text(); }
    // One rotation of the chassis model: step 1 the left track, 3 the horn, 4 the right track.
    QStringList rotation() const;
    void plugPad();

    std::unique_ptr<ProgramDirFixture> dir;
    std::unique_ptr<MessageRecorder> recorder; // the start-up's box about the missing settings file
    std::unique_ptr<PtyPair> pty;
    std::unique_ptr<app::TForm1> form;
    std::unique_ptr<VirtualPad> pad;
};

// Only the virtual pad: real ones plugged into the machine are ignored.
void TestManualDrive::initTestCase()
{
    SDL_SetHint(SDL_HINT_GAMECONTROLLER_IGNORE_DEVICES_EXCEPT, "0x0000/0x0000");
    SDL_SetHint(SDL_HINT_JOYSTICK_HIDAPI, "0");
    QCOMPARE(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0);
}

void TestManualDrive::cleanupTestCase() { SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER); }

// The chassis timer is stopped: the tests read the model's rotation themselves.
void TestManualDrive::init()
{
    dir = std::make_unique<ProgramDirFixture>();
    recorder = std::make_unique<MessageRecorder>();
    pty = std::make_unique<PtyPair>();
    form = std::make_unique<app::TForm1>(dir->path());
    find<QTimer>("KettenTimer1")->stop();
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    find<QRadioButton>("rbtnSeriell2")->click();
    find<QComboBox>("cbxDeviceName2")->setEditText(QString::fromStdString(pty->deviceName()));
    find<QPushButton>("btnConnect2")->click();
    QCOMPARE(find<QPushButton>("btnConnect2")->text(), QStringLiteral("Trennen"));
    QCOMPARE(stateLine(), QStringLiteral("Bereit"));
}

void TestManualDrive::cleanup()
{
    pad.reset();
    form.reset();
    pty.reset();
    recorder.reset();
    dir.reset();
}

QStringList TestManualDrive::rotation() const
{
    QStringList texts;
    for (int i = 0; i < 12; ++i)
        texts << QString::fromStdString(app::fahrwerk->getCommand());
    return texts;
}

void TestManualDrive::plugPad()
{
    pad = std::make_unique<VirtualPad>();
    QTRY_COMPARE(find<QLabel>("padName")->text(), QStringLiteral("Testpad"));
    QCOMPARE(stateLine(), QStringLiteral("Bereit: zum Fahren den rechten Trigger halten"));
}

void TestManualDrive::padDrivesInProportionWhileTheTriggerIsHeld()
{
    plugPad();
    pad->move(SDL_CONTROLLER_AXIS_LEFTY, -16384); // half forward, without the dead-man: nothing
    pad->move(SDL_CONTROLLER_AXIS_LEFTX, 16384);
    QTRY_COMPARE(form->findChild<platform::GameController *>()->state().leftY, -16384);
    QVERIFY(button("btnStop")->isChecked());
    pad->drive(0.5);
    QTRY_VERIFY(button("btnVor")->isChecked());
    QCOMPARE(find<toolkit::TrackBar>("trbSpeed")->position(), -128);
    QCOMPARE(find<toolkit::TrackBar>("trbLenk")->position(), 50);
    const QStringList moving = rotation();
    QCOMPARE(moving.at(0), QStringLiteral("K128"));
    QCOMPARE(moving.at(3), QStringLiteral("Q64"));
    QCOMPARE(stateLine(), QStringLiteral("Fährt mit dem Gamepad"));

    pad->move(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, kReleased);
    QTRY_VERIFY(button("btnStop")->isChecked());
    QCOMPARE(find<toolkit::TrackBar>("trbSpeed")->position(), 0);
    QCOMPARE(rotation().at(0), QStringLiteral("K0Q0"));
    QCOMPARE(stateLine(), QStringLiteral("Angehalten: Totmannschalter losgelassen"));
}

void TestManualDrive::padDeadZoneIsRespectedAndKept()
{
    plugPad();
    pad->drive(0.12);
    QTRY_COMPARE(stateLine(), QStringLiteral("Fährt mit dem Gamepad"));
    QVERIFY(button("btnStop")->isChecked());
    pad->drive(0.2);
    QTRY_COMPARE(find<toolkit::TrackBar>("trbSpeed")->position(), -51);
    find<QSpinBox>("deadZone")->setValue(25);
    pad->drive(0.21);
    QTRY_VERIFY(button("btnStop")->isChecked());
    QCOMPARE(find<toolkit::TrackBar>("trbSpeed")->position(), 0);
    QCOMPARE(QSettings(dir->filePath("RFS/velmora.ini"), QSettings::IniFormat).value("drive/dead_zone_percent").toInt(),
             25);
}

void TestManualDrive::padUnpluggedWhileMovingStops()
{
    plugPad();
    pad->drive(1);
    QTRY_VERIFY(button("btnVor")->isChecked());
    pad->unplug();
    QTRY_VERIFY(button("btnStop")->isChecked());
    QCOMPARE(rotation().at(0), QStringLiteral("K0Q0"));
    QCOMPARE(stateLine(), QStringLiteral("Angehalten: Gamepad abgezogen"));
    QCOMPARE(find<QLabel>("padName")->text(), QStringLiteral("kein Gamepad gefunden"));
}

void TestManualDrive::setupWindowLeavesTheMainWindowUsableAndFocusLossStops()
{
    plugPad();
    pad->drive(1);
    QTRY_VERIFY(button("btnVor")->isChecked());
    find<QAction>("Steuerung1")->trigger();
    auto *setup = form->findChild<chassis::DriveSetupWindow *>();
    QVERIFY(QTest::qWaitForWindowActive(setup));
    QCOMPARE(setup->windowTitle(), QStringLiteral("Setup: Steuerung"));
    QVERIFY(!setup->isModal());
    QVERIFY(form->isEnabled());
    QTRY_VERIFY(button("btnStop")->isChecked());
    QCOMPARE(stateLine(), QStringLiteral("Angehalten: das Hauptfenster ist nicht mehr aktiv"));
}

void TestManualDrive::keysActWhileHeld()
{
    find<toolkit::TrackBar>("trbSpeed")->setPosition(-100);
    QWidget *focus = button("btnVor");
    focus->setFocus();
    QTest::keyPress(focus, Qt::Key_W);
    QVERIFY(button("btnVor")->isChecked());
    QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_W, Qt::NoModifier, QStringLiteral("w"), true);
    QKeyEvent repeatPress(QEvent::KeyPress, Qt::Key_W, Qt::NoModifier, QStringLiteral("w"), true);
    QApplication::sendEvent(focus, &repeatRelease);
    QApplication::sendEvent(focus, &repeatPress);
    QCOMPARE(rotation().at(0), QStringLiteral("K100"));
    QTest::keyPress(focus, Qt::Key_A);
    QTest::keyPress(focus, Qt::Key_H);
    QCOMPARE(find<toolkit::TrackBar>("trbLenk")->position(), -chassis::kSharpTurnSteering);
    QCOMPARE(rotation().mid(0, 3), (QStringList{"K-155", "W0", "H1"}));
    QTest::keyRelease(focus, Qt::Key_A);
    QTest::keyRelease(focus, Qt::Key_H);
    QTest::keyRelease(focus, Qt::Key_W);
    QVERIFY(button("btnStop")->isChecked());
    QCOMPARE(find<toolkit::TrackBar>("trbLenk")->position(), 0);
    QCOMPARE(find<toolkit::TrackBar>("trbSpeed")->position(), -100);
    QCOMPARE(rotation().mid(0, 3), (QStringList{"K0Q0", "W0", "H0"}));
}

void TestManualDrive::spaceStopsWithoutReachingTheFocusedButton()
{
    find<toolkit::TrackBar>("trbSpeed")->setPosition(-100);
    QWidget *focus = button("btnWarnblink");
    focus->setFocus();
    QTest::keyPress(focus, Qt::Key_S);
    QVERIFY(button("btnRueck")->isChecked());
    QTest::keyClick(focus, Qt::Key_Space);
    QVERIFY(button("btnStop")->isChecked());
    QCOMPARE(find<toolkit::TrackBar>("trbSpeed")->position(), 0);
    QVERIFY(!button("btnWarnblink")->isChecked());
}

void TestManualDrive::focusLossEndsHeldKeys()
{
    QTest::keyPress(form.get(), Qt::Key_W);
    QTest::keyPress(form.get(), Qt::Key_D);
    QCOMPARE(stateLine(), QStringLiteral("Fährt mit der Tastatur"));
    find<QAction>("Steuerung1")->trigger();
    QTRY_VERIFY(button("btnStop")->isChecked());
    QCOMPARE(find<toolkit::TrackBar>("trbLenk")->position(), 0);
    QCOMPARE(stateLine(), QStringLiteral("Angehalten: das Hauptfenster ist nicht mehr aktiv"));
}

void TestManualDrive::keysStayWithTextFieldsDropDownsAndSliders_data()
{
    QTest::addColumn<QString>("control");
    QTest::newRow("text field") << "edtTCP_IP1";
    QTest::newRow("drop-down") << "cbxKanalServo1";
    QTest::newRow("slider") << "trbServo1";
}

void TestManualDrive::keysStayWithTextFieldsDropDownsAndSliders()
{
    QFETCH(QString, control);
    auto *focus = form->findChild<QWidget *>(control);
    focus->setFocus();
    QCOMPARE(QApplication::focusWidget(), focus);
    if (auto *edit = qobject_cast<QLineEdit *>(focus))
        edit->clear();
    QTest::keyClicks(focus, QStringLiteral("ws d"));
    QTest::keyPress(focus, Qt::Key_W);
    QVERIFY(button("btnStop")->isChecked());
    if (auto *edit = qobject_cast<QLineEdit *>(focus))
        QCOMPARE(edit->text(), QStringLiteral("ws dw"));
}

VELMORA_WINDOW_TEST_MAIN(TestManualDrive)

#include "test_manual_drive.moc"
