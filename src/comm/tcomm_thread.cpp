#include "comm/tcomm_thread.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace comm {

using platform::IoResult;

namespace {

// How soon the worker looks again after a failed pass, and while the rest of a
// text waits for room in the driver.
constexpr int kRetryMs = 5;
constexpr std::uint32_t kInQueueBytes = 32 * 1024;
constexpr std::uint32_t kOutQueueBytes = 9 * 1024;
// How often a stopping owner runs the hand-overs the worker may wait in, and how
// long it waits at most for the worker to end.
constexpr auto kPumpInterval = std::chrono::milliseconds(5);
constexpr auto kStopDeadline = std::chrono::seconds(5);

} // namespace

TCommThread::TCommThread(MainThreadHandOver &handOver, std::unique_ptr<platform::SerialDevice> device,
                         PortNameSource portNames)
    : handOver(handOver), portNames(std::move(portNames)), device(std::move(device))
{
}

TCommThread::~TCommThread()
{
    destroying = true; // blocks still delivered while the worker leaves are dropped
    stopWorker();
    closePort();
}

bool TCommThread::Open()
{
    openPort();
    return connected;
}

bool TCommThread::Close()
{
    closePort();
    return !connected;
}

void TCommThread::openPort()
{
    {
        std::lock_guard<std::mutex> lock(portLock);
        if (connected)
            return;
        if (!device->open(deviceName)) {
            lastError = device->openError();
            lastFailure = device->openFailure();
            return;
        }
        lastError.clear();
        // Once the device opened, the port counts as open even if it refused a
        // parameter or the queue sizes.
        device->saveCurrent();
        device->configure(line);
        device->setQueueSizes(kInQueueBytes, kOutQueueBytes);
        connected = true;
        ++generation;
    }
    if (Suspended())
        worker = std::thread(&TCommThread::run, this);
    else
        device->wake(); // it sleeps without a port until told of the new one
}

void TCommThread::closePort()
{
    {
        std::lock_guard<std::mutex> lock(portLock);
        if (!connected)
            return;
        device->restoreSaved();
        if (!device->close()) {
            device->configure(line); // still open: keep our parameters
            return;
        }
        markClosed();
    }
    device->wake(); // it must not go on sleeping on the closed port
}

void TCommThread::markClosed()
{
    connected = false;
    ++generation;
    pendingRest.clear();
}

template <typename Store>
void TCommThread::changeParameter(Store store)
{
    if (connected) {
        Close();
        store();
        Open();
    } else {
        store();
    }
}

void TCommThread::setDeviceName(const std::string &name)
{
    changeParameter([&] { deviceName = name; });
}

void TCommThread::setBaudRate(std::uint32_t baudRate)
{
    changeParameter([&] { line.baudRate = baudRate; });
}

void TCommThread::setByteSize(std::uint8_t byteSize)
{
    changeParameter([&] { line.byteSize = byteSize; });
}

void TCommThread::setParity(platform::Parity parity)
{
    changeParameter([&] { line.parity = parity; });
}

void TCommThread::setStopBits(platform::StopBits stopBits)
{
    changeParameter([&] { line.stopBits = stopBits; });
}

bool TCommThread::WriteText(const std::string &text)
{
    if (text.empty())
        return true;
    std::lock_guard<std::mutex> lock(portLock);
    if (!connected || !sendPendingRest())
        return false;
    // Refused before a byte goes when the queue has no room for all of it, so a
    // stalled line never holds the window and never gets half a command.
    std::size_t queued = 0;
    if (device->queuedOutput(queued) == IoResult::Ok && queued + text.size() > kOutQueueBytes)
        return false;
    std::size_t written = 0;
    if (device->write(text.data(), text.size(), written) != IoResult::Ok || written == 0)
        return false;
    if (written < text.size()) {
        // The driver had less room than it said: the rest goes out first of all,
        // sent by the worker as soon as the line drains.
        pendingRest = text.substr(written);
        device->wake();
    }
    return true;
}

// True when nothing of an earlier text waits to go out any more.
bool TCommThread::sendPendingRest()
{
    if (pendingRest.empty())
        return true;
    std::size_t written = 0;
    if (device->write(pendingRest.data(), pendingRest.size(), written) == IoResult::Ok)
        pendingRest.erase(0, written);
    return pendingRest.empty();
}

std::vector<std::string> sortedPortNames(std::vector<std::string> names)
{
    const auto lowerLess = [](unsigned char a, unsigned char b) {
        return std::tolower(a) < std::tolower(b);
    };
    std::stable_sort(names.begin(), names.end(), [&](const std::string &a, const std::string &b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), lowerLess);
    });
    return names;
}

