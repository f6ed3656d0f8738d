// The player window on a fake console: its controls, the dwell check, and its
// timer driving the queries and the fallback.
#include "sequence/player_window.h"
#include "support/fake_player_host.h"
#include "support/message_recorder.h"

#include <QLineEdit>
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
    void refusesABadDwell_data();
    void refusesABadDwell();
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
    window->close();
    QCOMPARE(text("stateLabel"), QStringLiteral("Das Fenster wurde geschlossen"));
    console.open = false;
    window->start();
    QCOMPARE(text("stateLabel"), QStringLiteral("Verbindung 1 ist nicht aufgebaut"));
}

void TestPlayerWindow::refusesABadDwell_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("none") << "0" << "0";
    QTest::newRow("longest") << " 60000" << "60000";
    QTest::newRow("too long") << "60001" << "";
    QTest::newRow("negative") << "-1" << "";
    QTest::newRow("not a number") << "1s" << "";
}

// A refused value brings the one in force back ("" stands for the default, 500).
void TestPlayerWindow::refusesABadDwell()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    MessageRecorder boxes;
    auto *edit = window->findChild<QLineEdit *>("dwellEdit");
    edit->setText(typed);
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(edit->text(), shown.isEmpty() ? QStringLiteral("500") : shown);
    QCOMPARE(boxes.texts(), QStringList(shown.isEmpty(), "Die Pause muss eine ganze Zahl von 0 bis 60000 ms sein."));
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
