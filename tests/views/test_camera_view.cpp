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

// The headers and body of an answer, or of one part of a stream.
QByteArray part(const QByteArray &type, const QByteArray &body)
{
    return "Content-Type: " + type + "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

// A camera on 127.0.0.1: /stream is an MJPEG stream of the frames the test sends,
// /broken one without a boundary, /picture a JPEG of the current colour, /page a web page.
class LoopbackCamera : public QObject {
public:
    LoopbackCamera()
    {
        server.listen(QHostAddress::LocalHost);
        connect(&server, &QTcpServer::newConnection, this, [this] {
            QTcpSocket *client = server.nextPendingConnection();
            connect(client, &QTcpSocket::readyRead, this, [this, client] { serve(client); });
            connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
        });
    }
    QUrl url(const char *path) const { return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(server.serverPort()) + path); }
    void sendFrame(Qt::GlobalColor colour)
    {
        for (QTcpSocket *client : std::as_const(streams))
            if (client)
                client->write("--frame\r\n" + part("image/jpeg", jpeg(colour)) + "\r\n");
    }
    int streamRequests() const { return int(streams.size()); }
    int openStreams() const { return int(streams.size() - streams.count(QPointer<QTcpSocket>())); }

    Qt::GlobalColor pictureColour = Qt::green;
    int pictureRequests = 0;

private:
    void serve(QTcpSocket *client)
    {
        const QByteArray path = client->readAll().split(' ').value(1);
        client->write("HTTP/1.0 200 OK\r\n");
        if (path == "/stream" || path == "/broken") {
            streams << client;
            client->write("Content-Type: multipart/x-mixed-replace" + QByteArray(path == "/stream" ? "; boundary=frame" : "")
                          + "\r\n\r\n");
            return;
        }
        pictureRequests += path == "/picture";
        client->write(path == "/picture" ? part("image/jpeg", jpeg(pictureColour)) : part("text/html", "<p>Kamera</p>"));
        client->disconnectFromHost();
    }

    QTcpServer server;
    QList<QPointer<QTcpSocket>> streams;
};

QLabel *screen(const views::CameraView &view) { return view.findChild<QLabel *>(); }

// The colour in the middle of the picture on show.
QString shownColour(const views::CameraView &view)
{
    const QImage shown = screen(view)->pixmap().toImage();
    const QColor colour = shown.isNull() ? QColor() : shown.pixelColor(shown.width() / 2, shown.height() / 2);
    return QString::fromLatin1(shown.isNull() ? "" : colour.red() > 200 ? "red" : colour.green() > 200 ? "green" : "blue");
}

} // namespace

class TestCameraView : public QObject {
    Q_OBJECT

public slots: // not a test: stands in for the system's browser
    void openInBrowser(const QUrl &url) { opened << url; }

private slots:
    void streamShowsEachFrameUntilANewAddressOrTheViewsEnd()
    {
        LoopbackCamera camera;
        auto view = std::make_unique<views::CameraView>();
        view->resize(350, 349);
        view->show();
        view->navigate(camera.url("/stream"));
        QTRY_COMPARE(camera.openStreams(), 1);
        camera.sendFrame(Qt::red);
        QTRY_COMPARE(shownColour(*view), QStringLiteral("red"));
        camera.sendFrame(Qt::blue);
        QTRY_COMPARE(shownColour(*view), QStringLiteral("blue"));
        QCOMPARE(screen(*view)->pixmap().size(), QSize(350, 262)); // the picture's shape kept
        view->navigate(camera.url("/stream"));
        QTRY_COMPARE(camera.streamRequests(), 2);
        QTRY_COMPARE(camera.openStreams(), 1);
        view.reset();
        QTRY_COMPARE(camera.openStreams(), 0);
    }

    void pictureIsFetchedAgainEverySecond()
    {
        LoopbackCamera camera;
        views::CameraView view;
        view.navigate(camera.url("/picture"));
        QTRY_COMPARE(shownColour(view), QStringLiteral("green"));
        camera.pictureColour = Qt::red;
        QTRY_COMPARE_WITH_TIMEOUT(shownColour(view), QStringLiteral("red"), 3000);
        QCOMPARE(camera.pictureRequests, 2);
    }

    void pageOffersTheSystemBrowser()
    {
        LoopbackCamera camera;
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "openInBrowser");
        views::CameraView view;
        view.navigate(camera.url("/page"));
        QTRY_VERIFY(screen(view)->text().contains(QStringLiteral(">Im Browser öffnen</a>")));
        emit screen(view)->linkActivated(screen(view)->text().section(QLatin1Char('"'), 1, 1));
        QCOMPARE(opened, QList<QUrl>{camera.url("/page")});
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    }

    void streamWithoutBoundaryAndDeadCameraAreShownAsText()
    {
        LoopbackCamera camera;
        views::CameraView view;
        view.navigate(camera.url("/broken"));
        QTRY_COMPARE(screen(view)->text(), QStringLiteral("Der Videostrom der WebCam nennt keine Trennmarke."));
        QTRY_COMPARE(camera.openStreams(), 0);
        view.navigate(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(unusedLoopbackPort())));
        QTRY_VERIFY(screen(view)->text().startsWith(QStringLiteral("Die WebCam ist nicht erreichbar:")));
    }

private:
    QList<QUrl> opened;
};

QTEST_MAIN(TestCameraView)
#include "test_camera_view.moc"
