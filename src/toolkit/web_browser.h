#pragma once
// An embedded browser. The engine's view (and its helper processes) is created on
// the first navigation only, so a window that never shows a page starts fast.
// Qt WebEngine ends the whole process where it cannot run (its helper program
// missing, or as root with its sandbox on): the browser starts the engine only
// where it can, and says why it does not instead.
#include <QUrl>
#include <QWidget>

class QWebEngineView;

namespace toolkit {

class WebBrowser : public QWidget {
    Q_OBJECT

public:
    explicit WebBrowser(QWidget *parent = nullptr);

    void navigate(const QUrl &url);

signals:
    // The engine could not start here, or its page process ended abnormally: this
    // browser shows nothing more.
    void failed(const QString &reason);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QWebEngineView *view = nullptr;
};

} // namespace toolkit