std::vector<std::string> TCommThread::EnumPorts(std::uint8_t serial, std::uint8_t parallel) const
{
    const bool wantSerial = serial == 1;
    const bool wantParallel = parallel == 1;
    if (!wantSerial && !wantParallel)
        return {};
    return sortedPortNames(portNames(wantSerial, wantParallel));
}

void TCommThread::run()
{
    bool watchPort = true;
    int timeoutMs = -1;
    while (!terminateRequested) {
        const platform::PortEvent event = device->waitForEvent(watchPort, timeoutMs);
        if (terminateRequested)
            break;
        const Pass pass = workerPass(event);
        switch (pass.outcome) {
        case PassOutcome::Received:
            handOver.run([this, generation = pass.generation] { deliverBlock(generation); });
            rxBuffer.clear();
            break;
        case PassOutcome::Lost:
            handOver.run([this, generation = pass.generation] { deliverLoss(generation); });
            break;
        case PassOutcome::Nothing:
        case PassOutcome::Failed:
            break;
        }
        // After a failed pass the port is left alone for a moment: one that keeps
        // signalling without giving data must not spin the worker.
        watchPort = pass.outcome != PassOutcome::Failed;
        timeoutMs = pass.outcome == PassOutcome::Failed || pass.restPending ? kRetryMs : -1;
    }
    {
        std::lock_guard<std::mutex> lock(finishLock);
        workerFinished = true;
    }
    finishedSignal.notify_all();
}

TCommThread::Pass TCommThread::workerPass(platform::PortEvent event)
{
    std::lock_guard<std::mutex> lock(portLock);
    Pass pass;
    if (!connected)
        return pass;
    pass.generation = generation;
    sendPendingRest();
    pass.restPending = !pendingRest.empty();

    std::size_t waiting = 0;
    IoResult result = device->bytesWaiting(waiting);
    if (result == IoResult::Ok && waiting > 0) {
        // Only what is waiting is asked for, so the read returns at once.
        rxBuffer.resize(waiting);
        std::size_t got = 0;
        result = device->read(&rxBuffer[0], waiting, got);
        rxBuffer.resize(got);
    }
    if (result == IoResult::HardError || (event == platform::PortEvent::HungUp && rxBuffer.empty())) {
        // The main thread closes the vanished device before this worker looks
        // at it again, so it cannot spin on it.
        rxBuffer.clear();
        pass.outcome = PassOutcome::Lost;
    } else if (!rxBuffer.empty()) {
        pass.outcome = PassOutcome::Received;
    } else if (result == IoResult::Retry || event == platform::PortEvent::Readable) {
        pass.outcome = PassOutcome::Failed;
    }
    return pass;
}

void TCommThread::deliverBlock(std::uint64_t readInGeneration)
{
    if (destroying || readInGeneration != generation)
        return; // read before a close or reopen: not for the port as it is now
    if (OnReceive)
        OnReceive(rxBuffer);
}

void TCommThread::deliverLoss(std::uint64_t lostInGeneration)
{
    if (destroying || lostInGeneration != generation)
        return; // already closed (or reopened) by the owner
    {
        std::lock_guard<std::mutex> lock(portLock);
        // Restoring the saved parameters fails on a vanished device; the handle
        // is released all the same.
        device->restoreSaved();
        device->close();
        markClosed();
    }
    if (OnLost)
        OnLost();
}

// The worker may be waiting in a hand-over that only this thread can run, so
// this thread runs them while it waits. A worker that has not ended by the
// deadline is stuck where nothing of ours can free it; ending the process is
// better than a window that never closes or a thread left on freed memory.
void TCommThread::stopWorker()
{
    if (!worker.joinable())
        return;
    terminateRequested = true;
    device->wake();
    const auto deadline = std::chrono::steady_clock::now() + kStopDeadline;
    std::unique_lock<std::mutex> lock(finishLock);
    while (!finishedSignal.wait_for(lock, kPumpInterval, [this] { return workerFinished; })) {
        if (std::chrono::steady_clock::now() >= deadline) {
            std::fprintf(stderr, "The serial worker of %s did not end within %lld s.\n", deviceName.c_str(),
                         static_cast<long long>(kStopDeadline.count()));
            std::abort();
        }
        lock.unlock();
        handOver.pump();
        lock.lock();
    }
    lock.unlock();
    worker.join();
}

} // namespace comm
