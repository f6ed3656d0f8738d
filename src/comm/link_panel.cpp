#include "comm/link_panel.h"

#include "comm/debug_log.h"
#include "comm/tcomm_thread.h"
#include "platform/port_list.h"
#include "toolkit/bounded_log.h"
#include "toolkit/byte_text.h"
#include "toolkit/client_socket.h"
#include "toolkit/message_sink.h"

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

namespace comm {

namespace {

const QString kConnectCaption = QStringLiteral("Verbinden");
const QString kConnectHint = QStringLiteral("klicken, um Verbindung aufzubauen");

// Used where no serial port is found.
const QStringList kFallbackPorts{"COM1", "COM2", "COM3", "COM4"};

constexpr int kLowestTcpPort = 1;
constexpr int kHighestTcpPort = 65535;

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

// A number outside the port range would wrap to some other port.
std::optional<int> toTcpPort(const QString &text)
{
    const std::optional<int> value = toInteger(text);
    if (!value || (*value >= kLowestTcpPort && *value <= kHighestTcpPort))
        return value;
    msg::show(msg::Kind::Error, msg::Buttons::Ok,
              QStringLiteral("Der Port %1 liegt nicht zwischen %2 und %3.")
                  .arg(*value)
                  .arg(kLowestTcpPort)
                  .arg(kHighestTcpPort)
                  .toStdString());
    return std::nullopt;
}

// The position of the item the box's text names; none while the operator is
// still typing one, or has typed something else.
std::optional<std::uint8_t> namedItem(const QComboBox &box)
{
    const int position = box.findText(box.currentText());
    if (position < 0)
        return std::nullopt;
    return static_cast<std::uint8_t>(position);
}

// Code writes a box's text only where it differs: writing it puts the caret at
// the end, under the operator's typing.
void showValue(QComboBox &box, const QString &text)
{
    if (box.currentText() != text)
        box.setEditText(text);
}

// Selecting the item that the box already shows leaves its text, and so the caret, alone.
void showItem(QComboBox &box, int position) { box.setCurrentIndex(position < box.count() ? position : -1); }

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

LinkPanel::LinkPanel(int number, const std::string &probe, const LinkWidgets &widgets,
                     MainThreadHandOver &handOver, DebugLog &debugLog, QObject *parent)
    : QObject(parent)
    , number(number)
    , probe(probe)
    , widgets(widgets)
    , handOver(handOver)
    , debugLog(debugLog)
    , clientSocket(new toolkit::ClientSocket(this))
{
    clientSocket->setObjectName(QStringLiteral("ClientSocket%1").arg(number));
    widgets.transmitEdit->installEventFilter(this);
    toolkit::limitLog(*widgets.receiveMemo);
    // Enter confirms what is typed; it does not add it to the list.
    for (QComboBox *box : serialBoxes())
        box->setInsertPolicy(QComboBox::NoInsert);
}

LinkPanel::~LinkPanel() = default;

void LinkPanel::init()
{
    thread = std::make_unique<TCommThread>(handOver);
    thread->setPortNameSource(platform::listPorts);
    thread->OnReceive = [this](std::string block) { receiveSerial(block); };
    thread->OnLost = [this] { serialLost(); };
    fillDeviceNames();
    refreshSerialBoxes();
    widgets.receiveMemo->clear();
    widgets.rbtnTCP->setChecked(true);
}

// Both workers share the hand-over: while one is stopped, a block of the other
// may still be delivered, and it must not reach a panel being taken apart.
void LinkPanel::detach()
{
    if (thread) {
        thread->OnReceive = nullptr;
        thread->OnLost = nullptr;
    }
}

// A pending connect is dropped too, or its time-out would report over the closing window.
void LinkPanel::closeLink()
{
    if (thread && thread->Connected())
        thread->Close();
    if (clientSocket->Active() || clientSocket->Connecting())
        clientSocket->Close();
}

std::string LinkPanel::ipText() const { return toolkit::toBytes(widgets.ip->text()); }
std::string LinkPanel::portText() const { return toolkit::toBytes(widgets.port->text()); }
void LinkPanel::setIpText(const std::string &text) { widgets.ip->setText(toolkit::fromBytes(text)); }
void LinkPanel::setPortText(const std::string &text) { widgets.port->setText(toolkit::fromBytes(text)); }

void LinkPanel::fillDeviceNames()
{
    const QSignalBlocker quiet(widgets.deviceName);
    QStringList names;
    for (const std::string &name : thread->EnumPorts(1, 0))
        names << toolkit::fromBytes(name);
    widgets.deviceName->clear();
    widgets.deviceName->addItems(names.isEmpty() ? kFallbackPorts : names);
    widgets.deviceName->setEditText(toolkit::fromBytes(thread->DeviceName()));
}

void LinkPanel::refreshSerialBoxes()
{
    const QSignalBlocker quietBaud(widgets.baudRate);
    const QSignalBlocker quietSize(widgets.byteSize);
    const QSignalBlocker quietParity(widgets.parity);
    const QSignalBlocker quietStop(widgets.stopBits);
    showValue(*widgets.baudRate, QString::number(thread->BaudRate()));
    showValue(*widgets.byteSize, QString::number(thread->ByteSize()));
    showItem(*widgets.parity, thread->Parity());
    showItem(*widgets.stopBits, thread->StopBits());
}

// Choosing a mode only swaps which controls can be used; nothing opens or closes.
void LinkPanel::chooseSerial()
{
    if (widgets.rbtnSeriell->isChecked())
        showMode(true);
}

void LinkPanel::chooseTcp()
{
    if (widgets.rbtnTCP->isChecked())
        showMode(false);
}

void LinkPanel::showMode(bool serial)
{
    widgets.ip->setEnabled(!serial);
    widgets.port->setEnabled(!serial);
    setSerialBoxesEnabled(serial);
    for (QLabel *label :
         {widgets.labName, widgets.labBaudRate, widgets.labByteSize, widgets.labParity, widgets.labStopBits})
        label->setEnabled(serial);
}

void LinkPanel::changeDeviceName()
{
    thread->setDeviceName(toolkit::toBytes(widgets.deviceName->currentText()));
    refreshSerialBoxes();
}

void LinkPanel::changeBaudRate()
{
    const std::optional<int> value = toInteger(widgets.baudRate->currentText());
    if (!value)
        return;
    thread->setBaudRate(static_cast<std::uint32_t>(*value));
    refreshSerialBoxes();
}

// Stored as one byte, like the port parameter record holds it.
void LinkPanel::changeByteSize()
{
    const std::optional<int> value = toInteger(widgets.byteSize->currentText());
    if (!value)
        return;
    thread->setByteSize(static_cast<std::uint8_t>(*value));
    refreshSerialBoxes();
}

// The item's position is the parity code. Any other text stores nothing and is
// left as typed, so that the operator can finish a name.
void LinkPanel::changeParity()
{
    const std::optional<std::uint8_t> code = namedItem(*widgets.parity);
    if (!code)
        return;
    thread->setParity(*code);
    refreshSerialBoxes();
}

void LinkPanel::changeStopBits()
{
    const std::optional<std::uint8_t> code = namedItem(*widgets.stopBits);
    if (!code)
        return;
    thread->setStopBits(*code);
    refreshSerialBoxes();
}

void LinkPanel::connectOrDisconnect()
{
    if (widgets.rbtnSeriell->isChecked())
        toggleSerial();
    if (widgets.rbtnTCP->isChecked() && !toggleTcp())
        return;
    followBusyFlag();
}

void LinkPanel::toggleSerial()
{
    if (thread->Connected()) {
        thread->Close();
        showSerialIdle();
    } else if (thread->Open()) {
        linkBusy = true;
        widgets.connectButton->setText(QStringLiteral("Trennen"));
        widgets.connectButton->setToolTip(QStringLiteral("klicken, um serielle Verbindung zu trennen"));
        widgets.rbtnTCP->setEnabled(false);
        setSerialBoxesEnabled(false);
        emit opened();
    } else {
        // Showing a port that never opened as connected would hide the fault.
        showSerialIdle();
        msg::show(msg::Kind::Error, msg::Buttons::Ok,
                  QStringLiteral("Die serielle Schnittstelle %1 konnte nicht geöffnet werden:\n%2")
                      .arg(toolkit::fromBytes(thread->DeviceName()), toolkit::fromSystemText(thread->LastError()))
                      .toStdString());
    }
    refreshSerialBoxes();
}

void LinkPanel::showSerialIdle()
{
    linkBusy = false;
    widgets.connectButton->setText(kConnectCaption);
    widgets.connectButton->setToolTip(kConnectHint);
    widgets.rbtnTCP->setEnabled(true);
    setSerialBoxesEnabled(true);
}

// Also the hint: a connection that ended or failed is no longer there to end.
void LinkPanel::showTcpIdle()
{
    widgets.connectButton->setText(kConnectCaption);
    widgets.connectButton->setToolTip(kConnectHint);
    setAddressAndModeEnabled(true);
}

// Neither address nor mode may change while a connection is set up or up.
void LinkPanel::setAddressAndModeEnabled(bool enabled)
{
    widgets.ip->setEnabled(enabled);
    widgets.port->setEnabled(enabled);
    widgets.rbtnSeriell->setEnabled(enabled);
}

std::array<QComboBox *, 5> LinkPanel::serialBoxes() const
{
    return {widgets.deviceName, widgets.baudRate, widgets.byteSize, widgets.parity, widgets.stopBits};
}

void LinkPanel::setSerialBoxesEnabled(bool enabled)
{
    for (QComboBox *box : serialBoxes())
        box->setEnabled(enabled);
}

// False when the port text is not a port number: the click then ends there.
bool LinkPanel::toggleTcp()
{
    const std::optional<int> port = toTcpPort(widgets.port->text());
    if (!port)
        return false;
    clientSocket->setPort(*port);
    clientSocket->setHost(widgets.ip->text());
    if (clientSocket->Active() || clientSocket->Connecting()) {
        // Ends the connection, whose disconnect event restores the look; a click
        // while waiting gives the attempt up instead of starting a second one.
        const bool waiting = !clientSocket->Active();
        clientSocket->Close();
        linkBusy = false;
        widgets.connectButton->setToolTip(kConnectHint);
        if (waiting)
            showTcpIdle();
    } else {
        // Locked at once: a host name is looked up before the socket reports connecting.
        linkBusy = true;
        widgets.connectButton->setText(QStringLiteral("warten..."));
        widgets.connectButton->setToolTip(QStringLiteral("klicken, um TCP-Verbindung zu trennen"));
        setAddressAndModeEnabled(false);
        clientSocket->Open();
    }
    return true;
}

void LinkPanel::followBusyFlag() { emit busyChanged(linkBusy); }

// The worker has closed the port already; the panel follows and says why.
void LinkPanel::serialLost()
{
    showSerialIdle();
    refreshSerialBoxes();
    followBusyFlag();
    msg::show(msg::Kind::Error, msg::Buttons::Ok,
              QStringLiteral("Die Verbindung über %1 ist abgebrochen.")
                  .arg(toolkit::fromBytes(thread->DeviceName()))
                  .toStdString());
}

// Both paths are tried; the panel keeps at most one of them up. The command stays
// in the transmit edit while the serial path does not take it.
void LinkPanel::sendCommand(const std::string &command)
{
    debugLog.logCommand(command);
    const std::string line = command + '\r';
    // The edit ends up empty when the serial path takes the command and holding it
    // when not; it is only touched where that changes what it shows, as the chassis
    // timer sends twenty times a second and every change repaints the panel.
    // A tick during start-up can come before the serial worker exists.
    if (thread && thread->WriteText(line)) {
        if (!widgets.transmitEdit->text().isEmpty())
            widgets.transmitEdit->clear();
    } else {
        widgets.transmitEdit->setText(toolkit::fromBytes(line));
    }
    if (clientSocket->Active())
        clientSocket->SendText(line);
}

void LinkPanel::transmitByHand()
{
    if (thread->WriteText(toolkit::toBytes(widgets.transmitEdit->text()) + '\r'))
        widgets.transmitEdit->clear();
    if (clientSocket->Active()) {
        clientSocket->SendText(toolkit::toBytes(widgets.transmitEdit->text()) + '\r');
        widgets.transmitEdit->clear();
    }
}

void LinkPanel::sendOnEnter(int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        widgets.transmitButton->click();
}

void LinkPanel::emptyTransmitEdit() { widgets.transmitEdit->clear(); }

bool LinkPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == widgets.transmitEdit) {
        if (event->type() == QEvent::KeyPress)
            emit transmitKeyPressed(static_cast<QKeyEvent *>(event)->key());
        else if (event->type() == QEvent::FocusIn && entersTheEdit(*static_cast<QFocusEvent *>(event)))
            emit transmitEditEntered();
    }
    return QObject::eventFilter(watched, event);
}

