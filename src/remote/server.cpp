#include "remote/server.h"

#include <QHostAddress>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <algorithm>
#include <array>
#include <chrono>

namespace remote {

namespace {

constexpr qint64 kReadPieceBytes = 16 * 1024;
// A client that must show the token and has not within this time goes, so that
// strangers cannot hold the places of programs.
constexpr int kAuthTimeoutMs = 5000;
// A closed client whose last reply the peer does not take is cut off after this.
constexpr int kLingerMs = 2000;

QString peerText(const QTcpSocket &socket)
{
    bool mapped = false;
    const quint32 ipv4 = socket.peerAddress().toIPv4Address(&mapped);
    const QString address = mapped ? QHostAddress(ipv4).toString() : socket.peerAddress().toString();
    return address + QLatin1Char(':') + QString::number(socket.peerPort());
}

} // namespace

Millis steadyMillis()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

QString newAccessToken()
{
    std::array<quint32, 6> words{};
    QRandomGenerator::system()->fillRange(words.data(), int(words.size()));
    const QByteArray bytes(reinterpret_cast<const char *>(words.data()), int(sizeof words));
    return QString::fromLatin1(bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}

struct Server::Client {
    QTcpSocket *socket = nullptr; // a child of the server
    Session session;
    QString peer;
    // Received and not yet taken: at most a read piece and a line.
    std::string received;
    bool closing = false;
    // Its replies wait to be read: its further requests wait too.
    bool paused = false;
    qint64 dropped = 0;
};

Server::Server(Console &console, QObject *parent)
    : QObject(parent), dispatcher(console, *this, steadyMillis), leaseTimer(this), state(tr("Aus"))
{
    leaseTimer.setSingleShot(true);
    leaseTimer.setTimerType(Qt::PreciseTimer);
    connect(&leaseTimer, &QTimer::timeout, this, [this] {
        dispatcher.checkLease();
        followLease();
    });
}

// The sockets go first, without telling a server that is being taken apart.
Server::~Server()
{
    for (auto &[id, client] : connected) {
        client->socket->disconnect(this);
        delete client->socket;
    }
    connected.clear();
}

void Server::configure(const ServerConfig &config)
{
    if (config == current)
        return;
    const bool relisten =
        config.enabled != current.enabled || config.port != current.port || config.allNetworks != current.allNetworks;
    current = config;
    dispatcher.setToken(config.token);
    if (relisten) {
        closeAllClients();
        stopListening();
        if (current.enabled)
            listen();
        else
            setState(tr("Aus"));
        return;
    }
    for (auto &[id, client] : connected)
        if (client->session.tokenRequired)
            closeClient(*client);
}

bool Server::isListening() const { return !listeners.empty(); }

quint16 Server::port() const { return listeners.empty() ? 0 : listeners.front()->serverPort(); }

// Loopback means both of this computer's loopback addresses; a computer
// without IPv6 has the IPv4 one alone.
void Server::listen()
{
    const std::vector<QHostAddress> addresses =
        current.allNetworks ? std::vector<QHostAddress>{QHostAddress(QHostAddress::Any)}
                            : std::vector<QHostAddress>{QHostAddress(QHostAddress::LocalHost),
                                                        QHostAddress(QHostAddress::LocalHostIPv6)};
    quint16 port = current.port;
    for (const QHostAddress &address : addresses) {
        auto listener = std::make_unique<QTcpServer>();
        if (!listener->listen(address, port)) {
            if (!listeners.empty())
                continue;
            setState(listener->serverError() == QAbstractSocket::AddressInUseError
                         ? tr("Port %1 ist belegt: die Fernsteuerung ist aus").arg(current.port)
                         : tr("Port %1: %2").arg(current.port).arg(listener->errorString()));
            return;
        }
        port = listener->serverPort();
        QTcpServer *raw = listener.get();
        connect(raw, &QTcpServer::newConnection, this, [this, raw] { accept(raw); });
        listeners.push_back(std::move(listener));
    }
    setState(current.allNetworks ? tr("Bereit auf Port %1 (alle Netzwerke)").arg(port)
                                 : tr("Bereit auf Port %1 (nur dieser Rechner)").arg(port));
}

void Server::stopListening() { listeners.clear(); }

void Server::closeAllClients()
{
    for (auto &[id, client] : connected)
        closeClient(*client);
}

void Server::accept(QTcpServer *listener)
{
    while (QTcpSocket *socket = listener->nextPendingConnection()) {
        socket->setParent(this);
        if (connected.size() >= std::size_t(kMaxClients)) {
            socket->write(QByteArray::fromStdString(
                Dispatcher::errorLine("too_many_clients", "Schon " + std::to_string(kMaxClients)
                                                                  + " Programme verbunden: keine weiteren") + "\n"));
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            socket->disconnectFromHost();
            QTimer::singleShot(kLingerMs, socket, &QTcpSocket::abort);
            continue;
        }
        auto client = std::make_unique<Client>();
        client->socket = socket;
        client->peer = peerText(*socket);
        client->session.id = nextId++;
        client->session.tokenRequired = current.allNetworks;
        const ClientId id = client->session.id;
        // Replies and events are written in pieces the size of a line; the
        // socket's read buffer stays small while a client's requests wait.
        socket->setReadBufferSize(kReadPieceBytes);
        // A reply goes out at once, not held back to be joined with the next.
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(socket, &QTcpSocket::readyRead, this, [this, id] {
            if (const auto found = connected.find(id); found != connected.end())
                readFrom(*found->second);
        });
        connect(socket, &QTcpSocket::bytesWritten, this, [this, id] {
            if (const auto found = connected.find(id); found != connected.end())
                drained(*found->second);
        });
        // Later, from the event loop: a socket may tell it inside a call that uses the client.
        connect(socket, &QTcpSocket::disconnected, this, [this, id] { dropClient(id); }, Qt::QueuedConnection);
        if (client->session.tokenRequired)
            QTimer::singleShot(kAuthTimeoutMs, socket, [this, id] {
                const auto found = connected.find(id);
                if (found != connected.end() && !found->second->session.authenticated)
                    closeClient(*found->second);
            });
        write(*client, dispatcher.hello(client->session));
        connected.emplace(id, std::move(client));
        emit clientsChanged();
    }
}

void Server::readFrom(Client &client)
{
    for (;;) {
        takeReceivedLines(client);
        if (client.paused || client.closing || client.socket->bytesAvailable() <= 0)
            return;
        const std::size_t before = client.received.size();
        client.received.resize(before + std::size_t(kReadPieceBytes));
        const qint64 read = client.socket->read(client.received.data() + before, kReadPieceBytes);
        client.received.resize(before + std::size_t(std::max<qint64>(read, 0)));
        if (read <= 0)
            return;
    }
}

void Server::takeReceivedLines(Client &client)
{
    std::size_t start = 0;
    while (!client.paused && !client.closing) {
        const std::size_t end = client.received.find('\n', start);
        if (end == std::string::npos || end - start > std::size_t(kMaxLineBytes))
            break;
        std::string_view line(client.received.data() + start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.find_first_not_of(" \t") != std::string_view::npos)
            takeLine(client, line);
    }
    client.received.erase(0, start);
    const std::size_t lineEnd = client.received.find('\n');
    if (!client.closing && std::min(lineEnd, client.received.size()) > std::size_t(kMaxLineBytes)) {
        write(client, Dispatcher::errorLine("line_too_long", "Zeile länger als " + std::to_string(kMaxLineBytes / 1024)
                                                               + " KiB: Verbindung getrennt"));
        closeClient(client);
    }
}

void Server::takeLine(Client &client, std::string_view line)
{
    const bool wasAuthenticated = client.session.authenticated;
    write(client, dispatcher.handleLine(client.session, line));
    if (client.session.authenticated != wasAuthenticated)
        emit clientsChanged(); // it may have told its name
    if (client.session.closing)
        closeClient(client);
    else if (client.socket->bytesToWrite() > kReplyBacklogBytes)
        client.paused = true;
    followLease();
}

void Server::drained(Client &client)
{
    const qint64 waiting = client.socket->bytesToWrite();
    if (waiting < kEventBacklogBytes / 2)
        tellDropped(client);
    if (client.paused && waiting < kReplyBacklogBytes / 2) {
        client.paused = false;
        readFrom(client);
    }
}

void Server::tellDropped(Client &client)
{
    if (client.dropped == 0 || client.closing)
        return;
    write(client, formatJson(Json::Object{
                      {"event", "dropped"}, {"t_ms", steadyMillis()}, {"count", std::int64_t(client.dropped)}}));
    client.dropped = 0;
}

void Server::closeClient(Client &client)
{
    if (client.closing)
        return;
    client.closing = true;
    dispatcher.clientGone(client.session.id);
    client.socket->disconnectFromHost();
    QTimer::singleShot(kLingerMs, client.socket, &QTcpSocket::abort);
}

void Server::dropClient(ClientId id)
{
    const auto found = connected.find(id);
    if (found == connected.end())
        return;
    std::unique_ptr<Client> client = std::move(found->second);
    connected.erase(found);
    if (!client->closing)
        dispatcher.clientGone(id);
    client->socket->disconnect(this);
    client->socket->deleteLater();
    emit clientsChanged();
}

void Server::disconnectClient(ClientId id)
{
    if (const auto found = connected.find(id); found != connected.end())
        closeClient(*found->second);
}

std::vector<ClientInfo> Server::clients() const
{
    std::vector<ClientInfo> list;
    for (const auto &[id, client] : connected)
        list.push_back({id, client->peer, QString::fromStdString(client->session.name), driver() == id});
    return list;
}

void Server::write(Client &client, const std::string &line)
{
    QByteArray bytes = QByteArray::fromStdString(line);
    bytes.append('\n');
    client.socket->write(bytes);
}

void Server::toClient(ClientId id, const Json &event)
{
    if (const auto found = connected.find(id); found != connected.end() && !found->second->closing)
        write(*found->second, formatJson(event));
}

// Formatted once for all; a client that does not read loses events, not the console's time.
void Server::toSubscribers(Topic topic, const Json &event)
{
    std::string line;
    for (auto &[id, client] : connected) {
        if (client->closing || !client->session.subscribed.test(std::size_t(topic)))
            continue;
        if (client->socket->bytesToWrite() > kEventBacklogBytes) {
            ++client->dropped;
            continue;
        }
        if (line.empty())
            line = formatJson(event);
        tellDropped(*client);
        write(*client, line);
    }
}

bool Server::anySubscribed(Topic topic) const
{
    return std::any_of(connected.begin(), connected.end(), [topic](const auto &entry) {
        return entry.second->session.subscribed.test(std::size_t(topic));
    });
}

void Server::driverChanged()
{
    followLease();
    emit clientsChanged();
}

void Server::followLease()
{
    if (const auto deadline = dispatcher.leaseDeadline())
        leaseTimer.start(int(std::clamp<Millis>(*deadline - steadyMillis(), 0, kLeaseMs)));
    else
        leaseTimer.stop();
}

void Server::setState(const QString &text)
{
    state = text;
    emit stateChanged();
}

} // namespace remote
