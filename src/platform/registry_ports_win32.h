#pragma once
// Port names from the registry's device maps: serial ports (COM3, ...) from
// SERIALCOMM, parallel ports (LPT1, ...) from PARALLEL PORTS, unsorted. QSettings
// cannot read these values: their names contain backslashes, which it takes as
// key separators, so this reads the registry directly.
#include <string>
#include <vector>

namespace platform {

std::vector<std::string> serialPortsFromRegistry();
std::vector<std::string> parallelPortsFromRegistry();

} // namespace platform
