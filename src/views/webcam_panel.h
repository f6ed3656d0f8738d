#pragma once
// The webcam row: four octet fields that check every change, and the button
// that shows the camera's page in the embedded browser.
#include "views/browsers.h"
#include "views/webcam_address.h"

#include <QObject>
#include <array>
#include <string>

class QLineEdit;
class QPushButton;

namespace views {

struct WebcamWidgets {
    std::array<QLineEdit *, kOctets> octets; // edtWebCamIP1 .. edtWebCamIP4
    QPushButton *btnWebCamConnect;
    WebcamBrowser *browser;
};

class WebcamPanel : public QObject {
    Q_OBJECT

public:
    WebcamPanel(const WebcamWidgets &widgets, QObject *parent);

    std::array<std::string, kOctets> octets() const;
    // Setting a field runs its check.
    void setOctet(std::size_t index, const std::string &text);

private:
    // Runs after every keystroke and every setText of field index (edtWebCamIP1 is 0),
    // so the fields only ever hold octets.
    void edtWebCamIPChange(std::size_t index);
    void btnWebCamConnectClick();

    WebcamWidgets widgets;
};

} // namespace views
