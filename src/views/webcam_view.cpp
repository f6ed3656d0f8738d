// The webcam row: four octet fields that check every change, and the button
// that shows the camera's page.
#include "app/tform1.h"

#include "app/message_sink.h"
#include "toolkit/byte_text.h"
#include "toolkit/web_browser.h"
#include "ui_tform1.h"
#include "views/webcam_address.h"

#include <QLineEdit>
#include <QPushButton>
#include <QUrl>

namespace {
constexpr const char *kFalscheEingabe = "Falsche Eingabe!\n0 bis 255";
}

void TForm1::connectWebcamView()
{
    using Handler = void (TForm1::*)();
    const std::array<Handler, webcam::kOctets> handlers = {
        &TForm1::edtWebCamIP1Change, &TForm1::edtWebCamIP2Change,
        &TForm1::edtWebCamIP3Change, &TForm1::edtWebCamIP4Change,
    };
    const auto fields = webCamOctetFields();
    // textChanged fires on typing and on code changes, not when the text stays.
    for (std::size_t i = 0; i < webcam::kOctets; ++i)
        connect(fields[i], &QLineEdit::textChanged, this, handlers[i]);
    connect(ui->btnWebCamConnect, &QPushButton::clicked, this, &TForm1::btnWebCamConnectClick);
}

std::array<QLineEdit *, 4> TForm1::webCamOctetFields() const
{
    return {ui->edtWebCamIP1, ui->edtWebCamIP2, ui->edtWebCamIP3, ui->edtWebCamIP4};
}

void TForm1::edtWebCamIP1Change() { checkWebCamOctet(*ui->edtWebCamIP1); }
void TForm1::edtWebCamIP2Change() { checkWebCamOctet(*ui->edtWebCamIP2); }
void TForm1::edtWebCamIP3Change() { checkWebCamOctet(*ui->edtWebCamIP3); }
void TForm1::edtWebCamIP4Change() { checkWebCamOctet(*ui->edtWebCamIP4); }

// Runs after every keystroke and every setText, so the fields only ever hold
// octets and the connect button need not check them again. Putting "0" back runs
// this once more, which passes.
void TForm1::checkWebCamOctet(QLineEdit &field)
{
    if (webcam::isValidOctet(toolkit::toBytes(field.text())))
        return;
    msg::show(msg::Kind::Error, msg::Buttons::Ok, kFalscheEingabe);
    field.setText(QStringLiteral("0"));
}

void TForm1::btnWebCamConnectClick()
{
    std::array<std::string, webcam::kOctets> octets;
    const auto fields = webCamOctetFields();
    for (std::size_t i = 0; i < webcam::kOctets; ++i)
        octets[i] = toolkit::toBytes(fields[i]->text());
    ui->CppWebBrowser1->navigate(QUrl(toolkit::fromBytes(webcam::webcamUrl(octets))));
}
