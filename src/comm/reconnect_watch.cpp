#include "comm/reconnect_watch.h"

#include "platform/port_list.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QFileSystemWatcher>
#include <QTimer>

namespace comm {

namespace {

// The look that catches a device whose directory the system does not report
// on; also the most often a device that is there but will not open is tried.
constexpr std::chrono::milliseconds kLookInterval {1000};

class SystemReconnectWatch final : public ReconnectWatch {
public:
    SystemReconnectWatch()
    {
        timer.setSingleShot(true);
        connect(&timer, &QTimer::timeout, this, [this] { device.empty() ? emit due() : lookForDevice(); });
        connect(&directory, &QFileSystemWatcher::directoryChanged, this, &SystemReconnectWatch::lookForDevice);
    }

    void waitFor(std::chrono::milliseconds delay) override
    {
        cancel();
        timer.start(delay);
    }

    void waitForDevice(const std::string &deviceName) override
    {
        cancel();
        device = deviceName;
        const QString path = QFile::decodeName(deviceName.c_str());
        // COM3 is no path; a path's directory may be missing until the device comes.
        if (QDir::isAbsolutePath(path) && QFileInfo(QFileInfo(path).absolutePath()).isDir())
            directory.addPath(QFileInfo(path).absolutePath());
        timer.start(kLookInterval);
    }

    void cancel() override
    {
        timer.stop();
        device.clear();
        if (!directory.directories().isEmpty())
            directory.removePaths(directory.directories());
    }

private:
    void lookForDevice()
    {
        if (device.empty())
            return;
        if (platform::portPresent(device)) {
            cancel();
            emit due();
        } else {
            timer.start(kLookInterval);
        }
    }

    QTimer timer;
    QFileSystemWatcher directory;
    std::string device; // empty while no device is waited for
};

} // namespace

std::unique_ptr<ReconnectWatch> makeReconnectWatch() { return std::make_unique<SystemReconnectWatch>(); }

} // namespace comm
