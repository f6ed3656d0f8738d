#pragma once
// Looks for the two controllers. On each serial port it tries 9600, 38400 and
// 115200 baud, and at each rate each link's probe in that link's line
// settings; at each TCP address, the WiPort's ports 10001 and 10002 (or the
// one port given with it) with both probes.
// Nothing but the probes is written, a port that answers neither is closed at
// once, and a port that the console or another program holds is not touched.
// The serial ports are tried side by side, each on a thread of its own, so a
// whole search takes about as long as one port that stays silent (six waits of
// kReplyWaitMs).
#include "comm/link_settings.h"
#include "platform/serial_device.h"

#include <QObject>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace comm {

// What the search asks on behalf of one link, and how it knows the answer.
struct SearchProbe {
    int link; // 1 arm, 2 chassis
    std::string probe;
    // Whether what arrived since the probe holds the answer.
    std::function<bool(std::string_view)> answered;
    // Byte size, parity and stop bits; the search sets the baud rate.
    platform::LineSettings line;
};

struct SearchFinding {
    enum class Outcome { Answered, Silent, InUse, NoAccess, Unreachable, Failed };
    Outcome outcome = Outcome::Silent;
    int link = 0;          // whose controller answered
    LinkSettings settings; // how it answered: port and baud rate, or address
    QString reason;        // why the port failed, as the window shows it
};

class ControllerSearch : public QObject {
    Q_OBJECT

public:
    static constexpr int kReplyWaitMs = 400;
    static constexpr int kTcpConnectWaitMs = 3000;
    static constexpr quint16 kTcpPorts[] = {10001, 10002};

    using DeviceMaker = std::function<std::unique_ptr<platform::SerialDevice>()>;

    explicit ControllerSearch(QObject *parent = nullptr, DeviceMaker makeDevice = platform::makeSerialDevice);
    // Ends a search under way: its waits are cut short and nothing more is told.
    ~ControllerSearch() override;

    // The places in the order found() numbers them: each device, then each
    // TCP address as "host:port". hosts are "host" or "host:port"; held names
    // devices and "host:port" places the console itself holds. Ignored while a
    // search runs.
    QStringList start(const std::vector<std::string> &devices, const QStringList &hosts,
                      const QStringList &held, const std::vector<SearchProbe> &probes);
    bool running() const { return unfinished > 0; }

signals:
    void found(int place, const comm::SearchFinding &finding);
    void finished();

private:
    SearchFinding probeSerial(const std::string &device, const std::vector<SearchProbe> &probes);
    void report(int place, const SearchFinding &finding);
    void stopThreads();

    const DeviceMaker makeDevice;
    int unfinished = 0;
    std::vector<std::thread> threads;
    std::atomic<bool> stopping {false};
    std::mutex deviceLock; // guards devices against the stop, which wakes them
    std::vector<platform::SerialDevice *> devices;
};

} // namespace comm
