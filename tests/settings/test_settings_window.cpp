#include "app/tform1.h"
#include "arm/arm.h"
#include "support/message_recorder.h"
#include "support/program_dir_fixture.h"
#include "support/resource_limit.h"
#include "toolkit/track_bar.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QtTest>

#include <sys/stat.h>

namespace {

const QString kFrage = QStringLiteral("Wollen Sie die Einstellungen speichern?");
const QString kGesichert = QStringLiteral("Einstellungen wurden erfolgreich gesichert!");
const QString kFehlerSichern = QStringLiteral("Fehler beim sichern der Einstellungen");
const QString kFehlerLesen = QStringLiteral("Fehler beim lesen der Einstellungen");
const QString kFalscheEingabe = QStringLiteral("Falsche Eingabe!\n0 bis 255");

const QStringList kInitialJoints = {"16 751 2251", "17 752 2252", "18 753 2253", "19 754 2254", "20 1175 1825"};
const QStringList kInitialTexts = {"192.168.100.100", "10001", "192.168.100.100", "10002", "192", "168", "100", "5"};

// The eight address fields in the order the file holds them.
const char *const kFieldNames[] = {"edtTCP_IP1",   "edtTCP_Port1", "edtTCP_IP2",   "edtTCP_Port2",
                                   "edtWebCamIP1", "edtWebCamIP2", "edtWebCamIP3", "edtWebCamIP4"};

const QByteArray kLoadedJointLines = "1 800 2200 \r\n2 810 2210 \r\n3 820 2220 \r\n4 830 2230 \r\n5 1200 1800 \r\n";
const QStringList kLoadedJoints = {"1 800 2200", "2 810 2210", "3 820 2220", "4 830 2230", "5 1200 1800"};

QStringList jointState(app::TForm1 &form)
{
    QStringList joints;
    for (int i = 0; i < 5; ++i) {
        const arm::Servo &servo = form.arm().joint(i);
        joints << QStringLiteral("%1 %2 %3").arg(servo.getKanal()).arg(servo.getLimitMin()).arg(servo.getLimitMax());
    }
    return joints;
}

QLineEdit *field(const app::TForm1 &form, int index) { return form.findChild<QLineEdit *>(kFieldNames[index]); }

QStringList fieldTexts(const app::TForm1 &form)
{
    QStringList texts;
    for (int i = 0; i < 8; ++i)
        texts << field(form, i)->text();
    return texts;
}

// What the joint groups show: channel selected, limit fields, the slider's band.
QStringList jointPanelState(const app::TForm1 &form)
{
    QStringList joints;
    for (int n = 1; n <= 5; ++n) {
        const auto *kanal = form.findChild<QComboBox *>(QStringLiteral("cbxKanalServo%1").arg(n));
        const auto *limMin = form.findChild<QLineEdit *>(QStringLiteral("edtLimMin%1").arg(n));
        const auto *limMax = form.findChild<QLineEdit *>(QStringLiteral("edtLimMax%1").arg(n));
        const auto *slider = form.findChild<toolkit::TrackBar *>(QStringLiteral("trbServo%1").arg(n));
        joints << QStringLiteral("%1 %2 %3 band %4-%5")
                      .arg(kanal->currentText(), limMin->text(), limMax->text())
                      .arg(slider->selStart())
                      .arg(slider->selEnd());
    }
    return joints;
}

QStringList withBands(const QStringList &joints)
{
    QStringList shown;
    for (const QString &joint : joints) {
        const QStringList values = joint.split(QLatin1Char(' '));
        shown << joint + QStringLiteral(" band %1-%2").arg(values[1], values[2]);
    }
    return shown;
}

void setFieldTexts(app::TForm1 &form, const QStringList &texts)
{
    for (int i = 0; i < 8; ++i)
        field(form, i)->setText(texts[i]);
}

} // namespace

class TestSettingsWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void noFileWarnsOnceAtStartUpAndKeepsInitialValues_data();
    void noFileWarnsOnceAtStartUpAndKeepsInitialValues();
    void initialJointsAreWrittenAsExactBytes();
    void savedSettingsComeBackInANewWindow();
    void loadingSetsChannelBeforeLimitsJointOneFirst();
    void emptyOrSpacedFieldsShiftTheWords_data();
    void emptyOrSpacedFieldsShiftTheWords();
    void layoutVariantsReadTheSame_data();
    void layoutVariantsReadTheSame();
    void badFileAppliesOnlyWhatCameBefore_data();
    void badFileAppliesOnlyWhatCameBefore();
    void answeringNoLeavesTheFileAsItWas_data();
    void answeringNoLeavesTheFileAsItWas();
    void answeringYesAtClosingSaves();
    void missingRfsGivesTheSaveWarningAndCreatesNothing();
    void failedWriteKeepsTheOldFile_data();
    void failedWriteKeepsTheOldFile();
    void menuLoadShowsTheLoadedJoints();
    void menuLoadChangesAddressFieldsOnly();

private:
    app::TForm1 &createWindow();
    QString settingsPath() const { return dir->filePath(QStringLiteral("RFS/STARTW2.stw")); }
    void writeSettings(const QByteArray &content) const;
    QByteArray readSettings() const;
    void triggerMenu(const char *name) const { form->findChild<QAction *>(name)->trigger(); }

    std::unique_ptr<ProgramDirFixture> dir;
    std::unique_ptr<MessageRecorder> recorder;
    std::unique_ptr<app::TForm1> form;
};

void TestSettingsWindow::init()
{
    dir = std::make_unique<ProgramDirFixture>();
    recorder = std::make_unique<MessageRecorder>();
}

void TestSettingsWindow::cleanup()
{
    form.reset();
    recorder.reset();
    dir.reset();
}

app::TForm1 &TestSettingsWindow::createWindow()
{
    form.reset();
    form = std::make_unique<app::TForm1>(dir->path());
    return *form;
}

void TestSettingsWindow::writeSettings(const QByteArray &content) const
{
    QFile file(settingsPath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), content.size());
}

