#pragma once
// Records every message box instead of showing it and answers questions from a
// script (Yes by default). Installs itself for its lifetime.
#include "toolkit/message_sink.h"

#include <QStringList>
#include <deque>
#include <vector>

// The tests name the message kinds as the code below the window does.
namespace msg = toolkit::msg;

class MessageRecorder : public msg::MessageSink {
public:
    struct Entry {
        msg::Kind kind;
        msg::Buttons buttons;
        QString text;
    };

    MessageRecorder();
    ~MessageRecorder() override;

    // The text as the German console shows it.
    msg::Answer show(msg::Kind kind, msg::Buttons buttons, const platform::UiText &text) override;

    // Answers for the next questions (Yes/No boxes), in order.
    void answerQuestions(std::initializer_list<msg::Answer> answers);

    QStringList texts() const;
    const std::vector<Entry> &entries() const { return recorded; }
    void clear() { recorded.clear(); }

private:
    std::vector<Entry> recorded;
    std::deque<msg::Answer> scriptedAnswers;
};
