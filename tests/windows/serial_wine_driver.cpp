// The Windows half of the Wine tests: TCommThread over the Win32 backend on a
// COM port that the test (test_serial_under_wine) has pointed at a pty. Each
// case is one run: serial_wine_driver.exe <case> <port> [arguments]. It says
// how far it got in lines on stdout, waits for the test's go-ahead on stdin
// where the far end has to act, checks what it can see itself and exits 1 with
// a "FAIL:" line when a check fails.
#include "comm/tcomm_thread.h"
#include "platform/port_list.h"
#include "support/manual_hand_over.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <string>
#include <vector>
// Lean: the full <windows.h> brings winspool.h, whose EnumPorts macro would
// rename TCommThread::EnumPorts here.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <sddl.h>

namespace {

void say(const std::string &line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

[[noreturn]] void fail(const std::string &what)
{
    say("FAIL: " + what);
    std::exit(1);
}

void check(bool passed, const std::string &what)
{
    if (!passed)
        fail(what);
}

// The test's go-ahead: the far end has done its part.
void awaitGoAhead()
{
    std::string line;
    check(static_cast<bool>(std::getline(std::cin, line)), "the test closed stdin");
}

double cpuMs()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto ms = [](const FILETIME &time) {
        return ((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

double nowMs()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string command(int index)
{
    return "#16P" + std::to_string(1000 + index) + "\r";
}

// One port with the hand-over played by this main thread.
struct Link {
    explicit Link(const std::string &port)
    {
        thread.setDeviceName(port);
        thread.OnReceive = [this](std::string block) { received += block; ++blocks; };
        thread.OnLost = [this] { ++lost; };
    }

    void open()
    {
        check(thread.Open(), "Open failed: " + thread.LastError());
        say("open");
    }

    // Runs the worker's hand-overs until done() holds.
    void pumpUntil(const std::function<bool()> &done)
    {
        while (!done()) {
            check(handOver.waitForWaiting(1), "nothing handed over for 10 s (received so far: "
                                                  + std::to_string(received.size()) + " bytes)");
            handOver.pump();
        }
    }

    ManualHandOver handOver;
    comm::TCommThread thread {handOver};
    std::string received;
    int blocks = 0;
    int lost = 0;
};

// Baud rate, byte size, parity and stop bits as given; open until the test has
// looked at the line, then closed.
void configure(const std::string &port, char **values)
{
    Link link(port);
    link.thread.setBaudRate(static_cast<std::uint32_t>(std::atoi(values[0])));
    link.thread.setByteSize(static_cast<std::uint8_t>(std::atoi(values[1])));
    link.thread.setParity(static_cast<platform::Parity>(std::atoi(values[2])));
    link.thread.setStopBits(static_cast<platform::StopBits>(std::atoi(values[3])));
    link.open();
    awaitGoAhead();
    check(link.thread.Close(), "Close failed");
    say("closed");
}

// Writes the given number of commands, then sends back every block it receives
// until echoBytes came.
void exchange(const std::string &port, int commands, std::size_t echoBytes)
{
    Link link(port);
    link.open();
    for (int index = 0; index < commands; ++index)
        check(link.thread.WriteText(command(index)), "WriteText refused " + command(index));
    say("written");
    std::size_t echoed = 0;
    link.thread.OnReceive = [&](std::string block) {
        check(link.thread.WriteText(block), "WriteText refused an echo of " + std::to_string(block.size()) + " bytes");
        echoed += block.size();
        ++link.blocks;
    };
    link.pumpUntil([&] { return echoed >= echoBytes; });
    check(echoed == echoBytes, "echoed " + std::to_string(echoed) + " bytes instead of " + std::to_string(echoBytes));
    say("blocks " + std::to_string(link.blocks));
}

// The far end sends a text and, once it has come, goes away: one loss report;
// after it neither the closed port nor the worker costs time.
void lost(const std::string &port)
{
    Link link(port);
    link.open();
    double before = cpuMs();
    Sleep(1000);
    say("cpu while open " + std::to_string(static_cast<int>(cpuMs() - before)) + " ms in 1 s");
    say("measured");
    link.pumpUntil([&] { return link.received.size() >= 8 || link.lost > 0; });
    check(link.received == "Rev 2.01", "received \"" + link.received + "\" before the loss");
    say("received");
    link.pumpUntil([&] { return link.lost > 0; });
    check(!link.thread.Connected(), "still connected after the loss");
    check(!link.thread.WriteText("#0P1500\r"), "WriteText succeeded on the lost port");
    before = cpuMs();
    Sleep(1000);
    const double afterLoss = cpuMs() - before;
    link.handOver.pump(); // a second report would be waiting here
    check(link.lost == 1, "the loss was reported " + std::to_string(link.lost) + " times");
    say("cpu after loss " + std::to_string(static_cast<int>(afterLoss)) + " ms in 1 s");
    // A spinning worker costs the better part of a second.
    check(afterLoss < 300, "the worker spins after the loss");
}

// The test stalls the line; commands then go whole or not at all and never hold
// the caller, and once the line drains they go again, the rest of a command
// that the driver took in part going first.
void stalled(const std::string &port)
{
    Link link(port);
    link.open();
    awaitGoAhead();
    std::vector<int> accepted;
    int refused = 0;
    double longestMs = 0;
    const auto attempt = [&](int index) {
        const double start = nowMs();
        const bool taken = link.thread.WriteText(command(index));
        longestMs = std::max(longestMs, nowMs() - start);
        if (taken)
            accepted.push_back(index);
        else
            ++refused;
        Sleep(10);
    };
    int index = 0;
    while (refused < 20 && index < 500)
        attempt(index++);
    say("stalled: accepted " + std::to_string(accepted.size()) + ", refused " + std::to_string(refused));
    check(refused > 0, "no command was refused on the stalled line");
    const std::size_t acceptedWhileStalled = accepted.size();
    say("drain");
    while (accepted.size() < acceptedWhileStalled + 20 && index < 3000)
        attempt(index++);
    check(accepted.size() >= acceptedWhileStalled + 20, "sending did not resume after the line drained");
    say("longest WriteText " + std::to_string(longestMs) + " ms");
    check(longestMs < 100, "a WriteText held the caller for " + std::to_string(longestMs) + " ms");
    std::string indices = "accepted";
    for (const int taken : accepted)
        indices += " " + std::to_string(taken);
    say(indices);
    awaitGoAhead(); // open until everything has arrived
}

// A regular file in the place of the port is refused before anything touches it.
void notSerial(const std::string &port)
{
    Link link(port);
    check(!link.thread.Open(), "a regular file opened as a port");
    check(link.thread.Suspended(), "the worker started for a refused port");
    say("refused: " + link.thread.LastError());
}

HKEY openDeviceMapKey(const char *name, REGSAM access)
{
    HKEY key = nullptr;
    const LONG result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, (std::string("HARDWARE\\DEVICEMAP\\") + name).c_str(),
                                      0, access, &key);
    check(result == ERROR_SUCCESS, std::string("cannot open ") + name + ": error " + std::to_string(result));
    return key;
}

void setDacl(const char *name, const char *dacl)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    check(ConvertStringSecurityDescriptorToSecurityDescriptorA(dacl, SDDL_REVISION_1, &descriptor, nullptr) != 0,
          "bad security descriptor");
    const HKEY key = openDeviceMapKey(name, WRITE_DAC);
    check(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS, "cannot set the DACL");
    RegCloseKey(key);
    LocalFree(descriptor);
}

// Replaces the values of a device map key with the given ones; a DWORD value
// among them is no port name.
void fillDeviceMap(const char *name, const std::vector<std::pair<std::string, std::string>> &values)
{
    setDacl(name, "D:P(A;;KA;;;WD)");
    const HKEY key = openDeviceMapKey(name, KEY_ALL_ACCESS);
    char valueName[256];
    DWORD size = sizeof valueName;
    while (RegEnumValueA(key, 0, valueName, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
        RegDeleteValueA(key, valueName);
        size = sizeof valueName;
    }
    for (const auto &[device, data] : values)
        RegSetValueExA(key, device.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE *>(data.c_str()),
                       static_cast<DWORD>(data.size() + 1));
    const DWORD notAName = 3;
    RegSetValueExA(key, "\\Device\\Unnamed", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&notAName), sizeof notAName);
    RegCloseKey(key);
}

// The device maps as set here, made readable only, as they are for ordinary
// users on Windows; then the port list as TCommThread sorts it.
void ports()
{
    fillDeviceMap("SERIALCOMM", {{"\\Device\\Serial0", "COM2"}, {"\\Device\\Serial1", "COM10"},
                                 {"\\Device\\VCP0", "com1"}});
    fillDeviceMap("PARALLEL PORTS", {{"\\Device\\Parallel0", "\\DosDevices\\LPT1"}});
    for (const char *name : {"SERIALCOMM", "PARALLEL PORTS"}) {
        setDacl(name, "D:P(A;;KR;;;WD)");
        HKEY key = nullptr;
        check(RegOpenKeyExA(HKEY_LOCAL_MACHINE, (std::string("HARDWARE\\DEVICEMAP\\") + name).c_str(), 0,
                            KEY_ALL_ACCESS, &key) == ERROR_ACCESS_DENIED,
              std::string("full access to ") + name + " is not refused: the read-only check shows nothing");
    }
    ManualHandOver handOver;
    comm::TCommThread thread(handOver);
    std::string line = "ports";
    for (const std::string &name : thread.EnumPorts(1, 1))
        line += " " + name;
    say(line);
}

} // namespace

int main(int argc, char **argv)
{
    const std::string which = argc > 1 ? argv[1] : "";
    const std::string port = argc > 2 ? argv[2] : "";
    if (which == "configure" && argc == 7)
        configure(port, argv + 3);
    else if (which == "exchange" && argc == 5)
        exchange(port, std::atoi(argv[3]), static_cast<std::size_t>(std::atoll(argv[4])));
    else if (which == "lost" && argc == 3)
        lost(port);
    else if (which == "stalled" && argc == 3)
        stalled(port);
    else if (which == "notserial" && argc == 3)
        notSerial(port);
    else if (which == "ports" && argc == 2)
        ports();
    else {
        say("usage: serial_wine_driver configure|exchange|lost|stalled|notserial|ports <port> [arguments]");
        return 2;
    }
    return 0;
}
