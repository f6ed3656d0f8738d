// The motion-set editor in a real main window: building a set from the arm's pose,
// stepping through it, and storing and loading it through the real file dialogs.
// What a step does to the arm is checked in the commands the arm cycle logs.
#include "app/tform1.h"
#include "arm/arm.h"
#include "arm/servo_timer.h"
#include "support/file_bytes.h"
#include "support/file_dialog_answer.h"
#include "support/message_recorder.h"
#include "support/program_dir_fixture.h"
#include "support/window_test_main.h"
#include "toolkit/track_bar.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QtTest>

#include <sys/stat.h>

namespace {

const QString kPoseAt1500 = QStringLiteral("0 1500 0 1500 0 1500 0 1500 0 1500 ");

// The Basis standing at the given position, every other joint at 1500, no speeds.
QString basisPose(int position)
{
    return QStringLiteral("0 %1 0 1500 0 1500 0 1500 0 1500 ").arg(position);
}

} // namespace

class TestSequenceEditor : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsEmptyWithoutFile();
    void everyButtonHasAGlyph();
    void addsWithoutCurrentStepAppendInRecordingOrder();
    void addAfterStep2Of4InsertsAndClearsSelection();
    void deleteRemovesCurrentStepAndLeavesNumber();
    void deleteWithoutCurrentStepDoesNothing();
    void stepForwardWithoutCurrentStepAppliesStep1();
    void stepForwardAtLastStepClearsSelectionAndMovesNothing();
    void stepForwardOnEmptyListShowsZero();
    void stepBackAppliesPreviousStep();
    void stepBackAtFirstStepClearsAndMovesNothing();
    void selectingLineShowsNumberOnly();
    void newAnsweredNoKeepsEverything();
    void newAnsweredYesEmptiesTheSet();
    void openDialogStartsInRfs();
    void openShowsFileLabel_data();
    void openShowsFileLabel();
    void openReplacesStepsAndLeavesNumber();
    void cancelledOpenKeepsEverything();
    void unreadableFileShowsErrorAndKeepsEverything_data();
    void unreadableFileShowsErrorAndKeepsEverything();
    void anyBytesLoadAsSteps();
    void saveAndCloseStoresAndEmpties();
    void menuSaveKeepsTheListAndRemembersTheName();
    void saveAndCloseWithEmptyListWritesEmptyFile();
    void cancelledSaveKeepsListAndLabel();
    void failedStoreShowsErrorAndKeepsList();
    void applyStep_data();
    void applyStep();
    void applyStepTooFastShowsSpeedWarning();

private:
    QString tick();
    void addStepAtBasis(int position);
    void click(const char *button);
    void openFile(const QString &path);
    QStringList steps() const;

    std::unique_ptr<ProgramDirFixture> dir;
    std::unique_ptr<MessageRecorder> recorder;
    std::unique_ptr<app::TForm1> form;
    QPlainTextEdit *memo = nullptr;
    QListWidget *list = nullptr;
    QLineEdit *stepNumber = nullptr;
    QLabel *fileLabel = nullptr;
    toolkit::TrackBar *basisSlider = nullptr;
};

// The window's own timer is stopped so every tick is one the test makes; the
// first tick (all five joints) is taken and start-up messages dropped.
void TestSequenceEditor::init()
{
    dir = std::make_unique<ProgramDirFixture>();
    recorder = std::make_unique<MessageRecorder>();
    form = std::make_unique<app::TForm1>(dir->path());
    form->show();
    form->findChild<QTimer *>(QStringLiteral("ServoTimer1"))->stop();
    memo = form->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"));
    list = form->findChild<QListWidget *>(QStringLiteral("ListBox1"));
    stepNumber = form->findChild<QLineEdit *>(QStringLiteral("edtSchritt"));
    fileLabel = form->findChild<QLabel *>(QStringLiteral("labSeqDatei"));
    basisSlider = form->findChild<toolkit::TrackBar *>(QStringLiteral("trbServo1"));
    form->findChild<arm::ServoTimer *>()->ServoTimer1Timer();
    recorder->clear();
}

