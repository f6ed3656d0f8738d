#include "app/app_windows.h"
#include "app/tform1.h"
#include "arm/servo_timer.h"
#include "comm/setup_forms.h"
#include "support/message_recorder.h"
#include "support/program_dir_fixture.h"
#include "support/window_test_main.h"
#include "toolkit/up_down.h"
#include "views/browsers.h"
#include "views/info_form.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#if VELMORA_WEBENGINE
#include <QWebEngineView>
#endif
#include <QtTest>
#include <stdexcept>

namespace {

QStringList actionTexts(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

QString lastLine(const QPlainTextEdit *memo)
{
    return memo->toPlainText().section(QLatin1Char('\n'), -1);
}

// An object whose event handling fails, to reach the application's exception display.
class Throwing : public QObject {
public:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::User)
            throw std::runtime_error("Testfehler");
        return QObject::event(event);
    }
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void allFourWindowsExistAndOnlyTheMainWindowShows();
    void captionAndApplicationTitle();
    void windowFillsTheScreenUntilItIsResized();
    void mainMenuHasEveryItem();
    void everyTopLevelGroupExists_data();
    void everyTopLevelGroupExists();
    void firstArmTickLogsAndStagesAllJoints();
    void quietTickLeavesMemoAndTransmitEditAlone();
    void setupWindowsLockTheMainWindow_data();
    void setupWindowsLockTheMainWindow();
    void infoWindowLocksAndReloadsPage();
    void messageBoxesAreRealModalBoxes();
    void escapedExceptionIsShownAndProgramContinues();
    void beendenClosesTheMainWindow();
    void everyControlHasAnAccessibleName();

private:
    std::unique_ptr<ProgramDirFixture> dir;
    std::unique_ptr<MessageRecorder> recorder;
    app::AppWindows windows;
    QStringList startUpMessages;
};

void TestMainWindow::init()
{
    dir = std::make_unique<ProgramDirFixture>();
    recorder = std::make_unique<MessageRecorder>();
    windows = app::createAppWindows(dir->path());
    windows.form1->show();
    startUpMessages = recorder->texts();
    recorder->clear();
}

void TestMainWindow::cleanup()
{
    windows = app::AppWindows();
    recorder.reset();
    dir.reset();
}

void TestMainWindow::allFourWindowsExistAndOnlyTheMainWindowShows()
{
    QVERIFY(windows.form1 && windows.infoForm1 && windows.setupForm1 && windows.setupForm2);
    QVERIFY(windows.form1->isVisible());
    QVERIFY(!windows.infoForm1->isVisible());
    QVERIFY(!windows.setupForm1->isVisible());
    QVERIFY(!windows.setupForm2->isVisible());
    QCOMPARE(windows.form1->files().dataDir, dir->path());
    // The fixture holds no settings file.
    QCOMPARE(startUpMessages, QStringList{QStringLiteral("Fehler beim lesen der Einstellungen")});
}

void TestMainWindow::captionAndApplicationTitle()
{
    QCOMPARE(QApplication::applicationName(), QStringLiteral("Velmora Projekt"));
    QVERIFY(windows.form1->windowTitle().startsWith(QStringLiteral("Velmora Projekt: Technikerarbeit")));
    QCOMPARE(windows.infoForm1->windowTitle(), QStringLiteral("Info über Velmora Projekt 2007"));
    QCOMPARE(windows.setupForm1->windowTitle(), QStringLiteral("Setup: Kommunikation RoboterArm"));
    QCOMPARE(windows.setupForm2->windowTitle(), QStringLiteral("Setup: Kommunikation Fahrwerk"));
}

void TestMainWindow::windowFillsTheScreenUntilItIsResized()
{
    app::TForm1 &form = *windows.form1;
    QTRY_COMPARE(form.size(), form.screen()->availableGeometry().size());
    form.resize(800, 500);
    form.hide();
    form.show();
    QCOMPARE(form.size(), QSize(800, 500));
}

void TestMainWindow::mainMenuHasEveryItem()
{
    auto *bar = windows.form1->findChild<QMenuBar *>(QStringLiteral("MainMenu1"));
    QVERIFY(bar);
    QStringList titles;
    for (const QAction *action : bar->actions())
        titles << action->text();
    QCOMPARE(titles, (QStringList{"&Datei", "&Setup", "Se&quenz", "&Ansicht", "&Hilfe"}));

    const auto menu = [this](const char *name) { return windows.form1->findChild<QMenu *>(name); };
    QCOMPARE(actionTexts(menu("Datei1")),
             (QStringList{"&Einstellungen speichern", "letzte Einstellungen &laden", "-", "&Beenden"}));
    QCOMPARE(actionTexts(menu("Setup1")),
             (QStringList{"&Kommunikation", "&Steuerung...", "&Arm...", "&Verbindung suchen...",
                          "&Fernsteuerung...", "&Sprache"}));
    QCOMPARE(actionTexts(menu("Sprache1")), (QStringList{"Deutsch", "English"}));
    QCOMPARE(actionTexts(menu("Kommunikation1")), (QStringList{"Roboter&Arm...", "Roboter&Fahrwerk..."}));
    QCOMPARE(actionTexts(menu("Sequenz1")),
             (QStringList{"S&tarten", "&Laden...", "&Erstellen...", "&Speichern", "Speichern &unter...", "-",
                          "Drucker &einrichten...", "&Drucken"}));
    QCOMPARE(actionTexts(menu("Ansicht1")), (QStringList{"&Telemetrie...", "&Kinematik..."}));
    QCOMPARE(actionTexts(menu("Hilfe1")), QStringList{"&Info..."});
}

