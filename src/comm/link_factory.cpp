#include "comm/link_factory.h"

#include "comm/serial_link.h"
#include "comm/tcp_link.h"

namespace comm {

namespace {

// Set while the port is closed, the parameters wait for its first open.
std::unique_ptr<Link> makeSerialLink(const SerialSettings &settings)
{
    auto link = std::make_unique<SerialLink>();
    TCommThread &port = link->port();
    port.setDeviceName(settings.deviceName);
    port.setBaudRate(settings.line.baudRate);
    port.setByteSize(settings.line.byteSize);
    port.setParity(settings.line.parity);
    port.setStopBits(settings.line.stopBits);
    return link;
}

std::unique_ptr<Link> makeTcpLink(const TcpSettings &settings)
{
    auto link = std::make_unique<TcpLink>();
    link->setAddress(settings.host, settings.port);
    return link;
}

} // namespace

std::unique_ptr<Link> makeLink(const LinkSettings &settings)
{
    if (const auto *serial = std::get_if<SerialSettings>(&settings))
        return makeSerialLink(*serial);
    return makeTcpLink(std::get<TcpSettings>(settings));
}

} // namespace comm