void TestSequenceEditor::cleanup()
{
    form.reset();
    recorder.reset();
    dir.reset();
}

// What one tick of the arm command cycle logs, or an empty text when it logs nothing.
QString TestSequenceEditor::tick()
{
    const QString before = memo->toPlainText();
    form->findChild<arm::ServoTimer *>()->ServoTimer1Timer();
    const QString after = memo->toPlainText();
    return after == before ? QString() : after.section(QLatin1Char('\n'), -1);
}

void TestSequenceEditor::addStepAtBasis(int position)
{
    basisSlider->setValue(position);
    click("btnSeqAdd");
}

void TestSequenceEditor::click(const char *button)
{
    auto *target = form->findChild<QToolButton *>(QLatin1String(button));
    QVERIFY2(target, button);
    QTest::mouseClick(target, Qt::LeftButton);
}

void TestSequenceEditor::openFile(const QString &path)
{
    FileDialogAnswer answer(path);
    click("btnSeqOpen");
    QVERIFY(answer.answered());
}

QStringList TestSequenceEditor::steps() const
{
    QStringList lines;
    for (int row = 0; row < list->count(); ++row)
        lines << list->item(row)->text();
    return lines;
}

void TestSequenceEditor::startsEmptyWithoutFile()
{
    QCOMPARE(list->count(), 0);
    QCOMPARE(fileLabel->text(), QStringLiteral("Datei..."));
    QCOMPARE(stepNumber->text(), QString());
    QVERIFY(stepNumber->isReadOnly());
}

void TestSequenceEditor::everyButtonHasAGlyph()
{
    for (const char *name : {"btnSeqNeu", "btnSeqOpen", "btnSeqRew", "btnSeqForw", "btnSeqClose", "btnSeqAdd",
                             "btnSeqDel"}) {
        auto *button = form->findChild<QToolButton *>(QLatin1String(name));
        QVERIFY2(button && !button->icon().isNull(), name);
    }
}

void TestSequenceEditor::addsWithoutCurrentStepAppendInRecordingOrder()
{
    click("btnSeqAdd");
    addStepAtBasis(1000);
    QCOMPARE(steps(), (QStringList{kPoseAt1500, basisPose(1000)}));
    QCOMPARE(list->selectedItems().size(), 0);
    QCOMPARE(stepNumber->text(), QString());
}

void TestSequenceEditor::addAfterStep2Of4InsertsAndClearsSelection()
{
    for (int position : {1001, 1002, 1003, 1004})
        addStepAtBasis(position);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    QCOMPARE(stepNumber->text(), QStringLiteral("2"));

    addStepAtBasis(2000);
    QCOMPARE(steps(), (QStringList{basisPose(1001), basisPose(1002), basisPose(2000), basisPose(1003),
                                   basisPose(1004)}));
    QCOMPARE(list->selectedItems().size(), 0);
    QCOMPARE(stepNumber->text(), QStringLiteral("2"));

    addStepAtBasis(2100);
    QCOMPARE(list->count(), 6);
    QCOMPARE(list->item(5)->text(), basisPose(2100));
}

void TestSequenceEditor::deleteRemovesCurrentStepAndLeavesNumber()
{
    for (int position : {1001, 1002, 1003})
        addStepAtBasis(position);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    click("btnSeqDel");
    QCOMPARE(steps(), (QStringList{basisPose(1001), basisPose(1003)}));
    QCOMPARE(list->selectedItems().size(), 0);
    QCOMPARE(stepNumber->text(), QStringLiteral("2"));
}

void TestSequenceEditor::deleteWithoutCurrentStepDoesNothing()
{
    addStepAtBasis(1001);
    click("btnSeqDel");
    QCOMPARE(steps(), QStringList{basisPose(1001)});
}

