#pragma once
#include <QString>

namespace platform {

// The directory of the running executable, with a trailing separator.
QString executableDirectory();

} // namespace platform
