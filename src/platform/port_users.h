#pragma once
// Whether another program holds a serial port, found out without opening it:
// opening a port raises its modem lines, which resets many boards and
// disturbs whoever uses it.
#include <string>

namespace platform {

// True when the device is seen in use: on Linux a lock on it (flock, as this
// console and picocom take; a UUCP lock file in /run/lock or /var/lock, as
// minicom and cu write) or an open descriptor of another process on it, as far
// as /proc shows them (all processes to root, one's own to everyone else). The
// program that made a pseudo-terminal holds its slave too; that one does not
// count. Windows lets only one program open a port, so there it is never seen
// and the open is refused instead.
bool portHeldElsewhere(const std::string &device);

} // namespace platform
