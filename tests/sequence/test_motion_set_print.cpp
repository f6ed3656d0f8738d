// The printed motion set: the document's title and table, and a real print to a PDF file.
#include "sequence/motion_set_print.h"

#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextTable>
#include <QtTest>

namespace {

QTextTable *tableOf(QTextDocument &document)
{
    const QList<QTextFrame *> frames = document.rootFrame()->childFrames();
    return frames.isEmpty() ? nullptr : qobject_cast<QTextTable *>(frames.first());
}

QStringList rowOf(QTextTable &table, int row)
{
    QStringList cells;
    for (int column = 0; column < table.columns(); ++column)
        cells << table.cellAt(row, column).firstCursorPosition().block().text();
    return cells;
}

} // namespace

class TestMotionSetPrint : public QObject {
    Q_OBJECT

private slots:
    void tableHasARowPerStep();
    void emptySetSaysSo();
    void printsToPdf();
};

void TestMotionSetPrint::tableHasARowPerStep()
{
    const auto document = sequence::motionSetDocument(QStringLiteral("greifen.rfs"), QDate(2024, 3, 7),
                                                      {"0 1500 100 1600 0 1700 250 1800 0 1900 ", "5 1200 x"});
    QVERIFY(document->toPlainText().startsWith(QStringLiteral("Verfahrsatz: greifen.rfs\n07.03.2024\n")));
    QTextTable *table = tableOf(*document);
    QVERIFY(table);
    QCOMPARE(table->rows(), 4);
    // A merged cell answers for every place it covers.
    QCOMPARE(rowOf(*table, 0), QStringList({"Schritt", "Basis", "Basis", "Schulter", "Schulter", "Ellenbogen",
                                            "Ellenbogen", "Handgelenk", "Handgelenk", "Greifer", "Greifer"}));
    QCOMPARE(rowOf(*table, 1).mid(0, 3), QStringList({"Schritt", "Position", "Speed"}));
    QCOMPARE(rowOf(*table, 2), QStringList({"1", "1500", "0", "1600", "100", "1700", "0", "1800", "250", "1900", "0"}));
    QCOMPARE(rowOf(*table, 3), QStringList({"2", "1200", "5", "0", "0", "0", "0", "0", "0", "0", "0"}));
}

void TestMotionSetPrint::emptySetSaysSo()
{
    const auto document = sequence::motionSetDocument(QStringLiteral("Datei..."), QDate(2024, 3, 7), {});
    QVERIFY(!tableOf(*document));
    QVERIFY(document->toPlainText().endsWith(QStringLiteral("Der Verfahrsatz enthält keine Schritte.")));
}

void TestMotionSetPrint::printsToPdf()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("satz.pdf")));
    sequence::printMotionSet(printer, QStringLiteral("satz.rfs"), QDate(2024, 3, 7),
                             std::vector<std::string>(200, "0 1500 0 1500 0 1500 0 1500 0 1500 "));
    QFile pdf(printer.outputFileName());
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    QVERIFY(bytes.startsWith("%PDF"));
    // The page tree's count; the document has no outline that would hold another.
    const QRegularExpressionMatch pages = QRegularExpression(QStringLiteral("/Count (\\d+)")).match(QString::fromLatin1(bytes));
    QVERIFY(pages.hasMatch());
    QVERIFY2(pages.captured(1).toInt() > 1, "200 steps fill more than one page");
}

QTEST_MAIN(TestMotionSetPrint)
#include "test_motion_set_print.moc"
