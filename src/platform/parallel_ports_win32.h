#pragma once
// Parallel port names from the registry's device map (LPT1, ...). QSettings cannot
// read these values: their names contain backslashes, which it takes as key
// separators, so this reads the registry directly.
#include <string>
#include <vector>

namespace platform {

std::vector<std::string> parallelPortsFromRegistry();

} // namespace platform
