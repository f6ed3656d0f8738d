#include "views/webcam_panel.h"

#include "toolkit/byte_text.h"
#include "toolkit/message_sink.h"

#include <QLineEdit>
#include <QPushButton>
#include <QUrl>

namespace views {

namespace {
namespace msg = toolkit::msg;
const platform::UiText kFalscheEingabe = UI_TEXT("views::WebcamPanel", "Falsche Eingabe!\n0 bis 255");
}

WebcamPanel::WebcamPanel(const WebcamWidgets &widgets, QObject *parent) : QObject(parent), widgets(widgets)
{
    // textChanged fires on typing and on code changes, not when the text stays.
    for (std::size_t i = 0; i < kOctets; ++i)
        connect(widgets.octets[i], &QLineEdit::textChanged, this, [this, i] { edtWebCamIPChange(i); });
    connect(widgets.btnWebCamConnect, &QPushButton::clicked, this, &WebcamPanel::btnWebCamConnectClick);
}

// Putting "0" back runs the check once more, which passes; the connect button
// need not check the fields again.
void WebcamPanel::edtWebCamIPChange(std::size_t index)
{
    QLineEdit &field = *widgets.octets[index];
    if (isValidOctet(toolkit::toBytes(field.text())))
        return;
    msg::show(msg::Kind::Error, msg::Buttons::Ok, kFalscheEingabe);
    field.setText(QStringLiteral("0"));
}

void WebcamPanel::btnWebCamConnectClick() { widgets.browser->navigate(QUrl(toolkit::fromBytes(webcamUrl(octets())))); }

std::array<std::string, kOctets> WebcamPanel::octets() const
{
    std::array<std::string, kOctets> texts;
    for (std::size_t i = 0; i < kOctets; ++i)
        texts[i] = toolkit::toBytes(widgets.octets[i]->text());
    return texts;
}

void WebcamPanel::setOctet(std::size_t index, const std::string &text)
{
    widgets.octets[index]->setText(toolkit::fromBytes(text));
}

} // namespace views