void TestSequenceEditor::stepForwardWithoutCurrentStepAppliesStep1()
{
    addStepAtBasis(1001);
    addStepAtBasis(1002);
    basisSlider->setValue(1800);
    tick();
    click("btnSeqForw");
    QCOMPARE(stepNumber->text(), QStringLiteral("1"));
    QCOMPARE(list->currentRow(), 0);
    QVERIFY(list->item(0)->isSelected());
    QCOMPARE(tick(), QStringLiteral("#16P1001<cr>"));
    click("btnSeqForw");
    QCOMPARE(stepNumber->text(), QStringLiteral("2"));
    QCOMPARE(tick(), QStringLiteral("#16P1002<cr>"));
}

void TestSequenceEditor::stepForwardAtLastStepClearsSelectionAndMovesNothing()
{
    addStepAtBasis(1001);
    addStepAtBasis(1002);
    click("btnSeqForw");
    click("btnSeqForw");
    tick();
    basisSlider->setValue(1800);
    QCOMPARE(tick(), QStringLiteral("#16P1800<cr>"));

    click("btnSeqForw");
    QCOMPARE(list->selectedItems().size(), 0);
    QCOMPARE(stepNumber->text(), QStringLiteral("0"));
    QCOMPARE(tick(), QString());
    QVERIFY(recorder->texts().isEmpty());

    // Pressing on starts again from the first step.
    click("btnSeqForw");
    QCOMPARE(stepNumber->text(), QStringLiteral("1"));
    QCOMPARE(tick(), QStringLiteral("#16P1001<cr>"));
}

void TestSequenceEditor::stepForwardOnEmptyListShowsZero()
{
    click("btnSeqForw");
    QCOMPARE(stepNumber->text(), QStringLiteral("0"));
    QCOMPARE(tick(), QString());
}

void TestSequenceEditor::stepBackAppliesPreviousStep()
{
    for (int position : {1001, 1002, 1003})
        addStepAtBasis(position);
    click("btnSeqForw");
    click("btnSeqForw");
    click("btnSeqForw");
    tick();
    click("btnSeqRew");
    QCOMPARE(stepNumber->text(), QStringLiteral("2"));
    QVERIFY(list->item(1)->isSelected());
    QCOMPARE(tick(), QStringLiteral("#16P1002<cr>"));
}

void TestSequenceEditor::stepBackAtFirstStepClearsAndMovesNothing()
{
    addStepAtBasis(1001);
    addStepAtBasis(1002);
    click("btnSeqForw");
    basisSlider->setValue(1800);
    tick();
    click("btnSeqRew");
    QCOMPARE(list->selectedItems().size(), 0);
    QCOMPARE(stepNumber->text(), QStringLiteral("0"));
    QCOMPARE(tick(), QString());
    QCOMPARE(form->arm().joint(0).getPosition(), 1800);
}

void TestSequenceEditor::selectingLineShowsNumberOnly()
{
    for (int position : {1001, 1002, 1003})
        addStepAtBasis(position);
    tick();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    QCOMPARE(stepNumber->text(), QStringLiteral("2"));
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(stepNumber->text(), QStringLiteral("3"));
    QCOMPARE(tick(), QString());
    QCOMPARE(form->arm().joint(0).getPosition(), 1003);

    // The selected line is the current step: stepping back applies the one before it.
    click("btnSeqRew");
    QCOMPARE(stepNumber->text(), QStringLiteral("2"));
    QCOMPARE(tick(), QStringLiteral("#16P1002<cr>"));
}

