// The player window on a bare main window and a fake console: its controls, the
// dwell check, and its timer driving the queries and the fallback.
#include "sequence/player_window.h"
#include "support/message_recorder.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

class FakeConsole : public sequence::PlayerHost {
public:
    bool open = true;
    int current = -1;
    QList<bool> queries; // logged or not, in order

    int stepCount() const override { return 2; }
    int currentStep() const override { return current; }
    bool linkOpen() const override { return open; }
    std::vector<sequence::JointState> joints() const override { return {5, {1500, 0}}; }
    void playNextStep() override { current = current + 1 < 2 ? current + 1 : -1; }
    void applyFirstMoveSpeed(int) override {}
    void sendMoveStatusQuery(bool log) override { queries << log; }
};

} // namespace

class TestPlayerWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startsReadyOnTopOfItsMainWindow();
    void refusesABadDwell_data();
    void refusesABadDwell();
    void timerAsksAgainThenFallsBack();
    void closingStops();

private:
    QLabel *label(const char *name) const { return window->findChild<QLabel *>(QLatin1String(name)); }

    FakeConsole console;
    QWidget mainWindow;
    sequence::PlayerWindow *window = nullptr;
};

void TestPlayerWindow::init()
{
    console = FakeConsole();
    window = new sequence::PlayerWindow(console, &mainWindow);
}

void TestPlayerWindow::cleanup() { delete window; }

void TestPlayerWindow::startsReadyOnTopOfItsMainWindow()
{
    QCOMPARE(window->windowTitle(), QStringLiteral("Ablauf abspielen"));
    QVERIFY(window->isWindow() && window->windowType() == Qt::Tool && window->parentWidget() == &mainWindow);
    QVERIFY(!window->isModal());
    QCOMPARE(window->findChild<QPushButton *>("playButton")->text(), QStringLiteral("Abspielen"));
    QCOMPARE(window->findChild<QPushButton *>("pauseButton")->text(), QStringLiteral("Pause"));
    QCOMPARE(window->findChild<QPushButton *>("stopButton")->text(), QStringLiteral("Stopp"));
    QCOMPARE(window->findChild<QCheckBox *>("loopBox")->text(), QStringLiteral("Endlos wiederholen"));
    QCOMPARE(window->findChild<QLineEdit *>("dwellEdit")->text(), QStringLiteral("500"));
    QCOMPARE(label("stepLabel")->text(), QStringLiteral("Schritt 0 von 2"));
    QCOMPARE(label("stateLabel")->text(), QStringLiteral("bereit"));
    console.open = false;
    window->start();
    QVERIFY(window->isVisible());
    QCOMPARE(label("stateLabel")->text(), QStringLiteral("Verbindung 1 ist nicht aufgebaut"));
}

void TestPlayerWindow::refusesABadDwell_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("warnings");
    QTest::newRow("none") << "0" << "0" << 0;
    QTest::newRow("longest") << " 60000" << "60000" << 0;
    QTest::newRow("too long") << "60001" << "500" << 1;
    QTest::newRow("negative") << "-1" << "500" << 1;
    QTest::newRow("not a number") << "1s" << "500" << 1;
    QTest::newRow("empty") << "" << "500" << 1;
}

void TestPlayerWindow::refusesABadDwell()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, warnings);
    MessageRecorder boxes;
    auto *edit = window->findChild<QLineEdit *>("dwellEdit");
    edit->setText(typed);
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(edit->text(), shown);
    QCOMPARE(boxes.texts(), QStringList(warnings, QStringLiteral("Die Pause muss eine ganze Zahl von 0 bis 60000 ms sein.")));
}

// A controller that never answers: asked once with a log line, then again
// without, until the player goes by the worked-out move time and plays on.
void TestPlayerWindow::timerAsksAgainThenFallsBack()
{
    window->start();
    QCOMPARE(label("stateLabel")->text(), QStringLiteral("spielt"));
    QCOMPARE(label("stepLabel")->text(), QStringLiteral("Schritt 1 von 2"));
    window->armTickPassed();
    QTRY_VERIFY_WITH_TIMEOUT(label("stateLabel")->text().contains(QLatin1String("berechnete Fahrzeit")), 5000);
    QVERIFY(console.queries.size() >= 2);
    QCOMPARE(console.queries.count(true), 1);
    QVERIFY(console.queries.first());
    QTRY_COMPARE_WITH_TIMEOUT(label("stepLabel")->text(), QStringLiteral("Schritt 2 von 2"), 5000);
}

void TestPlayerWindow::closingStops()
{
    window->start();
    window->close();
    QCOMPARE(label("stateLabel")->text(), QStringLiteral("Das Fenster wurde geschlossen"));
    QVERIFY(window->findChild<QPushButton *>("playButton")->isEnabled());
    QVERIFY(!window->findChild<QPushButton *>("stopButton")->isEnabled());
}

QTEST_MAIN(TestPlayerWindow)
#include "test_player_window.moc"
