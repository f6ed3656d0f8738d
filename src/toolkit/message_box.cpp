#include "toolkit/message_box.h"

#include "toolkit/translated.h"

#include <QApplication>
#include <QMessageBox>

namespace toolkit {
namespace {

QMessageBox::Icon iconFor(msg::Kind kind)
{
    switch (kind) {
    case msg::Kind::Information: return QMessageBox::Information;
    case msg::Kind::Warning: return QMessageBox::Warning;
    case msg::Kind::Error: return QMessageBox::Critical;
    case msg::Kind::Confirmation: return QMessageBox::Question;
    case msg::Kind::Plain: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons buttonsFor(msg::Buttons buttons)
{
    switch (buttons) {
    case msg::Buttons::Yes: return QMessageBox::Yes;
    case msg::Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case msg::Buttons::Ok: break;
    }
    return QMessageBox::Ok;
}

} // namespace

msg::Answer MessageBoxSink::show(msg::Kind kind, msg::Buttons buttons, const platform::UiText &text)
{
    QMessageBox box(iconFor(kind), QApplication::applicationName(),
                    translated(text), buttonsFor(buttons),
                    QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    switch (box.exec()) {
    case QMessageBox::Yes: return msg::Answer::Yes;
    case QMessageBox::No: return msg::Answer::No;
    default: break;
    }
    // Closing a question with Escape or the title bar counts as No.
    return buttons == msg::Buttons::YesNo ? msg::Answer::No : msg::Answer::Ok;
}

void useMessageBoxes()
{
    static MessageBoxSink sink;
    msg::setDefaultSink(&sink);
}

} // namespace toolkit