void TestSequenceEditor::newAnsweredNoKeepsEverything()
{
    const QString path = dir->filePath(QStringLiteral("RFS/satz.rfs"));
    QVERIFY(writeBytes(path, "0 1000 0 1500 0 1500 0 1500 0 1500 \r\n"));
    openFile(path);
    click("btnSeqForw");
    recorder->answerQuestions({msg::Answer::No});
    click("btnSeqNeu");
    QCOMPARE(recorder->texts(),
             QStringList{QStringLiteral("Neuer Verfahrsatz wird angelegt,\nnicht gespeicherte Daten gehen verloren!")});
    QCOMPARE(recorder->entries().front().kind, msg::Kind::Confirmation);
    QCOMPARE(recorder->entries().front().buttons, msg::Buttons::YesNo);
    QCOMPARE(steps(), QStringList{basisPose(1000)});
    QCOMPARE(fileLabel->text(), QStringLiteral("satz.rfs"));
    QCOMPARE(stepNumber->text(), QStringLiteral("1"));
}

void TestSequenceEditor::newAnsweredYesEmptiesTheSet()
{
    const QString path = dir->filePath(QStringLiteral("RFS/satz.rfs"));
    QVERIFY(writeBytes(path, "0 1000 0 1500 0 1500 0 1500 0 1500 \r\n"));
    openFile(path);
    click("btnSeqForw");
    recorder->answerQuestions({msg::Answer::Yes});
    click("btnSeqNeu");
    QCOMPARE(list->count(), 0);
    QCOMPARE(fileLabel->text(), QStringLiteral("Datei..."));
    QCOMPARE(stepNumber->text(), QStringLiteral("0"));
}

void TestSequenceEditor::openDialogStartsInRfs()
{
    FileDialogAnswer answer{QString()};
    click("btnSeqOpen");
    QVERIFY(answer.answered());
    QCOMPARE(answer.objectName, QStringLiteral("OpenDialog1"));
    QCOMPARE(answer.acceptMode, QFileDialog::AcceptOpen);
    QCOMPARE(answer.directory, QDir(dir->rfsPath()).absolutePath());
    QCOMPARE(answer.nameFilters,
             (QStringList{QStringLiteral("RoboterFahrSatz (*.rfs)"), QStringLiteral("Alle (*)")})); // names without a dot too

    FileDialogAnswer save{QString()};
    click("btnSeqClose");
    QVERIFY(save.answered());
    QCOMPARE(save.objectName, QStringLiteral("SaveDialog1"));
    QCOMPARE(save.acceptMode, QFileDialog::AcceptSave);
    QCOMPARE(save.directory, QDir(dir->rfsPath()).absolutePath());
    QCOMPARE(save.nameFilters, answer.nameFilters);
    QCOMPARE(save.defaultSuffix, QStringLiteral("rfs"));
}

void TestSequenceEditor::openShowsFileLabel_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<bool>("shownRelative");
    QTest::newRow("directly in RFS") << "RFS/satz.rfs" << true;
    QTest::newRow("subdirectory of RFS") << "RFS/greifen/satz.rfs" << true;
    QTest::newRow("beside the executable") << "satz.rfs" << false;
    QTest::newRow("elsewhere") << "anderswo/RFS2/satz.rfs" << false;
}

