#pragma once
// One serial port as the worker drives it: open by name (serial devices only),
// remember the settings found there, apply ours, sleep until bytes arrive, read
// them, write what the driver takes without waiting, put the found settings back
// and close. One backend per platform (termios, Win32 communications calls);
// tests substitute a fake. Free of Qt so the Win32 backend builds with a plain
// cross compiler and runs under Wine.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

enum class Parity : std::uint8_t { None, Odd, Even, Mark, Space };
enum class StopBits : std::uint8_t { One, OneAndAHalf, Two };

// A port's line parameters. Everything else a port has is fixed by the backends:
// raw data, no flow control of any kind, no parity checking, modem control lines
// not asserted. Values a backend cannot apply are refused, not adjusted.
struct LineSettings {
    std::uint32_t baudRate = 0;
    std::uint8_t byteSize = 0;
    Parity parity = Parity::None;
    StopBits stopBits = StopBits::One;
};

enum class IoResult {
    Ok,
    Retry,     // nothing done this time (full output queue, failed poll); try again later
    HardError, // the device is gone (adapter pulled, pty master closed); retrying is pointless
};

// Why an open failed, as far as the operator can do something about it.
enum class OpenFailure {
    Other,
    NoPermission, // the user's account may not use the device
    InUse,        // another program, or another link, holds the device
    NotSerial,    // a file, a directory or a pipe, not a port
};

// What ended a wait, as far as the port is concerned.
enum class PortEvent {
    None,     // woken, timed out, or a backend that only polls
    Readable, // bytes are waiting
    HungUp,   // the far end or the device went away
};

class SerialDevice {
public:
    virtual ~SerialDevice() = default;

    // False when the device is missing, in use, refused or not a serial device
    // (a file, a directory, a pipe): the device stays closed and nothing of it
    // was read or written.
    virtual bool open(const std::string &name) = 0;
    // Why the last open failed, in the system's words (ours where the device is
    // no port: the window words that case from openFailure() in its language).
    virtual std::string openError() const = 0;
    virtual OpenFailure openFailure() const = 0;
    // Remembers the port's settings as found, for restoreSaved().
    virtual bool saveCurrent() = 0;
    // False when the port refuses a value; it then keeps its line parameters.
    virtual bool configure(const LineSettings &settings) = 0;
    virtual bool setQueueSizes(std::uint32_t inBytes, std::uint32_t outBytes) = 0;
    virtual bool restoreSaved() = 0;
    // False when the close call fails; the device then stays open.
    virtual bool close() = 0;

    // Bytes in the input queue (count is 0 unless the result is Ok).
    virtual IoResult bytesWaiting(std::size_t &count) = 0;
    // Reads at most size bytes that are already waiting; got is how many came.
    virtual IoResult read(char *buffer, std::size_t size, std::size_t &got) = 0;
    // Bytes the driver still holds for sending.
    virtual IoResult queuedOutput(std::size_t &count) = 0;
    // Writes as much of data as the driver takes now, without waiting; written
    // is how many went (0 unless the result is Ok).
    virtual IoResult write(const char *data, std::size_t size, std::size_t &written) = 0;

    // Worker side: sleeps until the open port has bytes waiting or has hung up,
    // wake() is called or timeoutMs passed (negative: no limit). With the port
    // closed, or watchPort false, only wake() and the time-out end it. A
    // backend that cannot wait for the port returns after a short poll interval.
    virtual PortEvent waitForEvent(bool watchPort, int timeoutMs) = 0;
    // Any thread: ends the current waitForEvent, or the next one if none runs.
    virtual void wake() = 0;
};

// The backend of the platform this is built for.
std::unique_ptr<SerialDevice> makeSerialDevice();

} // namespace platform
