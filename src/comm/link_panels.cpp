// The two link panels: mode choice, serial parameters, the connect button, manual
// sending and serial reception. Each numbered handler delegates to one shared
// implementation working on links[0] or links[1].
#include "app/tform1.h"

#include "app/message_sink.h"
#include "chassis/fahrwerk.h"
#include "comm/qt_hand_over.h"
#include "comm/tcomm_thread.h"
#include "platform/port_list.h"
#include "toolkit/byte_text.h"
#include "toolkit/client_socket.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <optional>

namespace {

const QString kConnectCaption = QStringLiteral("Verbinden");
const QString kConnectHint = QStringLiteral("klicken, um Verbindung aufzubauen");

// Used where no serial port is found.
const QStringList kFallbackPorts{"COM1", "COM2", "COM3", "COM4"};

// A text that is not an integer is refused with the runtime's conversion message.
std::optional<int> toInteger(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (ok)
        return value;
    msg::show(msg::Kind::Error, msg::Buttons::Ok,
              QStringLiteral("'%1' ist kein gültiger Integerwert").arg(text).toStdString());
    return std::nullopt;
}

// The operator moving into the edit, not the window or a popup menu giving the
// focus back: the text left in it must stay readable (and copyable).
bool entersTheEdit(const QFocusEvent &focus)
{
    switch (focus.reason()) {
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason:
    case Qt::MenuBarFocusReason:
        return false;
    default:
        return true;
    }
}

} // namespace

void TForm1::connectLinkPanels()
{
    for (LinkControls &link : links) {
        link.socket = new toolkit::ClientSocket(this);
        link.socket->setObjectName(QStringLiteral("ClientSocket%1").arg(link.number));
        link.transmitEdit->installEventFilter(this);
    }
    struct Handlers {
        void (TForm1::*seriell)();
        void (TForm1::*tcp)();
        void (TForm1::*deviceName)();
        void (TForm1::*baudRate)();
        void (TForm1::*byteSize)();
        void (TForm1::*parity)();
        void (TForm1::*stopBits)();
        void (TForm1::*connectButton)();
        void (TForm1::*transmit)();
        void (TForm1::*socketConnecting)();
        void (TForm1::*socketConnect)();
        void (TForm1::*socketDisconnect)();
        void (TForm1::*socketRead)();
        void (TForm1::*socketError)(int &);
    };
    const Handlers handlers[] = {
        {&TForm1::rbtnSeriell1Click, &TForm1::rbtnTCP1Click, &TForm1::cbxDeviceName1Change,
         &TForm1::cbxBaudRate1Change, &TForm1::cbxByteSize1Change, &TForm1::cbxParity1Change,
         &TForm1::cbxStopBits1Change, &TForm1::btnConnect1Click, &TForm1::btnTransmit1Click,
         &TForm1::ClientSocket1Connecting, &TForm1::ClientSocket1Connect, &TForm1::ClientSocket1Disconnect,
         &TForm1::ClientSocket1Read, &TForm1::ClientSocket1Error},
        {&TForm1::rbtnSeriell2Click, &TForm1::rbtnTCP2Click, &TForm1::cbxDeviceName2Change,
         &TForm1::cbxBaudRate2Change, &TForm1::cbxByteSize2Change, &TForm1::cbxParity2Change,
         &TForm1::cbxStopBits2Change, &TForm1::btnConnect2Click, &TForm1::btnTransmit2Click,
         &TForm1::ClientSocket2Connecting, &TForm1::ClientSocket2Connect, &TForm1::ClientSocket2Disconnect,
         &TForm1::ClientSocket2Read, &TForm1::ClientSocket2Error},
    };
    for (int i = 0; i < 2; ++i) {
        const LinkControls &link = links[i];
        const Handlers &h = handlers[i];
        connect(link.rbtnSeriell, &QRadioButton::toggled, this, h.seriell);
        connect(link.rbtnTCP, &QRadioButton::toggled, this, h.tcp);
        connect(link.deviceName, &QComboBox::editTextChanged, this, h.deviceName);
        connect(link.baudRate, &QComboBox::editTextChanged, this, h.baudRate);
        connect(link.byteSize, &QComboBox::editTextChanged, this, h.byteSize);
        connect(link.parity, &QComboBox::editTextChanged, this, h.parity);
        connect(link.stopBits, &QComboBox::editTextChanged, this, h.stopBits);
        connect(link.connectButton, &QPushButton::clicked, this, h.connectButton);
        connect(link.transmitButton, &QPushButton::clicked, this, h.transmit);
        connect(link.socket, &toolkit::ClientSocket::connecting, this, h.socketConnecting);
        connect(link.socket, &toolkit::ClientSocket::connected, this, h.socketConnect);
        connect(link.socket, &toolkit::ClientSocket::disconnected, this, h.socketDisconnect);
        connect(link.socket, &toolkit::ClientSocket::read, this, h.socketRead);
        connect(link.socket, &toolkit::ClientSocket::error, this, h.socketError, Qt::DirectConnection);
    }
}

