#include "platform/port_list.h"

#include <QSerialPortInfo>

#ifdef Q_OS_WIN
#include "platform/parallel_ports_win32.h"
#else
#include <QDir>
#endif

namespace platform {
namespace {

std::vector<std::string> serialPorts()
{
    std::vector<std::string> names;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
#ifdef Q_OS_WIN
        names.push_back(info.portName().toStdString()); // COM3: what CreateFileA takes
#else
        names.push_back(info.systemLocation().toStdString()); // /dev/ttyUSB0: what open takes
#endif
    }
    return names;
}

std::vector<std::string> parallelPorts()
{
#ifdef Q_OS_WIN
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
