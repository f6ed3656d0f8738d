#include "receive_log.h"

#include "sim_report.h"

namespace sim {

bool ReceiveLog::open(const QString &path, QString *error)
{
    file.setFileName(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

void ReceiveLog::record(const std::string &link, const std::string &line)
{
    if (!file.isOpen())
        return;
    file.write((logLine(clock.elapsed(), link, line) + '\n').c_str());
}

} // namespace sim
