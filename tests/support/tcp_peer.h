#pragma once
// Loopback TCP ends for tests, standing in for a WiPort on 127.0.0.1.
//
// TcpPeer listens on a free port, takes one client at a time, records every byte
// the client sends and can answer or hang up. It runs on the test's event loop,
// so the test waits with QTRY_COMPARE on received() or hasClient().
//
// SilentListener listens with a backlog it has filled itself: the kernel then
// drops further connection requests, so a connect to it is never answered.
#include <QByteArray>
#include <QTcpServer>
#include <QTcpSocket>
#include <QPointer>
#include <vector>

class TcpPeer {
public:
    TcpPeer();
    TcpPeer(const TcpPeer &) = delete;
    TcpPeer &operator=(const TcpPeer &) = delete;

    bool isListening() const { return server.isListening(); }
    quint16 port() const { return server.serverPort(); }

    bool hasClient() const { return client && client->state() == QAbstractSocket::ConnectedState; }
    // Every byte received from all clients so far, in order.
    QByteArray received() const { return bytes; }
    void clearReceived() { bytes.clear(); }

    // Sends to the current client; false without one.
    bool send(const QByteArray &data);
    // The far end ends the connection.
    void closeClient();
    // The far end drops the connection at once: the client gets a reset, not a close.
    void resetClient();
    // The server goes away with its client, and comes back on the same port.
    void goAway();
    bool comeBack();

private:
    void takeClient();

    QTcpServer server;
    quint16 listeningOn = 0;
    QPointer<QTcpSocket> client;
    QByteArray bytes;
};

class SilentListener {
public:
    SilentListener();
    ~SilentListener();
    SilentListener(const SilentListener &) = delete;
    SilentListener &operator=(const SilentListener &) = delete;

    bool isValid() const { return listener >= 0 && portNumber != 0; }
    quint16 port() const { return portNumber; }

private:
    int listener = -1;
    quint16 portNumber = 0;
    std::vector<int> fillers;
};

// A port on 127.0.0.1 where nobody listens (taken from a listener that is closed again).
quint16 unusedLoopbackPort();
