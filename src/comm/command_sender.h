#pragma once
// How the timers hand a command to a link: the link logs it in the debug memo
// and sends it on whichever of its paths is up.
#include <string>

namespace comm {

class CommandSender {
public:
    virtual ~CommandSender() = default;
    // command without its carriage return, which the link adds.
    virtual void sendCommand(const std::string &command) = 0;
};

} // namespace comm
