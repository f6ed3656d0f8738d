#include "comm/port_list_watch.h"

#include "comm/serial_link.h"

namespace comm {

namespace {
constexpr int kSettleMs = 250;
constexpr int kListIntervalMs = 1000;
} // namespace

QString PortListWatch::deviceDirectory()
{
#ifdef Q_OS_WIN
    return QString();
#else
    return QStringLiteral("/dev");
#endif
}

PortListWatch::PortListWatch(QObject *parent, Lister lister, const QString &directory)
    : QObject(parent), list(lister ? std::move(lister) : Lister(serialPortNames)), directoryWatch(this), settle(this)
{
    directoryWatch.setObjectName(QStringLiteral("PortListWatch"));
    connect(&settle, &QTimer::timeout, this, &PortListWatch::listAgain);
    if (!directory.isEmpty() && directoryWatch.addPath(directory)) {
        settle.setSingleShot(true);
        settle.setInterval(kSettleMs);
        connect(&directoryWatch, &QFileSystemWatcher::directoryChanged, &settle, [this] {
            if (!settle.isActive())
                settle.start();
        });
    } else {
        settle.start(kListIntervalMs);
    }
}

void PortListWatch::listAgain()
{
    std::vector<std::string> now = list();
    if (told && now == ports)
        return;
    ports = std::move(now);
    told = true;
    emit portsChanged(ports);
}

} // namespace comm
