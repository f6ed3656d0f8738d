#include "device_link.h"

#include "pty_endpoint.h"
#include "receive_log.h"

namespace sim {

DeviceLink::DeviceLink(std::string name, Device device, ReceiveLog &log, QObject *parent)
    : QObject(parent), linkName(std::move(name)), device(std::move(device)), log(log)
{
    connect(&server, &QTcpServer::newConnection, this, &DeviceLink::acceptClient);
}

bool DeviceLink::listen(const QHostAddress &address, quint16 port, QString *error)
{
    if (server.listen(address, port))
        return true;
    *error = QStringLiteral("%1 link: cannot listen on %2:%3: %4")
                 .arg(QString::fromStdString(linkName), address.toString())
                 .arg(port)
                 .arg(server.errorString());
    return false;
}

bool DeviceLink::openPty(QString *error, const QString &linkPath)
{
    pty = new PtyEndpoint(this);
    if (!pty->open(error, linkPath))
        return false;
    connect(pty, &PtyEndpoint::received, this,
            [this](const QByteArray &bytes) { pty->write(answer(ptyLines, bytes)); });
    return true;
}

QString DeviceLink::tcpEndpoint() const
{
    return QStringLiteral("%1:%2").arg(server.serverAddress().toString()).arg(server.serverPort());
}

QString DeviceLink::ptyPath() const
{
    return pty ? pty->devicePath() : QString();
}

// The robot's device server serves one client per port: the newest one wins.
void DeviceLink::acceptClient()
{
    while (QTcpSocket *incoming = server.nextPendingConnection()) {
        dropClient();
        client = incoming;
        clientLines = LineAssembler();
        connect(incoming, &QTcpSocket::readyRead, this, [this, incoming] {
            incoming->write(answer(clientLines, incoming->readAll()));
        });
        connect(incoming, &QTcpSocket::disconnected, incoming, &QObject::deleteLater);
    }
}

void DeviceLink::dropClient()
{
    if (!client)
        return;
    client->disconnect(this);
    client->abort();
    client->deleteLater();
}

QByteArray DeviceLink::answer(LineAssembler &assembler, const QByteArray &bytes)
{
    QByteArray replies;
    for (const std::string &line : assembler.feed(bytes.toStdString())) {
        log.record(linkName, line);
        replies += QByteArray::fromStdString(device(line));
    }
    return replies;
}

} // namespace sim
