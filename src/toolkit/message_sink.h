#pragma once
// How code below the window reports to the operator without knowing the window
// toolkit: it hands a modal message (kind, buttons, text) to the installed sink
// and waits for the answer. The text is a UiText (platform/uitext.h), which the
// sink shows in the console's language. The GUI installs a sink over
// QMessageBox; tests install a recorder. Standard C++ and header-only, so the
// models use it without linking anything above them.
#include "platform/uitext.h"

namespace toolkit::msg {

enum class Kind { Plain, Information, Warning, Error, Confirmation };
enum class Buttons { Ok, Yes, YesNo };
enum class Answer { Ok, Yes, No };

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual Answer show(Kind kind, Buttons buttons, const platform::UiText &text) = 0;
};

namespace detail {

// Answers without showing anything (Ok, or No to a question), so code without a
// GUI never blocks.
class SilentSink final : public MessageSink {
public:
    Answer show(Kind, Buttons buttons, const platform::UiText &) override
    {
        switch (buttons) {
        case Buttons::Yes: return Answer::Yes;
        case Buttons::YesNo: return Answer::No;
        case Buttons::Ok: break;
        }
        return Answer::Ok;
    }
};

inline SilentSink silentSink;
inline MessageSink *installed = nullptr;
inline MessageSink *fallback = &silentSink;

} // namespace detail

// The sink in force; nullptr restores the default sink.
inline void setSink(MessageSink *sink) { detail::installed = sink; }
// The sink used while none is set: the GUI registers its message boxes here.
inline void setDefaultSink(MessageSink *sink) { detail::fallback = sink ? sink : &detail::silentSink; }
inline MessageSink &sink() { return detail::installed ? *detail::installed : *detail::fallback; }

inline Answer show(Kind kind, Buttons buttons, const platform::UiText &text)
{
    return sink().show(kind, buttons, text);
}

} // namespace toolkit::msg
