#pragma once
// Modal message boxes over QMessageBox::exec(), whose nested event loop keeps
// timers, sockets and serial hand-overs running while the box is open.
#include "toolkit/message_sink.h"

namespace toolkit {

class MessageBoxSink : public msg::MessageSink {
public:
    msg::Answer show(msg::Kind kind, msg::Buttons buttons, const platform::UiText &text) override;
};

// Makes real message boxes the default for every msg::show of the program.
void useMessageBoxes();

} // namespace toolkit
