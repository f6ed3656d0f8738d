// The programming interface's protocol without sockets: each row plays a short
// session against a fake console and a made-up clock, and compares the whole
// transcript (replies, events to one client, the console's calls).
#include "remote/dispatcher.h"
#include "support/fake_console.h"

#include <QtTest>

using remote::Json;

namespace {

// Everything the clients and the console saw, one line each, in order.
class Transcript final : public remote::Outbox {
public:
    explicit Transcript(const FakeConsole &console) : console(console) {}

    QStringList lines;

    void takeCalls()
    {
        for (; seenCalls < console.calls.size(); ++seenCalls)
            lines << QString::fromStdString(console.calls[seenCalls]);
    }
    void toClient(remote::ClientId client, const Json &event) override
    {
        takeCalls();
        lines << QStringLiteral("%1! %2").arg(client).arg(QString::fromStdString(remote::formatJson(event)));
    }
    void toSubscribers(remote::Topic topic, const Json &event) override
    {
        takeCalls();
        lines << QStringLiteral("%1* %2").arg(remote::kTopicNames[int(topic)],
                                              QString::fromStdString(remote::formatJson(event)));
    }
    bool anySubscribed(remote::Topic) const override { return true; }
    void driverChanged() override
    {
        takeCalls();
        lines << QStringLiteral("driver changed");
    }

private:
    const FakeConsole &console;
    std::size_t seenCalls = 0;
};

} // namespace

class TestDispatcher : public QObject {
    Q_OBJECT

private slots:
    void json_data();
    void json();
    void sessions_data();
    void sessions();
};

void TestDispatcher::json_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("result"); // as formatted again, or "error: ..."

    QTest::newRow("nested, order kept") << QByteArray(R"( {"b":[1,2.5,-0.25e1,true,null],"a":{"x":"y"}} )")
                                        << R"({"b":[1,2.5,-2.5,true,null],"a":{"x":"y"}})";
    QTest::newRow("escapes and surrogates") << QByteArray(R"(["\u00e4\ud83e\udd16\n\"\\\/\t"])")
                                            << "[\"ä🤖\\n\\\"\\\\/\\t\"]";
    QTest::newRow("raw UTF-8") << QByteArray("\"Größe\"") << "\"Größe\"";
    QTest::newRow("large whole number") << QByteArray("[123456789012,1e3,-0]") << "[123456789012,1000,0]";
    QTest::newRow("control character") << QByteArray("\"a\x01\"") << "error: Steuerzeichen im Text (Byte 2)";
    QTest::newRow("invalid UTF-8") << QByteArray("\"\xc3\x28\"") << "error: Kein gültiges UTF-8 (Byte 1)";
    QTest::newRow("overlong UTF-8") << QByteArray("\"\xc0\xaf\"") << "error: Kein gültiges UTF-8 (Byte 1)";
    QTest::newRow("encoded surrogate") << QByteArray("\"\xed\xa0\x80\"") << "error: Kein gültiges UTF-8 (Byte 1)";
    QTest::newRow("lone surrogate escape") << QByteArray(R"("\udc00")")
                                           << "error: Unvollständiges Surrogatpaar (Byte 7)";
    QTest::newRow("duplicate key") << QByteArray(R"({"a":1,"a":2})") << "error: Doppelter Name \"a\" (Byte 10)";
    QTest::newRow("leading zero") << QByteArray("01") << "error: Unerwartete Zeichen nach dem Wert (Byte 1)";
    QTest::newRow("number too large") << QByteArray("1e400") << "error: Zahl außerhalb des Bereichs (Byte 0)";
    QTest::newRow("trailing comma") << QByteArray("[1,]") << "error: Wert erwartet (Byte 3)";
    QTest::newRow("cut short") << QByteArray(R"({"a":)") << "error: Unerwartetes Ende (Byte 5)";
    QTest::newRow("nested too deep") << QByteArray(33, '[') << "error: Zu tief verschachtelt (Byte 32)";
}

void TestDispatcher::json()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, result);
    const remote::JsonParse parsed = remote::parseJson(text.toStdString());
    QCOMPARE(parsed.value ? QString::fromStdString(remote::formatJson(*parsed.value))
                          : "error: " + QString::fromStdString(parsed.error),
             result);
}

