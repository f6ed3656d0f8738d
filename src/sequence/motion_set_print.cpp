#include "sequence/motion_set_print.h"

#include "arm/arm_profile.h"
#include "sequence/step_line.h"
#include "toolkit/translated.h"

#include <QCoreApplication>
#include <QDate>
#include <QPrinter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>


namespace sequence {

namespace {

using arm::kJoints;
constexpr int kHeaderRows = 2;

void insertTitle(QTextCursor &cursor, const QString &fileLabel, const QDate &date)
{
    QTextCharFormat title;
    title.setFontWeight(QFont::Bold);
    title.setFontPointSize(14);
    cursor.insertText(QCoreApplication::translate("sequence::MotionSetPrint", "Verfahrsatz: %1").arg(fileLabel),
                      title);
    cursor.insertBlock();
    cursor.insertText(date.toString(QStringLiteral("dd.MM.yyyy")), QTextCharFormat());
    cursor.insertBlock();
}

// Names centred over their columns, numbers right-aligned so that their digits line up.
void setCell(QTextTable &table, int row, int column, const QString &text, Qt::Alignment alignment)
{
    QTextCursor cell = table.cellAt(row, column).firstCursorPosition();
    QTextBlockFormat format;
    format.setAlignment(alignment);
    cell.setBlockFormat(format);
    cell.insertText(text);
}

// Step number over both header rows, each joint's name over its two columns; the
// header rows come again on every page.
void insertTable(QTextCursor &cursor, const std::vector<std::string> &stepLines)
{
    QTextTableFormat format;
    format.setHeaderRowCount(kHeaderRows);
    format.setCellPadding(3);
    format.setCellSpacing(0);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    QTextTable &table =
        *cursor.insertTable(kHeaderRows + int(stepLines.size()), 1 + 2 * kJoints, format);
    table.mergeCells(0, 0, kHeaderRows, 1);
    setCell(table, 0, 0, QCoreApplication::translate("sequence::MotionSetPrint", "Schritt"), Qt::AlignLeft);
    for (int joint = 0; joint < kJoints; ++joint) {
        const int column = 1 + 2 * joint;
        table.mergeCells(0, column, 1, 2);
        setCell(table, 0, column, toolkit::translated(arm::jointName(joint)), Qt::AlignHCenter);
        setCell(table, 1, column, QCoreApplication::translate("sequence::MotionSetPrint", "Position"), Qt::AlignRight);
        setCell(table, 1, column + 1, QCoreApplication::translate("sequence::MotionSetPrint", "Speed"), Qt::AlignRight);
    }
    for (std::size_t step = 0; step < stepLines.size(); ++step) {
        const int row = kHeaderRows + int(step);
        const StepValues values = readStepLine(stepLines[step]);
        setCell(table, row, 0, QString::number(step + 1), Qt::AlignRight);
        for (int joint = 0; joint < kJoints; ++joint) {
            setCell(table, row, 1 + 2 * joint, QString::number(values[std::size_t(2 * joint + 1)]), Qt::AlignRight);
            setCell(table, row, 2 + 2 * joint, QString::number(values[std::size_t(2 * joint)]), Qt::AlignRight);
        }
    }
}

} // namespace

std::unique_ptr<QTextDocument> motionSetDocument(const QString &fileLabel, const QDate &date,
                                                 const std::vector<std::string> &stepLines)
{
    auto document = std::make_unique<QTextDocument>();
    QTextCursor cursor(document.get());
    insertTitle(cursor, fileLabel, date);
    if (stepLines.empty())
        cursor.insertText(
            QCoreApplication::translate("sequence::MotionSetPrint", "Der Verfahrsatz enthält keine Schritte."));
    else
        insertTable(cursor, stepLines);
    return document;
}

void printMotionSet(QPrinter &printer, const QString &fileLabel, const QDate &date,
                    const std::vector<std::string> &stepLines)
{
    motionSetDocument(fileLabel, date, stepLines)->print(&printer);
}

} // namespace sequence
