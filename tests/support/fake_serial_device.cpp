#include "support/fake_serial_device.h"

#include <algorithm>
#include <chrono>
#include <cstring>

using platform::IoResult;

void FakePort::feed(const std::string &bytes)
{
    std::lock_guard<std::mutex> guard(lock);
    incoming += bytes;
    changed.notify_all();
}

void FakePort::failPolls(IoResult result, int count)
{
    std::lock_guard<std::mutex> guard(lock);
    pollResult = result;
    failingPolls = count;
    changed.notify_all();
}

std::string FakePort::sent()
{
    std::lock_guard<std::mutex> guard(lock);
    return written;
}

void FakePort::takeWrites()
{
    std::lock_guard<std::mutex> guard(lock);
    writeScript.clear();
    queuedOutput = 0;
}

bool FakeSerialDevice::open(const std::string &name)
{
    port.calls.push_back("open " + name);
    std::lock_guard<std::mutex> guard(port.lock);
    port.isOpen = port.openSucceeds;
    return port.openSucceeds;
}

std::string FakeSerialDevice::openError() const
{
    return port.openError;
}

platform::OpenFailure FakeSerialDevice::openFailure() const { return port.openFailure; }

bool FakeSerialDevice::saveCurrent()
{
    port.calls.push_back("saveCurrent");
    return true;
}

bool FakeSerialDevice::configure(const platform::LineSettings &settings)
{
    port.calls.push_back("configure " + std::to_string(settings.baudRate) + ' ' + std::to_string(settings.byteSize)
                         + ' ' + std::to_string(static_cast<int>(settings.parity)) + ' '
                         + std::to_string(static_cast<int>(settings.stopBits)));
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
    std::lock_guard<std::mutex> guard(port.lock);
    port.isOpen = !port.closeSucceeds;
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

IoResult FakeSerialDevice::queuedOutput(std::size_t &count)
{
    std::lock_guard<std::mutex> guard(port.lock);
    count = port.queuedOutput;
    return IoResult::Ok;
}

IoResult FakeSerialDevice::write(const char *data, std::size_t size, std::size_t &written)
{
    ++port.writeCalls;
    std::lock_guard<std::mutex> guard(port.lock);
    written = 0;
    long room = static_cast<long>(size);
    if (!port.writeScript.empty()) {
        room = port.writeScript.front();
        port.writeScript.pop_front();
    }
    if (room == FakePort::kDeadDevice)
        return IoResult::HardError;
    written = std::min(size, static_cast<std::size_t>(room));
    port.written.append(data, written);
    return IoResult::Ok;
}

platform::PortEvent FakeSerialDevice::waitForEvent(bool watchPort, int timeoutMs)
{
    std::unique_lock<std::mutex> guard(port.lock);
    const auto signalled = [&] {
        const bool failing = port.failingPolls != 0 && port.pollResult != IoResult::Ok;
        const bool portEvent = watchPort && port.isOpen && (!port.incoming.empty() || failing);
        return port.woken || portEvent;
    };
    if (timeoutMs < 0)
        port.changed.wait(guard, signalled);
    else
        port.changed.wait_for(guard, std::chrono::milliseconds(timeoutMs), signalled);
    port.woken = false;
    return watchPort && port.isOpen && !port.incoming.empty() ? platform::PortEvent::Readable
                                                              : platform::PortEvent::None;
}

void FakeSerialDevice::wake()
{
    std::lock_guard<std::mutex> guard(port.lock);
    port.woken = true;
    port.changed.notify_all();
}
