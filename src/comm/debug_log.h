#pragma once
// The debug memo "Debuggfenster": every command the two timers send, with the
// text "<cr>" for the carriage return that goes out, and every socket read.
#include <QString>
#include <string>

class QPlainTextEdit;

namespace comm {

class DebugLog {
public:
    explicit DebugLog(QPlainTextEdit &memo);

    void logCommand(const std::string &command);
    void logLine(const QString &line);

private:
    QPlainTextEdit &memo;
};

} // namespace comm
