#include "support/fake_serial_device.h"

#include <algorithm>
#include <cstring>

using platform::IoResult;

void FakePort::feed(const std::string &bytes)
{
    std::lock_guard<std::mutex> guard(lock);
    incoming += bytes;
}

void FakePort::failPolls(IoResult result, int count)
{
    std::lock_guard<std::mutex> guard(lock);
    pollResult = result;
    failingPolls = count;
}

bool FakeSerialDevice::open(const std::string &name)
{
    port.calls.push_back("open " + name);
    return port.openSucceeds;
}

std::string FakeSerialDevice::openError() const
{
    return port.openError;
}

bool FakeSerialDevice::saveCurrent()
{
    port.calls.push_back("saveCurrent");
    return true;
}

bool FakeSerialDevice::configure(const platform::LineSettings &settings,
                                 const platform::CommTimeouts &timeouts)
{
    port.calls.push_back("configure " + std::to_string(settings.BaudRate) + ' '
                         + std::to_string(settings.ByteSize) + ' '
                         + std::to_string(settings.Parity) + ' '
                         + std::to_string(settings.StopBits) + " / "
                         + std::to_string(timeouts.ReadIntervalTimeout) + ' '
                         + std::to_string(timeouts.ReadTotalTimeoutMultiplier) + ' '
                         + std::to_string(timeouts.ReadTotalTimeoutConstant) + ' '
                         + std::to_string(timeouts.WriteTotalTimeoutMultiplier) + ' '
                         + std::to_string(timeouts.WriteTotalTimeoutConstant));
    return port.configureSucceeds;
}

bool FakeSerialDevice::setQueueSizes(std::uint32_t inBytes, std::uint32_t outBytes)
{
    port.calls.push_back("setQueueSizes " + std::to_string(inBytes) + ' ' + std::to_string(outBytes));
    return true;
}

bool FakeSerialDevice::restoreSaved()
{
    port.calls.push_back("restoreSaved");
    return true;
}

bool FakeSerialDevice::close()
{
    port.calls.push_back("close");
    return port.closeSucceeds;
}

IoResult FakeSerialDevice::bytesWaiting(std::size_t &count)
{
    ++port.pollCalls;
    std::lock_guard<std::mutex> guard(port.lock);
    count = 0;
    if (port.failingPolls != 0 && port.pollResult != IoResult::Ok) {
        if (port.failingPolls > 0)
            --port.failingPolls;
        return port.pollResult;
    }
    count = port.incoming.size();
    return IoResult::Ok;
}

IoResult FakeSerialDevice::read(char *buffer, std::size_t size, std::size_t &got)
{
    std::lock_guard<std::mutex> guard(port.lock);
    got = std::min(size, port.incoming.size());
    std::memcpy(buffer, port.incoming.data(), got);
    port.incoming.erase(0, got);
    return IoResult::Ok;
}

IoResult FakeSerialDevice::writeByte(char byte)
{
    ++port.writeCalls;
    IoResult result = IoResult::Ok;
    if (!port.writeResults.empty()) {
        result = port.writeResults.front();
        port.writeResults.pop_front();
    }
    if (result == IoResult::Ok)
        port.written += byte;
    return result;
}
