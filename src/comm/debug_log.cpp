#include "comm/debug_log.h"

#include "toolkit/bounded_log.h"
#include "toolkit/byte_text.h"

namespace comm {

DebugLog::DebugLog(QPlainTextEdit &memo) : memo(memo) { toolkit::limitLog(memo); }

void DebugLog::logCommand(const std::string &command)
{
    logLine(toolkit::fromBytes(command) + QStringLiteral("<cr>"));
}

void DebugLog::logLine(const QString &line) { toolkit::appendLineToLog(memo, line); }

} // namespace comm
