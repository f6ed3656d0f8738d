#pragma once
// The programming interface's protocol without sockets: one request line in,
// exactly one reply line out, through the console's models and checks. It also
// keeps the rules that span requests: the token a client must show first when
// the interface listens beyond this computer, what each client subscribed to,
// and the drive lease, the programs' dead-man rule: a program's drive holds
// only while it says so again, by a drive or a heartbeat, within kLeaseMs.
// Time is read from a clock passed in (monotonic milliseconds), so the rules
// run just as well over a made-up one.
#include "remote/console.h"
#include "remote/fields.h"

#include <bitset>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace remote {

using ClientId = int;
using Millis = std::int64_t;

inline constexpr int kApiVersion = 1;
inline constexpr Millis kLeaseMs = 500;

// One connected program, as the protocol knows it.
struct Session {
    ClientId id = 0;
    bool tokenRequired = false;
    bool authenticated = false;
    // The reply just given is the last: the connection is to be closed.
    bool closing = false;
    std::string name; // as the program called itself, if it did
    std::bitset<kTopics> subscribed;
};

// Where events go: to one client, or to every client subscribed to a topic.
class Outbox {
public:
    virtual ~Outbox() = default;
    virtual void toClient(ClientId client, const Json &event) = 0;
    virtual void toSubscribers(Topic topic, const Json &event) = 0;
    virtual bool anySubscribed(Topic topic) const = 0;
    // The program that drives changed (or none drives any more).
    virtual void driverChanged() = 0;
};

class Dispatcher final : public ConsoleListener {
public:
    using Clock = std::function<Millis()>;

    Dispatcher(Console &console, Outbox &outbox, Clock clock);
    ~Dispatcher() override;

    void setToken(std::string token) { accessToken = std::move(token); }
    // What the server says first to a new client.
    std::string hello(const Session &session) const;

    // One line as received, without its line break; the reply, without one.
    std::string handleLine(Session &session, std::string_view line);
    // An error reply that is not an answer to a request (id null).
    static std::string errorLine(const std::string &code, const std::string &message);

    // The program that drives, if one does, and when its lease runs out.
    std::optional<ClientId> driver() const { return lease ? std::optional<ClientId>(lease->client) : std::nullopt; }
    std::optional<Millis> leaseDeadline() const;
    // Stops the chassis when the lease has run out.
    void checkLease();
    // A client went: what it drove stops.
    void clientGone(ClientId client);

    bool wanted(Topic topic) const override { return outbox.anySubscribed(topic); }
    void published(Topic topic, Json::Object event) override;
    void driveTakenAway(DriveEnd why) override;
    void tipMoveEnded(const std::string &why) override;

private:
    struct Lease {
        ClientId client;
        Millis deadline;
    };
    using Handler = Outcome (Dispatcher::*)(Session &, Fields &);
    struct Route {
        const char *name;
        Handler handler;
    };
    static const Route kRoutes[];

    Outcome auth(Session &session, Fields &fields);
    Outcome state(Session &session, Fields &fields);
    Outcome subscribe(Session &session, Fields &fields);
    Outcome unsubscribe(Session &session, Fields &fields);
    Outcome armJoints(Session &session, Fields &fields);
    Outcome armTip(Session &session, Fields &fields);
    Outcome armPark(Session &session, Fields &fields);
    Outcome armCentre(Session &session, Fields &fields);
    Outcome armStop(Session &session, Fields &fields);
    Outcome setsList(Session &session, Fields &fields);
    Outcome setsLoad(Session &session, Fields &fields);
    Outcome playerPlay(Session &session, Fields &fields);
    Outcome playerPause(Session &session, Fields &fields);
    Outcome playerStop(Session &session, Fields &fields);
    Outcome playerState(Session &session, Fields &fields);
    Outcome chassisDrive(Session &session, Fields &fields);
    Outcome chassisHorn(Session &session, Fields &fields);
    Outcome chassisHeartbeat(Session &session, Fields &fields);
    Outcome chassisStop(Session &session, Fields &fields);

    Outcome changeSubscriptions(Session &session, Fields &fields, bool on);
    // A drive or horn request by this client: refused while another drives,
    // else done by act and the lease taken or renewed.
    Outcome underLease(const Session &session, const std::function<Outcome()> &act);
    void endLease(const char *reason, const std::string &message);
    Json event(const char *name, Json::Object fields) const;

    Console &console;
    Outbox &outbox;
    Clock clock;
    std::string accessToken;
    std::optional<Lease> lease;
    // Programs whose drive the operator took over: they drive again only once
    // they have acknowledged it with a stop, so that a program that repeats its
    // drive request blindly cannot undo the operator's stop.
    std::set<ClientId> overruled;
    std::optional<ClientId> tipMover;
};

} // namespace remote