void TForm1::InitLinks()
{
    initLink(links[0], &TForm1::OnReceive1, &TForm1::FillDeviceNames1, &TForm1::RefreshSerialBoxes1);
    initLink(links[1], &TForm1::OnReceive2, &TForm1::FillDeviceNames2, &TForm1::RefreshSerialBoxes2);
}

void TForm1::initLink(LinkControls &link, void (TForm1::*onReceive)(std::string),
                      void (TForm1::*fillDeviceNames)(), void (TForm1::*refreshSerialBoxes)())
{
    link.thread = std::make_unique<TCommThread>(*handOver);
    link.thread->setPortNameSource(platform::listPorts);
    link.thread->OnReceive = [this, onReceive](std::string block) { (this->*onReceive)(std::move(block)); };
    link.thread->OnLost = [this, &link] { serialLost(link); };
    (this->*fillDeviceNames)();
    (this->*refreshSerialBoxes)();
    link.receiveMemo->clear();
    link.rbtnTCP->setChecked(true);
}

void TForm1::FillDeviceNames1() { fillDeviceNames(links[0]); }
void TForm1::FillDeviceNames2() { fillDeviceNames(links[1]); }

void TForm1::fillDeviceNames(LinkControls &link)
{
    const QSignalBlocker quiet(link.deviceName);
    QStringList names;
    for (const std::string &name : link.thread->EnumPorts(1, 0))
        names << toolkit::fromBytes(name);
    link.deviceName->clear();
    link.deviceName->addItems(names.isEmpty() ? kFallbackPorts : names);
    link.deviceName->setEditText(toolkit::fromBytes(link.thread->DeviceName()));
}

void TForm1::RefreshSerialBoxes1() { refreshSerialBoxes(links[0]); }
void TForm1::RefreshSerialBoxes2() { refreshSerialBoxes(links[1]); }

void TForm1::refreshSerialBoxes(LinkControls &link)
{
    const TCommThread &thread = *link.thread;
    const QSignalBlocker quietBaud(link.baudRate);
    const QSignalBlocker quietSize(link.byteSize);
    const QSignalBlocker quietParity(link.parity);
    const QSignalBlocker quietStop(link.stopBits);
    link.baudRate->setEditText(QString::number(thread.BaudRate()));
    link.byteSize->setEditText(QString::number(thread.ByteSize()));
    link.parity->setCurrentIndex(thread.Parity() < link.parity->count() ? thread.Parity() : -1);
    link.stopBits->setCurrentIndex(thread.StopBits() < link.stopBits->count() ? thread.StopBits() : -1);
}

void TForm1::rbtnSeriell1Click() { chooseMode(links[0], links[0].rbtnSeriell); }
void TForm1::rbtnSeriell2Click() { chooseMode(links[1], links[1].rbtnSeriell); }
void TForm1::rbtnTCP1Click() { chooseMode(links[0], links[0].rbtnTCP); }
void TForm1::rbtnTCP2Click() { chooseMode(links[1], links[1].rbtnTCP); }

// Choosing a mode only swaps which controls can be used; nothing opens or closes.
void TForm1::chooseMode(LinkControls &link, QRadioButton *chosen)
{
    if (!chosen->isChecked())
        return;
    const bool serial = chosen == link.rbtnSeriell;
    link.ip->setEnabled(!serial);
    link.port->setEnabled(!serial);
    for (QWidget *control : serialControls(link))
        control->setEnabled(serial);
}

std::array<QWidget *, 10> TForm1::serialControls(const LinkControls &link)
{
    return {link.deviceName, link.labName,     link.baudRate, link.labBaudRate, link.byteSize,
            link.labByteSize, link.parity,     link.labParity, link.stopBits,   link.labStopBits};
}

