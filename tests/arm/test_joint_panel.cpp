// The joint groups in a real main window: what the operator does with the lists,
// up/down buttons and sliders, what the Servos then hold, and what the arm command
// cycle logs in the debug memo on its next tick.
#include "app/tform1.h"
#include "arm/arm.h"
#include "arm/servo_timer.h"
#include "settings/settings_file.h"
#include "support/message_recorder.h"
#include "support/program_dir_fixture.h"
#include "support/window_test_main.h"
#include "toolkit/track_bar.h"
#include "toolkit/up_down.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

namespace {

const QString kChannelInUse =
    QStringLiteral("Fehler: Servo-Kanal wird schon benutzt!\nWählen Sie einen anderen Kanal!");

// The controls of joint group n (1 to 5), found by their object names.
struct Joint {
    Joint(const app::TForm1 &form, int n)
    {
        const QString number = QString::number(n);
        kanal = form.findChild<QComboBox *>("cbxKanalServo" + number);
        speed = form.findChild<QComboBox *>("cbxSpeed" + number);
        limMin = form.findChild<QLineEdit *>("edtLimMin" + number);
        udMin = form.findChild<toolkit::UpDown *>("udMin" + number);
        limMax = form.findChild<QLineEdit *>("edtLimMax" + number);
        udMax = form.findChild<toolkit::UpDown *>("udMax" + number);
        pos = form.findChild<QLineEdit *>("edtPos" + number);
        udPos = form.findChild<toolkit::UpDown *>("udPos" + number);
        slider = form.findChild<toolkit::TrackBar *>("trbServo" + number);
    }
    QComboBox *kanal;
    QComboBox *speed;
    QLineEdit *limMin;
    toolkit::UpDown *udMin;
    QLineEdit *limMax;
    toolkit::UpDown *udMax;
    QLineEdit *pos;
    toolkit::UpDown *udPos;
    toolkit::TrackBar *slider;
};

// A click on the up/down's upper or lower arrow, as the operator makes it.
void clickArrow(toolkit::UpDown *upDown, const char *arrowName)
{
    for (QToolButton *arrow : upDown->findChildren<QToolButton *>()) {
        if (arrow->accessibleName() == QString::fromUtf8(arrowName)) {
            QTest::mouseClick(arrow, Qt::LeftButton);
            return;
        }
    }
    QFAIL("up/down arrow not found");
}

void clickUp(toolkit::UpDown *upDown) { clickArrow(upDown, "höher"); }
void clickDown(toolkit::UpDown *upDown) { clickArrow(upDown, "niedriger"); }

void writeSettings(const ProgramDirFixture &dir, const std::array<settings::JointSettings, 5> &joints)
{
    settings::Settings values;
    values.joints = joints;
    values.links = {settings::LinkAddress{"192.168.100.100", "10001"},
                    settings::LinkAddress{"192.168.100.100", "10002"}};
    values.webCam = {"192", "168", "100", "5"};
    const auto error = settings::writeSettingsFile(
        QFile::encodeName(dir.filePath(QStringLiteral("RFS/STARTW2.stw"))).toStdString(), values);
    QVERIFY2(!error, error ? error->german().c_str() : "");
}

} // namespace

class TestJointPanel : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startUpShowsChannelsAndLimits_data();
    void startUpShowsChannelsAndLimits();
    void freeChannelIsTaken();
    void channelOfAnotherJointIsRefused();
    void speedEntriesSwitchTheSpeedTerm();
    void sliderMovesTheJoint();
    void sliderBelowLowerLimitSpringsBack();
    void positionButtonsStepTheSlider();
    void raisingLowerLimitPastPositionPullsJointUp();
    void loweringUpperLimitPastPositionPullsJointDown();
    void lowerLimitMeetingUpperShowsBothWarnings();
    void parkPositions_data();
    void parkPositions();
    void parkLeavesJointWhoseLimitExcludesItsParkPosition();
    void middlePositionSendsNothingForJointAlreadyThere();
    void loadedLimitsExcludingTheStartPositionClampTheJointOnly();

private:
    void createWindow();
    QString tick();
    Joint joint(int n) const { return Joint(*form, n); }
    const arm::Servo *servo(int n) const { return &form->arm().joint(n - 1); }

    std::unique_ptr<ProgramDirFixture> dir;
    std::unique_ptr<MessageRecorder> recorder;
    std::unique_ptr<app::TForm1> form;
    QPlainTextEdit *memo = nullptr;
};