QByteArray TestSettingsWindow::readSettings() const
{
    QFile file(settingsPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A FIFO where the file belongs is no file either: start-up must not wait for
// a writer that never comes.
void TestSettingsWindow::noFileWarnsOnceAtStartUpAndKeepsInitialValues_data()
{
    QTest::addColumn<bool>("fifo");
    QTest::newRow("missing") << false;
    QTest::newRow("FIFO in its place") << true;
}

void TestSettingsWindow::noFileWarnsOnceAtStartUpAndKeepsInitialValues()
{
    QFETCH(bool, fifo);
    if (fifo)
        QCOMPARE(mkfifo(QFile::encodeName(settingsPath()).constData(), 0600), 0);
    createWindow().show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QCOMPARE(recorder->texts(), QStringList{kFehlerLesen});
    QCOMPARE(recorder->entries().front().kind, msg::Kind::Warning);
    QCOMPARE(recorder->entries().front().buttons, msg::Buttons::Ok);
    QCOMPARE(jointState(*form), kInitialJoints);
    QCOMPARE(fieldTexts(*form), kInitialTexts);
}

void TestSettingsWindow::initialJointsAreWrittenAsExactBytes()
{
    createWindow();
    recorder->clear();
    recorder->answerQuestions({msg::Answer::Yes});
    triggerMenu("Einstellungenspeichern1");
    QCOMPARE(recorder->texts(), (QStringList{kFrage, kGesichert}));
    QCOMPARE(recorder->entries()[0].kind, msg::Kind::Confirmation);
    QCOMPARE(recorder->entries()[0].buttons, msg::Buttons::YesNo);
    QCOMPARE(recorder->entries()[1].kind, msg::Kind::Information);
    QCOMPARE(recorder->entries()[1].buttons, msg::Buttons::Ok);
    QCOMPARE(readSettings(), QByteArray("16 751 2251 \r\n17 752 2252 \r\n18 753 2253 \r\n19 754 2254 \r\n"
                                        "20 1175 1825 \r\n192.168.100.100 10001 \r\n192.168.100.100 10002 \r\n"
                                        "192 168 100 5 \r\n"));
    // The temporary file has taken the file's name.
    QCOMPARE(QDir(dir->rfsPath()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("STARTW2.stw")});
}

void TestSettingsWindow::savedSettingsComeBackInANewWindow()
{
    createWindow();
    const QStringList joints = {"3 600 2400", "0 700 2300", "31 500 2500", "7 900 2100", "12 1000 2000"};
    for (int i = 0; i < 5; ++i) {
        const QStringList values = joints[i].split(QLatin1Char(' '));
        form->arm().setKanal(i, values[0].toInt());
        form->arm().setLimit(i, values[1].toInt(), values[2].toInt());
    }
    const QStringList texts = {"10.0.0.7", "4001", "roboter.local", "4002", "10", "0", "7", "255"};
    setFieldTexts(*form, texts);
    recorder->clear();
    triggerMenu("Einstellungenspeichern1");
    QCOMPARE(recorder->texts(), (QStringList{kFrage, kGesichert}));

    recorder->clear();
    createWindow();
    QVERIFY(recorder->texts().isEmpty());
    QCOMPARE(jointState(*form), joints);
    QCOMPARE(jointPanelState(*form), withBands(joints));
    QCOMPARE(fieldTexts(*form), texts);
}

void TestSettingsWindow::loadingSetsChannelBeforeLimitsJointOneFirst()
{
    // Joint 1's upper limit and joint 3's channel and lower limit are refused.
    writeSettings("1 700 3000 \r\n2 710 2210 \r\n99 100 2230 \r\n4 740 2240 \r\n5 1200 1800 \r\n"
                  "192.168.100.100 10001 \r\n192.168.100.100 10002 \r\n192 168 100 5 \r\n");
    createWindow();
    QCOMPARE(recorder->texts(), (QStringList{"Fehler: pLimitMax falsch!", "Fehler: pKanal falsch!",
                                             "Fehler: pLimitMin falsch!"}));
    QCOMPARE(jointState(*form), (QStringList{"1 700 2251", "2 710 2210", "18 753 2230", "4 740 2240", "5 1200 1800"}));
}

void TestSettingsWindow::emptyOrSpacedFieldsShiftTheWords_data()
{
    QTest::addColumn<int>("fieldIndex");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("savedAddressLines");
    QTest::addColumn<QStringList>("reloadedTexts");
    QTest::addColumn<QStringList>("reloadMessages");

    QTest::newRow("empty address of link 1")
        << 0 << ""
        << QByteArray(" 10001 \r\n192.168.100.100 10002 \r\n192 168 100 5 \r\n")
        << QStringList{"10001", "192.168.100.100", "10002", "192", "168", "100", "5", "5"}
        << QStringList{kFehlerLesen};
    QTest::newRow("empty port of link 2")
        << 3 << ""
        << QByteArray("192.168.100.100 10001 \r\n192.168.100.100  \r\n192 168 100 5 \r\n")
        << QStringList{"192.168.100.100", "10001", "192.168.100.100", "192", "168", "100", "5", "5"}
        << QStringList{kFehlerLesen};
    QTest::newRow("address of link 1 with a space")
        << 0 << "192.168 100.100"
        << QByteArray("192.168 100.100 10001 \r\n192.168.100.100 10002 \r\n192 168 100 5 \r\n")
        << QStringList{"192.168", "100.100", "10001", "192.168.100.100", "0", "192", "168", "100"}
        << QStringList{kFalscheEingabe};
}

void TestSettingsWindow::emptyOrSpacedFieldsShiftTheWords()
{
    QFETCH(int, fieldIndex);
    QFETCH(QString, text);
    QFETCH(QByteArray, savedAddressLines);
    QFETCH(QStringList, reloadedTexts);
    QFETCH(QStringList, reloadMessages);

    createWindow();
    field(*form, fieldIndex)->setText(text);
    triggerMenu("Einstellungenspeichern1");
    const QByteArray saved = readSettings();
    QVERIFY(saved.endsWith(savedAddressLines));

    recorder->clear();
    createWindow();
    QCOMPARE(fieldTexts(*form), reloadedTexts);
    QCOMPARE(recorder->texts(), reloadMessages);
}

void TestSettingsWindow::layoutVariantsReadTheSame_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("as written") << kLoadedJointLines + "10.0.0.1 4001 \r\n10.0.0.2 4002 \r\n1 2 3 4 \r\n";
    QTest::newRow("tabs") << QByteArray("1\t800\t2200\r\n2\t810\t2210\r\n3\t820\t2220\r\n4\t830\t2230\r\n"
                                        "5\t1200\t1800\r\n10.0.0.1\t4001\r\n10.0.0.2\t4002\r\n1\t2\t3\t4\r\n");
    QTest::newRow("LF only") << QByteArray(kLoadedJointLines).replace("\r\n", "\n")
                                    + "10.0.0.1 4001 \n10.0.0.2 4002 \n1 2 3 4 \n";
    QTest::newRow("one line") << QByteArray("1 800 2200 2 810 2210 3 820 2220 4 830 2230 5 1200 1800 "
                                            "10.0.0.1 4001 10.0.0.2 4002 1 2 3 4");
    QTest::newRow("extra whitespace") << QByteArray("  \r\n 1   800 2200\r\n\r\n2 810  2210 \r\n3 820 2220 "
                                                    "4 830 2230 \t 5 1200 1800 \r\n\r\n  10.0.0.1 4001 \r\n"
                                                    "10.0.0.2   4002\r\n1 2  3 4   \r\n\r\n");
}

void TestSettingsWindow::layoutVariantsReadTheSame()
{
    QFETCH(QByteArray, content);
    writeSettings(content);
    createWindow();
    QVERIFY(recorder->texts().isEmpty());
    QCOMPARE(jointState(*form), kLoadedJoints);
    QCOMPARE(fieldTexts(*form), (QStringList{"10.0.0.1", "4001", "10.0.0.2", "4002", "1", "2", "3", "4"}));
}

void TestSettingsWindow::badFileAppliesOnlyWhatCameBefore_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("joints");
    QTest::addColumn<QStringList>("texts");

    const QByteArray addressLines = "10.0.0.1 4001 \r\n10.0.0.2 4002 \r\n1 2 3 4 \r\n";
    QTest::newRow("empty file") << QByteArray() << kInitialJoints << kInitialTexts;
    // Joint 2 gets its channel only: both limits are set together or not at all.
    QTest::newRow("cut inside a limit of joint 2")
        << QByteArray("1 800 2200 \r\n2 810 22")
        << QStringList{"1 800 2200", "2 752 2252", "18 753 2253", "19 754 2254", "20 1175 1825"} << kInitialTexts;
    QTest::newRow("non-number in joint 2")
        << QByteArray("1 800 2200 \r\n2 8x0 2210 \r\n3 820 2220 \r\n4 830 2230 \r\n5 1200 1800 \r\n")
               + addressLines
        << QStringList{"1 800 2200", "2 752 2252", "18 753 2253", "19 754 2254", "20 1175 1825"} << kInitialTexts;
    QTest::newRow("number beyond 32 bits")
        << QByteArray("1 99999999999 2200 \r\n") + kLoadedJointLines.mid(kLoadedJointLines.indexOf('\n') + 1)
               + addressLines
        << QStringList{"1 751 2251", "17 752 2252", "18 753 2253", "19 754 2254", "20 1175 1825"} << kInitialTexts;
    QTest::newRow("ends after the joints") << kLoadedJointLines << kLoadedJoints << kInitialTexts;
    QTest::newRow("ends inside the webcam line")
        << kLoadedJointLines + "10.0.0.1 4001 \r\n10.0.0.2 4002 \r\n1 2 3" << kLoadedJoints
        << QStringList{"10.0.0.1", "4001", "10.0.0.2", "4002", "1", "2", "100", "5"};
}