void TForm1::cbxDeviceName1Change() { changeDeviceName(links[0]); }
void TForm1::cbxDeviceName2Change() { changeDeviceName(links[1]); }
void TForm1::cbxBaudRate1Change() { changeBaudRate(links[0]); }
void TForm1::cbxBaudRate2Change() { changeBaudRate(links[1]); }
void TForm1::cbxByteSize1Change() { changeByteSize(links[0]); }
void TForm1::cbxByteSize2Change() { changeByteSize(links[1]); }
void TForm1::cbxParity1Change() { changeParity(links[0]); }
void TForm1::cbxParity2Change() { changeParity(links[1]); }
void TForm1::cbxStopBits1Change() { changeStopBits(links[0]); }
void TForm1::cbxStopBits2Change() { changeStopBits(links[1]); }

void TForm1::changeDeviceName(LinkControls &link)
{
    link.thread->setDeviceName(toolkit::toBytes(link.deviceName->currentText()));
    refreshSerialBoxes(link);
}

void TForm1::changeBaudRate(LinkControls &link)
{
    const std::optional<int> value = toInteger(link.baudRate->currentText());
    if (!value)
        return;
    link.thread->setBaudRate(static_cast<std::uint32_t>(*value));
    refreshSerialBoxes(link);
}

// Stored as one byte, like the port parameter record holds it.
void TForm1::changeByteSize(LinkControls &link)
{
    const std::optional<int> value = toInteger(link.byteSize->currentText());
    if (!value)
        return;
    link.thread->setByteSize(static_cast<std::uint8_t>(*value));
    refreshSerialBoxes(link);
}

// The item's position is the parity code; a typed text that matches no item is 255.
void TForm1::changeParity(LinkControls &link)
{
    link.thread->setParity(static_cast<std::uint8_t>(link.parity->findText(link.parity->currentText())));
    refreshSerialBoxes(link);
}

void TForm1::changeStopBits(LinkControls &link)
{
    link.thread->setStopBits(static_cast<std::uint8_t>(link.stopBits->findText(link.stopBits->currentText())));
    refreshSerialBoxes(link);
}

void TForm1::btnConnect1Click() { connectOrDisconnect(links[0]); }
void TForm1::btnConnect2Click() { connectOrDisconnect(links[1]); }

void TForm1::connectOrDisconnect(LinkControls &link)
{
    if (link.rbtnSeriell->isChecked())
        toggleSerial(link);
    if (link.rbtnTCP->isChecked() && !toggleTcp(link))
        return;
    followBusyFlag(link);
}

void TForm1::toggleSerial(LinkControls &link)
{
    if (link.thread->Connected()) {
        link.thread->Close();
        showSerialIdle(link);
    } else if (link.thread->Open()) {
        link.linkBusy = true;
        link.connectButton->setText(QStringLiteral("Trennen"));
        link.connectButton->setToolTip(QStringLiteral("klicken, um serielle Verbindung zu trennen"));
        link.rbtnTCP->setEnabled(false);
        setSerialBoxesEnabled(link, false);
        if (isChassisLink(link))
            switchChassis(true);
    } else {
        // Showing a port that never opened as connected would hide the fault.
        showSerialIdle(link);
        msg::show(msg::Kind::Error, msg::Buttons::Ok,
                  QStringLiteral("Die serielle Schnittstelle %1 konnte nicht geöffnet werden:\n%2")
                      .arg(toolkit::fromBytes(link.thread->DeviceName()), toolkit::fromSystemText(link.thread->LastError()))
                      .toStdString());
    }
    refreshSerialBoxes(link);
}

void TForm1::showSerialIdle(LinkControls &link)
{
    link.linkBusy = false;
    link.connectButton->setText(kConnectCaption);
    link.connectButton->setToolTip(kConnectHint);
    link.rbtnTCP->setEnabled(true);
    setSerialBoxesEnabled(link, true);
}

void TForm1::showTcpIdle(LinkControls &link)
{
    link.connectButton->setText(kConnectCaption);
    link.ip->setEnabled(true);
    link.port->setEnabled(true);
    link.rbtnSeriell->setEnabled(true);
}

void TForm1::setSerialBoxesEnabled(LinkControls &link, bool enabled)
{
    for (QComboBox *box : {link.deviceName, link.baudRate, link.byteSize, link.parity, link.stopBits})
        box->setEnabled(enabled);
}

