#include "comm/connection.h"

#include "comm/link.h"
#include "toolkit/byte_text.h"

#include <QScopedValueRollback>
#include <QTime>

namespace comm {

namespace {

// Waits before the TCP tries after a loss: 1, 2, 4, 8 s, then every 10 s.
std::chrono::milliseconds tcpRetryDelay(int failedTries)
{
    constexpr int kDoublings = 4;
    if (failedTries >= kDoublings)
        return std::chrono::seconds(10);
    return std::chrono::seconds(1 << failedTries);
}

} // namespace

Connection::Connection(LinkRole role, LinkFactory makeLink, QObject *parent, std::unique_ptr<ReconnectWatch> watch)
    : QObject(parent), linkRole(std::move(role)), makeLink(std::move(makeLink)), watch(std::move(watch))
{
    setObjectName(QStringLiteral("connection%1").arg(linkRole.number));
    this->watch->setParent(this);
    connect(this->watch.get(), &ReconnectWatch::due, this, &Connection::tryAgain);
    renewLink();
}

Connection::~Connection() = default;

LinkSettings Connection::settings() const
{
    if (chosen == Transport::Serial)
        return serial;
    return tcp;
}

// Only while idle: a link is never replaced under a connection. The link is
// named as its socket was, so that tools and tests find it in the window.
void Connection::renewLink()
{
    const LinkSettings wanted = settings();
    if (link && linkMadeFrom == wanted)
        return;
    link = makeLink(wanted);
    linkMadeFrom = wanted;
    link->setParent(this);
    if (overTcp())
        link->setObjectName(QStringLiteral("ClientSocket%1").arg(linkRole.number));
    connect(link.get(), &Link::opened, this, &Connection::linkOpened);
    connect(link.get(), &Link::closed, this, &Connection::linkClosed);
    connect(link.get(), &Link::failed, this,
            [this](const LinkFailure &failure) { drop([&] { emit failed(failure); }); });
    connect(link.get(), &Link::lost, this, [this] { drop([this] { emit lost(); }); });
    connect(link.get(), &Link::received, this, &Connection::take);
}

void Connection::enter(State state)
{
    currentState = state;
    emit stateChanged(currentState);
}

void Connection::tellBusy()
{
    emit busyChanged(busy());
    if (!busy())
        emit freed();
}

void Connection::open()
{
    const QScopedValueRollback<bool> request(requesting, true);
    if (currentState == State::Idle) {
        renewLink();
        // At once: a host name is looked up before the connection is tried.
        enter(State::Connecting);
        link->open();
    }
    tellBusy();
}

void Connection::setAutoReconnect(bool on)
{
    reconnects = on;
    if (!on && (currentState == State::Waiting || currentState == State::Reconnecting))
        close();
}

void Connection::close()
{
    const QScopedValueRollback<bool> request(requesting, true);
    switch (currentState) {
    case State::Waiting:
    case State::Reconnecting:
        watch->cancel();
        link->close();
        enter(State::Idle);
        logWithTime(tr("Verbindung %1: Warten auf die Wiederherstellung beendet").arg(linkRole.number));
        break;
    case State::Connecting: // a given-up attempt tells nothing itself
        link->close();
        enter(State::Idle);
        break;
    case State::Open:
        enter(State::Closing);
        link->close();
        // A port whose close call failed is still open.
        if (currentState == State::Closing && link->isOpen())
            enter(State::Open);
        break;
    case State::Idle:
    case State::Closing:
        break;
    }
    tellBusy();
}

// A pending connect is dropped too, or its time-out would report over the closing window.
void Connection::shutDown()
{
    const QScopedValueRollback<bool> request(requesting, true);
    const State before = currentState;
    const bool waiting = before == State::Waiting || before == State::Reconnecting;
    if (waiting)
        watch->cancel();
    // An open TCP link tells its close later, which is then no loss to recover from.
    if (before == State::Open)
        currentState = State::Closing;
    link->close();
    if (before == State::Connecting || waiting)
        enter(State::Idle);
}

// Back after a loss, the link is identified as after the operator's open, and
// those who act on it hear of the return before they hear it is open.
void Connection::linkOpened()
{
    const bool again = currentState == State::Reconnecting;
    enter(State::Open);
    if (overTcp())
        link->send(linkRole.probe);
    if (again) {
        logWithTime(tr("Verbindung %1 wiederhergestellt").arg(linkRole.number));
        tellBusy();
        emit reconnected();
    }
    emit opened();
}

// Also when the far end ended the connection: the link is free again, and a
// chassis must not stay active on a dead link.
void Connection::linkClosed()
{
    if (reconnectsAfterLoss()) {
        waitToReconnect();
        return;
    }
    const bool wasBusy = busy();
    enter(State::Idle);
    if (wasBusy && !requesting)
        tellBusy();
}

// Whatever ran on the link stops as when the link is freed; the link stays
// made from the same settings, which cannot change while it waits.
void Connection::waitToReconnect()
{
    failedTries = 0;
    currentState = State::Waiting;
    tellBusy();
    logWithTime(tr("Verbindung %1 unterbrochen; sie wird automatisch wiederhergestellt").arg(linkRole.number));
    emit stateChanged(currentState);
    waitForNextTry();
}

void Connection::waitForNextTry()
{
    if (overTcp())
        watch->waitFor(tcpRetryDelay(failedTries));
    else
        watch->waitForDevice(std::get<SerialSettings>(linkMadeFrom).deviceName);
}

void Connection::tryAgain()
{
    if (currentState != State::Waiting)
        return;
    enter(State::Reconnecting);
    link->open();
}

void Connection::logWithTime(const QString &text)
{
    emit logged(QTime::currentTime().toString(QStringLiteral("HH:mm:ss ")) + text);
}

// Whatever runs on the link stops before the report (the chassis goes off before
// the box, link 1's channel lists come back); the idle state follows it. A try
// to reconnect that fails only waits for the next one.
template <typename Report>
void Connection::drop(Report report)
{
    if (currentState == State::Reconnecting) {
        ++failedTries;
        enter(State::Waiting);
        waitForNextTry();
        return;
    }
    if (reconnectsAfterLoss()) {
        waitToReconnect();
        return;
    }
    currentState = State::Idle;
    if (!requesting)
        tellBusy();
    report();
    emit stateChanged(currentState);
}

// Socket reads go to the debug memo too, counted; serial blocks do not.
void Connection::take(const std::string &text)
{
    if (overTcp()) {
        ++readCount;
        if (!linkRole.keepOutOfLog || !linkRole.keepOutOfLog(text)) {
            emit logged(tr("%1 Client %2: Daten empfangen").arg(readCount).arg(linkRole.number));
            emit logged(toolkit::fromBytes(text));
        }
    }
    emit received(text);
}

void Connection::sendCommand(const std::string &command)
{
    emit logged(toolkit::fromBytes(command) + QStringLiteral("<cr>"));
    sendLine(command + '\r');
}

void Connection::repeatCommand(const std::string &command) { sendLine(command + '\r'); }

void Connection::sendLine(const std::string &line)
{
    const bool taken = link->send(line);
    emit commandSent(line, taken);
}

bool Connection::sendText(const std::string &text) { return link->send(text); }

} // namespace comm
