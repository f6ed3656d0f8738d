#include "support/tcp_peer.h"
#include "views/camera_view.h"

#include <QBuffer>
#include <QDesktopServices>
#include <QLabel>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

namespace {

QByteArray jpeg(Qt::GlobalColor colour)
{
    QImage image(32, 24, QImage::Format_RGB32);
    image.fill(colour);
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    image.save(&bytes, "JPG");
    return bytes.data();
}

// A camera on 127.0.0.1: /stream is an MJPEG stream of the frames the test sends,
// /picture a JPEG of the current colour, /page a web page, /broken a stream
// without a boundary.
class LoopbackCamera : public QObject {
public:
    LoopbackCamera()
    {
        server.listen(QHostAddress::LocalHost);
        connect(&server, &QTcpServer::newConnection, this, [this] {
            QTcpSocket *client = server.nextPendingConnection();
            connect(client, &QTcpSocket::readyRead, this, [this, client] { answer(client); });
            connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
        });
    }
    QUrl url(const QString &path) const { return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(server.serverPort()).arg(path)); }
    void sendFrame(Qt::GlobalColor colour)
    {
        const QByteArray frame = jpeg(colour);
        for (QTcpSocket *client : std::as_const(streams))
            client->write("--frame\r\nContent-Type: image/jpeg\r\nContent-Length: " + QByteArray::number(frame.size())
                          + "\r\n\r\n" + frame + "\r\n");
    }
    int streamRequests() const { return int(streams.size()); }
    int streamClients() const { return int(std::count_if(streams.begin(), streams.end(), [](auto c) { return c; })); }

    Qt::GlobalColor pictureColour = Qt::green;
    int pictureRequests = 0;

private:
    void answer(QTcpSocket *client)
    {
        const QByteArray path = client->readAll().split(' ').value(1);
        if (path == "/stream" || path == "/broken") {
            streams << client;
            client->write("HTTP/1.0 200 OK\r\nContent-Type: multipart/x-mixed-replace"
                          + QByteArray(path == "/stream" ? "; boundary=frame" : "") + "\r\n\r\n");
            return;
        }
        const bool picture = path == "/picture";
        pictureRequests += picture;
        const QByteArray body = picture ? jpeg(pictureColour) : QByteArray("<html><body>Kamera</body></html>");
        client->write("HTTP/1.0 200 OK\r\nContent-Type: " + QByteArray(picture ? "image/jpeg" : "text/html")
                      + "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        client->disconnectFromHost();
    }

    QTcpServer server;
    QList<QPointer<QTcpSocket>> streams;
};

// The colour in the middle of the picture on show ("" without one).
QString shownColour(const views::CameraView &view)
{
    const QPixmap pixmap = view.findChild<QLabel *>()->pixmap();
    if (pixmap.isNull())
        return QString();
    const QColor colour = pixmap.toImage().pixelColor(pixmap.width() / 2, pixmap.height() / 2);
    return colour.red() > 200 ? QStringLiteral("red") : colour.green() > 200 ? QStringLiteral("green")
                                                                            : QStringLiteral("blue");
}

} // namespace

class BrowserStandIn : public QObject {
    Q_OBJECT
public slots:
    void open(const QUrl &url) { opened << url; }

public:
    QList<QUrl> opened;
};

class TestCameraView : public QObject {
    Q_OBJECT

private slots:
    void streamShowsEachFrameAsItArrives();
    void pictureIsFetchedAgainEverySecond();
    void pageOffersTheSystemBrowser();
    void newAddressOrTheViewsEndStopsTheStream();
    void streamWithoutBoundaryAndDeadCameraAreShownAsText();
};

void TestCameraView::streamShowsEachFrameAsItArrives()
{
    LoopbackCamera camera;
    views::CameraView view;
    view.resize(350, 349);
    view.show();
    view.navigate(camera.url(QStringLiteral("/stream")));
    QTRY_COMPARE(camera.streamClients(), 1);
    camera.sendFrame(Qt::red);
    QTRY_COMPARE(shownColour(view), QStringLiteral("red"));
    camera.sendFrame(Qt::blue);
    QTRY_COMPARE(shownColour(view), QStringLiteral("blue"));
    QCOMPARE(view.findChild<QLabel *>()->pixmap().size(), QSize(350, 262)); // the picture's shape kept
}

void TestCameraView::pictureIsFetchedAgainEverySecond()
{
    LoopbackCamera camera;
    views::CameraView view;
    view.navigate(camera.url(QStringLiteral("/picture")));
    QTRY_COMPARE(shownColour(view), QStringLiteral("green"));
    camera.pictureColour = Qt::red;
    QTRY_COMPARE_WITH_TIMEOUT(shownColour(view), QStringLiteral("red"), 3000);
    QCOMPARE(camera.pictureRequests, 2);
}

void TestCameraView::pageOffersTheSystemBrowser()
{
    LoopbackCamera camera;
    BrowserStandIn browser;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &browser, "open");
    views::CameraView view;
    view.navigate(camera.url(QStringLiteral("/page")));
    auto *link = view.findChild<QLabel *>();
    QTRY_VERIFY(link->text().contains(QStringLiteral(">Im Browser öffnen</a>")));
    emit link->linkActivated(link->text().section(QLatin1Char('"'), 1, 1));
    QCOMPARE(browser.opened, QList<QUrl>{camera.url(QStringLiteral("/page"))});
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
}

void TestCameraView::newAddressOrTheViewsEndStopsTheStream()
{
    LoopbackCamera camera;
    auto view = std::make_unique<views::CameraView>();
    view->navigate(camera.url(QStringLiteral("/stream")));
    QTRY_COMPARE(camera.streamClients(), 1);
    view->navigate(camera.url(QStringLiteral("/stream")));
    QTRY_COMPARE(camera.streamRequests(), 2);
    QTRY_COMPARE(camera.streamClients(), 1);
    view.reset();
    QTRY_COMPARE(camera.streamClients(), 0);
}

void TestCameraView::streamWithoutBoundaryAndDeadCameraAreShownAsText()
{
    LoopbackCamera camera;
    views::CameraView view;
    view.navigate(camera.url(QStringLiteral("/broken")));
    QTRY_COMPARE(view.findChild<QLabel *>()->text(), QStringLiteral("Der Videostrom der WebCam nennt keine Trennmarke."));
    QTRY_COMPARE(camera.streamClients(), 0);
    view.navigate(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(unusedLoopbackPort())));
    QTRY_VERIFY(view.findChild<QLabel *>()->text().startsWith(QStringLiteral("Die WebCam ist nicht erreichbar:")));
}

QTEST_MAIN(TestCameraView)
#include "test_camera_view.moc"
