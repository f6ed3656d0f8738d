#include "comm/tcomm_thread.h"

#include <algorithm>
#include <cctype>
#include <chrono>

using platform::IoResult;

namespace {

// How soon the worker looks again after a failed pass, and while the rest of a
// text waits for room in the driver.
constexpr int kRetryMs = 5;

} // namespace

TCommThread::TCommThread(MainThreadHandOver &handOver, std::unique_ptr<platform::SerialDevice> device)
    : handOver(handOver)
    , portNames([](bool, bool) { return std::vector<std::string>(); })
    , PortHandle(std::move(device))
{
}

TCommThread::~TCommThread()
{
    destroying = true; // blocks still delivered while the worker leaves are dropped
    stopWorker();
    DoClose();
}

bool TCommThread::Open()
{
    DoOpen();
    return FConnected;
}

bool TCommThread::Close()
{
    DoClose();
    return !FConnected;
}

void TCommThread::DoOpen()
{
    {
        std::lock_guard<std::mutex> lock(portLock);
        if (FConnected)
            return;
        if (!PortHandle->open(FDeviceName)) {
            FLastError = PortHandle->openError();
            return;
        }
        FLastError.clear();
        // Once the device opened, the port counts as open even if it refused a
        // parameter, the time-outs or the queue sizes.
        PortHandle->saveCurrent();
        PortHandle->configure(PortDcb, PortTimeouts);
        PortHandle->setQueueSizes(static_cast<std::uint32_t>(InQueueKB) * 1024, outputQueueBytes());
        FConnected = true;
        ++generation;
    }
    if (Suspended())
        worker = std::thread(&TCommThread::Execute, this);
    else
        PortHandle->wake(); // it sleeps without a port until told of the new one
}

void TCommThread::DoClose()
{
    {
        std::lock_guard<std::mutex> lock(portLock);
        if (!FConnected)
            return;
        PortHandle->restoreSaved();
        if (!PortHandle->close()) {
            PortHandle->configure(PortDcb, PortTimeouts); // still open: keep our parameters
            return;
        }
        markClosed();
    }
    PortHandle->wake(); // it must not go on sleeping on the closed port
}

void TCommThread::markClosed()
{
    FConnected = false;
    ++generation;
    pendingRest.clear();
}

template <typename Store>
void TCommThread::changeParameter(Store store)
{
    if (FConnected) {
        Close();
        store();
        Open();
    } else {
        store();
    }
}

void TCommThread::setDeviceName(const std::string &name)
{
    changeParameter([&] { FDeviceName = name; });
}

void TCommThread::setBaudRate(std::uint32_t baudRate)
{
    changeParameter([&] { PortDcb.BaudRate = baudRate; });
}

void TCommThread::setByteSize(std::uint8_t byteSize)
{
    changeParameter([&] { PortDcb.ByteSize = byteSize; });
}

void TCommThread::setParity(std::uint8_t parity)
{
    changeParameter([&] { PortDcb.Parity = parity; });
}

void TCommThread::setStopBits(std::uint8_t stopBits)
{
    changeParameter([&] { PortDcb.StopBits = stopBits; });
}

bool TCommThread::WriteText(const std::string &text)
{
    if (text.empty())
        return true;
    std::lock_guard<std::mutex> lock(portLock);
    if (!FConnected || !sendPendingRest())
        return false;
    // Refused before a byte goes when the queue has no room for all of it, so a
    // stalled line never holds the window and never gets half a command.
    std::size_t queued = 0;
    if (PortHandle->queuedOutput(queued) == IoResult::Ok && queued + text.size() > outputQueueBytes())
        return false;
    std::size_t written = 0;
    if (PortHandle->write(text.data(), text.size(), written) != IoResult::Ok || written == 0)
        return false;
    if (written < text.size()) {
        // The driver had less room than it said: the rest goes out first of all,
        // sent by the worker as soon as the line drains.
        pendingRest = text.substr(written);
        PortHandle->wake();
    }
    return true;
}

