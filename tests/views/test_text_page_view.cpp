#include "support/file_bytes.h"
#include "views/text_page_view.h"

#include <QTemporaryDir>
#include <QtTest>

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
};

QTEST_MAIN(TestTextPageView)
#include "test_text_page_view.moc"
