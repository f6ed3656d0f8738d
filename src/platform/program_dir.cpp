#include "platform/program_dir.h"

#include <QCoreApplication>

namespace platform {

QString executableDirectory() { return QCoreApplication::applicationDirPath() + QLatin1Char('/'); }

} // namespace platform
