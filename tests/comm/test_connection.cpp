// A connection over fake links, one made as a serial port and one as a socket:
// its states and what it tells as the link goes, which links it makes, the link
// send rule, and what it logs of what arrives.
#include "comm/connection.h"
#include "support/fake_link.h"

#include <QtTest>

Q_DECLARE_METATYPE(comm::Connection::Transport)

namespace {

using Transport = comm::Connection::Transport;

const char *const kStates[] = {"Idle", "Connecting", "Open", "Closing"};

// A connection for link 1, whose links are fakes, and a trail of what it tells.
struct Rig {
    explicit Rig(Transport transport, bool refuses = false)
        : connection({1, "VER\r", [](std::string_view text) { return text == "+"; }},
                     [this, refuses](const comm::LinkSettings &settings) {
                         auto link = std::make_unique<FakeLink>(
                             std::holds_alternative<comm::SerialSettings>(settings), refuses);
                         made = link.get();
                         return link;
                     })
    {
        connection.choose(transport);
        QObject::connect(&connection, &comm::Connection::stateChanged,
                         [this](comm::Connection::State state) { told << kStates[static_cast<int>(state)]; });
        QObject::connect(&connection, &comm::Connection::busyChanged,
                         [this](bool busy) { told << (busy ? "busy" : "free"); });
        QObject::connect(&connection, &comm::Connection::freed, [this] { told << "freed"; });
        QObject::connect(&connection, &comm::Connection::opened, [this] { told << "opened"; });
        QObject::connect(&connection, &comm::Connection::failed, [this] { told << "failed"; });
        QObject::connect(&connection, &comm::Connection::lost, [this] { told << "lost"; });
        QObject::connect(&connection, &comm::Connection::logged, [this](const QString &line) { logged << line; });
        QObject::connect(&connection, &comm::Connection::commandSent, [this](const std::string &line, bool taken) {
            sentTold << QString::fromStdString(line) + (taken ? " taken" : " kept");
        });
    }

    // Requests to the connection and what the link does, in order.
    void run(const QString &steps)
    {
        for (const QString &step : steps.split(' ', Qt::SkipEmptyParts)) {
            if (step == "open")
                connection.open();
            else if (step == "close")
                connection.close();
            else if (step == "shutDown")
                connection.shutDown();
            else if (step == "answer")
                made->answer();
            else if (step == "fail")
                made->fail();
            else if (step == "hangUp")
                made->hangUp();
            else if (step == "lose")
                made->lose();
            else
                QFAIL(qPrintable(step));
        }
    }

    FakeLink *made = nullptr; // before the connection, which makes its first link
    comm::Connection connection;
    QStringList told;
    QStringList logged;
    QStringList sentTold;
};

} // namespace

class TestConnection : public QObject {
    Q_OBJECT

private slots:
    void statesFollowRequestsAndTheLink_data()
    {
        QTest::addColumn<Transport>("transport");
        QTest::addColumn<bool>("refuses");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("told");
        QTest::addColumn<QString>("sent");
        const Transport serial = Transport::Serial;
        const Transport tcp = Transport::Tcp;
        QTest::newRow("serial opens and closes at once")
            << serial << false << "open close" << "Connecting Open opened busy Closing Idle free freed" << "";
        QTest::newRow("serial refused") << serial << true << "open" << "Connecting failed Idle free freed" << "";
        QTest::newRow("serial device lost")
            << serial << false << "open lose" << "Connecting Open opened busy free freed lost Idle" << "";
        QTest::newRow("serial shut down tells nobody")
            << serial << false << "open shutDown" << "Connecting Open opened busy Idle" << "";
        QTest::newRow("tcp probes and closes by request")
            << tcp << false << "open answer close hangUp"
            << "Connecting busy Open opened Closing free freed Idle" << "VER\r";
        QTest::newRow("tcp refused") << tcp << false << "open fail" << "Connecting busy free freed failed Idle" << "";
        QTest::newRow("tcp given up while connecting")
            << tcp << false << "open close" << "Connecting busy Idle free freed" << "";
        QTest::newRow("tcp closed by the far end")
            << tcp << false << "open answer hangUp" << "Connecting busy Open opened Idle free freed" << "VER\r";
        QTest::newRow("tcp attempt dropped at closing time")
            << tcp << false << "open shutDown" << "Connecting busy Idle" << "";
        QTest::newRow("tcp asked twice to close")
            << tcp << false << "open answer close close hangUp"
            << "Connecting busy Open opened Closing free freed free freed Idle" << "VER\r";
    }

