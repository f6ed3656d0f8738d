// The move time of a step, and the player over a made-up clock and a fake console:
// each row is a script of events and what the console was asked to do, with the
// state text at each change.
#include "sequence/move_time.h"
#include "sequence/player_core.h"
#include "support/fake_player_host.h"

#include <QtTest>

#include <limits>

class TestPlayerCore : public QObject {
    Q_OBJECT

private slots:
    void moveTime_data();
    void moveTime();
    void script_data();
    void script();
};

void TestPlayerCore::moveTime_data()
{
    QTest::addColumn<QList<int>>("joints"); // from, to, speed for each joint
    QTest::addColumn<int>("ms");
    constexpr int kMax = std::numeric_limits<int>::max();
    QTest::newRow("nothing moves") << QList<int>{} << 0;
    QTest::newRow("speed changed alone") << QList<int>{1500, 1500, 300} << 0;
    QTest::newRow("distance over speed, rounded up") << QList<int>{2000, 1001, 7} << 142715;
    QTest::newRow("without a speed a fixed second") << QList<int>{1000, 2000, 0, 1000, 1010, -5} << 1000;
    QTest::newRow("slowest joint decides") << QList<int>{1000, 1100, 1000, 1500, 2500, 500, 1000, 1200, 0} << 2000;
    QTest::newRow("far beyond any servo") << QList<int>{std::numeric_limits<int>::min(), kMax, 1} << kMax;
}

void TestPlayerCore::moveTime()
{
    QFETCH(QList<int>, joints);
    QFETCH(int, ms);
    std::vector<sequence::JointMove> moves;
    for (int i = 0; i + 2 < joints.size(); i += 3)
        moves.push_back({joints[i], joints[i + 1], joints[i + 2]});
    QCOMPARE(sequence::moveTimeMs(moves), ms);
}

// Tokens: @<ms> sets the clock; arm: the arm tick passed; + and . are replies, ver
// the version reply; w: the clock jumps to the next wake-up and ticks ("sleeps"
// when none is due); lost: link 1 closed; list, close, joint, play, pause, stop,
// loop, dwell=<ms> as named; j<joint>=<µs> stands a joint there, steps=<n> makes
// the set n steps long, odd<step> makes a step no step line.
void TestPlayerCore::script_data()
{
    QTest::addColumn<int>("steps");
    QTest::addColumn<QString>("events");
    QTest::addColumn<QString>("expected");

    const QString go = QStringLiteral("s1@0 fast500:12345 |spielt| ");
    QTest::newRow("refused with an empty set") << 0 << "play" << "|Der Verfahrsatz ist leer|";
    QTest::newRow("refused before any command, naming the first odd step")
        << 4 << "odd4 odd3 play" << "|Schritt 3 ist kein gültiger Schritt|";
    QTest::newRow("a set loaded after a refusal shows its own state")
        << 0 << "play steps=3 list odd2 list" << "|Der Verfahrsatz ist leer| |bereit| |Schritt 2 ist kein gültiger Schritt|";
    QTest::newRow("the first move's safe speed only for joints that move")
        << 3 << "j2=1000 j4=1000 play" << "s1@0 fast500:135 |spielt|";
    QTest::newRow("plays in order, asks every 100 ms, dwells, ends after the last step")
        << 2 << "play @40 arm + w + w . w @790 arm . w" << go + "Q*@40 q@140 q@240 s2@740 Q*@790 |Ablauf beendet|";
    QTest::newRow("loop wraps to step 1 without the first-move speed")
        << 2 << "loop play @10 arm . w @600 arm . w" << go + "Q*@10 s2@510 Q*@600 s0@1100 s1@1100";
    QTest::newRow("no answer: worked-out move time, said once, no more queries")
        << 3 << "play @20 arm w w w w w w @1050 arm w w"
        << go + "Q*@20 q@120 q@220 q@320 q@420 |spielt (keine Antwort auf Q: berechnete Fahrzeit)| s2@1020 s3@2550";
    QTest::newRow("pause holds after the move, play goes on with the next step")
        << 3 << "play @10 arm pause + w . w @5000 play" << go + "Q*@10 |angehalten (Pause gedrückt)| q@110 sleeps s2@5000 |spielt|";
    QTest::newRow("pause while dwelling holds at once") << 3 << "play @10 arm . pause w"
                                                        << go + "Q*@10 |angehalten (Pause gedrückt)| sleeps";
    QTest::newRow("a joint moved by anyone else pauses")
        << 3 << "play @10 arm joint" << go + "Q*@10 |angehalten (Gelenk vom Bediener bewegt)|";
    QTest::newRow("stop ends at once, nothing more is sent") << 3 << "play @10 arm stop w + arm"
                                                             << go + "Q*@10 |gestoppt| sleeps";
    QTest::newRow("link lost stops") << 3 << "play lost arm w" << go + "|Verbindung 1 wurde getrennt| sleeps";
    QTest::newRow("list changed stops") << 3 << "play list" << go + "|Der Verfahrsatz wurde geändert|";
    QTest::newRow("window closed stops") << 3 << "play close" << go + "|Das Fenster wurde geschlossen|";
    // A new run starts again with the step that is current, and moves it safely.
    QTest::newRow("a new run moves safely again") << 3 << "play stop j1=1250 @100 play"
                                                  << go + "|gestoppt| s1@100 fast500:1 |spielt|";
    QTest::newRow("a reply still due to an earlier query is not this step's")
        << 2 << "dwell=0 play @10 arm w . @150 arm . w ." << go + "Q*@10 q@110 s2@110 Q*@150 q@250 |Ablauf beendet|";
    QTest::newRow("other text is no move status") << 3 << "play @10 arm ver w" << go + "Q*@10 q@110";
}

