#pragma once
// Follows the machine's serial ports while the console runs: where the system
// reports changes of its device directory (inotify on /dev under Linux), the
// ports are listed again a moment after each change and told when the list
// differs; with no such directory (Windows) they are listed once a second,
// from the registry, without touching a device.
#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

namespace comm {

class PortListWatch : public QObject {
    Q_OBJECT

public:
    using Lister = std::function<std::vector<std::string>()>;

    // The system's device directory, where there is one.
    static QString deviceDirectory();

    explicit PortListWatch(QObject *parent = nullptr, Lister list = {}, const QString &directory = deviceDirectory());

signals:
    // Also the first time the ports are listed.
    void portsChanged(const std::vector<std::string> &ports);

private:
    void listAgain();

    Lister list;
    QFileSystemWatcher directoryWatch;
    // A plugged adapter changes the directory several times within a few ms
    // (the node, then its rights): the list is made once, a moment after the first.
    QTimer settle;
    std::vector<std::string> ports;
    bool told = false;
};

} // namespace comm