void TestSettingsWindow::badFileAppliesOnlyWhatCameBefore()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, joints);
    QFETCH(QStringList, texts);
    writeSettings(content);
    createWindow();
    QCOMPARE(recorder->texts(), QStringList{kFehlerLesen});
    QCOMPARE(jointState(*form), joints);
    QCOMPARE(fieldTexts(*form), texts);
}

void TestSettingsWindow::answeringNoLeavesTheFileAsItWas_data()
{
    QTest::addColumn<bool>("atClosing");
    QTest::newRow("closing the window") << true;
    QTest::newRow("menu") << false;
}

void TestSettingsWindow::answeringNoLeavesTheFileAsItWas()
{
    QFETCH(bool, atClosing);
    // A layout that a save would not reproduce, so any rewrite shows.
    const QByteArray content = QByteArray(kLoadedJointLines).replace("\r\n", "\n") + "a 1\nb 2\n1 2 3 4\n";
    writeSettings(content);
    createWindow().show();
    form->arm().setKanal(0, 9);
    field(*form, 0)->setText(QStringLiteral("10.1.1.1"));
    recorder->clear();
    recorder->answerQuestions({msg::Answer::No});
    if (atClosing)
        form->close();
    else
        triggerMenu("Einstellungenspeichern1");
    QCOMPARE(recorder->texts(), QStringList{kFrage});
    QCOMPARE(readSettings(), content);
}