// True when nothing of an earlier text waits to go out any more.
bool TCommThread::sendPendingRest()
{
    if (pendingRest.empty())
        return true;
    std::size_t written = 0;
    if (PortHandle->write(pendingRest.data(), pendingRest.size(), written) == IoResult::Ok)
        pendingRest.erase(0, written);
    return pendingRest.empty();
}

std::vector<std::string> TCommThread::EnumPorts(std::uint8_t serial, std::uint8_t parallel)
{
    std::vector<std::string> list;
    EnumPorts(serial, parallel, list);
    return list;
}

std::vector<std::string> &TCommThread::EnumPorts(std::uint8_t serial, std::uint8_t parallel,
                                                 std::vector<std::string> &list)
{
    list.clear();
    const bool wantSerial = serial == 1;
    const bool wantParallel = parallel == 1;
    if (wantSerial || wantParallel)
        list = portNames(wantSerial, wantParallel);
    const auto lowerLess = [](unsigned char a, unsigned char b) {
        return std::tolower(a) < std::tolower(b);
    };
    std::stable_sort(list.begin(), list.end(), [&](const std::string &a, const std::string &b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), lowerLess);
    });
    return list;
}

void TCommThread::Execute()
{
    bool watchPort = true;
    int timeoutMs = -1;
    while (!terminateRequested) {
        const platform::PortEvent event = PortHandle->waitForEvent(watchPort, timeoutMs);
        if (terminateRequested)
            break;
        const Pass pass = workerPass(event);
        switch (pass.outcome) {
        case PassOutcome::Received:
            handOver.run([this, generation = pass.generation] { DoReceive(generation); });
            RxBuffer.clear();
            break;
        case PassOutcome::Lost:
            handOver.run([this, generation = pass.generation] { DoLost(generation); });
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
    workerFinished = true;
}

TCommThread::Pass TCommThread::workerPass(platform::PortEvent event)
{
    std::lock_guard<std::mutex> lock(portLock);
    Pass pass;
    if (!FConnected)
        return pass;
    pass.generation = generation;
    sendPendingRest();
    pass.restPending = !pendingRest.empty();

    std::size_t waiting = 0;
    IoResult result = PortHandle->bytesWaiting(waiting);
    if (result == IoResult::Ok && waiting > 0) {
        // Only what is waiting is asked for, so the read returns at once.
        RxBuffer.resize(waiting);
        std::size_t got = 0;
        result = PortHandle->read(&RxBuffer[0], waiting, got);
        RxBuffer.resize(got);
    }
    if (result == IoResult::HardError || (event == platform::PortEvent::HungUp && RxBuffer.empty())) {
        // The main thread closes the vanished device before this worker looks
        // at it again, so it cannot spin on it.
        RxBuffer.clear();
        pass.outcome = PassOutcome::Lost;
    } else if (!RxBuffer.empty()) {
        pass.outcome = PassOutcome::Received;
    } else if (result == IoResult::Retry || event == platform::PortEvent::Readable) {
        pass.outcome = PassOutcome::Failed;
    }
    return pass;
}

void TCommThread::DoReceive(std::uint64_t readInGeneration)
{
    if (destroying || readInGeneration != generation)
        return; // read before a close or reopen: not for the port as it is now
    if (OnReceive)
        OnReceive(RxBuffer);
}

void TCommThread::DoLost(std::uint64_t lostInGeneration)
{
    if (destroying || lostInGeneration != generation)
        return; // already closed (or reopened) by the owner
    {
        std::lock_guard<std::mutex> lock(portLock);
        // Restoring the saved parameters fails on a vanished device; the handle
        // is released all the same.
        PortHandle->restoreSaved();
        PortHandle->close();
        markClosed();
    }
    if (OnLost)
        OnLost();
}

void TCommThread::stopWorker()
{
    if (!worker.joinable())
        return;
    terminateRequested = true;
    PortHandle->wake();
    // The worker may be waiting in a hand-over that only this thread can run.
    while (!workerFinished) {
        handOver.pump();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    worker.join();
}
