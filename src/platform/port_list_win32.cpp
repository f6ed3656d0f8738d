// Port names from the registry's device maps: serial ports (COM3, ...) from
// SERIALCOMM, parallel ports (LPT1, ...) from PARALLEL PORTS. QSettings cannot
// read these values (their names contain backslashes, which it takes as key
// separators), and this must build without Qt anyway.
#include "platform/port_list.h"

#include <algorithm>
#include <windows.h>

namespace platform {
namespace {

// \DosDevices\LPT1 names the port LPT1.
std::string lastPathComponent(const std::string &value)
{
    const std::string::size_type separator = value.find_last_of("\\:");
    return separator == std::string::npos ? value : value.substr(separator + 1);
}

// The string values of a key under HKLM\HARDWARE\DEVICEMAP; none when it is
// missing or refused.
std::vector<std::string> deviceMapValues(const char *key)
{
    std::vector<std::string> values;
    HKEY opened = nullptr;
    // Read access is enough; asking for full access fails for ordinary users.
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (std::string("HARDWARE\\DEVICEMAP\\") + key).c_str(), 0,
                      KEY_READ, &opened) != ERROR_SUCCESS)
        return values;
    for (DWORD index = 0;; ++index) {
        char valueName[256];
        DWORD valueNameSize = sizeof valueName;
        char data[256];
        DWORD dataSize = sizeof data - 1;
        DWORD type = 0;
        const LONG result = RegEnumValueA(opened, index, valueName, &valueNameSize, nullptr,
                                          &type, reinterpret_cast<BYTE *>(data), &dataSize);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result != ERROR_SUCCESS || type != REG_SZ)
            continue;
        data[dataSize] = '\0'; // registry strings need not be terminated
        values.emplace_back(data);
    }
    RegCloseKey(opened);
    return values;
}

} // namespace

std::vector<std::string> listPorts(bool serial, bool parallel)
{
    std::vector<std::string> names;
    if (serial)
        names = deviceMapValues("SERIALCOMM"); // COM3: what CreateFileA takes
    if (parallel) {
        for (const std::string &value : deviceMapValues("PARALLEL PORTS"))
            names.push_back(lastPathComponent(value));
    }
    return names;
}

} // namespace platform

namespace platform {

// COM ports are no files; the device map lists those that are there.
bool portPresent(const std::string &name)
{
    const std::vector<std::string> ports = listPorts(true, false);
    return std::any_of(ports.begin(), ports.end(),
                       [&name](const std::string &port) { return _stricmp(port.c_str(), name.c_str()) == 0; });
}

} // namespace platform
