#pragma once
// The info page's and the webcam's view where the build has Qt WebEngine: the
// engine's browser while it can run, else the light view (Qt's rich-text browser,
// the MJPEG view) under a line that says why. A view that fails never ends the
// console.
#include <QUrl>
#include <QWidget>

class QLabel;
class QVBoxLayout;

namespace toolkit {
class WebBrowser;
}

namespace views {

class CameraView;
class TextPageView;

class BrowserView : public QWidget {
    Q_OBJECT

public:
    void navigate(const QUrl &url);

protected:
    explicit BrowserView(QWidget *parent);
    // Shows url in the light view, which it makes the first time with addLight.
    virtual void showLight(const QUrl &url) = 0;
    void addLight(QWidget *view);

private:
    void fallBack(const QString &reason);

    QVBoxLayout *layout;
    QLabel *reasonLine;
    toolkit::WebBrowser *engine;
    QUrl shown;
};

class InfoBrowser final : public BrowserView {
    Q_OBJECT

public:
    explicit InfoBrowser(QWidget *parent = nullptr) : BrowserView(parent) {}

private:
    void showLight(const QUrl &url) override;

    TextPageView *light = nullptr;
};

class WebcamBrowser final : public BrowserView {
    Q_OBJECT

public:
    explicit WebcamBrowser(QWidget *parent = nullptr) : BrowserView(parent) {}

private:
    void showLight(const QUrl &url) override;

    CameraView *light = nullptr;
};

} // namespace views
