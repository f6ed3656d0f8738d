#pragma once
// The webcam's picture without a web engine: the view fetches the camera's
// address and shows what comes back. An MJPEG stream (multipart/x-mixed-replace)
// shows frame by frame as it arrives, a single picture is fetched again every
// second, and for a web page the view offers a link that opens it in the
// system's browser. All of it is asynchronous; a new address or the view's end
// stops the request under way.
#include <QImage>
#include <QUrl>
#include <QWidget>

#include <memory>

class QLabel;
class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

namespace views {

class MultipartSplitter;

class CameraView : public QWidget {
    Q_OBJECT

public:
    explicit CameraView(QWidget *parent = nullptr);
    ~CameraView() override;

    void navigate(const QUrl &url);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    // refused: an HTTP error; unusable: nothing this view can show.
    enum class Content { unknown, stream, picture, page, refused, unusable };

    void fetch();
    void stop();
    void takeContentType();
    Content classify(int status);
    void readReply();
    void replyFinished();
    void showPicture(const QByteArray &bytes);
    void showScaled();
    void showText(const QString &text);
    void offerBrowser();

    QNetworkAccessManager *network;
    QNetworkReply *reply = nullptr;
    QTimer *refresh;
    QLabel *screen;
    QUrl requested;
    Content content = Content::unknown;
    std::unique_ptr<MultipartSplitter> splitter;
    QByteArray pictureBytes;
    QImage picture;
};

} // namespace views
