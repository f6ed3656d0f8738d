#include "views/browser_view.h"

#include "toolkit/web_browser.h"
#include "views/camera_view.h"
#include "views/text_page_view.h"

#include <QLabel>
#include <QVBoxLayout>

namespace views {

BrowserView::BrowserView(QWidget *parent)
    : QWidget(parent), layout(new QVBoxLayout(this)), reasonLine(new QLabel(this)),
      engine(new toolkit::WebBrowser(this))
{
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    reasonLine->setObjectName(QStringLiteral("fallbackReason"));
    reasonLine->setWordWrap(true);
    reasonLine->hide();
    layout->addWidget(reasonLine);
    layout->addWidget(engine, 1);
    connect(engine, &toolkit::WebBrowser::failed, this, &BrowserView::fallBack);
}

void BrowserView::navigate(const QUrl &url)
{
    shown = url;
    if (engine)
        engine->navigate(url);
    else
        showLight(url);
}

void BrowserView::addLight(QWidget *view) { layout->addWidget(view, 1); }

// The engine may tell from inside its own navigate: it goes once that is over.
void BrowserView::fallBack(const QString &reason)
{
    engine->hide();
    engine->deleteLater();
    engine = nullptr;
    reasonLine->setText(tr("Eingebetteter Browser nicht verfügbar (%1): einfache Ansicht").arg(reason));
    reasonLine->show();
    if (!shown.isEmpty())
        showLight(shown);
}

void InfoBrowser::showLight(const QUrl &url)
{
    if (!light)
        addLight(light = new TextPageView(this));
    light->navigate(url);
}

void WebcamBrowser::showLight(const QUrl &url)
{
    if (!light)
        addLight(light = new CameraView(this));
    light->navigate(url);
}

} // namespace views
