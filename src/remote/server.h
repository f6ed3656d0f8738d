#pragma once
// The programming interface on the network: newline-delimited JSON over TCP,
// on this computer's loopback addresses only (127.0.0.1 and ::1) or on all
// networks, where every client must show the token in its first line. Each line
// goes to the dispatcher; the server keeps the limits that protect the console:
// a line over kMaxLineBytes closes its client, at most kMaxClients clients, and
// a client that does not read loses events beyond kEventBacklogBytes (told by
// a "dropped" event once it reads again) while its requests wait beyond
// kReplyBacklogBytes, so no client can make the console buffer without bound.
#include "remote/dispatcher.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <map>
#include <memory>
#include <vector>

class QTcpServer;
class QTcpSocket;

namespace remote {

struct ServerConfig {
    bool enabled = false;
    quint16 port = 10010; // 0 in tests: any free port
    bool allNetworks = false;
    std::string token;

    friend bool operator==(const ServerConfig &a, const ServerConfig &b)
    {
        return a.enabled == b.enabled && a.port == b.port && a.allNetworks == b.allNetworks && a.token == b.token;
    }
};

struct ClientInfo {
    ClientId id;
    QString peer; // address:port
    QString name; // as the program called itself
    bool drives;
};

class Server : public QObject, private Outbox {
    Q_OBJECT

public:
    static constexpr int kMaxClients = 8;
    static constexpr qint64 kMaxLineBytes = 64 * 1024;
    static constexpr qint64 kEventBacklogBytes = 256 * 1024;
    static constexpr qint64 kReplyBacklogBytes = 1024 * 1024;

    explicit Server(Console &console, QObject *parent = nullptr);
    ~Server() override;

    // Takes effect at once. A change of the port, the networks or switching off
    // closes every client; a new token closes those that had to show the old one.
    void configure(const ServerConfig &config);
    const ServerConfig &config() const { return current; }
    bool isListening() const;
    // The port listened on (the one given, or the one found for 0).
    quint16 port() const;
    // For the operator: off, ready on which port, or why not.
    const QString &stateText() const { return state; }

    std::vector<ClientInfo> clients() const;
    void disconnectClient(ClientId id);
    std::optional<ClientId> driver() const { return dispatcher.driver(); }

signals:
    void stateChanged();
    // A client came or went, or the one that drives changed.
    void clientsChanged();

private:
    struct Client;

    void listen();
    void stopListening();
    void closeAllClients();
    void accept(QTcpServer *listener);
    void readFrom(Client &client);
    void takeReceivedLines(Client &client);
    void takeLine(Client &client, std::string_view line);
    void drained(Client &client);
    // Once a client reads again: how many events it lost.
    void tellDropped(Client &client);
    // Its last reply is still delivered; what it drove stops at once.
    void closeClient(Client &client);
    void dropClient(ClientId id);
    void write(Client &client, const std::string &line);
    void followLease();
    void setState(const QString &text);

    void toClient(ClientId client, const Json &event) override;
    void toSubscribers(Topic topic, const Json &event) override;
    bool anySubscribed(Topic topic) const override;
    void driverChanged() override;

    Dispatcher dispatcher;
    ServerConfig current;
    std::vector<std::unique_ptr<QTcpServer>> listeners;
    std::map<ClientId, std::unique_ptr<Client>> connected;
    ClientId nextId = 1;
    QTimer leaseTimer;
    QString state;
};

// Monotonic milliseconds, the interface's time stamps.
Millis steadyMillis();

// A new token: 192 random bits from the system's source, as 32 URL-safe characters.
QString newAccessToken();

} // namespace remote
