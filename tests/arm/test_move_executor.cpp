#include "arm/arm.h"
#include "arm/move_executor.h"
#include "arm/servo_timer.h"
#include "comm/command_sender.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

class RecordingLink : public comm::CommandSender {
public:
    void sendCommand(const std::string &command) override { sent << QString::fromStdString(command); }
    QStringList sent;
};

arm::CommandPulses basisAt(int pulse) { return {pulse, 1500, 1500, 1500, 1500}; }

} // namespace

class TestMoveExecutor : public QObject {
    Q_OBJECT

private slots:
    void schedule_data();
    void schedule();
    void moves_data();
    void moves();
};

// Pieces of the Basis alone (pulse/ms); the script: "t<ms>" takes what is due
// ("<pulse>T<ms>" or "-"), "r<ms>" where the Basis is then, "f<ms>:<pulse>/<ms>"
// follows on with a new piece, "w<ms>" the next wake-up ("-" for none), "a" when
// the last piece arrives.
void TestMoveExecutor::schedule_data()
{
    QTest::addColumn<QString>("pieces");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("results");
    QTest::newRow("on time") << "1600/100 1700/100" << "t0 t50 w50 t100 w150 w200" << "1600T100 - 100 1700T100 200 -";
    QTest::newRow("a late timer keeps the arrival") << "1600/100 1700/100" << "a t0 t130 a" << "200 1600T100 1700T70 200";
    QTest::newRow("very late: at once") << "1600/100 1700/100" << "t0 t260 a" << "1600T100 1700T1 261";
    QTest::newRow("where the joints are on the way") << "1600/100" << "r0 t0 r50 r99 r150" << "1500 1600T100 1550 1599 1600";
    QTest::newRow("following on after the piece under way")
        << "1600/100 1700/100" << "t0 f40:1550/50 a t40 t100 r125" << "1600T100 150 - 1550T50 1575";
}

void TestMoveExecutor::schedule()
{
    QFETCH(QString, pieces);
    QFETCH(QString, script);
    const auto piecesOf = [](const QString &text) {
        std::vector<arm::MovePiece> list;
        for (const QString &piece : text.split(QLatin1Char(' ')))
            list.push_back({basisAt(piece.section('/', 0, 0).toInt()), piece.section('/', 1).toInt()});
        return list;
    };
    arm::PieceSchedule schedule;
    schedule.begin(piecesOf(pieces), basisAt(1500), 0);
    QStringList results;
    for (const QString &step : script.split(QLatin1Char(' '))) {
        const arm::Millis at = step.mid(1).section(':', 0, 0).toLongLong();
        if (step[0] == 't') {
            const auto piece = schedule.take(at);
            results << (piece ? QStringLiteral("%1T%2").arg(piece->pulses[0]).arg(piece->timeMs) : "-");
        } else if (step[0] == 'r') {
            results << QString::number(schedule.reachedAt(at)[0]);
        } else if (step[0] == 'a') {
            results << QString::number(schedule.lastArrival());
        } else if (step[0] == 'w') {
            const auto wake = schedule.nextWakeAt(at);
            results << (wake ? QString::number(*wake) : "-");
        } else {
            schedule.follow(piecesOf(step.section(':', 1)), at);
        }
    }
    QTEST(results.join(QLatin1Char(' ')), "results");
}