void TestJointPanel::init()
{
    dir = std::make_unique<ProgramDirFixture>();
    recorder = std::make_unique<MessageRecorder>();
}

void TestJointPanel::cleanup()
{
    form.reset();
    recorder.reset();
    dir.reset();
}

// The window's own timer is stopped so every tick is one the test makes; the first
// tick (all five joints) is taken, and start-up messages (no settings file) dropped.
void TestJointPanel::createWindow()
{
    form = std::make_unique<app::TForm1>(dir->path());
    form->show();
    form->findChild<QTimer *>(QStringLiteral("ServoTimer1"))->stop();
    memo = form->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"));
    form->findChild<arm::ServoTimer *>()->ServoTimer1Timer();
    recorder->clear();
}

// What one tick of the arm command cycle logs, or an empty text when it logs nothing.
QString TestJointPanel::tick()
{
    const QString before = memo->toPlainText();
    form->findChild<arm::ServoTimer *>()->ServoTimer1Timer();
    const QString after = memo->toPlainText();
    return after == before ? QString() : after.section(QLatin1Char('\n'), -1);
}

void TestJointPanel::startUpShowsChannelsAndLimits_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("kanal");
    QTest::addColumn<int>("limitMin");
    QTest::addColumn<int>("limitMax");
    QTest::newRow("Basis") << 1 << 16 << 751 << 2251;
    QTest::newRow("Schulter") << 2 << 17 << 752 << 2252;
    QTest::newRow("Ellenbogen") << 3 << 18 << 753 << 2253;
    QTest::newRow("Handgelenk") << 4 << 19 << 754 << 2254;
    QTest::newRow("Greifer") << 5 << 20 << 1175 << 1825;
}

void TestJointPanel::startUpShowsChannelsAndLimits()
{
    QFETCH(int, n);
    QFETCH(int, kanal);
    QFETCH(int, limitMin);
    QFETCH(int, limitMax);
    createWindow();
    const Joint j = joint(n);
    QCOMPARE(j.kanal->currentIndex(), kanal);
    QCOMPARE(j.speed->currentText(), QStringLiteral("0"));
    QCOMPARE(j.limMin->text(), QString::number(limitMin));
    QCOMPARE(j.udMin->position(), limitMin);
    QCOMPARE(j.limMax->text(), QString::number(limitMax));
    QCOMPARE(j.udMax->position(), limitMax);
    QCOMPARE(j.slider->selStart(), limitMin);
    QCOMPARE(j.slider->selEnd(), limitMax);
    QCOMPARE(j.slider->value(), 1500);
    QCOMPARE(j.pos->text(), QStringLiteral("1500"));
    QCOMPARE(j.udPos->position(), 1500);
}

void TestJointPanel::freeChannelIsTaken()
{
    createWindow();
    const Joint basis = joint(1);
    QTest::keyClick(basis.kanal, Qt::Key_Up);
    QCOMPARE(basis.kanal->currentIndex(), 15);
    QCOMPARE(servo(1)->getKanal(), 15);
    QVERIFY(recorder->texts().isEmpty());
    QCOMPARE(tick(), QStringLiteral("#15P1500<cr>"));
}

void TestJointPanel::channelOfAnotherJointIsRefused()
{
    createWindow();
    const Joint schulter = joint(2);
    // Schulter (17) steps to 16, the Basis's channel.
    QTest::keyClick(schulter.kanal, Qt::Key_Up);
    QCOMPARE(recorder->texts(), QStringList{kChannelInUse});
    QCOMPARE(recorder->entries().front().kind, msg::Kind::Warning);
    QCOMPARE(recorder->entries().front().buttons, msg::Buttons::Ok);
    QCOMPARE(schulter.kanal->currentIndex(), 17);
    QCOMPARE(servo(2)->getKanal(), 17);
    QCOMPARE(tick(), QString());
}

void TestJointPanel::speedEntriesSwitchTheSpeedTerm()
{
    createWindow();
    const Joint basis = joint(1);
    QTest::keyClick(basis.speed, Qt::Key_End);
    QCOMPARE(basis.speed->currentText(), QStringLiteral("2500"));
    QCOMPARE(tick(), QStringLiteral("#16P1500S2500<cr>"));
    QTest::keyClick(basis.speed, Qt::Key_Home);
    QCOMPARE(basis.speed->currentText(), QStringLiteral("0"));
    QCOMPARE(tick(), QStringLiteral("#16P1500<cr>"));
    QCOMPARE(servo(1)->getSpeed(), 0);
}

