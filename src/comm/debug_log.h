#pragma once
// The debug memo "Debuggfenster": the lines the connections log, that is every
// command the two timers send (with "<cr>" for its carriage return) and every
// socket read.
#include <QString>

class QPlainTextEdit;

namespace comm {

class DebugLog {
public:
    explicit DebugLog(QPlainTextEdit &memo);

    void logLine(const QString &line);

private:
    QPlainTextEdit &memo;
};

} // namespace comm
