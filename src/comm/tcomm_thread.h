#pragma once
// The serial half of a link: one port, opened, configured, written to and closed
// on the main thread, and a worker thread that sleeps until bytes arrive and
// hands each block it reads to the main thread (OnReceive), waiting until it has
// been handled. The worker starts with the first successful Open.
//
// The worker and the main thread share the device, the open flag, the rest of a
// command the driver took only in part, and a generation counter under one lock,
// held around one pass of the worker and around open, close and write, never
// across the hand-over or the worker's sleep. A block read before a close or
// reopen is dropped when it reaches the main thread.
#include "comm/main_thread_hand_over.h"
#include "platform/port_list.h"
#include "platform/serial_device.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace comm {

// Port names sorted case-insensitively (COM10 before COM2), duplicates kept.
std::vector<std::string> sortedPortNames(std::vector<std::string> names);

class TCommThread {
public:
    // Raw port names, unsorted; platform::listPorts unless a test lists its own.
    using PortNameSource = std::function<std::vector<std::string>(bool serial, bool parallel)>;

    explicit TCommThread(MainThreadHandOver &handOver,
                         std::unique_ptr<platform::SerialDevice> device = platform::makeSerialDevice(),
                         PortNameSource portNames = platform::listPorts);
    // Stops the worker (also while it waits in a hand-over) and closes the port.
    // Not from inside OnReceive or OnLost: the worker waits for those to return.
    ~TCommThread();
    TCommThread(const TCommThread &) = delete;
    TCommThread &operator=(const TCommThread &) = delete;

    bool Open();
    // Why the last Open failed, in the system's words; empty after one that succeeded.
    const std::string &LastError() const { return lastError; }
    // Whether the last failed Open was refused for lack of permission.
    platform::OpenFailure LastFailure() const { return lastFailure; }
    bool Close();
    bool Connected() const { return connected; }
    // A text goes onto the line whole or not at all, without waiting: false
    // (nothing written) while the driver's output queue cannot take all of it,
    // or while the rest of an earlier text still waits to go out.
    bool WriteText(const std::string &text);
    // True until the first successful Open has started the worker.
    bool Suspended() const { return !worker.joinable(); }

    // A change while the port is open closes it, stores the value and reopens it;
    // while closed the value only waits for the next Open. Nothing validates it:
    // a value the port refuses leaves the port with the parameters it had.
    const std::string &DeviceName() const { return deviceName; }
    void setDeviceName(const std::string &name);
    std::uint32_t BaudRate() const { return line.baudRate; }
    void setBaudRate(std::uint32_t baudRate);
    std::uint8_t ByteSize() const { return line.byteSize; }
    void setByteSize(std::uint8_t byteSize);
    platform::Parity Parity() const { return line.parity; }
    void setParity(platform::Parity parity);
    platform::StopBits StopBits() const { return line.stopBits; }
    void setStopBits(platform::StopBits stopBits);

    // The port names of the kinds asked for, as sortedPortNames gives them.
    // A flag counts only when its byte value is exactly 1. On Windows, call it
    // where <windows.h> came in with WIN32_LEAN_AND_MEAN: winspool.h defines
    // EnumPorts as a macro.
    std::vector<std::string> EnumPorts(std::uint8_t serial, std::uint8_t parallel) const;

    // Called on the main thread with every block read.
    std::function<void(std::string)> OnReceive;
    // Called once on the main thread when the open device has gone away (adapter
    // pulled); the port is closed by then.
    std::function<void()> OnLost;

private:
    enum class PassOutcome { Nothing, Received, Lost, Failed };
    struct Pass {
        PassOutcome outcome = PassOutcome::Nothing;
        std::uint64_t generation = 0;
        bool restPending = false;
    };

    void openPort();
    void closePort();
    void markClosed();
    void deliverBlock(std::uint64_t readInGeneration);
    void deliverLoss(std::uint64_t lostInGeneration);
    bool sendPendingRest();
    template <typename Store> void changeParameter(Store store);

    void run();
    Pass workerPass(platform::PortEvent event);
    void stopWorker();

    MainThreadHandOver &handOver;
    PortNameSource portNames;

    // Guards device, connected, pendingRest and generation against the worker;
    // only the main thread opens, closes and reopens, always holding it.
    std::mutex portLock;
    // Holds the handle and the parameters found on it.
    std::unique_ptr<platform::SerialDevice> device;
    bool connected = false;
    std::string deviceName = "COM1";
    platform::LineSettings line {9600, 8, platform::Parity::None, platform::StopBits::One};
    // Written by the worker outside a hand-over, read by the main thread inside one.
    std::string rxBuffer;
    // The end of a text the driver took only in part: it goes out before any
    // other text, so commands are never spliced into each other.
    std::string pendingRest;
    // Counts opens and closes, so a block read from an earlier opening is recognised.
    std::uint64_t generation = 0;
    std::string lastError; // main thread only
    platform::OpenFailure lastFailure = platform::OpenFailure::Other; // main thread only

    std::thread worker;
    std::atomic<bool> terminateRequested {false};
    std::mutex finishLock;
    std::condition_variable finishedSignal;
    bool workerFinished = false; // under finishLock
    bool destroying = false;     // main thread only
};

} // namespace comm
