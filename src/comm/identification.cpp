#include "comm/identification.h"

#include "toolkit/message_sink.h"

namespace comm {

namespace {
namespace msg = toolkit::msg;
const std::string kArmVersionReply = "SSC32-1.06XE\r";
}

void identifyArm(const std::string &text)
{
    if (text == kArmVersionReply)
        msg::show(msg::Kind::Plain, msg::Buttons::Ok, "Lynxmotion SSC32 am WiPort gefunden!");
}

} // namespace comm
