#include "views/webcam_panel.h"

#include "toolkit/byte_text.h"
#include "toolkit/message_sink.h"
#include "toolkit/web_browser.h"

#include <QLineEdit>
#include <QUrl>

namespace views {

namespace {
constexpr const char *kFalscheEingabe = "Falsche Eingabe!\n0 bis 255";
}

WebcamPanel::WebcamPanel(const WebcamWidgets &widgets, QObject *parent) : QObject(parent), widgets(widgets) {}

// Putting "0" back runs the check once more, which passes; the connect button
// need not check the fields again.
void WebcamPanel::checkOctet(std::size_t index)
{
    QLineEdit &field = *widgets.octets[index];
    if (webcam::isValidOctet(toolkit::toBytes(field.text())))
        return;
    msg::show(msg::Kind::Error, msg::Buttons::Ok, kFalscheEingabe);
    field.setText(QStringLiteral("0"));
}

void WebcamPanel::showCamera() { widgets.browser->navigate(QUrl(toolkit::fromBytes(webcam::webcamUrl(octets())))); }

std::array<std::string, webcam::kOctets> WebcamPanel::octets() const
{
    std::array<std::string, webcam::kOctets> texts;
    for (std::size_t i = 0; i < webcam::kOctets; ++i)
        texts[i] = toolkit::toBytes(widgets.octets[i]->text());
    return texts;
}

void WebcamPanel::setOctet(std::size_t index, const std::string &text)
{
    widgets.octets[index]->setText(toolkit::fromBytes(text));
}

} // namespace views