void TestJointPanel::sliderMovesTheJoint()
{
    createWindow();
    const Joint schulter = joint(2);
    schulter.slider->setValue(1800);
    QCOMPARE(servo(2)->getPosition(), 1800);
    QCOMPARE(schulter.pos->text(), QStringLiteral("1800"));
    QCOMPARE(schulter.udPos->position(), 1800);
    QCOMPARE(tick(), QStringLiteral("#17P1800<cr>"));
}

void TestJointPanel::sliderBelowLowerLimitSpringsBack()
{
    createWindow();
    const Joint basis = joint(1);
    basis.slider->setValue(1000);
    QCOMPARE(tick(), QStringLiteral("#16P1000<cr>"));
    // Home drags the slider to 500, below the lower limit 751.
    QTest::keyClick(basis.slider, Qt::Key_Home);
    QCOMPARE(basis.slider->value(), 1000);
    QCOMPARE(servo(1)->getPosition(), 1000);
    QCOMPARE(basis.pos->text(), QStringLiteral("1000"));
    QCOMPARE(basis.udPos->position(), 1000);
    QVERIFY(recorder->texts().isEmpty());
    QCOMPARE(tick(), QString());
}

void TestJointPanel::positionButtonsStepTheSlider()
{
    createWindow();
    const Joint basis = joint(1);
    clickUp(basis.udPos);
    QCOMPARE(basis.slider->value(), 1501);
    QCOMPARE(basis.pos->text(), QStringLiteral("1501"));
    QCOMPARE(tick(), QStringLiteral("#16P1501<cr>"));

    // At the upper limit a further step springs back.
    basis.slider->setValue(2251);
    tick();
    clickUp(basis.udPos);
    QCOMPARE(basis.slider->value(), 2251);
    QCOMPARE(basis.udPos->position(), 2251);
    QCOMPARE(basis.pos->text(), QStringLiteral("2251"));
    QCOMPARE(tick(), QString());
    clickDown(basis.udPos);
    QCOMPARE(tick(), QStringLiteral("#16P2250<cr>"));
}

void TestJointPanel::raisingLowerLimitPastPositionPullsJointUp()
{
    createWindow();
    const Joint basis = joint(1);
    basis.slider->setValue(1000);
    tick();
    basis.udMin->setPosition(1000);
    clickUp(basis.udMin);
    QCOMPARE(servo(1)->getLimitMin(), 1001);
    QCOMPARE(basis.limMin->text(), QStringLiteral("1001"));
    QCOMPARE(basis.slider->selStart(), 1001);
    QCOMPARE(servo(1)->getPosition(), 1001);
    QCOMPARE(basis.slider->value(), 1001);
    QCOMPARE(basis.pos->text(), QStringLiteral("1001"));
    QCOMPARE(tick(), QStringLiteral("#16P1001<cr>"));
}

void TestJointPanel::loweringUpperLimitPastPositionPullsJointDown()
{
    createWindow();
    const Joint ellenbogen = joint(3);
    ellenbogen.udMax->setPosition(1500);
    clickDown(ellenbogen.udMax);
    QCOMPARE(servo(3)->getLimitMax(), 1499);
    QCOMPARE(ellenbogen.limMax->text(), QStringLiteral("1499"));
    QCOMPARE(ellenbogen.slider->selEnd(), 1499);
    QCOMPARE(ellenbogen.slider->value(), 1499);
    QCOMPARE(ellenbogen.pos->text(), QStringLiteral("1499"));
    QCOMPARE(tick(), QStringLiteral("#18P1499<cr>"));
}

void TestJointPanel::lowerLimitMeetingUpperShowsBothWarnings()
{
    createWindow();
    const Joint greifer = joint(5);
    greifer.udMin->setPosition(1824);
    clickUp(greifer.udMin);
    QCOMPARE(recorder->texts(), (QStringList{QStringLiteral("Fehler: pLimitMin falsch!"),
                                             QStringLiteral("Fehler: pLimitMax falsch!")}));
    QCOMPARE(greifer.limMin->text(), QStringLiteral("1175"));
    QCOMPARE(greifer.udMin->position(), 1825);
    QCOMPARE(greifer.slider->selStart(), 1175);
    QCOMPARE(servo(5)->getLimitMin(), 1175);
    QCOMPARE(servo(5)->getLimitMax(), 1825);
    // The next step is taken from the up/down's value: down to 1824 is accepted again.
    recorder->clear();
    clickDown(greifer.udMin);
    QVERIFY(recorder->texts().isEmpty());
    QCOMPARE(greifer.limMin->text(), QStringLiteral("1824"));
    QCOMPARE(greifer.slider->value(), 1824);
}

