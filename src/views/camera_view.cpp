#include "views/camera_view.h"

#include "views/multipart_splitter.h"

#include <QDesktopServices>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>
#include <QVBoxLayout>

namespace views {

namespace {

// Far above a camera's frame; a larger part or picture is not kept.
constexpr std::size_t kPictureLimit = 8 * 1024 * 1024;
constexpr int kRefreshMs = 1000;

} // namespace

CameraView::CameraView(QWidget *parent)
    : QWidget(parent), network(new QNetworkAccessManager(this)), refresh(new QTimer(this)), screen(new QLabel(this))
{
    setAutoFillBackground(true);
    QPalette dark = palette();
    dark.setColor(QPalette::Window, Qt::black);
    dark.setColor(QPalette::WindowText, Qt::white);
    setPalette(dark);
    screen->setAlignment(Qt::AlignCenter);
    screen->setWordWrap(true);
    screen->setTextFormat(Qt::RichText);
    screen->setMinimumSize(1, 1); // a large picture must not grow the view
    screen->setTextInteractionFlags(Qt::TextBrowserInteraction);
    connect(screen, &QLabel::linkActivated, this, [this] { QDesktopServices::openUrl(requested); });
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(screen);
    refresh->setSingleShot(true);
    refresh->setInterval(kRefreshMs);
    connect(refresh, &QTimer::timeout, this, &CameraView::fetch);
}

CameraView::~CameraView() { stop(); }

void CameraView::navigate(const QUrl &url)
{
    requested = url;
    picture = QImage();
    screen->clear();
    fetch();
}

void CameraView::fetch()
{
    stop();
    reply = network->get(QNetworkRequest(requested));
    connect(reply, &QNetworkReply::metaDataChanged, this, &CameraView::takeContentType);
    connect(reply, &QNetworkReply::readyRead, this, &CameraView::readReply);
    connect(reply, &QNetworkReply::finished, this, &CameraView::replyFinished);
}

// The picture on show stays until the next one replaces it.
void CameraView::stop()
{
    refresh->stop();
    if (reply) {
        reply->disconnect(this); // abort() reports its end at once
        reply->abort();
        reply->deleteLater();
        reply = nullptr;
    }
    content = Content::unknown;
    splitter.reset();
    pictureBytes.clear();
}

// The answer's type decides what becomes of its body; a redirection is followed
// and the answer at its end decides.
void CameraView::takeContentType()
{
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (content != Content::unknown || (status >= 300 && status < 400))
        return;
    content = classify(status);
    if (content == Content::page) {
        stop();
        offerBrowser();
    } else if (content == Content::unusable) {
        stop();
        showText(tr("Der Videostrom der WebCam nennt keine Trennmarke."));
    }
}

CameraView::Content CameraView::classify(int status)
{
    if (status >= 400)
        return Content::refused;
    const QByteArray type = reply->rawHeader("Content-Type");
    const QByteArray mediaType = type.trimmed().toLower(); // the boundary itself is case-sensitive
    if (mediaType.startsWith("multipart/")) {
        const std::optional<std::string> boundary = multipartBoundary(type.toStdString());
        if (!boundary)
            return Content::unusable;
        splitter = std::make_unique<MultipartSplitter>(*boundary, kPictureLimit);
        return Content::stream;
    }
    return mediaType.startsWith("image/") ? Content::picture : Content::page;
}

void CameraView::readReply()
{
    takeContentType();
    if (!reply)
        return;
    if (content == Content::stream) {
        // Only the newest of the frames that came together is worth decoding.
        const std::vector<std::string> frames = splitter->feed(reply->readAll().toStdString());
        if (!frames.empty())
            showPicture(QByteArray::fromStdString(frames.back()));
    } else if (content == Content::picture) {
        pictureBytes += reply->readAll();
        if (std::size_t(pictureBytes.size()) > kPictureLimit) {
            stop();
            showText(tr("Das Bild der WebCam ist zu groß."));
        }
    } else {
        reply->readAll(); // an error page; the reason follows when the reply ends
    }
}

void CameraView::replyFinished()
{
    const QNetworkReply::NetworkError error = reply->error();
    if (error == QNetworkReply::NoError)
        takeContentType(); // an empty answer still has a type
    if (!reply)
        return;
    const QString reason = reply->errorString();
    const Content finished = content;
    const QByteArray bytes = pictureBytes;
    stop();
    if (error != QNetworkReply::NoError && finished != Content::stream) {
        showText(tr("Die WebCam ist nicht erreichbar:\n%1").arg(reason));
    } else if (finished == Content::picture) {
        showPicture(bytes);
        refresh->start();
    }
}

void CameraView::showPicture(const QByteArray &bytes)
{
    const QImage decoded = QImage::fromData(bytes);
    if (decoded.isNull())
        return; // a damaged frame; the next one may be whole
    picture = decoded;
    showScaled();
}

void CameraView::showScaled()
{
    screen->setPixmap(QPixmap::fromImage(picture.scaled(screen->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void CameraView::showText(const QString &text)
{
    picture = QImage();
    screen->setText(text.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")));
}

void CameraView::offerBrowser()
{
    picture = QImage();
    screen->setText(QStringLiteral("<a href=\"%1\" style=\"color: white\">%2</a>")
                        .arg(requested.toString(QUrl::FullyEncoded).toHtmlEscaped(), tr("Im Browser öffnen")));
}

void CameraView::resizeEvent(QResizeEvent *)
{
    if (!picture.isNull())
        showScaled();
}

} // namespace views