// A script of steps separated by ";": "move dx dz speed" (from the centre
// pose), "jog <axis> step speed", "steer vx" (mm/s), "stop", "slider j pulse",
// "speed j value", "limits j min max", "link off", "player", "profile", "wait
// <signal>". What the executor told, and how many commands went out.
void TestMoveExecutor::moves_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("told");
    QTest::addColumn<int>("commands");
    QTest::newRow("arrives") << "move 10 0 200; wait finished" << "started | finished" << 2;
    QTest::newRow("a jog step arrives") << "jog z 5 100; wait finished" << "started | finished" << 1;
    QTest::newRow("nothing to do") << "move 0 0 50" << "started | finished" << 0;
    QTest::newRow("a slider wins") << "move 10 0 5; slider 0 1600"
                                   << "started | stopped:Basis wurde anderweitig verstellt" << 1;
    QTest::newRow("a speed chosen wins") << "move 10 0 5; speed 2 300"
                                         << "started | stopped:Ellenbogen wurde anderweitig verstellt" << 1;
    QTest::newRow("Stopp sends where the arm is") << "move 10 0 1; stop" << "started | stopped:Stopp" << 2;
    QTest::newRow("link 1 gone: nothing more sent") << "move 10 0 5; link off"
                                                    << "started | stopped:Verbindung 1 (Greifarm) getrennt" << 1;
    QTest::newRow("a new profile stops") << "move 10 0 5; profile" << "started | stopped:Profil geändert" << 2;
    QTest::newRow("a new move takes over") << "move 10 0 5; move -10 0 5"
                                           << "started | stopped:von einer neuen Bewegung abgelöst | started" << 2;
    QTest::newRow("a held jog finishes at rest") << "steer 50; steer 0" << "started | finished" << 2;
    QTest::newRow("a held jog stops at the edge of reach")
        << "steer 200; wait stopped" << "started | stopped:Ellenbogen: Grenze überschritten" << -1;
    QTest::newRow("refused while the player plays") << "player; move 10 0 50" << "refused:Der Ablauf spielt" << 0;
    QTest::newRow("refused without link 1")
        << "link off; steer 50" << "refused:Verbindung 1 (Greifarm) ist nicht verbunden" << 0;
    QTest::newRow("refused out of reach") << "limits 2 500 2500; move 200 0 50" << "refused:Ziel außerhalb der Reichweite" << 0;
    QTest::newRow("refused below the table") << "move 0 -220 50" << "refused:Ziel unter der Tischebene" << 0;
    QTest::newRow("refused over a limit on the way")
        << "limits 2 1400 1600; move 0 -100 50" << "refused:Ellenbogen: Grenze überschritten" << 0;
}

void TestMoveExecutor::moves()
{
    QFETCH(QString, script);
    RecordingLink link;
    arm::Arm arm;
    arm::ServoTimer armTimer(arm, link, nullptr);
    arm::MoveExecutor executor(arm, armTimer);
    executor.setLinkOpen(true);
    QStringList told;
    connect(&executor, &arm::MoveExecutor::started, this, [&] { told << "started"; });
    connect(&executor, &arm::MoveExecutor::finished, this, [&] { told << "finished"; });
    connect(&executor, &arm::MoveExecutor::stopped, this, [&](const platform::UiText &why) { told << QString::fromStdString("stopped:" + why.german()); });
    connect(&executor, &arm::MoveExecutor::refused, this, [&](const platform::UiText &why) { told << QString::fromStdString("refused:" + why.german()); });
    armTimer.ServoTimer1Timer(); // the joints' first fragments are out of the way
    link.sent.clear();
    const arm::Pose centre = executor.commandedPose();

    for (const QString &step : script.split(QLatin1Char(';'))) {
        const QStringList w = step.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const auto n = [&](int i) { return w[i].toDouble(); };
        if (w[0] == "move")
            executor.moveTo({{centre.tip.x + n(1), 0, centre.tip.z + n(2)}, 0, 15}, n(3));
        else if (w[0] == "jog")
            executor.jog(arm::JogAxis::Z, n(2), n(3));
        else if (w[0] == "steer")
            executor.steer({n(1)});
        else if (w[0] == "stop")
            executor.stop(platform::UiText::verbatim("Stopp"));
        else if (w[0] == "slider")
            arm.setPosition(w[1].toInt(), w[2].toInt());
        else if (w[0] == "speed")
            arm.setSpeed(w[1].toInt(), w[2].toInt());
        else if (w[0] == "limits")
            arm.setLimit(w[1].toInt(), w[2].toInt(), w[3].toInt());
        else if (w[0] == "link")
            executor.setLinkOpen(false);
        else if (w[0] == "player")
            executor.setPlayerCheck([] { return true; });
        else if (w[0] == "profile")
            executor.setProfile(arm::ArmProfile{});
        else if (w[0] == "wait")
            QTRY_VERIFY2_WITH_TIMEOUT(told.join(' ').contains(w[1]), qPrintable(told.join(" | ")), 5000);
    }
    QTEST(told.join(QStringLiteral(" | ")), "told");
    QFETCH(int, commands);
    if (commands >= 0)
        QCOMPARE(link.sent.size(), commands);
    for (const QString &command : link.sent)
        QVERIFY2(QRegularExpression(QStringLiteral("^(#\\d+P\\d+)+T\\d+$")).match(command).hasMatch(),
                 qPrintable(command));
    if (told.last().startsWith(QLatin1String("refused")))
        QCOMPARE(executor.commandedPulses(), (arm::CommandPulses{1500, 1500, 1500, 1500, 1500}));
    QCOMPARE(executor.isMoving(), told.last() == QLatin1String("started"));
}

QTEST_GUILESS_MAIN(TestMoveExecutor)
#include "test_move_executor.moc"
