#include "toolkit/web_browser.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QWebEngineView>

#include <cstdio>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace toolkit {

namespace {

const char *const kNoSandbox = "QTWEBENGINE_DISABLE_SANDBOX";

// Chromium refuses to run as root with its sandbox on, and ends the process. Run
// as root, the sandbox has nothing left to protect; it must be off before the
// engine's first view is made.
void allowRunningAsRoot()
{
#ifdef Q_OS_UNIX
    if (geteuid() != 0 || qEnvironmentVariableIsSet(kNoSandbox))
        return;
    qputenv(kNoSandbox, "1");
    std::fputs("velmora: running as root: the embedded browser runs without its sandbox\n", stderr);
#endif
}

// The engine stops the process when it finds no helper program; it looks where
// QTWEBENGINEPROCESS_PATH says, or else beside Qt's programs and beside ours.
QString missingHelper()
{
    const QString helper = QStringLiteral("QtWebEngineProcess");
    const QString named = qEnvironmentVariable("QTWEBENGINEPROCESS_PATH");
    const QStringList places = !named.isEmpty()
                                   ? QStringList{named}
                                   : QStringList{QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + u'/' + helper,
                                                 QCoreApplication::applicationDirPath() + u'/' + helper};
    for (const QString &place : places) {
        if (QFileInfo::exists(place))
            return QString();
    }
    return QCoreApplication::translate("toolkit::WebBrowser", "%1 nicht gefunden").arg(helper);
}

} // namespace

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
        if (const QString problem = missingHelper(); !problem.isEmpty()) {
            emit failed(problem);
            return;
        }
        allowRunningAsRoot();
        view = new QWebEngineView(this);
        connect(view, &QWebEngineView::renderProcessTerminated, this,
                [this](QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) {
                    if (status != QWebEnginePage::NormalTerminationStatus)
                        emit failed(tr("Seitenprozess beendet, Code %1").arg(exitCode));
                });
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
