#pragma once
// One robot link as the robot's device server offers it: a TCP server with one
// client at a time (a newcomer replaces the previous client) and, on request, a
// pseudo-terminal. Each received line is logged and answered by the link's device.
#include "line_assembler.h"

#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>
#include <string>

namespace sim {

class PtyEndpoint;
class ReceiveLog;

class DeviceLink : public QObject {
    Q_OBJECT
public:
    // Takes one line without its carriage return and returns the device's reply bytes.
    using Device = std::function<std::string(const std::string &line)>;

    DeviceLink(std::string name, Device device, ReceiveLog &log, QObject *parent = nullptr);

    bool listen(const QHostAddress &address, quint16 port, QString *error);
    // linkPath: see PtyEndpoint::open.
    bool openPty(QString *error, const QString &linkPath = QString());

    const std::string &name() const { return linkName; }
    QString tcpEndpoint() const;
    QString ptyPath() const;

private:
    void acceptClient();
    void dropClient();
    // Feeds bytes from one transport through its assembler and returns the replies.
    QByteArray answer(LineAssembler &assembler, const QByteArray &bytes);

    std::string linkName;
    Device device;
    ReceiveLog &log;
    QTcpServer server;
    QPointer<QTcpSocket> client;
    LineAssembler clientLines;
    PtyEndpoint *pty = nullptr;
    LineAssembler ptyLines;
};

} // namespace sim
