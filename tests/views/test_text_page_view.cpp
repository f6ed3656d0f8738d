#include "support/file_bytes.h"
#include "views/browsers.h"
#include "views/text_page_view.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>
#if VELMORA_WEBENGINE
#include <QWebEngineView>
#endif

class TestTextPageView : public QObject {
    Q_OBJECT

private slots:
    void everyNavigationReadsThePageFromDisk()
    {
        QTemporaryDir dir;
        const QString page = dir.filePath(QStringLiteral("info.htm"));
        QVERIFY(writeBytes(page, "<html><body><h1>Velmora Projekt</h1><p>fünf Gelenke</p></body></html>"));
        views::TextPageView view;
        view.navigate(QUrl::fromLocalFile(page));
        QCOMPARE(view.toPlainText(), QStringLiteral("Velmora Projekt\nfünf Gelenke"));
        QVERIFY(writeBytes(page, "<html><body><p>geändert</p></body></html>"));
        view.navigate(QUrl::fromLocalFile(page));
        QCOMPARE(view.toPlainText(), QStringLiteral("geändert"));
    }

    // The engine's helper program missing stands for any engine that cannot start
    // here: the page shows in the light view, under a line that says why.
    void infoFallsBackWhereTheEngineCannotStart()
    {
#if !VELMORA_WEBENGINE
        QSKIP("without Qt WebEngine the light view is the only one");
#else
        QTemporaryDir dir;
        const QString page = dir.filePath(QStringLiteral("info.htm"));
        QVERIFY(writeBytes(page, "<p>Velmora</p>"));
        qputenv("QTWEBENGINEPROCESS_PATH", QFile::encodeName(dir.filePath(QStringLiteral("QtWebEngineProcess"))));
        views::InfoBrowser browser;
        browser.navigate(QUrl::fromLocalFile(page));
        qunsetenv("QTWEBENGINEPROCESS_PATH");
        QVERIFY(!browser.findChild<QWebEngineView *>());
        QCOMPARE(browser.findChild<views::TextPageView *>()->toPlainText(), QStringLiteral("Velmora"));
        QCOMPARE(browser.findChild<QLabel *>(QStringLiteral("fallbackReason"))->text(),
                 QStringLiteral("Eingebetteter Browser nicht verfügbar (QtWebEngineProcess nicht gefunden): einfache Ansicht"));
#endif
    }
};

QTEST_MAIN(TestTextPageView)
#include "test_text_page_view.moc"