void TestSequenceEditor::openShowsFileLabel()
{
    QFETCH(QString, relative);
    QFETCH(bool, shownRelative);
    const QString path = dir->filePath(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QVERIFY(writeBytes(path, "0 1500 0 1500 0 1500 0 1500 0 1500 \r\n"));
    openFile(path);
    const QString expected = shownRelative ? QDir::toNativeSeparators(relative.mid(int(qstrlen("RFS/"))))
                                           : QDir::toNativeSeparators(path);
    QCOMPARE(fileLabel->text(), expected);
}

void TestSequenceEditor::openReplacesStepsAndLeavesNumber()
{
    addStepAtBasis(1001);
    click("btnSeqForw");
    const QString path = dir->filePath(QStringLiteral("RFS/satz.rfs"));
    QVERIFY(writeBytes(path, "0 1100 0 1500 0 1500 0 1500 0 1500 \r\n0 1200 0 1500 0 1500 0 1500 0 1500 \nletzte"));
    openFile(path);
    QCOMPARE(steps(), (QStringList{basisPose(1100), basisPose(1200), QStringLiteral("letzte")}));
    QCOMPARE(list->selectedItems().size(), 0);
    QCOMPARE(stepNumber->text(), QStringLiteral("1"));
    // No step is current: step forward starts at the first line.
    tick();
    click("btnSeqForw");
    QCOMPARE(tick(), QStringLiteral("#16P1100<cr>"));
}

void TestSequenceEditor::cancelledOpenKeepsEverything()
{
    addStepAtBasis(1001);
    click("btnSeqForw");
    openFile(QString());
    QCOMPARE(steps(), QStringList{basisPose(1001)});
    QCOMPARE(fileLabel->text(), QStringLiteral("Datei..."));
    QCOMPARE(stepNumber->text(), QStringLiteral("1"));
    QVERIFY(list->item(0)->isSelected());
}

// A FIFO or an oversized file is refused before it is read, so the window
// neither waits for a writer nor freezes.
void TestSequenceEditor::unreadableFileShowsErrorAndKeepsEverything_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << "missing";
    QTest::newRow("FIFO") << "fifo";
    QTest::newRow("over 16 MiB") << "large";
}

void TestSequenceEditor::unreadableFileShowsErrorAndKeepsEverything()
{
    QFETCH(QString, kind);
    const QString good = dir->filePath(QStringLiteral("RFS/satz.rfs"));
    QVERIFY(writeBytes(good, "0 1000 0 1500 0 1500 0 1500 0 1500 \r\n"));
    openFile(good);
    click("btnSeqForw");

    const QString unreadable = dir->filePath(QStringLiteral("RFS/%1.rfs").arg(kind));
    if (kind == QLatin1String("fifo"))
        QCOMPARE(mkfifo(QFile::encodeName(unreadable).constData(), 0600), 0);
    else if (kind == QLatin1String("large"))
        QVERIFY(writeBytes(unreadable, {}) && QFile::resize(unreadable, 16 * 1024 * 1024 + 1));
    openFile(unreadable);
    QCOMPARE(recorder->entries().size(), std::size_t(1));
    QCOMPARE(recorder->entries().front().kind, msg::Kind::Error);
    QVERIFY2(recorder->texts().front().contains(unreadable), qPrintable(recorder->texts().front()));
    QCOMPARE(steps(), QStringList{basisPose(1000)});
    QCOMPARE(fileLabel->text(), QStringLiteral("satz.rfs"));
    QCOMPARE(stepNumber->text(), QStringLiteral("1"));
}

// Nothing in a file is checked at load time: binary bytes and a very long set
// become steps as they stand, and applying a garbage line moves no joint.
void TestSequenceEditor::anyBytesLoadAsSteps()
{
    static const char garbage[] = "\x01\xff\x00garbage";
    const QByteArray garbageLine(garbage, sizeof garbage - 1);
    QByteArray content = garbageLine + "\r\n";
    for (int line = 0; line < 100000; ++line)
        content += "0 1500 0 1500 0 1500 0 1500 0 1500 \r\n";
    const QString path = dir->filePath(QStringLiteral("RFS/gross.rfs"));
    QVERIFY(writeBytes(path, content));
    openFile(path);
    QVERIFY(recorder->texts().isEmpty());
    QCOMPARE(list->count(), 100001);
    QCOMPARE(list->item(0)->text(), QString::fromLatin1(garbageLine));
    click("btnSeqForw");
    QCOMPARE(stepNumber->text(), QStringLiteral("1"));
    QCOMPARE(tick(), QString());
}

