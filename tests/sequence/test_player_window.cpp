// The player window on a fake console: its controls, the dwell's range, and its
// timer driving the queries and the fallback.
#include "sequence/player_window.h"
#include "support/fake_player_host.h"
#include "support/message_recorder.h"

#include <QAccessible>
#include <QSpinBox>
#include <QtTest>

class TestPlayerWindow : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        console = FakePlayerHost();
        console.steps = 2;
        window = std::make_unique<sequence::PlayerWindow>(console);
        console.jointChanged = [this] { window->jointChanged(); };
    }
    void startsReadyAndStopsWhenClosed();
    void takesOnlyDwellsInRange_data();
    void takesOnlyDwellsInRange();
    void timerAsksAgainThenFallsBack();

private:
    QString text(const char *name) const { return window->findChild<QWidget *>(name)->property("text").toString(); }

    FakePlayerHost console;
    std::unique_ptr<sequence::PlayerWindow> window;
};

void TestPlayerWindow::startsReadyAndStopsWhenClosed()
{
    QCOMPARE(window->windowTitle(), QStringLiteral("Ablauf abspielen"));
    QVERIFY(!window->isModal());
    QStringList shown;
    for (const char *name : {"playButton", "pauseButton", "stopButton", "loopBox", "dwellEdit", "stepLabel", "stateLabel"})
        shown << text(name);
    QCOMPARE(shown.join(u'|'), QStringLiteral("Abspielen|Pause|Stopp|Endlos wiederholen|500|Schritt 0 von 2|bereit"));
    window->start();
    QCOMPARE(text("stateLabel"), QStringLiteral("spielt"));
    // Screen readers read the read-outs' texts.
    for (const char *name : {"stepLabel", "stateLabel"})
        QCOMPARE(QAccessible::queryAccessibleInterface(window->findChild<QWidget *>(name))->text(QAccessible::Name),
                 text(name));
    window->close();
    QCOMPARE(text("stateLabel"), QStringLiteral("Das Fenster wurde geschlossen"));
    console.open = false;
    window->start();
    QCOMPARE(text("stateLabel"), QStringLiteral("Verbindung 1 ist nicht aufgebaut"));
}

void TestPlayerWindow::takesOnlyDwellsInRange_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("taken");
    QTest::newRow("none") << "0" << 0;
    QTest::newRow("longest") << "60000" << 60000;
    QTest::newRow("too long: the last digit is refused") << "60001" << 6000;
    QTest::newRow("no sign") << "-1" << 1;
    QTest::newRow("no letters") << "1s" << 1;
    QTest::newRow("emptied: the dwell in force") << "" << 500;
}

// Typed over the whole text, then Return.
void TestPlayerWindow::takesOnlyDwellsInRange()
{
    QFETCH(QString, typed);
    QFETCH(int, taken);
    MessageRecorder boxes;
    auto *edit = window->findChild<QSpinBox *>("dwellEdit");
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, typed);
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(edit->text(), QString::number(taken));
    QCOMPARE(edit->value(), taken);
    QVERIFY(boxes.texts().isEmpty());
    // The player has it: without a dwell the next step follows the arrival at once.
    window->start();
    window->armTickPassed();
    window->armReceived(".");
    QCOMPARE(text("stepLabel"), QStringLiteral("Schritt %1 von 2").arg(taken == 0 ? 2 : 1));
}

// A controller that never answers: asked once with a log line, then again
// without, until the player goes by the worked-out move time and plays on.
void TestPlayerWindow::timerAsksAgainThenFallsBack()
{
    window->start();
    QCOMPARE(text("stepLabel"), QStringLiteral("Schritt 1 von 2"));
    window->armTickPassed();
    QTRY_COMPARE_WITH_TIMEOUT(text("stateLabel"), QStringLiteral("spielt (keine Antwort auf Q: berechnete Fahrzeit)"),
                              5000);
    QCOMPARE(console.calls.filter("Q*").size(), 1);
    QVERIFY(console.calls.indexOf("Q*@0") < console.calls.indexOf("q@0"));
    QTRY_COMPARE_WITH_TIMEOUT(text("stepLabel"), QStringLiteral("Schritt 2 von 2"), 5000);
}

QTEST_MAIN(TestPlayerWindow)
#include "test_player_window.moc"
