#include "comm/tcomm_thread.h"

#include "platform/port_list.h"

#include <algorithm>
#include <cctype>
#include <chrono>

using platform::IoResult;

TCommThread::TCommThread(MainThreadHandOver &handOver, std::unique_ptr<platform::SerialDevice> device)
    : handOver(handOver)
    , portNames(platform::listPorts)
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
    PortHandle->setQueueSizes(static_cast<std::uint32_t>(InQueueKB) * 1024,
                              static_cast<std::uint32_t>(OutQueueKB) * 1024);
    if (Suspended())
        worker = std::thread(&TCommThread::Execute, this);
    FConnected = true;
    ++generation;
}

void TCommThread::DoClose()
{
    std::lock_guard<std::mutex> lock(portLock);
    if (!FConnected)
        return;
    PortHandle->restoreSaved();
    if (PortHandle->close()) {
        FConnected = false;
        ++generation;
    } else {
        PortHandle->configure(PortDcb, PortTimeouts); // still open: keep our parameters
    }
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
    // Nothing opens the port while this runs (both happen on the main thread), so
    // every retry on a closed port would fail alike; the senders try it on every
    // timer tick while the link runs over TCP, so it gives up at once.
    if (!FConnected)
        return text.empty();
    std::size_t next = 0;
    std::int32_t retries = 0;
    while (next < text.size() && retries < MaxWriteRetries) {
        switch (WriteByte(text[next])) {
        case IoResult::Ok:
            ++next;
            retries = 0;
            break;
        case IoResult::Retry:
            ++retries;
            break;
        case IoResult::HardError:
            return false; // a dead device takes no more bytes however often we try
        }
    }
    return retries < MaxWriteRetries;
}

IoResult TCommThread::WriteByte(char byte)
{
    if (!FConnected)
        return IoResult::Retry;
    return PortHandle->writeByte(byte);
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
    while (waitPollInterval()) {
        std::uint64_t generationSeen = 0;
        switch (pollOnce(generationSeen)) {
        case PollOutcome::Nothing:
            break;
        case PollOutcome::Received:
            handOver.run([this, generationSeen] { DoReceive(generationSeen); });
            RxBuffer.clear();
            break;
        case PollOutcome::Lost:
            handOver.run([this, generationSeen] { DoLost(generationSeen); });
            break;
        }
    }
    std::lock_guard<std::mutex> lock(wakeLock);
    workerFinished = true;
    wakeUp.notify_all();
}

// Sleeps one poll interval; false when the worker is to end.
bool TCommThread::waitPollInterval()
{
    std::unique_lock<std::mutex> lock(wakeLock);
    return !wakeUp.wait_for(lock, std::chrono::milliseconds(PollInterval),
                            [this] { return terminateRequested; });
}

TCommThread::PollOutcome TCommThread::pollOnce(std::uint64_t &generationSeen)
{
    std::lock_guard<std::mutex> lock(portLock);
    if (!FConnected)
        return PollOutcome::Nothing;
    generationSeen = generation;

    std::size_t waiting = 0;
    IoResult result = PortHandle->bytesWaiting(waiting);
    if (result == IoResult::Ok && waiting > 0) {
        // Only what is waiting is asked for, so the read returns at once.
        RxBuffer.resize(waiting);
        std::size_t got = 0;
        result = PortHandle->read(&RxBuffer[0], waiting, got);
        RxBuffer.resize(got);
    }
    if (result == IoResult::HardError) {
        // A vanished device fails every poll at once; the main thread closes it
        // before this worker polls again, so it cannot spin on it.
        RxBuffer.clear();
        return PollOutcome::Lost;
    }
    return RxBuffer.empty() ? PollOutcome::Nothing : PollOutcome::Received;
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
        FConnected = false;
        ++generation;
    }
    if (OnLost)
        OnLost();
}

void TCommThread::stopWorker()
{
    if (!worker.joinable())
        return;
    std::unique_lock<std::mutex> lock(wakeLock);
    terminateRequested = true;
    wakeUp.notify_all();
    // The worker may be waiting in a hand-over that only this thread can run.
    while (!workerFinished) {
        lock.unlock();
        handOver.pump();
        lock.lock();
        wakeUp.wait_for(lock, std::chrono::milliseconds(1), [this] { return workerFinished; });
    }
    lock.unlock();
    worker.join();
}
