#pragma once
// A program's end of a connection to the programming interface, on loopback:
// lines out, JSON lines in, waiting as long as a busy machine may need.
#include "remote/json.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QTest>

struct RemoteProgram {
    explicit RemoteProgram(quint16 port, int waitMs = 5000) : waitMs(waitMs)
    {
        socket.connectToHost(QHostAddress::LocalHost, port);
    }

    void send(const QByteArray &line) { socket.write(line + '\n'); }
    // The next line, or null once none comes.
    remote::Json next()
    {
        if (!QTest::qWaitFor([this] { return socket.canReadLine(); }, waitMs))
            return remote::Json();
        return remote::parseJson(socket.readLine().trimmed().toStdString()).value.value_or(remote::Json());
    }
    // The next line that has this key (a reply: "id", an event: "event"), skipping others.
    remote::Json nextWith(const char *key)
    {
        for (remote::Json line = next();; line = next())
            if (line.isNull() || line.find(key))
                return line;
    }
    // A member as JSON text ("true", "\"bad_json\""), empty when missing.
    static QString field(const remote::Json &line, const char *key)
    {
        const remote::Json *value = line.find(key);
        return value ? QString::fromStdString(remote::formatJson(*value)) : QString();
    }
    bool closed()
    {
        return QTest::qWaitFor([this] { return socket.state() == QAbstractSocket::UnconnectedState; }, waitMs);
    }

    const int waitMs;
    QTcpSocket socket;
};
