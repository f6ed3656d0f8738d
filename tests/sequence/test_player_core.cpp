// The player over a made-up clock and a fake console: each row is a script of
// events and what the console was asked to do, with the state text at each change.
#include "sequence/move_time.h"
#include "sequence/player_core.h"

#include <QtTest>

#include <limits>

using sequence::JointState;
using sequence::Millis;

namespace {

// Step i stands every joint at 1000 + 100 i µs without a speed; before the
// first step they stand at 1250. Records each request as "s<step>@<time>"
// (s0: none current), "fast<speed>", "Q*@<time>" (logged) or "q@<time>".
class FakeConsole : public sequence::PlayerHost {
public:
    int steps = 3;
    bool open = true;
    int current = -1;
    std::vector<JointState> pose = std::vector<JointState>(5, {1250, 0});
    sequence::PlayerCore *player = nullptr;
    Millis now = 0;
    QStringList calls;

    int stepCount() const override { return steps; }
    int currentStep() const override { return current; }
    bool linkOpen() const override { return open; }
    std::vector<JointState> joints() const override { return pose; }
    // The joint panels tell of every change, the player's own ones too.
    void playNextStep() override
    {
        current = current + 1 < steps ? current + 1 : -1;
        if (current >= 0)
            pose.assign(5, {1000 + 100 * current, 0});
        player->jointChanged();
        calls << QStringLiteral("s%1@%2").arg(current + 1).arg(now);
    }
    void applyFirstMoveSpeed(int speed) override
    {
        for (JointState &joint : pose)
            joint.speed = joint.speed == 0 ? speed : joint.speed;
        player->jointChanged();
        calls << QStringLiteral("fast%1").arg(speed);
    }
    void sendMoveStatusQuery(bool log) override
    {
        calls << QString::fromLatin1(log ? "Q*@%1" : "q@%1").arg(now);
    }
};

const QString kTimed = QStringLiteral("|spielt (keine Antwort auf Q: berechnete Fahrzeit)|");

} // namespace

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

    constexpr int kMin = std::numeric_limits<int>::min();
    constexpr int kMax = std::numeric_limits<int>::max();
    QTest::newRow("nothing moves") << QList<int>{} << 0;
    QTest::newRow("speed changed alone") << QList<int>{1500, 1500, 300} << 0;
    QTest::newRow("distance over speed") << QList<int>{1000, 2000, 500} << 2000;
    QTest::newRow("moving down") << QList<int>{2000, 1500, 250} << 2000;
    QTest::newRow("rounded up") << QList<int>{1000, 1001, 3} << 334;
    QTest::newRow("without a speed a fixed second") << QList<int>{1000, 2000, 0} << 1000;
    QTest::newRow("negative speed is none") << QList<int>{1000, 1010, -5} << 1000;
    QTest::newRow("slowest joint decides") << QList<int>{1000, 1100, 1000, 1500, 2500, 500, 1000, 1200, 0} << 2000;
    QTest::newRow("joint without speed the slowest") << QList<int>{1000, 1100, 1000, 1000, 1010, 0} << 1000;
    QTest::newRow("far beyond any servo") << QList<int>{kMin, kMax, 1} << kMax;
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

