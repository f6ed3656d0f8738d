#include "comm/tcp_link.h"
#include "support/tcp_peer.h"

#include <QEventLoop>
#include <QSignalSpy>
#include <QtTest>

// The link's signals as its owner sees them: on the event loop, in the order
// opened, received..., closed.
class TestTcpLink : public QObject {
    Q_OBJECT

private slots:
    void readsArriveWhileAReceiverWaitsInABox();
    void peerCloseIsACloseAfterTheLastRead();
    void unansweredConnectIsGivenUp();

private:
    static void connectTo(comm::TcpLink &link, TcpPeer &peer);
};

void TestTcpLink::connectTo(comm::TcpLink &link, TcpPeer &peer)
{
    QVERIFY(peer.isListening());
    link.setAddress(QStringLiteral("127.0.0.1"), peer.port());
    link.open();
    QTRY_VERIFY(link.isOpen() && peer.hasClient());
}

// A modal box shown by a receiver runs its own event loop; reads that come
// meanwhile must be handled inside it, not only after the box is closed.
void TestTcpLink::readsArriveWhileAReceiverWaitsInABox()
{
    TcpPeer peer;
    comm::TcpLink link;
    connectTo(link, peer);
    QStringList reads;
    QEventLoop box;
    connect(&link, &comm::Link::received, this, [&](const std::string &text) {
        reads << QString::fromStdString(text);
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

void TestTcpLink::peerCloseIsACloseAfterTheLastRead()
{
    TcpPeer peer;
    comm::TcpLink link;
    connectTo(link, peer);
    QStringList events;
    connect(&link, &comm::Link::received, this,
            [&](const std::string &text) { events << QStringLiteral("read ") + QString::fromStdString(text); });
    connect(&link, &comm::Link::closed, this, [&] { events << QStringLiteral("closed"); });
    QSignalSpy failures(&link, &comm::Link::failed);
    QVERIFY(peer.send("A42\r"));
    peer.closeClient();
    QTRY_COMPARE(events, (QStringList{"read A42\r", "closed"}));
    QVERIFY(!link.isOpen());
    QCOMPARE(failures.count(), 0);
}

// An unanswered connect is given up by our own timer, long before the system's
// own limit of about two minutes.
void TestTcpLink::unansweredConnectIsGivenUp()
{
    SilentListener silent;
    QVERIFY(silent.isValid());
    comm::TcpLink link(nullptr, 100);
    link.setAddress(QStringLiteral("127.0.0.1"), silent.port());
    QSignalSpy failures(&link, &comm::Link::failed);
    QSignalSpy openings(&link, &comm::Link::opened);
    link.open();
    QVERIFY(failures.wait(10000));
    QVERIFY(!link.isOpen());
    QCOMPARE(openings.count(), 0);
    QVERIFY(!link.send("VER\r"));
}

QTEST_MAIN(TestTcpLink)
#include "test_tcp_link.moc"
