#pragma once
// What a connection that lost its link waits for before it tries again: some
// time to pass (a TCP server comes back whenever it does), or its serial
// device to be there again. One wait at a time; due() ends it.
#include <QObject>
#include <chrono>
#include <memory>
#include <string>

namespace comm {

class ReconnectWatch : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    virtual void waitFor(std::chrono::milliseconds delay) = 0;
    // Due when the device may be back: after a change in its directory, or at
    // a look once a second, that finds it there.
    virtual void waitForDevice(const std::string &deviceName) = 0;
    virtual void cancel() = 0;

signals:
    void due();
};

// A timer, and the device's directory as the system reports its changes
// (inotify on Linux); nothing runs while nobody waits.
std::unique_ptr<ReconnectWatch> makeReconnectWatch();

} // namespace comm