void TestSequenceEditor::saveAndCloseStoresAndEmpties()
{
    click("btnSeqAdd");
    addStepAtBasis(1000);
    click("btnSeqForw");
    {
        // A name typed without extension gets ".rfs"; an existing file is replaced unasked.
        QVERIFY(writeBytes(dir->filePath(QStringLiteral("RFS/satz.rfs")), "alt\r\n"));
        FileDialogAnswer answer(dir->filePath(QStringLiteral("RFS/satz")));
        click("btnSeqClose");
        QVERIFY(answer.answered());
    }
    QVERIFY(recorder->texts().isEmpty());
    QCOMPARE(readBytes(dir->filePath(QStringLiteral("RFS/satz.rfs"))),
             (kPoseAt1500 + "\r\n" + basisPose(1000) + "\r\n").toLatin1());
    QCOMPARE(list->count(), 0);
    QCOMPARE(fileLabel->text(), QStringLiteral("Datei..."));
    QCOMPARE(stepNumber->text(), QStringLiteral("0"));
}

// "Speichern" stores under the loaded name, or asks for one as "Speichern unter..."
// does; both keep the list, and the label names the file as after loading.
void TestSequenceEditor::menuSaveKeepsTheListAndRemembersTheName()
{
    const auto trigger = [this](const char *name) { form->findChild<QAction *>(QLatin1String(name))->trigger(); };
    addStepAtBasis(1000);
    const QString first = dir->filePath(QStringLiteral("RFS/erster.rfs"));
    {
        FileDialogAnswer answer(first);
        trigger("speichern1"); // no file yet: asks
        QVERIFY(answer.answered());
        QCOMPARE(answer.objectName, QStringLiteral("SaveDialog1"));
    }
    QCOMPARE(fileLabel->text(), QStringLiteral("erster.rfs"));
    addStepAtBasis(1100);
    trigger("speichern1"); // asks nothing now
    QCOMPARE(readBytes(first), (basisPose(1000) + "\r\n" + basisPose(1100) + "\r\n").toLatin1());
    const QString second = dir->filePath(QStringLiteral("RFS/zweiter.rfs"));
    {
        FileDialogAnswer answer(second);
        trigger("speichernunter1");
        QVERIFY(answer.answered());
    }
    QCOMPARE(readBytes(second), readBytes(first));
    QCOMPARE(fileLabel->text(), QStringLiteral("zweiter.rfs"));
    QCOMPARE(list->count(), 2);
    QVERIFY(recorder->texts().isEmpty());
}

void TestSequenceEditor::saveAndCloseWithEmptyListWritesEmptyFile()
{
    const QString path = dir->filePath(QStringLiteral("RFS/leer.rfs"));
    FileDialogAnswer answer(path);
    click("btnSeqClose");
    QVERIFY(answer.answered());
    QVERIFY(QFile::exists(path));
    QCOMPARE(readBytes(path), QByteArray());
    QCOMPARE(fileLabel->text(), QStringLiteral("Datei..."));
}

void TestSequenceEditor::cancelledSaveKeepsListAndLabel()
{
    const QString path = dir->filePath(QStringLiteral("RFS/satz.rfs"));
    QVERIFY(writeBytes(path, "0 1000 0 1500 0 1500 0 1500 0 1500 \r\n"));
    openFile(path);
    FileDialogAnswer answer{QString()};
    click("btnSeqClose");
    QVERIFY(answer.answered());
    QCOMPARE(steps(), QStringList{basisPose(1000)});
    QCOMPARE(fileLabel->text(), QStringLiteral("satz.rfs"));
    QCOMPARE(QDir(dir->rfsPath()).entryList(QDir::Files), QStringList{QStringLiteral("satz.rfs")});
}

void TestSequenceEditor::failedStoreShowsErrorAndKeepsList()
{
    addStepAtBasis(1001);
    addStepAtBasis(1002);
    const QString path = dir->filePath(QStringLiteral("RFS/fehlt/satz.rfs"));
    FileDialogAnswer answer(path);
    click("btnSeqClose");
    QVERIFY(answer.answered());
    QCOMPARE(recorder->entries().size(), std::size_t(1));
    QCOMPARE(recorder->entries().front().kind, msg::Kind::Error);
    QVERIFY2(recorder->texts().front().contains(path), qPrintable(recorder->texts().front()));
    QCOMPARE(steps(), (QStringList{basisPose(1001), basisPose(1002)}));
    QCOMPARE(fileLabel->text(), QStringLiteral("Datei..."));
    QVERIFY(!QFile::exists(path));
}

