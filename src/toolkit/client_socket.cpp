#include "toolkit/client_socket.h"

#include "toolkit/message_sink.h"

namespace toolkit {

namespace {
// Codes as the Windows socket layer numbers them, for the fallback error box.
constexpr int kTimedOut = 10060;
constexpr int kGeneralError = 10000;
} // namespace

ClientSocket::ClientSocket(QObject *parent) : QObject(parent), socket(this), connectTimer(this)
{
    connectTimer.setSingleShot(true);
    connectTimer.setInterval(kDefaultConnectTimeoutMs);
    connect(&connectTimer, &QTimer::timeout, this, &ClientSocket::onConnectTimeout);
    connect(&socket, &QTcpSocket::stateChanged, this, &ClientSocket::onStateChanged);
    connect(&socket, &QTcpSocket::connected, this, &ClientSocket::onConnected);
    connect(&socket, &QTcpSocket::disconnected, this, &ClientSocket::onDisconnected);
    connect(&socket, &QTcpSocket::errorOccurred, this, &ClientSocket::onError);
    connect(&socket, &QTcpSocket::readyRead, this, &ClientSocket::postRead);
}

// QTcpSocket's destructor disconnects from the host and would report it through
// us to an owner that is half destroyed (the window deletes us as its child).
ClientSocket::~ClientSocket()
{
    QObject::disconnect(&socket, nullptr, this, nullptr);
    socket.abort();
}

bool ClientSocket::Connecting() const
{
    return socket.state() == QAbstractSocket::HostLookupState || socket.state() == QAbstractSocket::ConnectingState;
}

void ClientSocket::Open()
{
    if (active || socket.state() != QAbstractSocket::UnconnectedState)
        return;
    connectTimer.start();
    socket.connectToHost(hostName, static_cast<quint16>(portNumber));
}

// An active connection counts as ended at once; its disconnect event follows.
void ClientSocket::Close()
{
    connectTimer.stop();
    if (active) {
        active = false;
        closing = true;
        socket.disconnectFromHost();
    } else {
        socket.abort();
    }
}

void ClientSocket::SendText(const std::string &text)
{
    if (socket.state() == QAbstractSocket::ConnectedState)
        socket.write(text.data(), static_cast<qint64>(text.size()));
}

// The read event comes from the event loop, not from within QTcpSocket's own
// signal: a handler that waits in a message box then still gets the reads that
// arrive meanwhile (the socket does not signal again inside its own signal).
void ClientSocket::postRead()
{
    if (readPosted)
        return;
    readPosted = true;
    QMetaObject::invokeMethod(this, &ClientSocket::deliverRead, Qt::QueuedConnection);
}

void ClientSocket::deliverRead()
{
    readPosted = false;
    if (socket.bytesAvailable() > 0)
        emit read();
}

std::string ClientSocket::ReceiveText() { return socket.readAll().toStdString(); }

void ClientSocket::onStateChanged(QAbstractSocket::SocketState state)
{
    if (state == QAbstractSocket::ConnectingState)
        emit connecting();
}

void ClientSocket::onConnected()
{
    connectTimer.stop();
    active = true;
    emit connected();
}

// Queued like the reads, so the disconnect event follows every read before it.
void ClientSocket::onDisconnected()
{
    if (active || closing)
        QMetaObject::invokeMethod(this, &ClientSocket::deliverDisconnect, Qt::QueuedConnection);
    closing = false;
}

void ClientSocket::deliverDisconnect()
{
    active = false;
    emit disconnected();
}

void ClientSocket::onError(QAbstractSocket::SocketError socketError)
{
    // The far end closing is reported by the disconnect that follows.
    if (socketError == QAbstractSocket::RemoteHostClosedError)
        return;
    connectTimer.stop();
    raiseError(kGeneralError + static_cast<int>(socketError), socket.errorString());
}

void ClientSocket::onConnectTimeout()
{
    if (!Connecting())
        return;
    socket.abort();
    raiseError(kTimedOut, QStringLiteral("Zeitüberschreitung beim Verbindungsaufbau"));
}

void ClientSocket::raiseError(int code, const QString &description)
{
    int errorCode = code;
    emit error(errorCode);
    if (errorCode != 0)
        msg::show(msg::Kind::Error, msg::Buttons::Ok,
                  QStringLiteral("Socket-Fehler %1: %2").arg(errorCode).arg(description).toStdString());
}

} // namespace toolkit
