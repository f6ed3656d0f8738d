#include "toolkit/bounded_log.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

namespace toolkit {

namespace {

// What the view itself takes as a line end.
bool endsLine(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::ParagraphSeparator;
}

// Drops the oldest lines once kLogSlack of them are beyond kLogLines. Dropping
// them one per append (the view's own maximumBlockCount) makes the view look
// for its widest line among all lines nearly every time, since the widest it
// knows of is the oldest: an append at the cap then costs as much as the whole
// log. In a batch the search happens once per kLogSlack appends.
void dropOldestLines(QPlainTextEdit &log)
{
    QTextDocument &document = *log.document();
    const int excess = document.blockCount() - kLogLines;
    if (excess < kLogSlack)
        return;
    // A reader scrolled back keeps the lines in view; one following the end stays there.
    QScrollBar &scroll = *log.verticalScrollBar();
    const bool followingTheEnd = scroll.value() == scroll.maximum();
    const int firstLineInView = scroll.value();
    const int linesBefore = document.lineCount();
    QTextCursor oldest(&document);
    oldest.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, excess);
    oldest.removeSelectedText();
    const int linesDropped = linesBefore - document.lineCount();
    scroll.setValue(followingTheEnd ? scroll.maximum() : firstLineInView - linesDropped);
}

} // namespace

// Nothing of a log is ever undone, and a history of its edits would grow without end.
void limitLog(QPlainTextEdit &log)
{
    log.document()->setUndoRedoEnabled(false);
}

void appendToLog(QPlainTextEdit &log, const QString &text)
{
    const int lineSoFar = log.document()->lastBlock().length() - 1; // without its end
    log.moveCursor(QTextCursor::End);
    log.insertPlainText(breakRunOnLines(text, lineSoFar));
    dropOldestLines(log);
}

void appendLineToLog(QPlainTextEdit &log, const QString &text)
{
    log.appendPlainText(breakRunOnLines(text, 0));
    dropOldestLines(log);
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
