// Windows opens a serial port for one program only: a held port refuses the
// open (access denied), which says the same without anything seen beforehand.
#include "platform/port_users.h"

namespace platform {

bool portHeldElsewhere(const std::string &) { return false; }

} // namespace platform
