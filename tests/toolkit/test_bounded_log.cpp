// The logs keep their newest lines, and received text without line breaks is
// broken into lines the view can lay out.
#include "toolkit/bounded_log.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QtTest>

using toolkit::kLogLines;
using toolkit::kLogSlack;
using toolkit::kLongestLogLine;

class TestBoundedLog : public QObject {
    Q_OBJECT

private slots:
    void runOnLinesAreBroken_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("lineSoFar");
        QTest::addColumn<QString>("expected");
        const QString full(kLongestLogLine, QLatin1Char('x'));
        QTest::newRow("short text") << "A42\rB7" << 0 << "A42\rB7";
        QTest::newRow("exactly full") << full << 0 << full;
        QTest::newRow("one beyond") << full + "y" << 0 << full + "\ny";
        QTest::newRow("continues a full line") << "ab" << kLongestLogLine << "\nab";
        QTest::newRow("line end resets the count") << "a\rb" << kLongestLogLine - 1 << "a\rb";
        QTest::newRow("line feed too") << full + "\n" + full << 0 << full + "\n" + full;
        QTest::newRow("twice as long") << full + full << 0 << full + "\n" + full;
    }

    void runOnLinesAreBroken()
    {
        QFETCH(QString, text);
        QFETCH(int, lineSoFar);
        QFETCH(QString, expected);
        QCOMPARE(toolkit::breakRunOnLines(text, lineSoFar), expected);
    }

    void logKeepsItsNewestLines()
    {
        QPlainTextEdit log;
        toolkit::limitLog(log);
        for (int line = 0; line < kLogLines + kLogSlack - 1; ++line)
            toolkit::appendLineToLog(log, QString::number(line));
        QCOMPARE(log.document()->blockCount(), kLogLines + kLogSlack - 1);
        toolkit::appendLineToLog(log, QString::number(kLogLines + kLogSlack - 1));
        toolkit::appendToLog(log, QStringLiteral(" und mehr"));
        // Dropped once the append's event is over, not inside the sender's handler.
        QCOMPARE(log.document()->blockCount(), kLogLines + kLogSlack);
        QTRY_COMPARE(log.document()->blockCount(), kLogLines);
        QCOMPARE(log.document()->firstBlock().text(), QString::number(kLogSlack));
        QCOMPARE(log.document()->lastBlock().text(), QString::number(kLogLines + kLogSlack - 1) + " und mehr");
        QVERIFY(!log.document()->isUndoAvailable());
    }

    // Dropping the oldest lines leaves in view what the reader looks at.
    void droppingOldLinesKeepsTheView_data()
    {
        QTest::addColumn<bool>("followingTheEnd");
        QTest::newRow("scrolled back") << false;
        QTest::newRow("following the end") << true;
    }

    void droppingOldLinesKeepsTheView()
    {
        QFETCH(bool, followingTheEnd);
        QPlainTextEdit log;
        toolkit::limitLog(log);
        log.setLineWrapMode(QPlainTextEdit::NoWrap);
        log.show();
        for (int line = 0; line < kLogLines + kLogSlack - 1; ++line)
            toolkit::appendLineToLog(log, QString::number(line));
        QScrollBar &scroll = *log.verticalScrollBar();
        scroll.setValue(followingTheEnd ? scroll.maximum() : kLogLines / 2);
        const QString inView = log.cursorForPosition({}).block().text();
        toolkit::appendLineToLog(log, QStringLiteral("neu"));
        QTRY_COMPARE(log.document()->blockCount(), kLogLines);
        if (followingTheEnd)
            QCOMPARE(scroll.value(), scroll.maximum());
        else
            QCOMPARE(log.cursorForPosition({}).block().text(), inView);
    }

    // Repaints are held back while lines come quickly, never for good.
    void burstOfLinesIsPaintedInTheEnd()
    {
        QPlainTextEdit log;
        toolkit::limitLog(log);
        log.show();
        for (int line = 0; line < 100; ++line)
            toolkit::appendLineToLog(log, QString::number(line));
        QTRY_VERIFY(log.updatesEnabled());
        QCOMPARE(log.document()->lastBlock().text(), QStringLiteral("99"));
    }

    void receivedRunWithoutLineBreaksStaysInShortLines()
    {
        QPlainTextEdit log;
        toolkit::limitLog(log);
        for (int block = 0; block < 30; ++block)
            toolkit::appendToLog(log, QString(100, QLatin1Char('z')));
        QCOMPARE(log.document()->blockCount(), 3);
        QCOMPARE(log.document()->firstBlock().length() - 1, kLongestLogLine);
    }
};

QTEST_MAIN(TestBoundedLog)
#include "test_bounded_log.moc"
