#include "toolkit/web_browser.h"

#include <QWebEngineView>

namespace toolkit {

WebBrowser::WebBrowser(QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette blank = palette();
    blank.setColor(QPalette::Window, Qt::white);
    setPalette(blank);
}

void WebBrowser::navigate(const QUrl &url)
{
    if (!view) {
        view = new QWebEngineView(this);
        view->setGeometry(rect());
        view->show();
    }
    view->load(url);
}

void WebBrowser::resizeEvent(QResizeEvent *)
{
    if (view)
        view->setGeometry(rect());
}

} // namespace toolkit
