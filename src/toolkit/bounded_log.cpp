#include "toolkit/bounded_log.h"

#include <QPlainTextEdit>
#include <QTextBlock>

namespace toolkit {

namespace {

// What the view itself takes as a line end.
bool endsLine(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::ParagraphSeparator;
}

} // namespace

void limitLog(QPlainTextEdit &log)
{
    log.setMaximumBlockCount(kLogLines);
}

void appendToLog(QPlainTextEdit &log, const QString &text)
{
    const int lineSoFar = log.document()->lastBlock().length() - 1; // without its end
    log.moveCursor(QTextCursor::End);
    log.insertPlainText(breakRunOnLines(text, lineSoFar));
}

void appendLineToLog(QPlainTextEdit &log, const QString &text)
{
    log.appendPlainText(breakRunOnLines(text, 0));
}

QString breakRunOnLines(const QString &text, int lineSoFar)
{
    QString broken;
    broken.reserve(text.size());
    int lineLength = lineSoFar;
    for (const QChar c : text) {
        if (endsLine(c)) {
            lineLength = 0;
        } else if (lineLength >= kLongestLogLine) {
            broken += QLatin1Char('\n');
            lineLength = 1;
        } else {
            ++lineLength;
        }
        broken += c;
    }
    return broken;
}

} // namespace toolkit
