#include "arm/ssc32.h"

#include "toolkit/message_sink.h"

namespace arm {

namespace {
namespace msg = toolkit::msg;
const std::string kVersionReply = "SSC32-1.06XE\r";
} // namespace

void identifyController(const std::string &text)
{
    if (text == kVersionReply)
        msg::show(msg::Kind::Plain, msg::Buttons::Ok, UI_TEXT("arm::Ssc32", "Lynxmotion SSC32 am WiPort gefunden!"));
}

} // namespace arm
