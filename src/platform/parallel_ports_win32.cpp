#include "platform/parallel_ports_win32.h"

#include <windows.h>

namespace platform {
namespace {

// \DosDevices\LPT1 names the port LPT1.
std::string lastPathComponent(const std::string &value)
{
    const std::string::size_type separator = value.find_last_of("\\:");
    return separator == std::string::npos ? value : value.substr(separator + 1);
}

} // namespace

std::vector<std::string> parallelPortsFromRegistry()
{
    std::vector<std::string> names;
    HKEY key = nullptr;
    // Read access is enough; asking for full access fails for ordinary users.
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\PARALLEL PORTS", 0,
                      KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    for (DWORD index = 0;; ++index) {
        char valueName[256];
        DWORD valueNameSize = sizeof valueName;
        char data[256];
        DWORD dataSize = sizeof data - 1;
        DWORD type = 0;
        const LONG result = RegEnumValueA(key, index, valueName, &valueNameSize, nullptr,
                                          &type, reinterpret_cast<BYTE *>(data), &dataSize);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result != ERROR_SUCCESS || type != REG_SZ)
            continue;
        data[dataSize] = '\0'; // registry strings need not be terminated
        names.push_back(lastPathComponent(data));
    }
    RegCloseKey(key);
    return names;
}

} // namespace platform
