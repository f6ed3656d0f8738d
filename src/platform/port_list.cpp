#include "platform/port_list.h"

// On Windows both lists come from the registry, without Qt, so the serial core
// built with mingw lists ports as the console does.
#ifdef _WIN32
#include "platform/registry_ports_win32.h"
#else
#include <QDir>
#include <QSerialPortInfo>
#endif

namespace platform {
namespace {

std::vector<std::string> serialPorts()
{
#ifdef _WIN32
    return serialPortsFromRegistry(); // COM3: what CreateFileA takes
#else
    std::vector<std::string> names;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        names.push_back(info.systemLocation().toStdString()); // /dev/ttyUSB0: what open takes
    return names;
#endif
}

std::vector<std::string> parallelPorts()
{
#ifdef _WIN32
    return parallelPortsFromRegistry();
#else
    std::vector<std::string> names;
    const QDir dev(QStringLiteral("/dev"));
    const QStringList entries = dev.entryList({QStringLiteral("parport*")}, QDir::System);
    for (const QString &entry : entries)
        names.push_back(dev.filePath(entry).toStdString());
    return names;
#endif
}

} // namespace

std::vector<std::string> listPorts(bool serial, bool parallel)
{
    std::vector<std::string> names;
    if (serial)
        names = serialPorts();
    if (parallel) {
        const std::vector<std::string> more = parallelPorts();
        names.insert(names.end(), more.begin(), more.end());
    }
    return names;
}

} // namespace platform
