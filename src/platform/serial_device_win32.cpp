// Serial port over the Win32 communications calls. The handle is synchronous;
// reads ask only for bytes already waiting, so they return at once. The worker
// looks for bytes once a millisecond (or at once when woken): waiting on
// WaitCommEvent would need an overlapped handle, and Wine, where this backend is
// tested, fails that wait on a pty at once (ERROR_NOT_SUPPORTED, or
// ERROR_OPERATION_ABORTED with EV_RXCHAR alone), so it could not be shown to work.
#include "platform/serial_device.h"

#include <atomic>
#include <windows.h>

namespace platform {
namespace {

static_assert(static_cast<BYTE>(Parity::Odd) == ODDPARITY && static_cast<BYTE>(Parity::Space) == SPACEPARITY);
static_assert(static_cast<BYTE>(StopBits::OneAndAHalf) == ONE5STOPBITS && static_cast<BYTE>(StopBits::Two) == TWOSTOPBITS);

// Errors after which the handle is useless: the adapter was pulled or the
// driver gave up on it. Wine reports a tty that hung up (EIO) as ERROR_NOT_READY.
bool deviceGone(DWORD error)
{
    switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_BAD_COMMAND:
    case ERROR_DEVICE_REMOVED:
    case ERROR_GEN_FAILURE:
    case ERROR_INVALID_HANDLE:
    case ERROR_NOT_READY:
        return true;
    default:
        return false;
    }
}

IoResult failure()
{
    return deviceGone(GetLastError()) ? IoResult::HardError : IoResult::Retry;
}

std::string systemMessage(DWORD error)
{
    char text[512] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, text, sizeof text, nullptr);
    std::string message(text, length);
    while (!message.empty() && (message.back() == '\r' || message.back() == '\n'))
        message.pop_back();
    return message;
}

// COM10 and above open only through the device namespace; COM1..COM9 open
// either way.
std::string devicePath(const std::string &name)
{
    const bool comPort = name.size() > 3
        && (name[0] == 'C' || name[0] == 'c')
        && (name[1] == 'O' || name[1] == 'o')
        && (name[2] == 'M' || name[2] == 'm');
    return comPort ? "\\\\.\\" + name : name;
}

class Win32SerialDevice final : public SerialDevice {
public:
    Win32SerialDevice() : wakeEvent(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}

