#include "comm/debug_log.h"

#include "toolkit/bounded_log.h"

namespace comm {

DebugLog::DebugLog(QPlainTextEdit &memo) : memo(memo) { toolkit::limitLog(memo); }

void DebugLog::logLine(const QString &line) { toolkit::appendLineToLog(memo, line); }

} // namespace comm