void TestDispatcher::sessions_data()
{
    // Steps: "1> line" client 1 (or 2) sends; "+ms" the clock moves on and the
    // lease is checked; "refuse text" the console refuses the next request;
    // "operator" / "link gone" the console takes the drive away; "gone 1" the
    // client leaves; "tip ended [why]" the console's tip move ends; "token" the
    // clients must show the token "geheim".
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("transcript");

    QTest::newRow("state") << R"(1> {"id":1,"request":"state"})"
                           << R"(1< {"id":1,"ok":true,"state":{"t_ms":1000,"arm":"fake"}})";
    QTest::newRow("bad JSON, the client stays") << "1> {\"id\":1,\n1> {\"id\":2,\"request\":\"arm.park\"}"
                                                << "1< {\"id\":null,\"ok\":false,\"error\":\"bad_json\","
                                                   "\"message\":\"Ungültiges JSON: Name in Anführungszeichen erwartet (Byte 8)\"}\n"
                                                   "park\n1< {\"id\":2,\"ok\":true}";
    QTest::newRow("not an object") << "1> [1]"
                                   << R"(1< {"id":null,"ok":false,"error":"bad_json","message":"Eine Anfrage ist ein JSON-Objekt"})";
    QTest::newRow("id missing") << R"(1> {"request":"state"})"
                                << R"(1< {"id":null,"ok":false,"error":"bad_request","message":"Feld \"id\" fehlt"})";
    QTest::newRow("id of a wrong type")
        << R"(1> {"id":1.5,"request":"state"})"
        << R"(1< {"id":null,"ok":false,"error":"bad_request","message":"Feld \"id\" muss eine ganze Zahl oder Text sein"})";
    QTest::newRow("text id, request missing") << R"(1> {"id":"a"})"
                                              << R"(1< {"id":"a","ok":false,"error":"bad_request","message":"Feld \"request\" fehlt"})";
    QTest::newRow("unknown request") << R"(1> {"id":3,"request":"arm.dance"})"
                                     << R"(1< {"id":3,"ok":false,"error":"unknown_request","message":"Unbekannte Anfrage \"arm.dance\""})";
    QTest::newRow("unknown field") << R"(1> {"id":4,"request":"arm.park","force":true})"
                                   << R"(1< {"id":4,"ok":false,"error":"bad_request","message":"Unbekanntes Feld \"force\""})";
    QTest::newRow("wrong type") << R"(1> {"id":5,"request":"chassis.drive","direction":"forward","speed":"fast"})"
                                << R"(1< {"id":5,"ok":false,"error":"bad_request","message":"Feld \"speed\" muss Zahl sein, nicht Text"})";
    QTest::newRow("out of range") << R"(1> {"id":5,"request":"chassis.drive","direction":"forward","speed":300})"
                                  << R"(1< {"id":5,"ok":false,"error":"bad_request","message":"Feld \"speed\" muss zwischen 0 und 255 liegen"})";
    QTest::newRow("unknown direction")
        << R"(1> {"id":5,"request":"chassis.drive","direction":"up","speed":3})"
        << R"(1< {"id":5,"ok":false,"error":"bad_request","message":"Feld \"direction\" muss forward, backward, left, right oder stop sein"})";
    QTest::newRow("joints by index and by name")
        << R"(1> {"id":6,"request":"arm.joints","joints":[{"joint":1,"pulse":1600,"speed":300},{"joint":"greifer","angle":20}]})"
        << "joints 1p1600s300 4a20\n" R"(1< {"id":6,"ok":true,"move_ms":100})";
    QTest::newRow("joint named twice")
        << R"(1> {"id":7,"request":"arm.joints","joints":[{"joint":1,"pulse":1600},{"joint":"Schulter","pulse":1700}]})"
        << R"(1< {"id":7,"ok":false,"error":"bad_request","message":"Gelenk Schulter ist doppelt genannt"})";
    QTest::newRow("pulse and angle")
        << R"(1> {"id":8,"request":"arm.joints","joints":[{"joint":0,"pulse":1600,"angle":3}]})"
        << R"(1< {"id":8,"ok":false,"error":"bad_request","message":"Gelenk 0: entweder \"pulse\" oder \"angle\" angeben"})";
    QTest::newRow("no such joint")
        << R"(1> {"id":9,"request":"arm.joints","joints":[{"joint":5,"pulse":1600}]})"
        << R"x(1< {"id":9,"ok":false,"error":"bad_request","message":"Gelenk 5 gibt es nicht (0 bis 4 oder Basis, Schulter, Ellenbogen, Handgelenk, Greifer)"})x";
    QTest::newRow("the console's refusal")
        << "refuse Verbindung 1 ist nicht aufgebaut\n1> {\"id\":10,\"request\":\"arm.centre\"}"
        << "centre\n" R"(1< {"id":10,"ok":false,"error":"refused","message":"Verbindung 1 ist nicht aufgebaut"})";
    QTest::newRow("tip with defaults") << R"(1> {"id":11,"request":"arm.tip","x":200,"y":0,"z":50})"
                                       << "tip 200 0 50 speed 50\n" R"(1< {"id":11,"ok":true,"move_ms":2000})";
    QTest::newRow("tip speed beyond the planner's")
        << R"(1> {"id":11,"request":"arm.tip","x":200,"y":0,"z":50,"speed":500})"
        << R"(1< {"id":11,"ok":false,"error":"bad_request","message":"Feld \"speed\" muss zwischen 1 und 200 liegen"})";
    QTest::newRow("the tip move's end goes to its mover")
        << "2> {\"id\":1,\"request\":\"arm.tip\",\"x\":1,\"y\":2,\"z\":3,\"pitch\":-60}\ntip ended Der Bediener hat eingegriffen"
        << "tip 1 2 3 pitch speed 50\n" R"(2< {"id":1,"ok":true,"move_ms":2000})" "\n"
           R"(2! {"event":"tip_move","t_ms":1000,"done":false,"reason":"Der Bediener hat eingegriffen"})";
    QTest::newRow("motion sets") << "1> {\"id\":1,\"request\":\"sets.list\"}\n"
                                    "1> {\"id\":2,\"request\":\"sets.load\",\"file\":\"b.rfs\"}\n"
                                    "1> {\"id\":3,\"request\":\"player.play\",\"loop\":true,\"dwell_ms\":300}\n"
                                    "1> {\"id\":4,\"request\":\"player.pause\"}"
                                 << R"(1< {"id":1,"ok":true,"files":["a.rfs","b.rfs"]})" "\n"
                                    "load b.rfs\n" R"(1< {"id":2,"ok":true})" "\n"
                                    "play loop dwell 300\n" R"(1< {"id":3,"ok":true})" "\n"
                                    "pause\n" R"(1< {"id":4,"ok":true,"player":{"state":"bereit"}})";
    QTest::newRow("subscriptions") << "1> {\"id\":1,\"request\":\"subscribe\",\"events\":[\"joint\",\"telemetry\"]}\n"
                                      "1> {\"id\":2,\"request\":\"unsubscribe\",\"events\":[\"telemetry\"]}\n"
                                      "1> {\"id\":3,\"request\":\"subscribe\",\"events\":[\"weather\"]}"
                                   << R"(1< {"id":1,"ok":true,"events":["telemetry","joint"]})" "\n"
                                      R"(1< {"id":2,"ok":true,"events":["joint"]})" "\n"
                                      R"(1< {"id":3,"ok":false,"error":"bad_request","message":"Unbekanntes Ereignis \"weather\""})";
    QTest::newRow("token: anything else first closes")
        << "token\n1> {\"id\":1,\"request\":\"state\"}"
        << R"(1< {"id":1,"ok":false,"error":"unauthorized","message":"Zugangsschlüssel erwartet"} closing)";
    QTest::newRow("token: a wrong one closes")
        << "token\n1> {\"id\":1,\"request\":\"auth\",\"token\":\"geheim!\"}"
        << R"(1< {"id":1,"ok":false,"error":"unauthorized","message":"Falscher Zugangsschlüssel"} closing)";
    QTest::newRow("token: the right one opens")
        << "token\n1> {\"id\":1,\"request\":\"auth\",\"token\":\"geheim\",\"client\":\"pick.py\"}\n"
           "1> {\"id\":2,\"request\":\"arm.park\"}"
        << R"(1< {"id":1,"ok":true,"token_required":true})" "\npark\n" R"(1< {"id":2,"ok":true})";
    QTest::newRow("lease: heartbeats hold the drive, silence stops it")
        << "1> {\"id\":1,\"request\":\"chassis.drive\",\"direction\":\"backward\",\"speed\":120}\n+400\n"
           "1> {\"id\":2,\"request\":\"chassis.heartbeat\"}\n+499\n+1\n1> {\"id\":3,\"request\":\"chassis.heartbeat\"}"
        << "drive r 120 0\ndriver changed\n" R"(1< {"id":1,"ok":true})" "\n"
           R"(1< {"id":2,"ok":true,"driving":true})" "\nstopChassis\n"
           R"(1! {"event":"drive_ended","t_ms":1900,"reason":"heartbeat","message":"Kein Lebenszeichen des Programms seit 500 ms: das Fahrwerk hält an"})"
           "\ndriver changed\n" R"(1< {"id":3,"ok":true,"driving":false})";
    QTest::newRow("lease: one program drives at a time")
        << "1> {\"id\":1,\"request\":\"chassis.horn\",\"on\":true}\n"
           "2> {\"id\":1,\"request\":\"chassis.drive\",\"direction\":\"left\",\"speed\":9,\"steering\":-20}\n"
           "2> {\"id\":2,\"request\":\"chassis.stop\"}\n"
           "2> {\"id\":3,\"request\":\"chassis.drive\",\"direction\":\"left\",\"speed\":9,\"steering\":-20}"
        << "horn on\ndriver changed\n" R"(1< {"id":1,"ok":true})" "\n"
           R"(2< {"id":1,"ok":false,"error":"refused","message":"Ein anderes Programm fährt"})" "\nstopChassis\n"
           R"(1! {"event":"drive_ended","t_ms":1000,"reason":"stopped","message":"Ein anderes Programm hat das Fahrwerk angehalten"})"
           "\ndriver changed\n" R"(2< {"id":2,"ok":true})" "\ndrive L 9 -20\ndriver changed\n"
           R"(2< {"id":3,"ok":true})";
    QTest::newRow("lease: the operator wins")
        << "1> {\"id\":1,\"request\":\"chassis.drive\",\"direction\":\"forward\",\"speed\":50}\noperator\n+600\n"
           "1> {\"id\":2,\"request\":\"chassis.drive\",\"direction\":\"forward\",\"speed\":50}\n"
           "1> {\"id\":3,\"request\":\"chassis.stop\"}\n1> {\"id\":4,\"request\":\"chassis.horn\",\"on\":true}"
        << "drive v 50 0\ndriver changed\n" R"(1< {"id":1,"ok":true})" "\n"
           R"(1! {"event":"drive_ended","t_ms":1000,"reason":"operator","message":"Der Bediener hat das Fahrwerk übernommen"})"
           "\ndriver changed\n"
           R"(1< {"id":2,"ok":false,"error":"refused","message":"Der Bediener hat das Fahrwerk übernommen: erst chassis.stop senden"})"
           "\nstopChassis\n" R"(1< {"id":3,"ok":true})" "\nhorn on\ndriver changed\n" R"(1< {"id":4,"ok":true})";
    QTest::newRow("lease: link 2 gone stops")
        << "1> {\"id\":1,\"request\":\"chassis.drive\",\"direction\":\"forward\",\"speed\":50}\nlink gone"
        << "drive v 50 0\ndriver changed\n" R"(1< {"id":1,"ok":true})" "\nstopChassis\n"
           R"(1! {"event":"drive_ended","t_ms":1000,"reason":"link","message":"Verbindung 2 wurde getrennt"})"
           "\ndriver changed";
    QTest::newRow("lease: a program that goes stops what it drove")
        << "1> {\"id\":1,\"request\":\"chassis.drive\",\"direction\":\"forward\",\"speed\":50}\ngone 2\ngone 1"
        << "drive v 50 0\ndriver changed\n" R"(1< {"id":1,"ok":true})" "\nstopChassis\ndriver changed";
    QTest::newRow("a refused drive takes no lease")
        << "refuse Verbindung 2 ist nicht aufgebaut\n"
           "1> {\"id\":1,\"request\":\"chassis.drive\",\"direction\":\"stop\",\"speed\":0}\n+600"
        << "drive s 0 0\n" R"(1< {"id":1,"ok":false,"error":"refused","message":"Verbindung 2 ist nicht aufgebaut"})";
}