    ~Win32SerialDevice() override
    {
        if (handle.load() != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
        if (wakeEvent != nullptr)
            CloseHandle(wakeEvent);
    }

    bool open(const std::string &name) override
    {
        // Not shared, not deleted at close: a file typed as the device name
        // must survive being refused.
        const HANDLE opened = CreateFileA(devicePath(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                          nullptr, OPEN_EXISTING, 0, nullptr);
        if (opened == INVALID_HANDLE_VALUE) {
            const DWORD cause = GetLastError();
            error = systemMessage(cause);
            // Windows answers "access denied" for a port another program holds: that is
            // no matter of the account's rights.
            openRefusal = cause == ERROR_ACCESS_DENIED ? OpenFailure::InUse : OpenFailure::Other;
            return false;
        }
        if (GetFileType(opened) != FILE_TYPE_CHAR) {
            CloseHandle(opened);
            error = "kein serielles Gerät";
            openRefusal = OpenFailure::NotSerial;
            return false;
        }
        openRefusal = OpenFailure::Other;
        handle = opened;
        error.clear();
        return true;
    }

    std::string openError() const override { return error; }
    OpenFailure openFailure() const override { return openRefusal; }

    // Read time-outs as the console always set them (15 ms between bytes, 1 ms a
    // byte plus 250 ms in all); reads ask only for what is waiting, so they rarely matter.
    static constexpr DWORD kReadIntervalMs = 15;
    static constexpr DWORD kReadPerByteMs = 1;
    static constexpr DWORD kReadTotalMs = 250;

    bool saveCurrent() override
    {
        savedDcb = DCB {};
        savedDcb.DCBlength = sizeof(DCB);
        const bool stateSaved = GetCommState(handle, &savedDcb) != 0;
        const bool timeoutsSaved = GetCommTimeouts(handle, &savedTimeouts) != 0;
        return stateSaved && timeoutsSaved;
    }

    bool configure(const LineSettings &settings) override
    {
        // Every member not named here stays zero: no flow control of either kind,
        // DTR and RTS disabled, no parity checking, no error character.
        DCB dcb {};
        dcb.DCBlength = sizeof(DCB);
        dcb.BaudRate = settings.baudRate;
        dcb.ByteSize = settings.byteSize;
        // The enumerations count as the DCB does (checked above).
        dcb.Parity = static_cast<BYTE>(settings.parity);
        dcb.StopBits = static_cast<BYTE>(settings.stopBits);
        COMMTIMEOUTS commTimeouts {};
        commTimeouts.ReadIntervalTimeout = kReadIntervalMs;
        commTimeouts.ReadTotalTimeoutMultiplier = kReadPerByteMs;
        commTimeouts.ReadTotalTimeoutConstant = kReadTotalMs;
        // write() must not wait, yet a synchronous WriteFile waits until the
        // driver took everything or the write time-out ends, and no setting means
        // "at once". With write time-outs like the read ones (1 ms a byte plus 250 ms) a stalled
        // line held the caller for 250 ms and more (under Wine 1.27 s for 1 KiB,
        // nothing written). The shortest limit returns within about a millisecond
        // with what the driver took (Windows may round it up to its timer tick);
        // TCommThread sends the rest of a command later.
        commTimeouts.WriteTotalTimeoutMultiplier = 0;
        commTimeouts.WriteTotalTimeoutConstant = kWriteLimitMs;
        const bool stateSet = SetCommState(handle, &dcb) != 0;
        const bool timeoutsSet = SetCommTimeouts(handle, &commTimeouts) != 0;
        return stateSet && timeoutsSet;
    }

    bool setQueueSizes(std::uint32_t inBytes, std::uint32_t outBytes) override
    {
        return SetupComm(handle, inBytes, outBytes) != 0;
    }

    bool restoreSaved() override
    {
        const bool stateSet = SetCommState(handle, &savedDcb) != 0;
        const bool timeoutsSet = SetCommTimeouts(handle, &savedTimeouts) != 0;
        return stateSet && timeoutsSet;
    }

    bool close() override
    {
        if (CloseHandle(handle) == 0)
            return false;
        handle = INVALID_HANDLE_VALUE;
        return true;
    }

    IoResult bytesWaiting(std::size_t &count) override
    {
        count = 0;
        DWORD lineErrors = 0; // cleared by the call and dropped
        COMSTAT status {};
        if (ClearCommError(handle, &lineErrors, &status) != 1)
            return failure();
        count = status.cbInQue;
        return IoResult::Ok;
    }

    IoResult read(char *buffer, std::size_t size, std::size_t &got) override
    {
        got = 0;
        DWORD bytesRead = 0;
        if (ReadFile(handle, buffer, static_cast<DWORD>(size), &bytesRead, nullptr) != 1)
            return failure();
        got = bytesRead;
        return IoResult::Ok;
    }

    IoResult queuedOutput(std::size_t &count) override
    {
        count = 0;
        DWORD lineErrors = 0;
        COMSTAT status {};
        if (ClearCommError(handle, &lineErrors, &status) == 0)
            return failure();
        count = status.cbOutQue;
        return IoResult::Ok;
    }

    IoResult write(const char *data, std::size_t size, std::size_t &written) override
    {
        written = 0;
        DWORD count = 0;
        if (WriteFile(handle, data, static_cast<DWORD>(size), &count, nullptr) == 0)
            return failure();
        written = count;
        return IoResult::Ok;
    }

    PortEvent waitForEvent(bool watchPort, int timeoutMs) override
    {
        const DWORD limit = timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs);
        const bool polling = watchPort && handle.load() != INVALID_HANDLE_VALUE;
        WaitForSingleObject(wakeEvent, polling && limit > kPollMs ? kPollMs : limit);
        return PortEvent::None;
    }

    void wake() override { SetEvent(wakeEvent); }

private:
    static constexpr DWORD kPollMs = 1;
    static constexpr DWORD kWriteLimitMs = 1;

    // Read by the worker's wait while the main thread may close the port.
    std::atomic<HANDLE> handle {INVALID_HANDLE_VALUE};
    HANDLE wakeEvent;
    DCB savedDcb {};
    COMMTIMEOUTS savedTimeouts {};
    std::string error;
    OpenFailure openRefusal = OpenFailure::Other;
};

} // namespace

std::unique_ptr<SerialDevice> makeSerialDevice()
{
    return std::make_unique<Win32SerialDevice>();
}

} // namespace platform
