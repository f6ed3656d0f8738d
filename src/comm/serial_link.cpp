#include "comm/serial_link.h"

#include "platform/port_list.h"
#include "toolkit/byte_text.h"

namespace comm {

SerialLink::SerialLink(std::unique_ptr<platform::SerialDevice> device, QObject *parent)
    : Link(parent), thread(handOver, std::move(device))
{
    thread.OnReceive = [this](std::string block) { emit received(block); };
    thread.OnLost = [this] { emit lost(); };
}

// While the worker stops, a block it read may still be handed over; it must not
// reach a receiver that is being taken apart.
SerialLink::~SerialLink()
{
    thread.OnReceive = nullptr;
    thread.OnLost = nullptr;
}

void SerialLink::open()
{
    if (thread.Open())
        emit opened();
    else
        emit failed({failureReason(thread.LastFailure(), thread.LastError()),
                     thread.LastFailure() == platform::OpenFailure::NoPermission});
}

QString SerialLink::failureReason(platform::OpenFailure failure, const std::string &systemWords)
{
    return failure == platform::OpenFailure::NotSerial ? tr("kein serielles Gerät")
                                                       : toolkit::fromSystemText(systemWords);
}

void SerialLink::close()
{
    if (thread.Connected() && thread.Close())
        emit closed();
}

bool SerialLink::isOpen() const { return thread.Connected(); }

bool SerialLink::send(const std::string &text) { return thread.WriteText(text); }

std::vector<std::string> serialPortNames() { return sortedPortNames(platform::listPorts(true, false)); }

} // namespace comm
