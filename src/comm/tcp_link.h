#pragma once
// A link over TCP to a serial-to-network device server. It tells its progress
// in the order opened, received..., closed, with failed in place of opened when
// an attempt fails. A peer's close is a close, not an error; a connect that gets
// no answer is given up after connectTimeoutMs.
#include "comm/link.h"

#include <QTcpSocket>
#include <QTimer>

namespace comm {

class TcpLink final : public Link {
    Q_OBJECT

public:
    static constexpr int kConnectTimeoutMs = 5000;

    explicit TcpLink(QObject *parent = nullptr, int connectTimeoutMs = kConnectTimeoutMs);
    // Drops a connection without a word: nothing reaches an owner that is being destroyed.
    ~TcpLink() override;

    // Where the next open() connects to; a host name is looked up first.
    void setAddress(const QString &host, quint16 port);

    void open() override;
    // An open connection counts as ended at once; closed() follows from the event loop.
    void close() override;
    // From opened() to close() or closed().
    bool isOpen() const override { return connected; }
    bool send(const std::string &text) override;

private:
    void onConnected();
    void onDisconnected();
    void onError(QAbstractSocket::SocketError error);
    void onConnectTimeout();
    bool attempting() const;
    void postRead();
    void deliverRead();
    void deliverClose();

    QTcpSocket socket;
    QTimer connectTimer;
    QString host;
    quint16 port = 0;
    bool connected = false;
    bool readPosted = false;
    bool closing = false; // close() ended an open connection; its closed() is due
};

} // namespace comm
