// Serial port over the Win32 communications calls. The handle is synchronous;
// reads ask only for bytes already waiting, so they return at once.
#include "platform/serial_device.h"

#include <windows.h>

namespace platform {
namespace {

// Errors after which the handle is useless: the adapter was pulled or the
// driver gave up on it.
bool deviceGone(DWORD error)
{
    switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_BAD_COMMAND:
    case ERROR_DEVICE_REMOVED:
    case ERROR_GEN_FAILURE:
    case ERROR_INVALID_HANDLE:
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
    ~Win32SerialDevice() override
    {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }

    bool open(const std::string &name) override
    {
        handle = CreateFileA(devicePath(name).c_str(), GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_DELETE_ON_CLOSE | FILE_ATTRIBUTE_TEMPORARY, nullptr);
        error = handle == INVALID_HANDLE_VALUE ? systemMessage(GetLastError()) : std::string();
        return handle != INVALID_HANDLE_VALUE;
    }

    std::string openError() const override { return error; }

    bool saveCurrent() override
    {
        savedDcb = DCB {};
        savedDcb.DCBlength = sizeof(DCB);
        const bool stateSaved = GetCommState(handle, &savedDcb) != 0;
        const bool timeoutsSaved = GetCommTimeouts(handle, &savedTimeouts) != 0;
        return stateSaved && timeoutsSaved;
    }

    bool configure(const LineSettings &settings, const CommTimeouts &timeouts) override
    {
        // Every member not named here stays zero: no flow control of either kind,
        // DTR and RTS disabled, no parity checking, no error character.
        DCB dcb {};
        dcb.DCBlength = sizeof(DCB);
        dcb.BaudRate = settings.BaudRate;
        dcb.ByteSize = settings.ByteSize;
        dcb.Parity = settings.Parity;
        dcb.StopBits = settings.StopBits;
        COMMTIMEOUTS commTimeouts {};
        commTimeouts.ReadIntervalTimeout = timeouts.ReadIntervalTimeout;
        commTimeouts.ReadTotalTimeoutMultiplier = timeouts.ReadTotalTimeoutMultiplier;
        commTimeouts.ReadTotalTimeoutConstant = timeouts.ReadTotalTimeoutConstant;
        commTimeouts.WriteTotalTimeoutMultiplier = timeouts.WriteTotalTimeoutMultiplier;
        commTimeouts.WriteTotalTimeoutConstant = timeouts.WriteTotalTimeoutConstant;
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

    IoResult writeByte(char byte) override
    {
        // The count written is not looked at: a write that timed out still counts.
        DWORD written = 0;
        if (WriteFile(handle, &byte, 1, &written, nullptr) == 0)
            return failure();
        return IoResult::Ok;
    }

private:
    HANDLE handle = INVALID_HANDLE_VALUE;
    DCB savedDcb {};
    COMMTIMEOUTS savedTimeouts {};
    std::string error;
};

} // namespace

std::unique_ptr<SerialDevice> makeSerialDevice()
{
    return std::make_unique<Win32SerialDevice>();
}

} // namespace platform
