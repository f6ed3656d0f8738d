#include "comm/controller_search.h"

#include "comm/serial_link.h"
#include "platform/port_list.h"
#include "platform/port_users.h"

#include <QFile>
#include <QFileInfo>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <chrono>

namespace comm {

namespace {

using Clock = std::chrono::steady_clock;
using Outcome = SearchFinding::Outcome;
using platform::IoResult;

// The SSC-32 leaves the factory at 9600 and is also run at 38400 and 115200.
constexpr std::uint32_t kBaudRates[] = {9600, 38400, 115200};

SearchFinding outcome(Outcome outcome, QString reason = {})
{
    SearchFinding finding;
    finding.outcome = outcome;
    finding.reason = std::move(reason);
    return finding;
}

// A probe that knows no answer gets none.
bool answers(const SearchProbe &probe, const std::string &reply) { return probe.answered && probe.answered(reply); }

// A symbolic link names the same port as its target.
QString samePort(const QString &place)
{
    const QString target = QFileInfo(place).canonicalFilePath();
    return target.isEmpty() ? place : target;
}

// Adds what waits to text; false once the device is gone.
bool readWaiting(platform::SerialDevice &device, std::string &text)
{
    std::size_t waiting = 0;
    IoResult result = device.bytesWaiting(waiting);
    if (result == IoResult::Ok && waiting > 0) {
        std::string chunk(waiting, '\0');
        std::size_t got = 0;
        result = device.read(&chunk[0], waiting, got);
        text.append(chunk, 0, got);
    }
    return result != IoResult::HardError;
}

// One TCP place: connects, then asks each probe in turn until one is answered.
class TcpProber : public QObject {
public:
    using Done = std::function<void(const SearchFinding &)>;

    TcpProber(const QString &host, quint16 port, std::vector<SearchProbe> probes, Done done, QObject *parent)
        : QObject(parent), host(host), port(port), probes(std::move(probes)), done(std::move(done))
    {
        timer.setSingleShot(true);
        connect(&timer, &QTimer::timeout, this, &TcpProber::waitEnded);
        connect(&socket, &QTcpSocket::connected, this, &TcpProber::askNext);
        connect(&socket, &QTcpSocket::readyRead, this, &TcpProber::read);
        connect(&socket, &QTcpSocket::errorOccurred, this, [this] {
            finish(outcome(asked > 0 ? Outcome::Silent : Outcome::Unreachable, socket.errorString()));
        });
        timer.start(ControllerSearch::kTcpConnectWaitMs);
        socket.connectToHost(host, port);
    }

private:
    void askNext()
    {
        if (asked == probes.size()) {
            finish(outcome(Outcome::Silent));
            return;
        }
        reply.clear();
        const std::string &probe = probes[asked++].probe;
        socket.write(probe.data(), qint64(probe.size()));
        timer.start(ControllerSearch::kReplyWaitMs);
    }

    void read()
    {
        reply += socket.readAll().toStdString();
        if (asked > 0 && answers(probes[asked - 1], reply)) {
            SearchFinding finding = outcome(Outcome::Answered);
            finding.link = probes[asked - 1].link;
            finding.settings = TcpSettings{host, port};
            finish(finding);
        }
    }

    void waitEnded()
    {
        if (socket.state() == QAbstractSocket::ConnectedState)
            askNext();
        else
            finish(outcome(Outcome::Unreachable));
    }

    void finish(const SearchFinding &finding)
    {
        timer.stop();
        QObject::disconnect(&socket, nullptr, this, nullptr);
        socket.abort();
        done(finding);
        deleteLater();
    }

