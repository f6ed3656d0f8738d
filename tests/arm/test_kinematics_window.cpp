// The windows "Kinematik" and "Setup: Arm" on a real arm, arm timer and move
// executor, link 1 a recorder of what the timer sends.
#include "arm/arm.h"
#include "arm/arm_profile_file.h"
#include "arm/arm_setup_window.h"
#include "arm/kinematics_window.h"
#include "arm/move_executor.h"
#include "arm/servo_timer.h"
#include "comm/command_sender.h"
#include "settings/program_location.h"
#include "support/file_dialog_answer.h"
#include "support/program_dir_fixture.h"
#include "support/window_test_main.h"

#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

class RecordingLink : public comm::CommandSender {
public:
    void sendCommand(const std::string &command) override { sent << QString::fromStdString(command); }
    QStringList sent;
};

// A button by its text as shown, without its mnemonic.
double number(QString text) { return text.replace(QLatin1Char(','), QLatin1Char('.')).toDouble(); }

QAbstractButton *button(const QWidget &window, const QString &text)
{
    for (QAbstractButton *candidate : window.findChildren<QAbstractButton *>()) {
        if (candidate->text().remove(QLatin1Char('&')) == text)
            return candidate;
    }
    qFatal("no button %s", qPrintable(text));
}

} // namespace

class TestKinematicsWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void kinematics_data();
    void kinematics();
    void setup_data();
    void setup();

private:
    QString readOut() const;

    std::unique_ptr<ProgramDirFixture> dir;
    RecordingLink link;
    std::unique_ptr<arm::Arm> arm;
    std::unique_ptr<arm::ServoTimer> armTimer;
    std::unique_ptr<arm::MoveExecutor> executor;
};

void TestKinematicsWindow::init()
{
    dir = std::make_unique<ProgramDirFixture>();
    arm = std::make_unique<arm::Arm>();
    armTimer = std::make_unique<arm::ServoTimer>(*arm, link, nullptr);
    executor = std::make_unique<arm::MoveExecutor>(*arm, *armTimer);
    executor->setLinkOpen(true);
    armTimer->ServoTimer1Timer();
    link.sent.clear();
}

void TestKinematicsWindow::cleanup()
{
    executor.reset();
    armTimer.reset();
    arm.reset();
    dir.reset();
}

// Steps separated by ";": "slider j pulse", "field i value" (a target field),
// "click <button text>"; then the read-out and the status line.
void TestKinematicsWindow::kinematics_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("readOut");
    QTest::addColumn<QString>("status");
    QTest::newRow("the centre pose, decimal comma") << "" << "287,3 0,0 213,4 0,0 15,0" << "";
    QTest::newRow("Basis at 45°") << "slider 0 2000" << "203,2 203,2 213,4 0,0 15,0" << "";
    QTest::newRow("zylindrisch") << "slider 0 2000; click zylindrisch" << "287,3 45,0 213,4 0,0 15,0" << "";
    QTest::newRow("Anfahren arrives") << "field 0 297,3; field 3 -5; click Anfahren"
                                      << "297,3 0,0 213,4 -5,0 15,0" << "Ziel erreicht";
    QTest::newRow("Anfahren refused, nothing sent")
        << "field 2 -5; click Anfahren" << "287,3 0,0 213,4 0,0 15,0" << "Ziel unter der Tischebene";
    QTest::newRow("jog X+ by the step") << "click X+" << "288,3 0,0 213,4 0,0 15,0" << "Ziel erreicht";
    QTest::newRow("jog Greifer− in mm") << "click Greifer−" << "287,3 0,0 213,4 0,0 14,0" << "Ziel erreicht";
    QTest::newRow("jog Winkel+ turns the base alone")
        << "click zylindrisch; click Winkel+" << "287,3 1,0 213,4 0,0 15,0" << "Ziel erreicht";
    QTest::newRow("Stopp") << "field 0 250; click Anfahren; click Stopp" << "" << "Angehalten: Stopp";
}

void TestKinematicsWindow::kinematics()
{
    QFETCH(QString, script);
    QFETCH(QString, status);
    arm::KinematicsWindow window(*executor, *arm, settings::ProgramLocation::ofProgramDirectory(dir->path()));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (const QString &step : script.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QStringList w = step.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (w[0] == QLatin1String("slider"))
            arm->setPosition(w[1].toInt(), w[2].toInt());
        else if (w[0] == QLatin1String("field"))
            window.findChild<QDoubleSpinBox *>(QStringLiteral("target") + w[1])->setValue(number(w[2]));
        else
            QTest::mouseClick(button(window, w[1]), Qt::LeftButton);
    }
    auto *statusLine = window.findChild<QLabel *>(QStringLiteral("statusLine"));
    QTRY_COMPARE(statusLine->text(), status);
    // Whole µs put the tip up to a few tenths of a mm beside a target.
    QFETCH(QString, readOut);
    const auto near = [&window, &readOut] {
        const QStringList expected = readOut.split(QLatin1Char(' '));
        for (int i = 0; i < 5; ++i) {
            const QString shown = window.findChild<QLabel *>(QStringLiteral("readOut%1").arg(i))->text();
            if (!QRegularExpression(QStringLiteral("^-?\\d+,\\d$")).match(shown).hasMatch()
                || std::abs(number(shown) - number(expected[i])) > 0.35)
                return false;
        }
        return true;
    };
    if (!readOut.isEmpty())
        QTRY_VERIFY(near());
    if (status.startsWith(QLatin1String("Ziel unter"))) // refused: nothing goes out
        QVERIFY2(link.sent.isEmpty(), qPrintable(link.sent.join('|')));
}

