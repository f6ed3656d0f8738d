// The programming interface's server on real loopback sockets against a fake
// console, and its set-up window on the server: the limits that protect the
// console, the token beyond loopback, and what the window keeps and shows.
#include "remote/remote_setup_window.h"
#include "remote/server.h"
#include "settings/program_location.h"
#include "support/fake_console.h"
#include "support/file_bytes.h"
#include "support/program_dir_fixture.h"
#include "support/remote_program.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTcpServer>
#include <QtTest>
#include <memory>

using remote::Json;

class TestRemoteServer : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void aBadLineIsAnsweredALongLineCloses();
    void atMostEightPrograms();
    void strangersAreClosedBeyondLoopback();
    void aProgramThatDoesNotReadLosesEventsAndIsToldSo();
    void theWindowKeepsItsChoicesAndShowsThePrograms();

private:
    void listen(bool allNetworks);

    std::unique_ptr<FakeConsole> console;
    std::unique_ptr<remote::Server> server;
};

void TestRemoteServer::init()
{
    console = std::make_unique<FakeConsole>();
    server = std::make_unique<remote::Server>(*console);
}

void TestRemoteServer::cleanup()
{
    server.reset();
    console.reset();
}

// Port 0: a free one; the programs still connect to loopback only.
void TestRemoteServer::listen(bool allNetworks)
{
    server->configure({true, 0, allNetworks, "geheim"});
    QVERIFY2(server->isListening(), qPrintable(server->stateText()));
}

void TestRemoteServer::aBadLineIsAnsweredALongLineCloses()
{
    listen(false);
    RemoteProgram program(server->port());
    QCOMPARE(program.field(program.next(), "token_required"), "false");
    program.send("kein JSON");
    QCOMPARE(program.field(program.next(), "error"), "\"bad_json\"");
    program.send(R"({"id":1,"request":"arm.park"})");
    QCOMPARE(program.field(program.next(), "ok"), "true");
    program.send(QByteArray(remote::Server::kMaxLineBytes + 1, 'x'));
    QCOMPARE(program.field(program.next(), "error"), "\"line_too_long\"");
    QVERIFY(program.closed());
}

void TestRemoteServer::atMostEightPrograms()
{
    listen(false);
    std::vector<std::unique_ptr<RemoteProgram>> programs;
    for (int i = 0; i < remote::Server::kMaxClients; ++i) {
        programs.push_back(std::make_unique<RemoteProgram>(server->port()));
        QCOMPARE(programs.back()->field(programs.back()->next(), "hello"), "\"velmora\"");
    }
    RemoteProgram ninth(server->port());
    QCOMPARE(ninth.field(ninth.next(), "error"), "\"too_many_clients\"");
    QVERIFY(ninth.closed());
    QCOMPARE(int(server->clients().size()), remote::Server::kMaxClients);
}

void TestRemoteServer::strangersAreClosedBeyondLoopback()
{
    listen(true);
    RemoteProgram stranger(server->port());
    QCOMPARE(stranger.field(stranger.next(), "token_required"), "true");
    stranger.send(R"({"id":1,"request":"chassis.stop"})");
    QCOMPARE(stranger.field(stranger.next(), "error"), "\"unauthorized\"");
    QVERIFY(stranger.closed());
    RemoteProgram known(server->port());
    known.next();
    known.send(R"({"id":1,"request":"auth","token":"geheim"})");
    QCOMPARE(known.field(known.next(), "ok"), "true");
    QVERIFY(console->calls.empty());
    // A new token: whoever showed the old one goes.
    server->configure({true, server->config().port, true, "neu"});
    QVERIFY(known.closed());
}

// The events are published in one go, without the event loop running in
// between, as a burst would come: the socket cannot send them meanwhile.
void TestRemoteServer::aProgramThatDoesNotReadLosesEventsAndIsToldSo()
{
    listen(false);
    RemoteProgram program(server->port());
    program.next();
    program.send(R"({"id":1,"request":"subscribe","events":["joint"]})");
    program.next();
    constexpr int kEvents = 20000;
    for (int i = 0; i < kEvents; ++i)
        console->listener()->published(remote::Topic::Joint, {{"joint", Json::Object{{"pulse", i}}}});
    int received = 0;
    int dropped = 0;
    while (received + dropped < kEvents) {
        const Json line = program.next();
        if (line.isNull())
            break;
        if (program.field(line, "event") == "\"dropped\"")
            dropped += program.field(line, "count").toInt();
        else
            ++received;
    }
    QVERIFY2(dropped > 0 && received > 0, qPrintable(QStringLiteral("%1 / %2").arg(received).arg(dropped)));
    QCOMPARE(received + dropped, kEvents);
}

void TestRemoteServer::theWindowKeepsItsChoicesAndShowsThePrograms()
{
    QTcpServer taken;
    QVERIFY(taken.listen(QHostAddress::LocalHost));
    const quint16 port = taken.serverPort();
    ProgramDirFixture dir;
    QVERIFY(writeBytes(dir.filePath("RFS/velmora.ini"), "[remote]\nenabled=true\nport=1\n"));
    const auto files = settings::ProgramLocation::ofProgramDirectory(dir.path());
    remote::RemoteSetupWindow window(*server, files);
    auto *stateLine = window.findChild<QLabel *>("remoteStateLine");
    const QString token = window.findChild<QLineEdit *>("tokenEdit")->text();
    QVERIFY(token.size() >= 32);
    // Port 1 needs rights a test does not have; a port in use is said as such.
    window.findChild<QSpinBox *>("remotePort")->setValue(port);
    QCOMPARE(stateLine->text(), QStringLiteral("Port %1 ist belegt: die Fernsteuerung ist aus").arg(port));
    taken.close();
    window.findChild<QRadioButton *>("allNetworks")->setChecked(true);
    QVERIFY2(server->isListening(), qPrintable(stateLine->text()));

    RemoteProgram program(server->port());
    program.next();
    program.send(("{\"id\":1,\"request\":\"auth\",\"token\":\"" + token + "\",\"client\":\"pick.py\"}").toUtf8());
    QCOMPARE(program.field(program.next(), "ok"), "true");
    auto *list = window.findChild<QListWidget *>("clientList");
    QTRY_VERIFY(list->count() == 1 && list->item(0)->text().endsWith(QStringLiteral(" – pick.py")));
    QTest::mouseClick(window.findChild<QPushButton *>("disconnectClient"), Qt::LeftButton);
    QVERIFY(program.closed());
    QTRY_COMPARE(list->count(), 0);

    window.findChild<QCheckBox *>("remoteEnabled")->setChecked(false);
    QCOMPARE(stateLine->text(), QStringLiteral("Aus"));
    const settings::ExtensionSettings stored(files);
    QCOMPARE(stored.text("remote/token"), token);
    QCOMPARE(stored.number("remote/port", 0, 0, 65535), double(port));
    QCOMPARE(stored.flag("remote/all_networks", false), true);
    QCOMPARE(stored.flag("remote/enabled", true), false);
}

QTEST_MAIN(TestRemoteServer)
#include "test_remote_server.moc"
