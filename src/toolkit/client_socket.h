#pragma once
// A non-blocking TCP client reporting its progress as events on the main thread,
// in the order connecting, connect, read..., disconnect, with error in place of
// connect when an attempt fails. A peer's close is a disconnect, not an error.
// A connect that gets no answer is given up after connectTimeoutMs.
#include <QObject>
#include <QTcpSocket>
#include <QTimer>
#include <string>

namespace toolkit {

class ClientSocket : public QObject {
    Q_OBJECT

public:
    static constexpr int kDefaultConnectTimeoutMs = 5000;

    explicit ClientSocket(QObject *parent = nullptr);
    // Drops a connection silently: no event reaches an owner that is being destroyed.
    ~ClientSocket() override;

    void setHost(const QString &host) { hostName = host; }
    void setPort(int port) { portNumber = port; }
    void setConnectTimeoutMs(int ms) { connectTimer.setInterval(ms); }
    int connectTimeoutMs() const { return connectTimer.interval(); }

    // True from the connect event to Close() or the disconnect event.
    bool Active() const { return active; }
    bool Connecting() const;
    void Open();
    // Ends an active connection (the disconnect event follows) or drops a pending attempt silently.
    void Close();
    void SendText(const std::string &text);
    // Every byte waiting, as one text.
    std::string ReceiveText();

signals:
    void connecting();
    void connected();
    void disconnected();
    void read();
    // A handler that leaves errorCode non-zero gets the socket layer's own error box.
    void error(int &errorCode);

private:
    void onStateChanged(QAbstractSocket::SocketState state);
    void onConnected();
    void onDisconnected();
    void postRead();
    void deliverRead();
    void deliverDisconnect();
    void onError(QAbstractSocket::SocketError socketError);
    void onConnectTimeout();
    void raiseError(int code, const QString &description);

    QTcpSocket socket;
    QTimer connectTimer;
    QString hostName;
    int portNumber = 0;
    bool active = false;
    bool readPosted = false;
    bool closing = false; // Close() ended an active connection; its disconnect event is due
};

} // namespace toolkit