void TestPlayerCore::script()
{
    QFETCH(int, steps);
    QFETCH(QString, events);
    QFETCH(QString, expected);
    FakePlayerHost console;
    console.steps = steps;
    sequence::PlayerCore player(console);
    console.jointChanged = [&] { player.jointChanged(); };
    sequence::Millis &now = console.now;
    const std::map<QString, std::function<void()>> actions{
        {"play", [&] { player.play(); }}, {"pause", [&] { player.pause(); }}, {"stop", [&] { player.stop(); }},
        {"arm", [&] { player.armTickPassed(now); }}, {"+", [&] { player.received("+", now); }},
        {".", [&] { player.received(".", now); }}, {"ver", [&] { player.received("SSC32-1.06XE\r", now); }},
        {"joint", [&] { player.jointChanged(); }}, {"list", [&] { player.listChanged(); }},
        {"lost", [&] { player.linkClosed(); }}, {"close", [&] { player.windowClosed(); }},
        {"loop", [&] { player.setLoop(true); }},
        {"w", [&] {
             if (const auto at = player.nextWakeAt())
                 player.tick(now = *at);
             else
                 console.calls << "sleeps";
         }}};
    std::string shown = player.stateText().german();
    for (const QString &event : events.split(u' ')) {
        if (event.startsWith(u'@'))
            now = event.mid(1).toLongLong();
        else if (event.startsWith(QLatin1String("dwell=")))
            QVERIFY(player.setDwellMs(event.mid(6).toInt()));
        else if (event.startsWith(QLatin1String("steps=")))
            console.steps = event.mid(6).toInt();
        else if (event.startsWith(QLatin1String("odd")))
            console.odd.insert(event.mid(3).toInt() - 1);
        else if (event.startsWith(u'j') && event.indexOf(u'=') == 2)
            console.pose[std::size_t(event.mid(1, 1).toInt() - 1)].position = event.mid(3).toInt();
        else {
            QVERIFY2(actions.count(event), qPrintable(event));
            actions.at(event)();
        }
        if (player.stateText().german() != shown)
            console.calls << "|" + QString::fromStdString(shown = player.stateText().german()) + "|";
    }
    QCOMPARE(console.calls.join(u' '), expected);
}

QTEST_APPLESS_MAIN(TestPlayerCore)
#include "test_player_core.moc"
