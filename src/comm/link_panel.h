#pragma once
// One link panel: the choice between serial and TCP, the serial parameters, the
// connect button, manual sending, and what both links receive. The panel holds
// the mode and the link's state and shows them; it wires its own controls. It
// tells what concerns others through its signals: whether the link is in use,
// that it opened, and every text it received.
#include "comm/command_sender.h"

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace comm {

class DebugLog;
class Link;
struct LinkFailure;
class SerialLink;
class TcpLink;

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

// Who is at the far end: the link's number (1 arm, 2 chassis) and what a TCP
// connect sends to identify the device.
struct LinkRole {
    int number;
    std::string probe;
};

class LinkPanel : public QObject, public CommandSender {
    Q_OBJECT

public:
    enum class Mode { Serial, Tcp };
    // Closing: a TCP connection ended by the button until the link says it is closed.
    enum class State { Idle, Connecting, Open, Closing };

    LinkPanel(const LinkWidgets &widgets, std::unique_ptr<SerialLink> serial, std::unique_ptr<TcpLink> tcp,
              LinkRole role, DebugLog &debugLog, QObject *parent);
    ~LinkPanel() override;

    // The port list, the serial parameters, an empty receive log, TCP mode.
    void init();
    // At closing: an open port and an open or pending connection are shut.
    void closeLink();

    State state() const { return currentState; }
    // The link is wanted up: from the click that opens it to the one that ends it,
    // or until it fails or goes away.
    bool busy() const { return currentState == State::Connecting || currentState == State::Open; }

    // The address and port fields, as the settings file keeps them.
    std::string ipText() const;
    std::string portText() const;
    void setIpText(const std::string &text);
    void setPortText(const std::string &text);

    // The link send rule: logged, then tried on both links.
    void sendCommand(const std::string &command) override;
    // The same without a line in the debug memo, for a query repeated while waiting.
    void repeatCommand(const std::string &command);

    void FillDeviceNames();
    void RefreshSerialBoxes();
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
    void ClientSocketConnect();
    void ClientSocketDisconnect();
    void ClientSocketRead(const std::string &text);
    void ClientSocketError();

signals:
    // Told after every connect click and whenever the link is freed by an event.
    void busyChanged(bool busy);
    // The same when the link is free again: closed, failed or gone.
    void freed();
    void opened();
    void received(const std::string &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectControls();
    void connectLinks();
    void enter(State state);
    void showLook();
    void tellBusy();
    void send(const std::string &command);
    void toggleSerial();
    bool toggleTcp();
    void serialOpenFailed(const LinkFailure &failure);
    void serialLost();
    std::array<QComboBox *, 5> serialBoxes() const;

    LinkWidgets widgets;
    std::unique_ptr<SerialLink> serial;
    std::unique_ptr<TcpLink> tcp;
    const LinkRole role;
    DebugLog &debugLog;
    Mode currentMode = Mode::Tcp;
    State currentState = State::Idle;
    std::uint32_t readCount = 0;
};

} // namespace comm