    void statesFollowRequestsAndTheLink()
    {
        QFETCH(Transport, transport);
        QFETCH(bool, refuses);
        QFETCH(QString, steps);
        QFETCH(QString, told);
        QFETCH(QString, sent);
        Rig rig(transport, refuses);
        rig.run(steps);
        QCOMPARE(rig.told.join(' '), told);
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

    void sendRule_data()
    {
        QTest::addColumn<bool>("open");
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("logged");
        QTest::addColumn<QStringList>("sentTold");
        QTest::addColumn<QString>("sent");
        QTest::newRow("command on an open link")
            << true << "command" << "K1" << QStringList{"K1<cr>"} << QStringList{"K1\r taken"} << "K1\r";
        QTest::newRow("command with the link down")
            << false << "command" << "K1" << QStringList{"K1<cr>"} << QStringList{"K1\r kept"} << "";
        QTest::newRow("repeated query") << true << "repeat" << "Q" << QStringList{} << QStringList{"Q\r taken"}
                                        << "Q\r";
        QTest::newRow("typed text") << true << "text" << "VER\r" << QStringList{} << QStringList{} << "VER\r";
    }

    void sendRule()
    {
        QFETCH(bool, open);
        QFETCH(QString, call);
        QFETCH(QString, text);
        QFETCH(QStringList, logged);
        QFETCH(QStringList, sentTold);
        QFETCH(QString, sent);
        Rig rig(Transport::Serial);
        if (open)
            rig.run("open");
        if (call == "command")
            rig.connection.sendCommand(text.toStdString());
        else if (call == "repeat")
            rig.connection.repeatCommand(text.toStdString());
        else
            QCOMPARE(rig.connection.sendText(text.toStdString()), open);
        QCOMPARE(rig.logged, logged);
        QCOMPARE(rig.sentTold, sentTold);
        QCOMPARE(QString::fromStdString(rig.made->sent), sent);
    }

    void socketReadsAreCountedAndLogged_data()
    {
        QTest::addColumn<Transport>("transport");
        QTest::addColumn<QStringList>("reads");
        QTest::addColumn<QStringList>("logged");
        QTest::newRow("tcp reads") << Transport::Tcp << QStringList{"abc", "def"}
                                   << QStringList{"1 Client 1: Daten empfangen", "abc", "2 Client 1: Daten empfangen",
                                                  "def"};
        QTest::newRow("replies kept out of the memo still count")
            << Transport::Tcp << QStringList{"+", "x"} << QStringList{"2 Client 1: Daten empfangen", "x"};
        QTest::newRow("serial blocks") << Transport::Serial << QStringList{"abc"} << QStringList{};
    }

    void socketReadsAreCountedAndLogged()
    {
        QFETCH(Transport, transport);
        QFETCH(QStringList, reads);
        QFETCH(QStringList, logged);
        Rig rig(transport);
        rig.run(transport == Transport::Tcp ? "open answer" : "open");
        QString received;
        QObject::connect(&rig.connection, &comm::Connection::received,
                         [&](const std::string &text) { received += QString::fromStdString(text); });
        for (const QString &read : reads)
            emit rig.made->received(read.toStdString());
        QCOMPARE(rig.logged, logged);
        QCOMPARE(received, reads.join(QString()));
    }
};

QTEST_APPLESS_MAIN(TestConnection)
#include "test_connection.moc"