void TestMainWindow::everyTopLevelGroupExists_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::newRow("Basis") << "gbxBasis" << "Basis";
    QTest::newRow("Schulter") << "gbxSchulter" << "Schulter";
    QTest::newRow("Ellenbogen") << "gbxEllbog" << "Ellenbogen";
    QTest::newRow("Handgelenk") << "gbxHandGel" << "Handgel.";
    QTest::newRow("Greifer") << "gbxGreifer" << "Greifer";
    QTest::newRow("link 1") << "gbxSeriell1" << "Seriell 1 (Greifarm)";
    QTest::newRow("link 2") << "gbxSeriell2" << "Seriell 2 (Fahrwerk)";
    QTest::newRow("chassis") << "gbxFahrwerk" << "Fahrwerk";
    QTest::newRow("sequence") << "gbxAblauf" << "Ablaufsteuerung Greifarm";
}

void TestMainWindow::everyTopLevelGroupExists()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    auto *group = windows.form1->findChild<QGroupBox *>(name);
    QVERIFY(group);
    QCOMPARE(group->title(), title);
    QVERIFY(group->isVisible());
}

void TestMainWindow::firstArmTickLogsAndStagesAllJoints()
{
    app::TForm1 &form = *windows.form1;
    auto *memo = form.findChild<QPlainTextEdit *>(QStringLiteral("Memo1"));
    auto *transmit = form.findChild<QLineEdit *>(QStringLiteral("Transmit_Edit"));
    QCOMPARE(memo->toPlainText().section(QLatin1Char('\n'), 0, 0), QStringLiteral("Memo1"));
    QTRY_COMPARE(lastLine(memo), QStringLiteral("#16P1500#17P1500#18P1500#19P1500#20P1500<cr>"));
    QCOMPARE(transmit->text(), QStringLiteral("#16P1500#17P1500#18P1500#19P1500#20P1500\r"));
}

void TestMainWindow::quietTickLeavesMemoAndTransmitEditAlone()
{
    app::TForm1 &form = *windows.form1;
    auto *memo = form.findChild<QPlainTextEdit *>(QStringLiteral("Memo1"));
    auto *transmit = form.findChild<QLineEdit *>(QStringLiteral("Transmit_Edit"));
    form.findChild<arm::ServoTimer *>()->ServoTimer1Timer();
    transmit->setText(QStringLiteral("von Hand"));
    const QString memoBefore = memo->toPlainText();
    form.findChild<arm::ServoTimer *>()->ServoTimer1Timer();
    form.findChild<arm::ServoTimer *>()->ServoTimer1Timer();
    QCOMPARE(memo->toPlainText(), memoBefore);
    QCOMPARE(transmit->text(), QStringLiteral("von Hand"));
}

void TestMainWindow::setupWindowsLockTheMainWindow_data()
{
    QTest::addColumn<QString>("menuItem");
    QTest::addColumn<int>("window");
    QTest::newRow("arm") << "RoboterArm1" << 1;
    QTest::newRow("chassis") << "RoboterFahrwerk1" << 2;
}

