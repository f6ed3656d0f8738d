#pragma once
// One link panel: the choice between serial and TCP, the serial parameters, the
// connect button, manual sending, and what both paths receive. The serial half
// is a TCommThread, the TCP half a ClientSocket; the link send rule tries both.
// The panel tells what concerns others through its signals: whether the link is
// in use, that it opened, and every text it received.
#include "comm/command_sender.h"

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <string>

class MainThreadHandOver;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class TCommThread;
namespace toolkit {
class ClientSocket;
}

namespace comm {

class DebugLog;

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

class LinkPanel : public QObject, public CommandSender {
    Q_OBJECT

public:
    // number is 1 or 2; probe is what a TCP connect sends to identify the device.
    LinkPanel(int number, const std::string &probe, const LinkWidgets &widgets, MainThreadHandOver &handOver,
              DebugLog &debugLog, QObject *parent);
    ~LinkPanel() override;

    toolkit::ClientSocket &socket() { return *clientSocket; }
    const LinkWidgets &controls() const { return widgets; }

    // Creates the serial worker and shows the panel in TCP mode with its port list.
    void init();
    // The worker stops telling this panel anything (the window is being taken apart).
    void detach();
    // At closing: an open port and an active or pending connection are shut.
    void closeLink();

    // The address and port fields, as the settings file keeps them.
    std::string ipText() const;
    std::string portText() const;
    void setIpText(const std::string &text);
    void setPortText(const std::string &text);

    void fillDeviceNames();
    void refreshSerialBoxes();
    void chooseSerial();
    void chooseTcp();
    void changeDeviceName();
    void changeBaudRate();
    void changeByteSize();
    void changeParity();
    void changeStopBits();
    void connectOrDisconnect();
    void transmitByHand();
    void sendOnEnter(int key);
    void emptyTransmitEdit();
    void sendCommand(const std::string &command) override;

    void receiveSerial(const std::string &block);
    void socketConnecting();
    void socketConnected();
    void socketDisconnected();
    void socketRead();
    void socketError(int &errorCode);

signals:
    // Told after every connect click and whenever the link is freed by an event.
    void busyChanged(bool busy);
    void opened();
    void received(const std::string &text);
    // The operator's keys and focus in the transmit edit.
    void transmitKeyPressed(int key);
    void transmitEditEntered();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showMode(bool serial);
    void toggleSerial();
    bool toggleTcp();
    void showSerialIdle();
    void showTcpIdle();
    void setAddressAndModeEnabled(bool enabled);
    // The boxes that describe the serial port: its name and line parameters.
    std::array<QComboBox *, 5> serialBoxes() const;
    void setSerialBoxesEnabled(bool enabled);
    void followBusyFlag();
    void serialLost();

    const int number;
    const std::string probe;
    LinkWidgets widgets;
    MainThreadHandOver &handOver;
    DebugLog &debugLog;
    std::unique_ptr<TCommThread> thread; // created by init
    toolkit::ClientSocket *clientSocket;
    // Set by the connect button when it opens or starts a connection, cleared when the link is free again.
    bool linkBusy = false;
    std::uint32_t readCount = 0;
};

} // namespace comm
