#include "remote/dispatcher.h"

#include "arm/arm_profile.h"
#include "arm/straight_move.h"
#include "sequence/player_core.h"

#include <algorithm>
#include <cctype>

namespace remote {

namespace {

constexpr double kDefaultPathSpeed = 50; // mm/s
constexpr std::size_t kLongestClientName = 64;
constexpr int kLargestSpeedAsked = 1'000'000; // the console refuses what the joint does not take

const char *const kAnotherProgramDrives = "Ein anderes Programm fährt";
const char *const kOperatorTookOver = "Der Bediener hat das Fahrwerk übernommen";

Outcome badRequest(const std::string &message) { return Outcome::refused(message, "bad_request"); }

// The same time for a wrong token of any length and content.
bool sameToken(const std::string &given, const std::string &token)
{
    unsigned difference = given.size() != token.size();
    for (std::size_t i = 0; i < token.size(); ++i)
        difference |= unsigned(static_cast<unsigned char>(token[i]) ^ (i < given.size() ? given[i] : 0));
    return difference == 0 && !token.empty();
}

std::optional<int> jointByName(const std::string &name)
{
    for (int i = 0; i < arm::kJoints; ++i) {
        const std::string_view known = arm::kJointNames[std::size_t(i)];
        if (std::equal(known.begin(), known.end(), name.begin(), name.end(),
                       [](char a, char b) { return std::tolower(static_cast<unsigned char>(a))
                                                   == std::tolower(static_cast<unsigned char>(b)); }))
            return i;
    }
    return std::nullopt;
}

Json reply(const Json &id, const Outcome &outcome)
{
    Json::Object members{{"id", id}, {"ok", outcome.refusal.empty()}};
    if (outcome.refusal.empty()) {
        members.insert(members.end(), outcome.reply.begin(), outcome.reply.end());
    } else {
        members.emplace_back("error", outcome.code);
        members.emplace_back("message", outcome.refusal);
    }
    return Json(std::move(members));
}

} // namespace

const Dispatcher::Route Dispatcher::kRoutes[] = {
    {"auth", &Dispatcher::auth},
    {"state", &Dispatcher::state},
    {"subscribe", &Dispatcher::subscribe},
    {"unsubscribe", &Dispatcher::unsubscribe},
    {"arm.joints", &Dispatcher::armJoints},
    {"arm.tip", &Dispatcher::armTip},
    {"arm.park", &Dispatcher::armPark},
    {"arm.centre", &Dispatcher::armCentre},
    {"arm.stop", &Dispatcher::armStop},
    {"sets.list", &Dispatcher::setsList},
    {"sets.load", &Dispatcher::setsLoad},
    {"player.play", &Dispatcher::playerPlay},
    {"player.pause", &Dispatcher::playerPause},
    {"player.stop", &Dispatcher::playerStop},
    {"player.state", &Dispatcher::playerState},
    {"chassis.drive", &Dispatcher::chassisDrive},
    {"chassis.horn", &Dispatcher::chassisHorn},
    {"chassis.heartbeat", &Dispatcher::chassisHeartbeat},
    {"chassis.stop", &Dispatcher::chassisStop},
};

Dispatcher::Dispatcher(Console &console, Outbox &outbox, Clock clock)
    : console(console), outbox(outbox), clock(std::move(clock))
{
    console.setListener(this);
}

Dispatcher::~Dispatcher() { console.setListener(nullptr); }

std::string Dispatcher::hello(const Session &session) const
{
    return formatJson(Json::Object{{"hello", "velmora"},
                                   {"api", kApiVersion},
                                   {"version", VELMORA_VERSION},
                                   {"token_required", session.tokenRequired}});
}

std::string Dispatcher::errorLine(const std::string &code, const std::string &message)
{
    return formatJson(reply(Json(), Outcome::refused(message, code.c_str())));
}

// Before a client that must show the token has shown it, any other line ends it.
std::string Dispatcher::handleLine(Session &session, std::string_view line)
{
    const bool gated = session.tokenRequired && !session.authenticated;
    const auto answer = [&](const Json &id, const Outcome &outcome) {
        if (gated && !session.authenticated) {
            session.closing = true;
            if (outcome.refusal.empty() || std::string_view(outcome.code) != "unauthorized")
                return formatJson(reply(id, Outcome::refused("Zugangsschlüssel erwartet", "unauthorized")));
        }
        return formatJson(reply(id, outcome));
    };
    const JsonParse parsed = parseJson(line);
    if (!parsed.value)
        return answer(Json(), Outcome::refused("Ungültiges JSON: " + parsed.error, "bad_json"));
    if (parsed.value->type() != Json::Type::Object)
        return answer(Json(), Outcome::refused("Eine Anfrage ist ein JSON-Objekt", "bad_json"));
    const Json *id = parsed.value->find("id");
    if (!id)
        return answer(Json(), badRequest("Feld \"id\" fehlt"));
    if (!id->isInteger() && id->type() != Json::Type::String)
        return answer(Json(), badRequest("Feld \"id\" muss eine ganze Zahl oder Text sein"));
    const Json *name = parsed.value->find("request");
    if (!name || name->type() != Json::Type::String)
        return answer(*id, badRequest(name ? "Feld \"request\" muss Text sein" : "Feld \"request\" fehlt"));
    const auto route = std::find_if(std::begin(kRoutes), std::end(kRoutes),
                                    [name](const Route &r) { return name->asString() == r.name; });
    if (route == std::end(kRoutes))
        return answer(*id, Outcome::refused("Unbekannte Anfrage \"" + name->asString() + "\"", "unknown_request"));
    if (gated && route->handler != &Dispatcher::auth)
        return answer(*id, Outcome());
    Fields fields(parsed.value->asObject(), {}, {"id", "request"});
    return answer(*id, (this->*route->handler)(session, fields));
}

Outcome Dispatcher::auth(Session &session, Fields &fields)
{
    const std::string token = fields.text("token", std::string());
    const std::string name = fields.text("client", std::string());
    if (const auto problem = fields.check())
        return badRequest(*problem);
    if (session.tokenRequired && !sameToken(token, accessToken))
        return Outcome::refused("Falscher Zugangsschlüssel", "unauthorized");
    session.authenticated = true;
    session.name = name.substr(0, kLongestClientName);
    return Outcome::done({{"token_required", session.tokenRequired}});
}

Outcome Dispatcher::state(Session &, Fields &fields)
{
    if (const auto problem = fields.check())
        return badRequest(*problem);
    Json::Object state{{"t_ms", clock()}};
    Json::Object parts = console.state();
    state.insert(state.end(), parts.begin(), parts.end());
    return Outcome::done({{"state", Json(std::move(state))}});
}

Outcome Dispatcher::subscribe(Session &session, Fields &fields) { return changeSubscriptions(session, fields, true); }

Outcome Dispatcher::unsubscribe(Session &session, Fields &fields)
{
    return changeSubscriptions(session, fields, false);
}

Outcome Dispatcher::changeSubscriptions(Session &session, Fields &fields, bool on)
{
    std::bitset<kTopics> topics;
    if (const Json::Array *names = fields.array("events", Json::Type::String)) {
        for (const Json &name : *names) {
            const auto known = std::find_if(std::begin(kTopicNames), std::end(kTopicNames),
                                            [&name](const char *topic) { return name.asString() == topic; });
            if (known == std::end(kTopicNames))
                fields.refuse("Unbekanntes Ereignis \"" + name.asString() + "\"");
            else
                topics.set(std::size_t(known - std::begin(kTopicNames)));
        }
    }
    if (const auto problem = fields.check())
        return badRequest(*problem);
    session.subscribed = on ? session.subscribed | topics : session.subscribed & ~topics;
    Json::Array now;
    for (int i = 0; i < kTopics; ++i)
        if (session.subscribed.test(std::size_t(i)))
            now.emplace_back(kTopicNames[i]);
    return Outcome::done({{"events", Json(std::move(now))}});
}

Outcome Dispatcher::armJoints(Session &, Fields &fields)
{
    std::vector<JointTarget> targets;
    if (const Json::Array *items = fields.array("joints", Json::Type::Object)) {
        if (items->empty())
            fields.refuse("Feld \"joints\" braucht mindestens ein Gelenk");
        for (std::size_t i = 0; i < items->size(); ++i) {
            Fields item((*items)[i].asObject(), "joints[" + std::to_string(i) + "].");
            JointTarget target;
            if (const Json *joint = item.any("joint")) {
                const std::optional<int> index =
                    joint->type() == Json::Type::String ? jointByName(joint->asString())
                    : joint->isInteger() && joint->asNumber() >= 0 && joint->asNumber() < arm::kJoints
                        ? std::optional<int>(int(joint->asNumber()))
                        : std::nullopt;
                if (!index)
                    item.refuse("Gelenk " + formatJson(*joint) + " gibt es nicht (0 bis 4 oder Basis, Schulter, "
                                "Ellenbogen, Handgelenk, Greifer)");
                target.joint = index.value_or(0);
            }
            target.pulse = item.optionalInteger("pulse", 0, 100000);
            target.angle = item.optionalNumber("angle", -3600, 3600);
            target.speed = item.optionalInteger("speed", 0, kLargestSpeedAsked);
            if (item.has("pulse") == item.has("angle"))
                item.refuse("Gelenk " + std::to_string(i) + ": entweder \"pulse\" oder \"angle\" angeben");
            for (const JointTarget &earlier : targets)
                if (earlier.joint == target.joint && !item.check())
                    item.refuse("Gelenk " + std::string(arm::kJointNames[std::size_t(target.joint)])
                                + " ist doppelt genannt");
            if (const auto problem = item.check())
                fields.refuse(*problem);
            targets.push_back(target);
        }
    }
    if (const auto problem = fields.check())
        return badRequest(*problem);
    return console.setJoints(targets);
}

Outcome Dispatcher::armTip(Session &session, Fields &fields)
{
    constexpr double kFar = 100000; // mm; the kinematics refuse what the arm cannot reach
    TipTarget target;
    target.x = fields.number("x", -kFar, kFar);
    target.y = fields.number("y", -kFar, kFar);
    target.z = fields.number("z", -kFar, kFar);
    target.pitch = fields.optionalNumber("pitch", -3600, 3600);
    target.gripper = fields.optionalNumber("gripper", -kFar, kFar);
    target.speed = fields.number("speed", arm::kMinPathSpeed, arm::kMaxPathSpeed, kDefaultPathSpeed);
    if (const auto problem = fields.check())
        return badRequest(*problem);
    Outcome outcome = console.moveTip(target);
    if (outcome.refusal.empty())
        tipMover = session.id;
    return outcome;
}

Outcome Dispatcher::armPark(Session &, Fields &fields)
{
    if (const auto problem = fields.check())
        return badRequest(*problem);
    return console.park();
}

Outcome Dispatcher::armCentre(Session &, Fields &fields)
{
    if (const auto problem = fields.check())
        return badRequest(*problem);
    return console.centre();
}

Outcome Dispatcher::armStop(Session &, Fields &fields)
{
    if (const auto problem = fields.check())
        return badRequest(*problem);
    console.stopArm();
    return Outcome::done();
}

Outcome Dispatcher::setsList(Session &, Fields &fields)
{
    if (const auto problem = fields.check())
        return badRequest(*problem);
    Json::Array files;
    for (const std::string &file : console.motionSets())
        files.emplace_back(file);
    return Outcome::done({{"files", Json(std::move(files))}});
}

Outcome Dispatcher::setsLoad(Session &, Fields &fields)
{
    const std::string file = fields.text("file");
    if (const auto problem = fields.check())
        return badRequest(*problem);
    return console.loadMotionSet(file);
}

Outcome Dispatcher::playerPlay(Session &, Fields &fields)
{
    const std::optional<bool> loop = fields.optionalFlag("loop");
    const std::optional<int> dwell = fields.optionalInteger("dwell_ms", 0, sequence::PlayerCore::kLongestDwellMs);
    if (const auto problem = fields.check())
        return badRequest(*problem);
    return console.play(loop, dwell);
}

Outcome Dispatcher::playerPause(Session &session, Fields &fields)
{
    if (!fields.check())
        console.pausePlayer();
    return playerState(session, fields);
}

Outcome Dispatcher::playerStop(Session &session, Fields &fields)
{
    if (!fields.check())
        console.stopPlayer();
    return playerState(session, fields);
}

Outcome Dispatcher::playerState(Session &, Fields &fields)
{
    if (const auto problem = fields.check())
        return badRequest(*problem);
    return Outcome::done({{"player", Json(console.playerState())}});
}

Outcome Dispatcher::chassisDrive(Session &session, Fields &fields)
{
    DriveTarget target;
    const std::string word = fields.text("direction");
    const auto known = std::find_if(std::begin(kDriveWords), std::end(kDriveWords),
                                    [&word](const DriveWord &w) { return word == w.word; });
    if (known == std::end(kDriveWords) && fields.has("direction"))
        fields.refuse("Feld \"direction\" muss forward, backward, left, right oder stop sein");
    target.direction = known == std::end(kDriveWords) ? 's' : known->direction;
    target.speed = fields.integer("speed", 0, 255);
    target.steering = fields.integer("steering", -100, 100, 0);
    if (const auto problem = fields.check())
        return badRequest(*problem);
    return underLease(session, [this, target] { return console.drive(target); });
}

Outcome Dispatcher::chassisHorn(Session &session, Fields &fields)
{
    const bool on = fields.flag("on");
    if (const auto problem = fields.check())
        return badRequest(*problem);
    return underLease(session, [this, on] { return console.horn(on); });
}

Outcome Dispatcher::chassisHeartbeat(Session &session, Fields &fields)
{
    if (const auto problem = fields.check())
        return badRequest(*problem);
    const bool driving = lease && lease->client == session.id;
    if (driving)
        lease->deadline = clock() + kLeaseMs;
    return Outcome::done({{"driving", driving}});
}

// A stop is always allowed: whoever drove is told.
Outcome Dispatcher::chassisStop(Session &session, Fields &fields)
{
    if (const auto problem = fields.check())
        return badRequest(*problem);
    console.stopChassis();
    overruled.erase(session.id);
    if (lease && lease->client != session.id)
        endLease("stopped", "Ein anderes Programm hat das Fahrwerk angehalten");
    else if (lease)
        endLease(nullptr, {});
    return Outcome::done();
}

Outcome Dispatcher::underLease(const Session &session, const std::function<Outcome()> &act)
{
    if (lease && lease->client != session.id)
        return Outcome::refused(kAnotherProgramDrives);
    if (overruled.count(session.id))
        return Outcome::refused(std::string(kOperatorTookOver) + ": erst chassis.stop senden");
    Outcome outcome = act();
    if (!outcome.refusal.empty())
        return outcome;
    const bool taken = !lease;
    lease = Lease{session.id, clock() + kLeaseMs};
    if (taken)
        outbox.driverChanged();
    return outcome;
}

std::optional<Millis> Dispatcher::leaseDeadline() const
{
    return lease ? std::optional<Millis>(lease->deadline) : std::nullopt;
}

void Dispatcher::checkLease()
{
    if (!lease || clock() < lease->deadline)
        return;
    console.stopChassis();
    endLease("heartbeat", "Kein Lebenszeichen des Programms seit " + std::to_string(kLeaseMs)
                             + " ms: das Fahrwerk hält an");
}

void Dispatcher::clientGone(ClientId client)
{
    overruled.erase(client);
    if (tipMover == client)
        tipMover.reset();
    if (!lease || lease->client != client)
        return;
    console.stopChassis();
    endLease(nullptr, {});
}

// reason null: the program ended it itself and needs no word of it.
void Dispatcher::endLease(const char *reason, const std::string &message)
{
    const ClientId client = lease->client;
    lease.reset();
    if (reason)
        outbox.toClient(client, event("drive_ended", {{"reason", reason}, {"message", message}}));
    outbox.driverChanged();
}

void Dispatcher::published(Topic topic, Json::Object fields)
{
    outbox.toSubscribers(topic, event(kTopicNames[int(topic)], std::move(fields)));
}

// The chassis is stopped when link 2 went, so that it does not drive off again
// when the link comes back; the operator's change stands as the operator made it.
void Dispatcher::driveTakenAway(DriveEnd why)
{
    if (!lease)
        return;
    if (why == DriveEnd::LinkGone) {
        console.stopChassis();
        endLease("link", "Verbindung 2 wurde getrennt");
    } else {
        overruled.insert(lease->client);
        endLease("operator", kOperatorTookOver);
    }
}

void Dispatcher::tipMoveEnded(const std::string &why)
{
    if (!tipMover)
        return;
    const ClientId client = *tipMover;
    tipMover.reset();
    outbox.toClient(client, event("tip_move", {{"done", why.empty()}, {"reason", why}}));
}

Json Dispatcher::event(const char *name, Json::Object fields) const
{
    Json::Object members{{"event", name}, {"t_ms", clock()}};
    members.insert(members.end(), std::make_move_iterator(fields.begin()), std::make_move_iterator(fields.end()));
    return Json(std::move(members));
}

} // namespace remote