// Tokens: @<ms> sets the clock; play, pause, stop; arm (the arm tick passed);
// + . (reply bytes) and ver (the version reply); w (the clock jumps to the next
// wake-up and ticks, "sleeps" when none is due); joint, list, lost, close; loop, dwell=<ms>.
void TestPlayerCore::script_data()
{
    QTest::addColumn<int>("steps");
    QTest::addColumn<bool>("linkOpen");
    QTest::addColumn<QString>("events");
    QTest::addColumn<QString>("expected");

    const QString started = QStringLiteral("s1@0 fast500 |spielt| ");
    QTest::newRow("refused without link 1") << 3 << false << "@0 play" << "|Verbindung 1 ist nicht aufgebaut|";
    QTest::newRow("refused with an empty set") << 0 << true << "@0 play" << "|Der Verfahrsatz ist leer|";
    QTest::newRow("plays in order, asks every 100 ms, dwells, ends after the last step")
        << 2 << true << "@0 play @40 arm + w + w . w @790 arm . w"
        << started + "Q*@40 q@140 q@240 s2@740 Q*@790 |Ablauf beendet|";
    QTest::newRow("loop wraps to step 1 without the first-move speed")
        << 2 << true << "loop @0 play @10 arm . w @600 arm . w"
        << started + "Q*@10 s2@510 Q*@600 s0@1100 s1@1100";
    QTest::newRow("no dwell plays on at once") << 3 << true << "dwell=0 @0 play @10 arm ." << started + "Q*@10 s2@10";
    QTest::newRow("no answer: worked-out move time, said once, no more queries")
        << 3 << true << "@0 play @20 arm w w w w w w @1050 arm w w"
        << started + "Q*@20 q@120 q@220 q@320 q@420 " + kTimed + " s2@1020 s3@2550";
    QTest::newRow("pause holds after the move, play goes on with the next step")
        << 3 << true << "@0 play @10 arm pause + w . w @5000 play"
        << started + "Q*@10 |angehalten| q@110 sleeps s2@5000 |spielt|";
    QTest::newRow("pause while dwelling holds at once")
        << 3 << true << "@0 play @10 arm . pause w" << started + "Q*@10 |angehalten| sleeps";
    QTest::newRow("a joint moved by anyone else pauses")
        << 3 << true << "@0 play @10 arm joint" << started + "Q*@10 |angehalten|";
    QTest::newRow("stop ends at once, nothing more is sent")
        << 3 << true << "@0 play @10 arm stop w + arm" << started + "Q*@10 |gestoppt| sleeps";
    QTest::newRow("link lost stops") << 3 << true << "@0 play lost arm w"
                                     << started + "|Verbindung 1 wurde getrennt| sleeps";
    QTest::newRow("list changed stops") << 3 << true << "@0 play @10 arm list w"
                                        << started + "Q*@10 |Der Verfahrsatz wurde geändert| sleeps";
    QTest::newRow("window closed stops") << 3 << true << "@0 play close" << started + "|Das Fenster wurde geschlossen|";
    QTest::newRow("a new run after a stop moves safely again")
        << 3 << true << "@0 play stop @100 play" << started + "|gestoppt| s2@100 fast500 |spielt|";
    QTest::newRow("a reply still due to the previous step is not this step's")
        << 2 << true << "dwell=0 @0 play @10 arm w . @150 arm . w ."
        << started + "Q*@10 q@110 s2@110 Q*@150 q@250 |Ablauf beendet|";
    QTest::newRow("other text is no move status") << 3 << true << "@0 play @10 arm ver w" << started + "Q*@10 q@110";
}

void TestPlayerCore::script()
{
    QFETCH(int, steps);
    QFETCH(bool, linkOpen);
    QFETCH(QString, events);
    QFETCH(QString, expected);

    FakeConsole console;
    console.steps = steps;
    console.open = linkOpen;
    sequence::PlayerCore player(console);
    console.player = &player;
    std::string shown = player.stateText();
    for (const QString &event : events.split(u' ')) {
        Millis &now = console.now;
        if (event.startsWith(u'@'))
            now = event.mid(1).toLongLong();
        else if (event.startsWith(QLatin1String("dwell=")))
            QVERIFY(player.setDwellMs(event.mid(6).toInt()));
        else if (event == QLatin1String("w")) {
            if (const auto at = player.nextWakeAt())
                player.tick(now = *at);
            else
                console.calls << QStringLiteral("sleeps");
        } else {
            const std::map<QString, std::function<void()>> actions{
                {"play", [&] { player.play(); }}, {"pause", [&] { player.pause(); }},
                {"stop", [&] { player.stop(); }}, {"arm", [&] { player.armTickPassed(now); }},
                {"+", [&] { player.received("+", now); }}, {".", [&] { player.received(".", now); }},
                {"ver", [&] { player.received("SSC32-1.06XE\r", now); }},
                {"joint", [&] { player.jointChanged(); }}, {"list", [&] { player.listChanged(); }},
                {"lost", [&] { player.linkClosed(); }}, {"close", [&] { player.windowClosed(); }},
                {"loop", [&] { player.setLoop(true); }}};
            const auto action = actions.find(event);
            QVERIFY2(action != actions.end(), qPrintable(event));
            action->second();
        }
        if (player.stateText() != shown) {
            shown = player.stateText();
            console.calls << QLatin1Char('|') + QString::fromStdString(shown) + QLatin1Char('|');
        }
    }
    QCOMPARE(console.calls.join(u' '), expected);
}

QTEST_APPLESS_MAIN(TestPlayerCore)
#include "test_player_core.moc"
