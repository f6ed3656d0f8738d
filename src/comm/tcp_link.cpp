#include "comm/tcp_link.h"

namespace comm {

TcpLink::TcpLink(QObject *parent, int connectTimeoutMs) : Link(parent), socket(this), connectTimer(this)
{
    connectTimer.setSingleShot(true);
    connectTimer.setInterval(connectTimeoutMs);
    connect(&connectTimer, &QTimer::timeout, this, &TcpLink::onConnectTimeout);
    connect(&socket, &QTcpSocket::connected, this, &TcpLink::onConnected);
    connect(&socket, &QTcpSocket::disconnected, this, &TcpLink::onDisconnected);
    connect(&socket, &QTcpSocket::errorOccurred, this, &TcpLink::onError);
    connect(&socket, &QTcpSocket::readyRead, this, &TcpLink::postRead);
}

// QTcpSocket's destructor disconnects from the host and would report it through
// us to an owner that is half destroyed.
TcpLink::~TcpLink()
{
    QObject::disconnect(&socket, nullptr, this, nullptr);
    socket.abort();
}

void TcpLink::setAddress(const QString &hostName, quint16 portNumber)
{
    host = hostName;
    port = portNumber;
}

bool TcpLink::attempting() const
{
    return socket.state() == QAbstractSocket::HostLookupState || socket.state() == QAbstractSocket::ConnectingState;
}

void TcpLink::open()
{
    if (connected || socket.state() != QAbstractSocket::UnconnectedState)
        return;
    connectTimer.start();
    socket.connectToHost(host, port);
}

void TcpLink::close()
{
    connectTimer.stop();
    if (connected) {
        connected = false;
        closing = true;
        socket.disconnectFromHost();
    } else {
        socket.abort();
    }
}

bool TcpLink::send(const std::string &text)
{
    if (!connected || socket.state() != QAbstractSocket::ConnectedState)
        return false;
    return socket.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size());
}

void TcpLink::onConnected()
{
    connectTimer.stop();
    connected = true;
    emit opened();
}

// Reads come from the event loop, not from within QTcpSocket's own signal: a
// receiver that waits in a message box then still gets the reads that arrive
// meanwhile (the socket does not signal again inside its own signal).
void TcpLink::postRead()
{
    if (readPosted)
        return;
    readPosted = true;
    QMetaObject::invokeMethod(this, &TcpLink::deliverRead, Qt::QueuedConnection);
}

void TcpLink::deliverRead()
{
    readPosted = false;
    if (socket.bytesAvailable() > 0)
        emit received(socket.readAll().toStdString());
}

// Queued like the reads, so closed() follows every read before it.
void TcpLink::onDisconnected()
{
    if (connected || closing)
        QMetaObject::invokeMethod(this, &TcpLink::deliverClose, Qt::QueuedConnection);
    closing = false;
}

void TcpLink::deliverClose()
{
    connected = false;
    emit closed();
}

void TcpLink::onError(QAbstractSocket::SocketError error)
{
    // The far end closing is told by the closed() that follows.
    if (error == QAbstractSocket::RemoteHostClosedError)
        return;
    connectTimer.stop();
    emit failed({socket.errorString()});
}

void TcpLink::onConnectTimeout()
{
    if (!attempting())
        return;
    socket.abort();
    emit failed({tr("Zeitüberschreitung beim Verbindungsaufbau")});
}

} // namespace comm
