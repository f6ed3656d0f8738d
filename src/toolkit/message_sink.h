#pragma once
// How model code reports to the operator without knowing the window toolkit:
// it hands a modal message (kind, buttons, UTF-8 text) to the installed sink and
// waits for the answer. The GUI installs a sink over QMessageBox; tests install
// a recorder.
#include <string>

namespace msg {

enum class Kind { Plain, Information, Warning, Error, Confirmation };
enum class Buttons { Ok, Yes, YesNo };
enum class Answer { Ok, Yes, No };

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual Answer show(Kind kind, Buttons buttons, const std::string &text) = 0;
};

// The sink in force; nullptr restores the default sink.
void setSink(MessageSink *sink);
// The sink used while none is set: the GUI registers its message boxes here. Without
// one, messages are answered without being shown (Ok, or No to a question), so code
// without a GUI never blocks.
void setDefaultSink(MessageSink *sink);
MessageSink &sink();

inline Answer show(Kind kind, Buttons buttons, const std::string &text)
{
    return sink().show(kind, buttons, text);
}

} // namespace msg