void TestMainWindow::setupWindowsLockTheMainWindow()
{
    QFETCH(QString, menuItem);
    QFETCH(int, window);
    QWidget *setup = window == 1 ? static_cast<QWidget *>(windows.setupForm1.get()) : windows.setupForm2.get();
    windows.form1->findChild<QAction *>(menuItem)->trigger();
    QVERIFY(setup->isVisible());
    QVERIFY(!windows.form1->isEnabled());
    QCOMPARE(setup->size(), QSize(688, 446));
    QVERIFY(setup->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(setup->windowFlags() & Qt::Tool);
    QVERIFY(setup->findChildren<QWidget *>().isEmpty());
    setup->close();
    QVERIFY(!setup->isVisible());
    QVERIFY(windows.form1->isEnabled());
    windows.form1->findChild<QAction *>(menuItem)->trigger();
    QVERIFY(setup->isVisible());
    QVERIFY(!windows.form1->isEnabled());
    setup->close();
    QVERIFY(windows.form1->isEnabled());
}

void TestMainWindow::infoWindowLocksAndReloadsPage()
{
#if !VELMORA_WEBENGINE
    QSKIP("watches Qt WebEngine's loads; the light page view has tests of its own");
#else
    views::TInfoForm1 &info = *windows.infoForm1;
    auto *browser = info.findChild<views::InfoBrowser *>(QStringLiteral("CppWebBrowser1"));
    auto *ok = info.findChild<QPushButton *>(QStringLiteral("btnOK"));

    windows.form1->findChild<QAction *>(QStringLiteral("Info1"))->trigger();
    // The engine's view comes with the first page; its loads are what the window asked for.
    auto *view = browser->findChild<QWebEngineView *>();
    QVERIFY(view);
    QSignalSpy loads(view, &QWebEngineView::loadFinished);
    QVERIFY(info.isVisible());
    QVERIFY(!windows.form1->isEnabled());
    QCOMPARE(info.size(), QSize(432, 310));
    QCOMPARE(ok->geometry(), QRect(179, 277, 75, 25));
    QCOMPARE(ok->toolTip(), QStringLiteral("Fenster schließen"));
    QCOMPARE(browser->geometry(), QRect(8, 8, 417, 265));
    QVERIFY(info.windowFlags() & Qt::WindowStaysOnTopHint);
    QTRY_COMPARE(view->url(), QUrl::fromLocalFile(dir->filePath(QStringLiteral("info.htm"))));
    QTRY_COMPARE(loads.size(), 1);

    // Restored from minimised, it is neither reloaded nor centred again.
    const QPoint moved = info.pos() + QPoint(40, 30);
    info.move(moved);
    info.setWindowState(Qt::WindowMinimized);
    info.setWindowState(Qt::WindowNoState);
    QCOMPARE(info.pos(), moved);
    QVERIFY(!windows.form1->isEnabled());

    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!info.isVisible());
    QVERIFY(windows.form1->isEnabled());

    // Closing by the title bar also unlocks; every showing loads the page afresh.
    windows.form1->findChild<QAction *>(QStringLiteral("Info1"))->trigger();
    QVERIFY(!windows.form1->isEnabled());
    QTRY_COMPARE(loads.size(), 2);
    info.close();
    QVERIFY(windows.form1->isEnabled());

    // Enter presses the default button OK.
    windows.form1->findChild<QAction *>(QStringLiteral("Info1"))->trigger();
    info.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&info));
    QTest::keyClick(&info, Qt::Key_Return);
    QVERIFY(!info.isVisible());
    QVERIFY(windows.form1->isEnabled());
#endif
}

void TestMainWindow::messageBoxesAreRealModalBoxes()
{
    recorder.reset();
    QString seenText;
    QTimer::singleShot(0, this, [&seenText] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seenText = box->text() + QLatin1Char('|') + box->windowTitle();
        box->button(QMessageBox::No)->click();
    });
    const msg::Answer answer =
        msg::show(msg::Kind::Confirmation, msg::Buttons::YesNo, platform::UiText::verbatim("Frage?"));
    QCOMPARE(seenText, QStringLiteral("Frage?|Velmora Projekt"));
    QCOMPARE(answer, msg::Answer::No);
}

void TestMainWindow::escapedExceptionIsShownAndProgramContinues()
{
    Throwing target;
    QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
    QTRY_COMPARE(recorder->texts(), QStringList{QStringLiteral("Testfehler")});
    QCOMPARE(recorder->entries().front().kind, msg::Kind::Error);
    QVERIFY(windows.form1->isVisible());
}

void TestMainWindow::beendenClosesTheMainWindow()
{
    windows.form1->findChild<QAction *>(QStringLiteral("Beenden1"))->trigger();
    QVERIFY(!windows.form1->isVisible());
}

// A screen reader reaches each control by a name: its label, its caption or its hint.
void TestMainWindow::everyControlHasAnAccessibleName()
{
    QStringList unnamed;
    QList<QWidget *> widgets = windows.form1->findChildren<QWidget *>();
    widgets += windows.infoForm1->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        const bool control = qobject_cast<QAbstractButton *>(widget) || qobject_cast<QComboBox *>(widget)
                             || qobject_cast<QAbstractSlider *>(widget) || qobject_cast<QProgressBar *>(widget)
                             || qobject_cast<QAbstractScrollArea *>(widget) || qobject_cast<QLineEdit *>(widget)
                             || qobject_cast<toolkit::UpDown *>(widget) || qobject_cast<views::WebcamBrowser *>(widget)
                             || qobject_cast<views::InfoBrowser *>(widget);
        // Parts that Qt composes itself (a combo box's edit, a scroll area's bars) go by their owner's name.
        if (!control || widget->objectName().isEmpty() || widget->objectName().startsWith(QLatin1String("qt_")))
            continue;
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
        if (!accessible || accessible->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << widget->objectName();
    }
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QLatin1String(", "))));
    // An up/down's arrows are named too, as they are what a screen reader presses.
    auto *upDown = windows.form1->findChild<toolkit::UpDown *>(QStringLiteral("udMin1"));
    for (QAbstractButton *arrow : upDown->findChildren<QAbstractButton *>())
        QVERIFY(!QAccessible::queryAccessibleInterface(arrow)->text(QAccessible::Name).isEmpty());
}

VELMORA_WINDOW_TEST_MAIN(TestMainWindow)

#include "test_main_window.moc"