    QTcpSocket socket {this};
    QTimer timer {this};
    const QString host;
    const quint16 port;
    const std::vector<SearchProbe> probes;
    const Done done;
    std::size_t asked = 0;
    std::string reply;
};

// "host" stands for both of a WiPort's ports; "host:port" for that port alone.
std::vector<TcpSettings> tcpPlaces(const QStringList &hosts)
{
    std::vector<TcpSettings> addresses;
    for (const QString &entry : hosts) {
        bool isPort = false;
        const uint port = entry.section(QLatin1Char(':'), 1).toUInt(&isPort);
        if (entry.count(QLatin1Char(':')) == 1 && isPort && port > 0 && port <= 65535) {
            addresses.push_back({entry.section(QLatin1Char(':'), 0, 0), quint16(port)});
            continue;
        }
        for (const quint16 wiPortPort : ControllerSearch::kTcpPorts)
            addresses.push_back({entry, wiPortPort});
    }
    return addresses;
}

} // namespace

ControllerSearch::ControllerSearch(QObject *parent, DeviceMaker makeDevice)
    : QObject(parent), makeDevice(std::move(makeDevice))
{
}

ControllerSearch::~ControllerSearch() { stopThreads(); }

QStringList ControllerSearch::start(const std::vector<std::string> &deviceNames, const QStringList &hosts,
                                    const QStringList &held, const std::vector<SearchProbe> &probes)
{
    if (running())
        return {};
    stopThreads();
    stopping = false;
    QStringList heldPorts;
    for (const QString &place : held)
        heldPorts << samePort(place);

    QStringList places;
    for (const std::string &name : deviceNames)
        places << QFile::decodeName(name.c_str());
    const std::vector<TcpSettings> addresses = tcpPlaces(hosts);
    for (const TcpSettings &address : addresses)
        places << QStringLiteral("%1:%2").arg(address.host).arg(address.port);
    unfinished = int(places.size());
    if (places.isEmpty())
        QMetaObject::invokeMethod(this, &ControllerSearch::finished, Qt::QueuedConnection);

    for (int place = 0; place < int(deviceNames.size()); ++place) {
        if (heldPorts.contains(samePort(places[place]))) {
            QMetaObject::invokeMethod(this, [this, place] { report(place, outcome(Outcome::InUse)); },
                                      Qt::QueuedConnection);
            continue;
        }
        threads.emplace_back([this, place, name = deviceNames[std::size_t(place)], probes] {
            const SearchFinding finding = probeSerial(name, probes);
            QMetaObject::invokeMethod(this, [this, place, finding] { report(place, finding); },
                                      Qt::QueuedConnection);
        });
    }
    int place = int(deviceNames.size());
    for (const TcpSettings &address : addresses) {
        if (heldPorts.contains(places[place]))
            QMetaObject::invokeMethod(this, [this, place] { report(place, outcome(Outcome::InUse)); },
                                      Qt::QueuedConnection);
        else
            new TcpProber(address.host, address.port, probes,
                          [this, place](const SearchFinding &finding) { report(place, finding); }, this);
        ++place;
    }
    return places;
}

// Runs on the port's own thread.
SearchFinding ControllerSearch::probeSerial(const std::string &name, const std::vector<SearchProbe> &probes)
{
    if (!platform::portPresent(name))
        return outcome(Outcome::Unreachable);
    if (platform::portHeldElsewhere(name))
        return outcome(Outcome::InUse);
    const std::unique_ptr<platform::SerialDevice> device = makeDevice();
    if (!device->open(name)) {
        switch (device->openFailure()) {
        case platform::OpenFailure::NoPermission:
            return outcome(Outcome::NoAccess);
        case platform::OpenFailure::InUse:
            return outcome(Outcome::InUse);
        case platform::OpenFailure::Other:
        case platform::OpenFailure::NotSerial:
            break;
        }
        return outcome(Outcome::Failed, SerialLink::failureReason(device->openFailure(), device->openError()));
    }
    {
        const std::lock_guard<std::mutex> lock(deviceLock);
        devices.push_back(device.get());
    }
    device->saveCurrent();
    SearchFinding finding = outcome(Outcome::Silent);
    for (std::size_t tried = 0; tried < std::size(kBaudRates) * probes.size() && !stopping; ++tried) {
        const SearchProbe &probe = probes[tried % probes.size()];
        platform::LineSettings line = probe.line;
        line.baudRate = kBaudRates[tried / probes.size()];
        device->configure(line);
        // What came before the probe (at another rate, as noise) is no answer to it.
        std::string reply;
        std::size_t written = 0;
        bool gone = !readWaiting(*device, reply)
                    || device->write(probe.probe.data(), probe.probe.size(), written) == IoResult::HardError;
        reply.clear();
        const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kReplyWaitMs);
        while (!gone && !stopping && Clock::now() < deadline) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            const platform::PortEvent event = device->waitForEvent(true, int(left.count()) + 1);
            gone = !readWaiting(*device, reply) || (event == platform::PortEvent::HungUp && reply.empty());
            if (!gone && answers(probe, reply)) {
                finding = outcome(Outcome::Answered);
                finding.link = probe.link;
                finding.settings = SerialSettings{name, line};
                break;
            }
        }
        if (gone)
            finding = outcome(Outcome::Unreachable);
        if (gone || finding.outcome == Outcome::Answered)
            break;
    }
    {
        const std::lock_guard<std::mutex> lock(deviceLock);
        devices.erase(std::find(devices.begin(), devices.end(), device.get()));
    }
    device->restoreSaved();
    device->close();
    return finding;
}

void ControllerSearch::report(int place, const SearchFinding &finding)
{
    --unfinished;
    emit found(place, finding);
    if (unfinished == 0)
        emit finished();
}

void ControllerSearch::stopThreads()
{
    stopping = true;
    {
        const std::lock_guard<std::mutex> lock(deviceLock);
        for (platform::SerialDevice *device : devices)
            device->wake();
    }
    for (std::thread &thread : threads)
        thread.join();
    threads.clear();
}

} // namespace comm
