#pragma once
// Names of the machine's serial and parallel ports as the system gives them
// (/dev/ttyUSB0, /dev/parport0; COM3, LPT1 on Windows), unsorted. One backend
// per platform: the device directories on POSIX, the registry on Windows.
#include <string>
#include <vector>

namespace platform {

std::vector<std::string> listPorts(bool serial, bool parallel);

// Whether a serial device of that name is there now (the port list's, or any
// path), found out without opening it.
bool portPresent(const std::string &name);

} // namespace platform
