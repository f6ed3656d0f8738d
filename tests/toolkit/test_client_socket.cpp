#include "support/tcp_peer.h"
#include "toolkit/client_socket.h"

#include <QEventLoop>
#include <QSignalSpy>
#include <QtTest>

// The socket's events as the owning window sees them: on the event loop, in the
// order connecting, connect, read..., disconnect.
class TestClientSocket : public QObject {
    Q_OBJECT

private slots:
    void readsArriveWhileAReadHandlerWaitsInABox();
    void peerCloseIsADisconnectAfterTheLastRead();
    void unansweredConnectIsGivenUp();

private:
    static void connectTo(toolkit::ClientSocket &socket, TcpPeer &peer);
};

void TestClientSocket::connectTo(toolkit::ClientSocket &socket, TcpPeer &peer)
{
    QVERIFY(peer.isListening());
    socket.setHost(QStringLiteral("127.0.0.1"));
    socket.setPort(peer.port());
    socket.Open();
    QTRY_VERIFY(socket.Active() && peer.hasClient());
}

// A modal box shown by a read handler runs its own event loop; reads that come
// meanwhile must be handled inside it, not only after the box is closed.
void TestClientSocket::readsArriveWhileAReadHandlerWaitsInABox()
{
    TcpPeer peer;
    toolkit::ClientSocket socket;
    connectTo(socket, peer);
    QStringList reads;
    QEventLoop box;
    connect(&socket, &toolkit::ClientSocket::read, this, [&] {
        reads << QString::fromStdString(socket.ReceiveText());
        if (reads.size() == 1) {
            QVERIFY(peer.send("zwei"));
            QTimer::singleShot(10000, &box, &QEventLoop::quit); // guard, not a timing
            box.exec();
        } else {
            box.quit();
        }
    });
    QVERIFY(peer.send("eins"));
    QTRY_COMPARE(reads, (QStringList{"eins", "zwei"}));
}

void TestClientSocket::peerCloseIsADisconnectAfterTheLastRead()
{
    TcpPeer peer;
    toolkit::ClientSocket socket;
    connectTo(socket, peer);
    QStringList events;
    connect(&socket, &toolkit::ClientSocket::read, this,
            [&] { events << QStringLiteral("read ") + QString::fromStdString(socket.ReceiveText()); });
    connect(&socket, &toolkit::ClientSocket::disconnected, this, [&] { events << QStringLiteral("disconnect"); });
    int errors = 0;
    connect(&socket, &toolkit::ClientSocket::error, this, [&](int &code) {
        ++errors;
        code = 0;
    });
    QVERIFY(peer.send("A42\r"));
    peer.closeClient();
    QTRY_COMPARE(events, (QStringList{"read A42\r", "disconnect"}));
    QVERIFY(!socket.Active());
    QCOMPARE(errors, 0);
}

// An unanswered connect is given up by our own timer, long before the system's
// own limit of about two minutes.
void TestClientSocket::unansweredConnectIsGivenUp()
{
    SilentListener silent;
    QVERIFY(silent.isValid());
    toolkit::ClientSocket socket;
    QCOMPARE(socket.connectTimeoutMs(), 5000);
    socket.setConnectTimeoutMs(100);
    socket.setHost(QStringLiteral("127.0.0.1"));
    socket.setPort(silent.port());
    QSignalSpy errors(&socket, &toolkit::ClientSocket::error);
    socket.Open();
    QVERIFY(socket.Connecting());
    QVERIFY(errors.wait(10000));
    QVERIFY(!socket.Connecting());
    QVERIFY(!socket.Active());
}

QTEST_MAIN(TestClientSocket)
#include "test_client_socket.moc"