// False when the port text is not a number: the click then ends there.
bool TForm1::toggleTcp(LinkControls &link)
{
    const std::optional<int> port = toInteger(link.port->text());
    if (!port)
        return false;
    link.socket->setPort(*port);
    link.socket->setHost(link.ip->text());
    if (link.socket->Active() || link.socket->Connecting()) {
        // Ends the connection, whose disconnect event restores the look; a click
        // while waiting gives the attempt up instead of starting a second one.
        const bool waiting = !link.socket->Active();
        link.socket->Close();
        link.linkBusy = false;
        link.connectButton->setToolTip(kConnectHint);
        if (waiting)
            showTcpIdle(link);
    } else {
        link.linkBusy = true;
        link.connectButton->setText(QStringLiteral("warten..."));
        link.connectButton->setToolTip(QStringLiteral("klicken, um TCP-Verbindung zu trennen"));
        link.socket->Open();
    }
    return true;
}

// Link 1 locks the joints' channels while in use; link 2 switches the chassis off once free.
void TForm1::followBusyFlag(LinkControls &link)
{
    if (!isChassisLink(link)) {
        for (JointControls &joint : joints)
            joint.kanal->setEnabled(!link.linkBusy);
    } else if (!link.linkBusy) {
        switchChassis(false);
    }
}

bool TForm1::isChassisLink(const LinkControls &link) const { return &link == &links[1]; }

// On: the controls first, then the model; off: the model first.
void TForm1::switchChassis(bool on)
{
    if (on) {
        setFahrwerkEnabled(true);
        fahrwerk->setAktiv(true);
    } else {
        fahrwerk->setAktiv(false);
        setFahrwerkEnabled(false);
    }
}

// The worker has closed the port already; the panel follows and says why.
void TForm1::serialLost(LinkControls &link)
{
    showSerialIdle(link);
    refreshSerialBoxes(link);
    followBusyFlag(link);
    msg::show(msg::Kind::Error, msg::Buttons::Ok,
              QStringLiteral("Die Verbindung über %1 ist abgebrochen.").arg(toolkit::fromBytes(link.thread->DeviceName()))
                  .toStdString());
}

void TForm1::btnTransmit1Click() { transmitByHand(links[0]); }
void TForm1::btnTransmit2Click() { transmitByHand(links[1]); }

void TForm1::transmitByHand(LinkControls &link)
{
    if (link.thread->WriteText(toolkit::toBytes(link.transmitEdit->text()) + '\r'))
        link.transmitEdit->clear();
    if (link.socket->Active()) {
        link.socket->SendText(toolkit::toBytes(link.transmitEdit->text()) + '\r');
        link.transmitEdit->clear();
    }
}

void TForm1::Transmit_EditKeyDown(int key) { sendOnEnter(links[0], key); }
void TForm1::Transmit_Edit2KeyDown(int key) { sendOnEnter(links[1], key); }

void TForm1::sendOnEnter(LinkControls &link, int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        link.transmitButton->click();
}

void TForm1::Transmit_EditEnter() { links[0].transmitEdit->clear(); }
void TForm1::Transmit_Edit2Enter() { links[1].transmitEdit->clear(); }

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    const bool first = watched == links[0].transmitEdit;
    if (first || watched == links[1].transmitEdit) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            first ? Transmit_EditKeyDown(key) : Transmit_Edit2KeyDown(key);
        } else if (event->type() == QEvent::FocusIn && entersTheEdit(*static_cast<QFocusEvent *>(event))) {
            first ? Transmit_EditEnter() : Transmit_Edit2Enter();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::OnReceive1(std::string block) { receiveSerial(links[0], block); }
void TForm1::OnReceive2(std::string block) { receiveSerial(links[1], block); }

// A serial block joins the log as it came, without a line break.
void TForm1::receiveSerial(LinkControls &link, const std::string &block)
{
    QPlainTextEdit *memo = link.receiveMemo;
    memo->moveCursor(QTextCursor::End);
    memo->insertPlainText(toolkit::fromBytes(block));
    passOnReceived(link, block);
}

void TForm1::passOnReceived(LinkControls &link, const std::string &text)
{
    if (isChassisLink(link))
        parseFahrwerkAntwort(text);
    else
        identifyArm(text);
}

// At closing: open ports and active sockets are shut before anything else. A
// pending connect is dropped too, or its time-out would report over the closing window.
void TForm1::closeLinks()
{
    for (LinkControls &link : links) {
        if (link.thread && link.thread->Connected())
            link.thread->Close();
        if (link.socket->Active() || link.socket->Connecting())
            link.socket->Close();
    }
}
