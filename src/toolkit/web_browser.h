#pragma once
// An embedded browser. The engine's view (and its helper processes) is created on
// the first navigation only, so a window that never shows a page starts fast.
#include <QUrl>
#include <QWidget>

class QWebEngineView;

namespace toolkit {

class WebBrowser : public QWidget {
    Q_OBJECT

public:
    explicit WebBrowser(QWidget *parent = nullptr);

    void navigate(const QUrl &url);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QWebEngineView *view = nullptr;
};

} // namespace toolkit
