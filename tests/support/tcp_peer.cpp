#include "support/tcp_peer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

TcpPeer::TcpPeer()
{
    QObject::connect(&server, &QTcpServer::newConnection, &server, [this] { takeClient(); });
    server.listen(QHostAddress::LocalHost, 0);
    listeningOn = server.serverPort();
}

void TcpPeer::goAway()
{
    closeClient();
    server.close();
}

bool TcpPeer::comeBack() { return server.listen(QHostAddress::LocalHost, listeningOn); }

void TcpPeer::takeClient()
{
    while (QTcpSocket *next = server.nextPendingConnection()) {
        if (client)
            client->deleteLater();
        client = next;
        QObject::connect(next, &QTcpSocket::readyRead, &server, [this, next] { bytes += next->readAll(); });
    }
}

bool TcpPeer::send(const QByteArray &data)
{
    if (!hasClient())
        return false;
    const bool written = client->write(data) == data.size();
    client->flush();
    return written;
}

void TcpPeer::closeClient()
{
    if (client)
        client->close();
}

void TcpPeer::resetClient()
{
    if (!client)
        return;
    // Closing with a zero linger time sends RST instead of FIN.
    const linger abortive {1, 0};
    ::setsockopt(static_cast<int>(client->socketDescriptor()), SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
    client->abort();
}

namespace {

sockaddr_in loopback(quint16 port)
{
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

} // namespace

SilentListener::SilentListener()
{
    listener = ::socket(AF_INET, SOCK_STREAM, 0);
    if (listener < 0)
        return;
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    if (::bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
        || ::listen(listener, 0) != 0
        || ::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        return;
    portNumber = ntohs(address.sin_port);
    // Nobody accepts: these connections fill the queue, and the next request is dropped.
    for (int i = 0; i < 3; ++i) {
        const int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        if (filler < 0)
            continue;
        fillers.push_back(filler);
        const sockaddr_in target = loopback(portNumber);
        ::connect(filler, reinterpret_cast<const sockaddr *>(&target), sizeof target);
    }
}

SilentListener::~SilentListener()
{
    for (int filler : fillers)
        ::close(filler);
    if (listener >= 0)
        ::close(listener);
}

quint16 unusedLoopbackPort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}
