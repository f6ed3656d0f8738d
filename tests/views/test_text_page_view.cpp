#include "views/text_page_view.h"

#include <QTemporaryDir>
#include <QtTest>

class TestTextPageView : public QObject {
    Q_OBJECT

private slots:
    void everyNavigationReadsThePageFromDisk();
};

void TestTextPageView::everyNavigationReadsThePageFromDisk()
{
    QTemporaryDir dir;
    QFile page(dir.filePath(QStringLiteral("info.htm")));
    const auto write = [&](const QByteArray &html) {
        QVERIFY(page.open(QIODevice::WriteOnly | QIODevice::Truncate));
        page.write(html);
        page.close();
    };
    write("<html><body><h1>Velmora Projekt</h1><p>fünf Gelenke</p></body></html>");
    views::TextPageView view;
    view.navigate(QUrl::fromLocalFile(page.fileName()));
    QCOMPARE(view.toPlainText(), QStringLiteral("Velmora Projekt\nfünf Gelenke"));
    write("<html><body><p>geändert</p></body></html>");
    view.navigate(QUrl::fromLocalFile(page.fileName()));
    QCOMPARE(view.toPlainText(), QStringLiteral("geändert"));
}

QTEST_MAIN(TestTextPageView)
#include "test_text_page_view.moc"
