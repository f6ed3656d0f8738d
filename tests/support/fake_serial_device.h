#pragma once
// A scriptable serial device: logs the calls that open, configure and close it,
// counts polls and writes, serves bytes the test feeds and results it scripts,
// and wakes the worker as a port would when bytes arrive. The state lives in
// FakePort, which the test keeps while the worker owns the device.
#include "platform/serial_device.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct FakePort {
    // Set up before use; read by the device.
    bool openSucceeds = true;
    std::string openError = "No such file or directory";
    platform::OpenFailure openFailure = platform::OpenFailure::Other;
    bool configureSucceeds = true;
    bool closeSucceeds = true;

    // Main-thread calls in order: "open COM1", "saveCurrent",
    // "configure 9600 8 0 0", "setQueueSizes 32768 9216",
    // "restoreSaved", "close".
    std::vector<std::string> calls;

    // How many bytes each next write takes (kDeadDevice: it fails for good);
    // every byte once the script is used up. Guarded by lock.
    static constexpr long kDeadDevice = -1;
    std::deque<long> writeScript;
    std::size_t queuedOutput = 0; // what the driver reports as not yet sent
    std::string sent(); // every byte written so far
    std::atomic<int> writeCalls {0};

    std::atomic<int> pollCalls {0};
    // What the worker finds: bytes waiting, or failing polls (count of them,
    // or all from now on).
    void feed(const std::string &bytes);
    void failPolls(platform::IoResult result, int count = -1);
    // Lets writes through again, as a line that drains.
    void takeWrites();

    std::mutex lock; // guards the members below and the write script against the worker
    std::condition_variable changed;
    std::string incoming;
    platform::IoResult pollResult = platform::IoResult::Ok;
    int failingPolls = 0; // negative: for ever
    bool isOpen = false;
    bool woken = false;
    std::string written;
};

class FakeSerialDevice final : public platform::SerialDevice {
public:
    explicit FakeSerialDevice(FakePort &port) : port(port) {}
    static std::unique_ptr<platform::SerialDevice> on(FakePort &port)
    {
        return std::make_unique<FakeSerialDevice>(port);
    }

    bool open(const std::string &name) override;
    std::string openError() const override;
    platform::OpenFailure openFailure() const override;
    bool saveCurrent() override;
    bool configure(const platform::LineSettings &settings) override;
    bool setQueueSizes(std::uint32_t inBytes, std::uint32_t outBytes) override;
    bool restoreSaved() override;
    bool close() override;
    platform::IoResult bytesWaiting(std::size_t &count) override;
    platform::IoResult read(char *buffer, std::size_t size, std::size_t &got) override;
    platform::IoResult queuedOutput(std::size_t &count) override;
    platform::IoResult write(const char *data, std::size_t size, std::size_t &written) override;
    platform::PortEvent waitForEvent(bool watchPort, int timeoutMs) override;
    void wake() override;

private:
    FakePort &port;
};