void TestJointPanel::parkPositions_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("park");
    QTest::newRow("Basis") << 1 << 1500;
    QTest::newRow("Schulter") << 2 << 2000;
    QTest::newRow("Ellenbogen") << 3 << 2150;
    QTest::newRow("Handgelenk") << 4 << 1200;
    QTest::newRow("Greifer") << 5 << 1500;
}

void TestJointPanel::parkPositions()
{
    QFETCH(int, n);
    QFETCH(int, park);
    createWindow();
    const Joint j = joint(n);
    j.slider->setValue(1600);
    QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("btnArmParkPos")), Qt::LeftButton);
    QCOMPARE(j.slider->value(), park);
    QCOMPARE(servo(n)->getPosition(), park);
    QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("btnArmMitte")), Qt::LeftButton);
    QCOMPARE(j.slider->value(), 1500);
    QCOMPARE(servo(n)->getPosition(), 1500);
}

void TestJointPanel::parkLeavesJointWhoseLimitExcludesItsParkPosition()
{
    createWindow();
    const Joint handgelenk = joint(4);
    handgelenk.udMin->setPosition(1299);
    clickUp(handgelenk.udMin);
    joint(1).slider->setValue(1000);
    joint(5).slider->setValue(1300);
    QCOMPARE(servo(4)->getLimitMin(), 1300);
    QCOMPARE(tick(), QStringLiteral("#16P1000#20P1300<cr>"));

    QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("btnArmParkPos")), Qt::LeftButton);
    QCOMPARE(tick(), QStringLiteral("#16P1500#17P2000#18P2150#20P1500<cr>"));
    QCOMPARE(servo(4)->getPosition(), 1500);
    QCOMPARE(handgelenk.slider->value(), 1500);
    QCOMPARE(handgelenk.pos->text(), QStringLiteral("1500"));
    QVERIFY(recorder->texts().isEmpty());
}

void TestJointPanel::middlePositionSendsNothingForJointAlreadyThere()
{
    createWindow();
    joint(2).slider->setValue(1800);
    tick();
    QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("btnArmMitte")), Qt::LeftButton);
    QCOMPARE(tick(), QStringLiteral("#17P1500<cr>"));
    QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("btnArmMitte")), Qt::LeftButton);
    QCOMPARE(tick(), QString());
}

void TestJointPanel::loadedLimitsExcludingTheStartPositionClampTheJointOnly()
{
    writeSettings(*dir, {settings::JointSettings{3, 1600, 2000}, {4, 800, 2200}, {5, 800, 2200},
                         {6, 800, 2200}, {7, 800, 2200}});
    form = std::make_unique<app::TForm1>(dir->path());
    form->findChild<QTimer *>(QStringLiteral("ServoTimer1"))->stop();
    memo = form->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"));
    QVERIFY(recorder->texts().isEmpty());
    const Joint basis = joint(1);
    QCOMPARE(servo(1)->getPosition(), 1600);
    QCOMPARE(basis.slider->value(), 1500);
    QCOMPARE(basis.pos->text(), QStringLiteral("1500"));
    QCOMPARE(basis.limMin->text(), QStringLiteral("1600"));
    QCOMPARE(tick(), QStringLiteral("#3P1600#4P1500#5P1500#6P1500#7P1500<cr>"));

    clickUp(basis.udPos);
    clickUp(basis.udPos);
    QCOMPARE(basis.slider->value(), 1500);
    QCOMPARE(basis.pos->text(), QStringLiteral("1500"));
    QCOMPARE(basis.udPos->position(), 1500);
    QCOMPARE(servo(1)->getPosition(), 1600);
    QCOMPARE(tick(), QString());

    // Once the slider is within the limits the buttons work again.
    basis.slider->setValue(1700);
    clickUp(basis.udPos);
    QCOMPARE(tick(), QStringLiteral("#3P1701<cr>"));
}

VELMORA_WINDOW_TEST_MAIN(TestJointPanel)

#include "test_joint_panel.moc"
