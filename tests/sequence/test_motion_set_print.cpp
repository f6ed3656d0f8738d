// The printed motion set: the document's title and table, and a real print to a PDF file.
#include "sequence/motion_set_print.h"

#include <QPrinter>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextTable>
#include <QtTest>

class TestMotionSetPrint : public QObject {
    Q_OBJECT

private slots:
    void tableHasARowPerStep();
    void printsToPdf();
};

// A merged cell answers for every place it covers; an empty set has no table.
void TestMotionSetPrint::tableHasARowPerStep()
{
    const auto document = sequence::motionSetDocument("greifen.rfs", QDate(2024, 3, 7),
                                                      {"0 1500 100 1600 0 1700 250 1800 0 1900 ", "5 1200 x"});
    QVERIFY(document->toPlainText().startsWith("Verfahrsatz: greifen.rfs\n07.03.2024\n"));
    auto *table = qobject_cast<QTextTable *>(document->rootFrame()->childFrames().value(0));
    QVERIFY(table);
    QStringList cells;
    for (int cell = 0; cell < table->rows() * table->columns(); ++cell)
        cells << table->cellAt(cell / table->columns(), cell % table->columns()).firstCursorPosition().block().text();
    QCOMPARE(cells.join(u' '), "Schritt Basis Basis Schulter Schulter Ellenbogen Ellenbogen Handgelenk Handgelenk "
                               "Greifer Greifer Schritt" + QString(" Position Speed").repeated(5)
                                   + " 1 1500 0 1600 100 1700 0 1800 250 1900 0 2 1200 5 0 0 0 0 0 0 0 0");
    const auto empty = sequence::motionSetDocument("Datei...", QDate(2024, 3, 7), {});
    QVERIFY(empty->rootFrame()->childFrames().isEmpty());
    QVERIFY(empty->toPlainText().endsWith(QStringLiteral("Der Verfahrsatz enthält keine Schritte.")));
}

void TestMotionSetPrint::printsToPdf()
{
    QTemporaryDir dir;
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("satz.pdf"));
    sequence::printMotionSet(printer, "satz.rfs", QDate(2024, 3, 7),
                             std::vector<std::string>(200, "0 1500 0 1500 0 1500 0 1500 0 1500 "));
    QFile pdf(printer.outputFileName());
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QString bytes = QString::fromLatin1(pdf.readAll());
    QVERIFY(bytes.startsWith("%PDF"));
    // The page tree's count; the document has no outline that would hold another.
    QVERIFY2(QRegularExpression("/Count (\\d+)").match(bytes).captured(1).toInt() > 1, "200 steps fill pages");
}

QTEST_MAIN(TestMotionSetPrint)
#include "test_motion_set_print.moc"
