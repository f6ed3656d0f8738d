#pragma once
// The console's logs (the debug memo and the two receive logs) keep only their
// newest lines, so that a day of traffic neither fills the memory nor makes
// appending slower as the day goes on.
#include <QString>

class QPlainTextEdit;

namespace toolkit {

// Lines a log keeps at least; the oldest go from the top, kLogSlack at a time,
// so a log holds between kLogLines and kLogLines + kLogSlack lines.
constexpr int kLogLines = 50000;
constexpr int kLogSlack = 1000;
// Received text without line breaks is broken after this many characters, so a
// single line never grows beyond what the view lays out at once.
constexpr int kLongestLogLine = 1000;

// Readies a log for the appends below, which keep it within its bounds and
// let it repaint a few times a second at most.
void limitLog(QPlainTextEdit &log);
// Adds text at the end of the last line, as it came: no line break added.
void appendToLog(QPlainTextEdit &log, const QString &text);
// Adds text as a line of its own.
void appendLineToLog(QPlainTextEdit &log, const QString &text);

// text with a line break wherever a line, continuing one of lineSoFar
// characters, would run beyond kLongestLogLine.
QString breakRunOnLines(const QString &text, int lineSoFar);

} // namespace toolkit
