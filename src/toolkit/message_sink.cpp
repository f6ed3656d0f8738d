#include "toolkit/message_sink.h"

namespace msg {
namespace {

class SilentSink : public MessageSink {
public:
    Answer show(Kind, Buttons buttons, const std::string &) override
    {
        switch (buttons) {
        case Buttons::Yes: return Answer::Yes;
        case Buttons::YesNo: return Answer::No;
        case Buttons::Ok: break;
        }
        return Answer::Ok;
    }
};

SilentSink silentSink;
MessageSink *installed = nullptr;
MessageSink *fallback = &silentSink;

} // namespace

void setSink(MessageSink *sink) { installed = sink; }

void setDefaultSink(MessageSink *sink) { fallback = sink ? sink : &silentSink; }

MessageSink &sink() { return installed ? *installed : *fallback; }

} // namespace msg
