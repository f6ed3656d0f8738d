#include "support/message_recorder.h"

MessageRecorder::MessageRecorder() { msg::setSink(this); }

MessageRecorder::~MessageRecorder() { msg::setSink(nullptr); }

msg::Answer MessageRecorder::show(msg::Kind kind, msg::Buttons buttons, const platform::UiText &text)
{
    recorded.push_back({kind, buttons, QString::fromStdString(text.german())});
    switch (buttons) {
    case msg::Buttons::Ok: return msg::Answer::Ok;
    case msg::Buttons::Yes: return msg::Answer::Yes;
    case msg::Buttons::YesNo: break;
    }
    if (scriptedAnswers.empty())
        return msg::Answer::Yes;
    const msg::Answer answer = scriptedAnswers.front();
    scriptedAnswers.pop_front();
    return answer;
}

void MessageRecorder::answerQuestions(std::initializer_list<msg::Answer> answers)
{
    scriptedAnswers.insert(scriptedAnswers.end(), answers);
}

QStringList MessageRecorder::texts() const
{
    QStringList list;
    for (const Entry &entry : recorded)
        list << entry.text;
    return list;
}
