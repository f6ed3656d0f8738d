#pragma once
// The webcam row: four octet fields that check every change, and the button
// that shows the camera's page in the embedded browser.
#include "views/webcam_address.h"

#include <QObject>
#include <array>
#include <string>

class QLineEdit;
namespace toolkit {
class WebBrowser;
}

namespace views {

struct WebcamWidgets {
    std::array<QLineEdit *, webcam::kOctets> octets; // edtWebCamIP1 .. edtWebCamIP4
    toolkit::WebBrowser *browser;
};

class WebcamPanel : public QObject {
    Q_OBJECT

public:
    WebcamPanel(const WebcamWidgets &widgets, QObject *parent);

    // Runs after every keystroke and every setText, so the fields only ever hold octets.
    void checkOctet(std::size_t index);
    void showCamera();

    std::array<std::string, webcam::kOctets> octets() const;
    // Setting a field runs its check.
    void setOctet(std::size_t index, const std::string &text);

private:
    WebcamWidgets widgets;
};

} // namespace views
