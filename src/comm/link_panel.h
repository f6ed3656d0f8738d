#pragma once
// One link panel, a view of its connection: the choice between serial and TCP,
// the serial parameters, the connect button, manual sending, and what the link
// receives. It wires its own controls and writes what they choose into the
// connection; what concerns others the connection tells.
#include "comm/link_settings.h"
#include "platform/uitext.h"

#include <QObject>
#include <array>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace comm {

class Connection;
struct LinkFailure;

struct LinkWidgets {
    QRadioButton *rbtnSeriell;
    QRadioButton *rbtnTCP;
    QLineEdit *ip;
    QLineEdit *port;
    QPlainTextEdit *receiveMemo;
    QLineEdit *transmitEdit;
    QPushButton *connectButton;
    QPushButton *transmitButton;
    QComboBox *deviceName;
    QComboBox *baudRate;
    QComboBox *byteSize;
    QComboBox *parity;
    QComboBox *stopBits;
    QLabel *labName;
    QLabel *labBaudRate;
    QLabel *labByteSize;
    QLabel *labParity;
    QLabel *labStopBits;
};

// What the box about a port the account may not open advises.
platform::UiText noPermissionAdvice();

class LinkPanel : public QObject {
    Q_OBJECT

public:
    LinkPanel(const LinkWidgets &widgets, Connection &connection, QObject *parent);
    ~LinkPanel() override;

    // The port list, the serial parameters, an empty receive log, TCP mode.
    void init();

    // The address and port fields, as the settings file keeps them.
    std::string ipText() const;
    std::string portText() const;
    void setIpText(const std::string &text);
    void setPortText(const std::string &text);

    // Shows the serial parameters the connection is set to.
    void RefreshSerialBoxes();

    // The ports the device-name box offers now; what it shows, selected or
    // typed, stays as it is.
    void showPorts(const std::vector<std::string> &ports);
    // Chooses the transport and what the search found (the device and its
    // baud rate, or the address) as the operator would, when the link is idle;
    // false otherwise.
    bool takeOver(const LinkSettings &settings);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectControls();
    void connectConnection();
    void showLook();
    void showSentCommand(const std::string &line, bool taken);
    template <typename Change> void changeSerial(Change change);
    std::array<QComboBox *, 5> serialBoxes() const;

    void FillDeviceNames();
    void rbtnSeriellClick();
    void rbtnTCPClick();
    void cbxDeviceNameChange();
    void cbxBaudRateChange();
    void cbxByteSizeChange();
    void cbxParityChange();
    void cbxStopBitsChange();
    void btnConnectClick();
    void btnTransmitClick();
    void Transmit_EditKeyDown(int key);
    void Transmit_EditEnter();
    void OnReceive(const std::string &block);
    void ClientSocketRead(const std::string &text);
    void ClientSocketError();
    void serialOpenFailed(const LinkFailure &failure);
    void serialLost();

    LinkWidgets widgets;
    Connection &connection;
};

} // namespace comm