// One step applied to the Basis (limits 500..2251, standing at 1800 before) with
// the other joints at their start pose.
void TestSequenceEditor::applyStep_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("speedEntry");
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("command");
    QTest::newRow("plain") << basisPose(1600) << "0" << 0 << 1600 << "#16P1600<cr>";
    QTest::newRow("speed 150 shows 100") << "150 1600 0 1500 0 1500 0 1500 0 1500 " << "100" << 150 << 1600
                                         << "#16P1600S150<cr>";
    QTest::newRow("speed 2599 shows 2500") << "2599 1600 0 1500 0 1500 0 1500 0 1500 " << "2500" << 2599 << 1600
                                           << "#16P1600S2599<cr>";
    QTest::newRow("speed beyond the entries") << "3000 1600 0 1500 0 1500 0 1500 0 1500 " << "" << 3000 << 1600
                                              << "#16P1600S3000<cr>";
    QTest::newRow("negative speed") << "-250 1600 0 1500 0 1500 0 1500 0 1500 " << "" << 0 << 1600
                                    << "#16P1600<cr>";
    QTest::newRow("above the upper limit") << "300 2300 0 1500 0 1500 0 1500 0 1500 " << "300" << 300 << 1800
                                           << "#16P1800S300<cr>";
    QTest::newRow("position 0 is not clamped to 500") << basisPose(0) << "0" << 0 << 1800 << "";
    QTest::newRow("position beyond the slider") << basisPose(3000) << "0" << 0 << 1800 << "";
    QTest::newRow("empty line") << "" << "0" << 0 << 1800 << "";
}

void TestSequenceEditor::applyStep()
{
    QFETCH(QString, line);
    QFETCH(QString, speedEntry);
    QFETCH(int, speed);
    QFETCH(int, position);
    QFETCH(QString, command);
    // A limit of 500 would let a clamped 0 through; the step must still be refused.
    form->arm().setLimit(0, 500, 2251);
    basisSlider->setValue(1800);
    tick();

    const QString path = dir->filePath(QStringLiteral("RFS/schritt.rfs"));
    QVERIFY(writeBytes(path, line.toLatin1() + "\r\n"));
    openFile(path);
    click("btnSeqForw");
    auto *speedList = form->findChild<QComboBox *>(QStringLiteral("cbxSpeed1"));
    QCOMPARE(speedList->currentText(), speedEntry);
    QCOMPARE(form->arm().joint(0).getSpeed(), speed);
    QCOMPARE(form->arm().joint(0).getPosition(), position);
    QCOMPARE(basisSlider->value(), position);
    QCOMPARE(form->findChild<QLineEdit *>(QStringLiteral("edtPos1"))->text(), QString::number(position));
    QCOMPARE(tick(), command);
    QVERIFY(recorder->texts().isEmpty());
}

void TestSequenceEditor::applyStepTooFastShowsSpeedWarning()
{
    const QString path = dir->filePath(QStringLiteral("RFS/schnell.rfs"));
    QVERIFY(writeBytes(path, "70000 1600 0 1500 0 1500 0 1500 0 1500 \r\n"));
    openFile(path);
    click("btnSeqForw");
    QCOMPARE(recorder->texts(), QStringList{QStringLiteral("Fehler: Speed zu groß!")});
    QCOMPARE(form->arm().joint(0).getSpeed(), 0);
    QCOMPARE(form->findChild<QComboBox *>(QStringLiteral("cbxSpeed1"))->currentIndex(), -1);
    // The refused speed does not keep the position from being applied.
    QCOMPARE(tick(), QStringLiteral("#16P1600<cr>"));
}

VELMORA_WINDOW_TEST_MAIN(TestSequenceEditor)

#include "test_sequence_editor.moc"
