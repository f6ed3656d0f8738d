#pragma once
// A link over a serial port: the port's worker (TCommThread) with its device
// name and line parameters, which stay with it for the whole run. The worker
// hands its blocks over through a hand-over of this link's own, so stopping one
// link never delivers a block of another.
#include "comm/link.h"
#include "comm/qt_hand_over.h"
#include "comm/tcomm_thread.h"

#include <memory>
#include <string>
#include <vector>

namespace comm {

class SerialLink final : public Link {
    Q_OBJECT

public:
    explicit SerialLink(std::unique_ptr<platform::SerialDevice> device = platform::makeSerialDevice(),
                        QObject *parent = nullptr);
    ~SerialLink() override;

    // Tells the result before it returns.
    void open() override;
    void close() override;
    bool isOpen() const override;
    bool send(const std::string &text) override;

    // Why an open failed, for the operator: the system's words, or ours where
    // the device is no port.
    static QString failureReason(platform::OpenFailure failure, const std::string &systemWords);

    // The port and its parameters; a change while open reopens the port.
    TCommThread &port() { return thread; }
    const TCommThread &port() const { return thread; }

private:
    QtHandOver handOver; // before the worker, which uses it until it ends
    TCommThread thread;
};

// The serial ports this machine offers, as a link's port lists them.
std::vector<std::string> serialPortNames();

} // namespace comm
