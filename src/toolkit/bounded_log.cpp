#include "toolkit/bounded_log.h"

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>

namespace toolkit {

namespace {

// How often a log may repaint at most: twice a second keeps a stream of lines
// readable as it runs, and a line after a quiet spell still shows at once.
constexpr int kPaintIntervalMs = 500;

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

// Keeps a log in bounds after each append, outside the code that appends:
// - the oldest lines are dropped once the append's event has been handled, so a
//   sender that logs a command just before it sends it is not held up by it;
// - repaints are held back to one per kPaintIntervalMs. At 20 lines a second the
//   view would repaint its text and scroll bar for every line, most of what the
//   window costs while the chassis runs, and no one reads that fast. The text
//   itself is always complete; only its picture may lag by an interval.
class LogUpkeep final : public QObject {
public:
    explicit LogUpkeep(QPlainTextEdit &log)
        : QObject(&log), log(log)
    {
        trim.setSingleShot(true);
        trim.setInterval(0);
        connect(&trim, &QTimer::timeout, this, [this] { dropOldestLines(this->log); });
        resume.setSingleShot(true);
        connect(&resume, &QTimer::timeout, this, [this] {
            this->log.setUpdatesEnabled(true);
            sincePaint.start();
        });
        sincePaint.start();
    }

    static LogUpkeep *of(QPlainTextEdit &log)
    {
        for (QObject *child : log.children()) {
            if (auto *upkeep = dynamic_cast<LogUpkeep *>(child))
                return upkeep;
        }
        return nullptr;
    }

    void afterAppend()
    {
        if (log.document()->blockCount() - kLogLines >= kLogSlack && !trim.isActive())
            trim.start();
        holdBackPaint();
    }

private:
    void holdBackPaint()
    {
        if (resume.isActive())
            return; // held back already
        const qint64 waitMs = kPaintIntervalMs - sincePaint.elapsed();
        if (waitMs <= 0) {
            sincePaint.start(); // this append paints at once
            return;
        }
        log.setUpdatesEnabled(false);
        resume.start(static_cast<int>(waitMs));
    }

    QPlainTextEdit &log;
    QTimer trim;
    QTimer resume;
    QElapsedTimer sincePaint;
};

void afterAppend(QPlainTextEdit &log)
{
    if (LogUpkeep *upkeep = LogUpkeep::of(log))
        upkeep->afterAppend();
}

} // namespace

// Nothing of a log is ever undone, and a history of its edits would grow without end.
void limitLog(QPlainTextEdit &log)
{
    log.document()->setUndoRedoEnabled(false);
    if (!LogUpkeep::of(log))
        new LogUpkeep(log);
}

void appendToLog(QPlainTextEdit &log, const QString &text)
{
    const int lineSoFar = log.document()->lastBlock().length() - 1; // without its end
    log.moveCursor(QTextCursor::End);
    log.insertPlainText(breakRunOnLines(text, lineSoFar));
    afterAppend(log);
}

void appendLineToLog(QPlainTextEdit &log, const QString &text)
{
    log.appendPlainText(breakRunOnLines(text, 0));
    afterAppend(log);
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
