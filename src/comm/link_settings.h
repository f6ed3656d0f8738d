#pragma once
// What a link is made from: a serial port with its line parameters, or the
// address of a TCP server (the WiPort). A connection keeps one of each, so that
// choosing a transport again finds what it was set to.
#include "platform/serial_device.h"

#include <QString>
#include <string>
#include <variant>

namespace comm {

// As a port starts out: COM1, 9600 bit/s, 8 data bits, no parity, 1 stop bit.
struct SerialSettings {
    std::string deviceName = "COM1";
    platform::LineSettings line {9600, 8, platform::Parity::None, platform::StopBits::One};
};

struct TcpSettings {
    QString host;
    quint16 port = 0;
};

using LinkSettings = std::variant<SerialSettings, TcpSettings>;

inline bool operator==(const SerialSettings &a, const SerialSettings &b)
{
    return a.deviceName == b.deviceName && a.line.baudRate == b.line.baudRate && a.line.byteSize == b.line.byteSize
           && a.line.parity == b.line.parity && a.line.stopBits == b.line.stopBits;
}

inline bool operator==(const TcpSettings &a, const TcpSettings &b) { return a.host == b.host && a.port == b.port; }

inline bool operator!=(const SerialSettings &a, const SerialSettings &b) { return !(a == b); }
inline bool operator!=(const TcpSettings &a, const TcpSettings &b) { return !(a == b); }

} // namespace comm