// A serial block joins the log as it came, without a line break.
void LinkPanel::receiveSerial(const std::string &block)
{
    toolkit::appendToLog(*widgets.receiveMemo, toolkit::fromBytes(block));
    emit received(block);
}

void LinkPanel::socketConnecting() { setAddressAndModeEnabled(false); }

void LinkPanel::socketConnected()
{
    widgets.connectButton->setText(QStringLiteral("TCP aktiv"));
    clientSocket->SendText(probe);
    emit opened();
}

// Also when the far end ended the connection: the link is free again, and a
// chassis must not stay active on a dead link.
void LinkPanel::socketDisconnected()
{
    showTcpIdle();
    if (linkBusy) {
        linkBusy = false;
        followBusyFlag();
    }
}

void LinkPanel::socketRead()
{
    ++readCount;
    const std::string text = clientSocket->ReceiveText();
    debugLog.logLine(QStringLiteral("%1 Client %2: Daten empfangen").arg(readCount).arg(number));
    debugLog.logLine(toolkit::fromBytes(text));
    toolkit::appendLineToLog(*widgets.receiveMemo, toolkit::fromBytes(text));
    emit received(text);
}

// A failed attempt frees the link first: the chassis goes off before the box,
// and link 1's channel lists come back.
void LinkPanel::socketError(int &errorCode)
{
    linkBusy = false;
    followBusyFlag();
    msg::show(msg::Kind::Error, msg::Buttons::Ok,
              "Die Verbindung konnte nicht hergestellt werden!\nPrüfen Sie die Netzwerkeinstellungen und das WiPort!");
    errorCode = 0;
    showTcpIdle();
}

} // namespace comm