void TestDispatcher::sessions()
{
    QFETCH(QString, steps);
    QFETCH(QString, transcript);
    FakeConsole console;
    Transcript out(console);
    remote::Millis now = 1000;
    remote::Dispatcher dispatcher(console, out, [&now] { return now; });
    dispatcher.setToken("geheim");
    remote::Session sessions[2];
    sessions[0].id = 1;
    sessions[1].id = 2;
    for (const QString &step : steps.split('\n')) {
        if (step == "token") {
            sessions[0].tokenRequired = sessions[1].tokenRequired = true;
        } else if (step.startsWith("refuse ")) {
            console.nextRefusal = step.mid(7).toStdString();
        } else if (step.startsWith('+')) {
            now += step.mid(1).toInt();
            dispatcher.checkLease();
        } else if (step == "operator" || step == "link gone") {
            console.listener()->driveTakenAway(step == "operator" ? remote::DriveEnd::Operator
                                                                  : remote::DriveEnd::LinkGone);
        } else if (step.startsWith("gone ")) {
            dispatcher.clientGone(step.mid(5).toInt());
        } else if (step.startsWith("tip ended")) {
            console.listener()->tipMoveEnded(step.mid(10).toStdString());
        } else {
            remote::Session &session = sessions[step.left(1).toInt() - 1];
            const std::string reply = dispatcher.handleLine(session, step.mid(3).toStdString());
            out.takeCalls();
            out.lines << QStringLiteral("%1< %2%3").arg(session.id).arg(QString::fromStdString(reply),
                                                                        session.closing ? " closing" : "");
        }
        out.takeCalls();
    }
    QCOMPARE(out.lines.join('\n'), transcript);
}

QTEST_GUILESS_MAIN(TestDispatcher)
#include "test_dispatcher.moc"