const QString kept = QStringLiteral(" – das bisherige Profil gilt weiter");

// Steps separated by ";": "field <key> <text>", "slider j pulse", "click <text>"
// (a take button: "<joint> Punkt <n>"), "export", "import <file text>"; then
// the status line and one field's text.
void TestKinematicsWindow::setup_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("field"); // "<key> <text>"

    QTest::newRow("a decimal comma") << "field upper_arm_mm 150,5; click Übernehmen" << "Profil übernommen"
                                     << "upper_arm_mm 150,5";
    QTest::newRow("a length of 0 refused") << "field upper_arm_mm 0; click Übernehmen"
                                           << "Oberarm: muss größer als 0 mm sein" + kept << "upper_arm_mm 0";
    QTest::newRow("not a number") << "field hand_mm zehn; click Übernehmen" << "Hand: keine gültige Zahl" + kept
                                  << "hand_mm zehn";
    QTest::newRow("one pulse width twice")
        << "field schulter_point2_us 1500; click Übernehmen"
        << "Schulter: beide Punkte haben dieselbe Pulsbreite" + kept << "schulter_point2_us 1500";
    QTest::newRow("the present position taken") << "slider 1 1700; click Schulter Punkt 2" << ""
                                                << "schulter_point2_us 1700";
    QTest::newRow("exported and imported back") << "field hand_mm 90; click Übernehmen; export; field hand_mm 80; "
                                                   "click Übernehmen; import"
                                                << "Profil importiert: arm.arm" << "hand_mm 90";
    QTest::newRow("an import refused") << "export; import [arm_profile]" << "Sockelhöhe: fehlt" + kept
                                       << "hand_mm 100";
}

void TestKinematicsWindow::setup()
{
    QFETCH(QString, script);
    QFETCH(QString, field);
    const auto files = settings::ProgramLocation::ofProgramDirectory(dir->path());
    auto window = std::make_unique<arm::ArmSetupWindow>(*executor, *arm, files);
    window->show();
    const QString file = dir->filePath(QStringLiteral("RFS/arm.arm"));
    const arm::ArmProfile before = executor->profile();
    for (const QString &step : script.split(QLatin1Char(';'))) {
        const QStringList w = step.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (w[0] == QLatin1String("field")) {
            window->findChild<QLineEdit *>(w[1])->setText(w[2]);
        } else if (w[0] == QLatin1String("slider")) {
            arm->setPosition(w[1].toInt(), w[2].toInt());
        } else if (w[0] == QLatin1String("click") && w.size() > 2) {
            for (QAbstractButton *take : window->findChildren<QAbstractButton *>())
                if (take->accessibleName().startsWith(w.mid(1).join(' ') + ':'))
                    QTest::mouseClick(take, Qt::LeftButton);
        } else if (w[0] == QLatin1String("click")) {
            QTest::mouseClick(button(*window, w[1]), Qt::LeftButton);
        } else {
            const bool exporting = w[0] == QLatin1String("export");
            if (!exporting && w.size() > 1) {
                QFile broken(file);
                QVERIFY(broken.open(QIODevice::WriteOnly));
                broken.write(w[1].toUtf8());
            }
            FileDialogAnswer answer(file);
            QTest::mouseClick(button(*window, exporting ? "Profil exportieren..." : "Profil importieren..."),
                              Qt::LeftButton);
            QVERIFY(answer.answered());
        }
    }
    QFETCH(QString, status);
    QCOMPARE(window->findChild<QLabel *>(QStringLiteral("statusLine"))->text(), status);
    QCOMPARE(window->findChild<QLineEdit *>(field.section(' ', 0, 0))->text(), field.section(' ', 1));
    // What is in force is kept: a new window reads it back and hands it on.
    const arm::ArmProfile inForce = executor->profile();
    if (status.endsWith(kept))
        QCOMPARE(arm::formatProfile(inForce), arm::formatProfile(before));
    executor->setProfile(arm::ArmProfile{});
    window = std::make_unique<arm::ArmSetupWindow>(*executor, *arm, files);
    QCOMPARE(arm::formatProfile(executor->profile()), arm::formatProfile(inForce));
}

VELMORA_WINDOW_TEST_MAIN(TestKinematicsWindow)
#include "test_kinematics_window.moc"
