// A connection over fake links, one made as a serial port and one as a socket:
// what it tells as requests come and the link goes, its send rule, what it logs
// of what arrives, how it waits to reconnect, and which links it makes.
#include "comm/connection.h"
#include "support/fake_link.h"

#include <QRegularExpression>
#include <QtTest>

Q_DECLARE_METATYPE(comm::Connection::Transport)

namespace {

using Transport = comm::Connection::Transport;

const char *const kStates[] = {"Idle", "Connecting", "Open", "Closing", "Waiting", "Reconnecting"};

// Tells what it is asked to wait for; the test says when it is due.
class FakeWatch final : public comm::ReconnectWatch {
public:
    explicit FakeWatch(QStringList &told) : told(told) {}
    void waitFor(std::chrono::milliseconds delay) override { told << QStringLiteral("wait %1 ms").arg(delay.count()); }
    void waitForDevice(const std::string &name) override { told << "wait for " + QString::fromStdString(name); }
    void cancel() override { told << "cancel"; }
    QStringList &told;
};

// A connection for link 1, whose links are fakes, and a trail of what it tells.
struct Rig {
    explicit Rig(Transport transport, bool refuses = false)
        : connection(
              {1, "VER\r", [](std::string_view text) { return text == "+"; }},
              [this, refuses](const comm::LinkSettings &settings) {
                  auto link =
                      std::make_unique<FakeLink>(std::holds_alternative<comm::SerialSettings>(settings), refuses);
                  made = link.get();
                  return link;
              },
              nullptr, std::make_unique<FakeWatch>(told))
    {
        using C = comm::Connection;
        connection.choose(transport);
        QObject::connect(&connection, &C::stateChanged, [this](C::State state) { told << kStates[int(state)]; });
        QObject::connect(&connection, &C::busyChanged, [this](bool busy) { told << (busy ? "busy" : "free"); });
        QObject::connect(&connection, &C::freed, [this] { told << "freed"; });
        QObject::connect(&connection, &C::opened, [this] { told << "opened"; });
        QObject::connect(&connection, &C::failed, [this] { told << "failed"; });
        QObject::connect(&connection, &C::lost, [this] { told << "lost"; });
        QObject::connect(&connection, &C::reconnected, [this] { told << "reconnected"; });
        // A line with its time shows it as [t].
        QObject::connect(&connection, &C::logged, [this](QString line) {
            told << "log " + line.replace(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d ")), "[t] ");
        });
        QObject::connect(&connection, &C::received,
                         [this](const std::string &text) { told << "got " + QString::fromStdString(text); });
        QObject::connect(&connection, &C::commandSent, [this](const std::string &line, bool taken) {
            told << "sent " + QString::fromStdString(line) + (taken ? " taken" : " kept");
        });
    }

    // Requests to the connection and what the link does, in order; "step:text" passes a text.
    void run(const QString &steps)
    {
        for (const QString &step : steps.split(' ', Qt::SkipEmptyParts)) {
            const QString name = step.section(':', 0, 0);
            const std::string text = step.section(':', 1).toStdString();
            if (name == "open")
                connection.open();
            else if (name == "close")
                connection.close();
            else if (name == "shutDown")
                connection.shutDown();
            else if (name == "auto" || name == "manual")
                connection.setAutoReconnect(name == "auto");
            else if (name == "due")
                emit connection.findChild<comm::ReconnectWatch *>()->due();
            else if (name == "refuse" || name == "accept")
                made->refuses = name == "refuse";
            else if (name == "command")
                connection.sendCommand(text);
            else if (name == "repeat")
                connection.repeatCommand(text);
            else if (name == "text")
                told << (connection.sendText(text) ? "text taken" : "text kept");
            else if (name == "answer")
                made->answer();
            else if (name == "fail")
                made->fail();
            else if (name == "hangUp")
                made->hangUp();
            else if (name == "lose")
                made->lose();
            else if (name == "read")
                emit made->received(text);
            else
                QFAIL(qPrintable(step));
        }
    }

    FakeLink *made = nullptr; // before the connection, which makes its first link
    QStringList told;         // and which tells from the start
    comm::Connection connection;
};

} // namespace

class TestConnection : public QObject {
    Q_OBJECT

private slots:
    void tellsWhatHappens_data()
    {
        QTest::addColumn<Transport>("transport");
        QTest::addColumn<bool>("refuses");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("told");
        QTest::addColumn<QString>("sent"); // what the last link made was given
        const Transport serial = Transport::Serial;
        const Transport tcp = Transport::Tcp;
        const QString serialUp = "Connecting, Open, opened, busy, ";
        const QString tcpUp = "Connecting, busy, Open, opened, ";
        QTest::newRow("serial opens and closes at once")
            << serial << false << "open close" << serialUp + "Closing, Idle, free, freed" << "";
        QTest::newRow("serial refused") << serial << true << "open" << "Connecting, failed, Idle, free, freed" << "";
        QTest::newRow("serial device lost") << serial << false << "open lose" << serialUp + "free, freed, lost, Idle"
                                            << "";
        QTest::newRow("serial shut down tells nobody") << serial << false << "open shutDown" << serialUp + "Idle"
                                                       << "";
        QTest::newRow("tcp probes, closes by request")
            << tcp << false << "open answer close hangUp" << tcpUp + "Closing, free, freed, Idle" << "VER\r";
        QTest::newRow("tcp refused") << tcp << false << "open fail" << "Connecting, busy, free, freed, failed, Idle"
                                     << "";
        QTest::newRow("tcp given up while connecting") << tcp << false << "open close"
                                                       << "Connecting, busy, Idle, free, freed" << "";
        QTest::newRow("tcp closed by the far end") << tcp << false << "open answer hangUp"
                                                   << tcpUp + "Idle, free, freed" << "VER\r";
        QTest::newRow("tcp attempt dropped at closing time") << tcp << false << "open shutDown"
                                                             << "Connecting, busy, Idle" << "";
        QTest::newRow("tcp asked twice to close") << tcp << false << "open answer close close hangUp"
                                                  << tcpUp + "Closing, free, freed, free, freed, Idle" << "VER\r";
        QTest::newRow("command on an open link") << serial << false << "open command:K1"
                                                 << serialUp + "log K1<cr>, sent K1\r taken" << "K1\r";
        QTest::newRow("command with the link down") << serial << false << "command:K1" << "log K1<cr>, sent K1\r kept"
                                                    << "";
        QTest::newRow("repeated query, not logged") << serial << false << "open repeat:Q"
                                                    << serialUp + "sent Q\r taken" << "Q\r";
        QTest::newRow("typed text as it stands") << serial << false << "open text:VER" << serialUp + "text taken"
                                                 << "VER";
        QTest::newRow("socket reads counted and logged, but not the replies kept out")
            << tcp << false << "open answer read:abc read:+ read:x"
            << tcpUp + "log 1 Client 1: Daten empfangen, log abc, got abc, got +, "
                       "log 3 Client 1: Daten empfangen, log x, got x"
            << "VER\r";
        const QString lost = "free, freed, log [t] Verbindung 1 unterbrochen; sie wird automatisch wiederhergestellt, "
                             "Waiting, ";
        const QString back = "Reconnecting, Open, log [t] Verbindung 1 wiederhergestellt, busy, reconnected, opened";
        QTest::newRow("serial lost, back once its device is")
            << serial << false << "auto open lose refuse due accept due command:K1"
            << serialUp + lost + "wait for COM1, Reconnecting, Waiting, wait for COM1, " + back
                   + ", log K1<cr>, sent K1\r taken"
            << "K1\r";
        QTest::newRow("tcp closed by the far end, tried again after 1, 2, 4, 8, 10, 10 s")
            << tcp << false << "auto open answer hangUp due fail due fail due fail due fail due fail due answer"
            << tcpUp + lost + "wait 1000 ms, Reconnecting, Waiting, wait 2000 ms, Reconnecting, Waiting, wait 4000 ms, "
                   "Reconnecting, Waiting, wait 8000 ms, Reconnecting, Waiting, wait 10000 ms, Reconnecting, "
                   "Waiting, wait 10000 ms, " + back
            << "VER\rVER\r";
        QTest::newRow("tcp error on an open link waits too") << tcp << false << "auto open answer fail"
                                                             << tcpUp + lost + "wait 1000 ms" << "VER\r";
        QTest::newRow("waiting ended by a close")
            << tcp << false << "auto open answer hangUp close"
            << tcpUp + lost + "wait 1000 ms, cancel, Idle, log [t] Verbindung 1: Warten auf die Wiederherstellung "
                              "beendet, free, freed"
            << "VER\r";
        QTest::newRow("reconnecting switched off: an open link stays, a wait ends")
            << serial << false << "auto open manual auto lose manual"
            << serialUp + lost + "wait for COM1, cancel, Idle, log [t] Verbindung 1: Warten auf die "
                                 "Wiederherstellung beendet, free, freed"
            << "";
        QTest::newRow("waiting dropped at closing time") << serial << false << "auto open lose shutDown"
                                                         << serialUp + lost + "wait for COM1, cancel, Idle" << "";
        QTest::newRow("serial blocks not logged") << serial << false << "open read:abc" << serialUp + "got abc" << "";
    }

    void tellsWhatHappens()
    {
        QFETCH(Transport, transport);
        QFETCH(bool, refuses);
        QFETCH(QString, steps);
        QFETCH(QString, told);
        QFETCH(QString, sent);
        Rig rig(transport, refuses);
        rig.run(steps);
        QCOMPARE(rig.told.join(", "), told);
        QCOMPARE(QString::fromStdString(rig.made->sent), sent);
    }

    // The same settings keep the link; others make a new one, once the old one is idle.
    void linkIsMadeAnewForOtherSettings()
    {
        Rig rig(Transport::Tcp);
        FakeLink *first = rig.made;
        rig.run("open answer close hangUp open answer");
        QCOMPARE(rig.made, first);
        rig.connection.setTcpSettings({QStringLiteral("wiport"), 10001});
        rig.run("close hangUp");
        QCOMPARE(rig.made, first);
        rig.run("open");
        QVERIFY(rig.made != first);
    }
};

QTEST_APPLESS_MAIN(TestConnection)
#include "test_connection.moc"