void TestSettingsWindow::answeringYesAtClosingSaves()
{
    createWindow().show();
    form->arm().setKanal(1, 5);
    recorder->clear();
    recorder->answerQuestions({msg::Answer::Yes});
    form->close();
    QVERIFY(!form->isVisible());
    QCOMPARE(recorder->texts(), (QStringList{kFrage, kGesichert}));
    QVERIFY(readSettings().startsWith("16 751 2251 \r\n5 752 2252 \r\n"));
}

void TestSettingsWindow::missingRfsGivesTheSaveWarningAndCreatesNothing()
{
    dir = std::make_unique<ProgramDirFixture>(false);
    const QStringList before = QDir(dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    createWindow();
    recorder->clear();
    triggerMenu("Einstellungenspeichern1");
    QCOMPARE(recorder->texts(), (QStringList{kFrage, kFehlerSichern}));
    QCOMPARE(recorder->entries().back().kind, msg::Kind::Warning);
    QCOMPARE(recorder->entries().back().buttons, msg::Buttons::Ok);
    QVERIFY(!QFileInfo::exists(dir->rfsPath()));
    QCOMPARE(QDir(dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
}

void TestSettingsWindow::failedWriteKeepsTheOldFile_data()
{
    QTest::addColumn<int>("resource");
    QTest::addColumn<int>("limit");
    // Running as root, permissions cannot make RFS unwritable; these two fail the
    // save itself: no descriptor is left for the temporary file, or the write
    // stops after a few bytes as on a full disk.
    QTest::newRow("temporary file cannot be created") << int(RLIMIT_NOFILE) << 0;
    QTest::newRow("disk full") << int(RLIMIT_FSIZE) << 16;
}

void TestSettingsWindow::failedWriteKeepsTheOldFile()
{
    QFETCH(int, resource);
    QFETCH(int, limit);
    const QByteArray old = kLoadedJointLines + "10.0.0.1 4001 \r\n10.0.0.2 4002 \r\n1 2 3 4 \r\n";
    writeSettings(old);
    createWindow();
    form->arm().setKanal(0, 9);
    recorder->clear();
    {
        const ResourceLimit failing(resource, rlim_t(limit));
        triggerMenu("Einstellungenspeichern1");
    }
    QCOMPARE(recorder->texts(), (QStringList{kFrage, kFehlerSichern}));
    QCOMPARE(readSettings(), old);
    QCOMPARE(QDir(dir->rfsPath()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("STARTW2.stw")});
}

void TestSettingsWindow::menuLoadShowsTheLoadedJoints()
{
    createWindow();
    writeSettings(kLoadedJointLines + "192.168.100.100 10001 \r\n192.168.100.100 10002 \r\n192 168 100 5 \r\n");
    recorder->clear();
    triggerMenu("letzteEinstellungenladen1");
    QVERIFY(recorder->texts().isEmpty());
    QCOMPARE(jointState(*form), kLoadedJoints);
    QCOMPARE(jointPanelState(*form), withBands(kLoadedJoints));
}

void TestSettingsWindow::menuLoadChangesAddressFieldsOnly()
{
    createWindow();
    form->arm().setPosition(0, 1600);
    form->arm().setSpeed(0, 300);
    writeSettings("16 751 2251 \r\n17 752 2252 \r\n18 753 2253 \r\n19 754 2254 \r\n20 1175 1825 \r\n"
                  "10.0.0.1 4001 \r\n10.0.0.2 4002 \r\n10 0 0 9 \r\n");
    recorder->clear();
    triggerMenu("letzteEinstellungenladen1");
    QVERIFY(recorder->texts().isEmpty());
    QCOMPARE(fieldTexts(*form), (QStringList{"10.0.0.1", "4001", "10.0.0.2", "4002", "10", "0", "0", "9"}));
    QCOMPARE(jointState(*form), kInitialJoints);
    QCOMPARE(form->arm().joint(0).getPosition(), 1600);
    QCOMPARE(form->arm().joint(0).getSpeed(), 300);
}

QTEST_MAIN(TestSettingsWindow)
#include "test_settings_window.moc"
