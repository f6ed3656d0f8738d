#pragma once
// Names of the machine's serial and parallel ports as the system gives them
// (/dev/ttyUSB0, /dev/parport0; COM3, LPT1 on Windows), unsorted. One backend
// per platform: the device directories on POSIX, the registry on Windows.
#include <string>
#include <vector>

namespace platform {

std::vector<std::string> listPorts(bool serial, bool parallel);

} // namespace platform
