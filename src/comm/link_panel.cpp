#include "comm/link_panel.h"

#include "comm/debug_log.h"
#include "comm/move_status.h"
#include "comm/serial_link.h"
#include "comm/tcp_link.h"
#include "toolkit/bounded_log.h"
#include "toolkit/byte_text.h"
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

namespace msg = toolkit::msg;

namespace {

const QString kConnectCaption = QStringLiteral("Verbinden");
const QString kConnectHint = QStringLiteral("klicken, um Verbindung aufzubauen");
const QString kSerialHint = QStringLiteral("klicken, um serielle Verbindung zu trennen");
const QString kTcpHint = QStringLiteral("klicken, um TCP-Verbindung zu trennen");

// Used where no serial port is found.
const QStringList kFallbackPorts{"COM1", "COM2", "COM3", "COM4"};

constexpr int kLowestTcpPort = 1;
constexpr int kHighestTcpPort = 65535;

// What the items of the parity and stop-bit boxes stand for.
const std::pair<const char *, platform::Parity> kParities[] = {
    {"no", platform::Parity::None}, {"odd", platform::Parity::Odd}, {"even", platform::Parity::Even},
    {"mark", platform::Parity::Mark}, {"space", platform::Parity::Space}};
const std::pair<const char *, platform::StopBits> kStopBits[] = {
    {"1", platform::StopBits::One}, {"1.5", platform::StopBits::OneAndAHalf}, {"2", platform::StopBits::Two}};

template <typename Value, std::size_t N>
void tagItems(QComboBox &box, const std::pair<const char *, Value> (&values)[N])
{
    for (const auto &[text, value] : values) {
        const int item = box.findText(QLatin1String(text));
        if (item < 0)
            qFatal("LinkPanel: %s has no item %s", qPrintable(box.objectName()), text);
        box.setItemData(item, static_cast<int>(value));
    }
}

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
std::optional<quint16> toTcpPort(const QString &text)
{
    const std::optional<int> value = toInteger(text);
    if (!value)
        return std::nullopt;
    if (*value >= kLowestTcpPort && *value <= kHighestTcpPort)
        return static_cast<quint16>(*value);
    msg::show(msg::Kind::Error, msg::Buttons::Ok,
              QStringLiteral("Der Port %1 liegt nicht zwischen %2 und %3.")
                  .arg(*value)
                  .arg(kLowestTcpPort)
                  .arg(kHighestTcpPort)
                  .toStdString());
    return std::nullopt;
}

// The value of the item the box's text names; none while the operator is still
// typing one, or has typed something else.
std::optional<int> namedValue(const QComboBox &box)
{
    const int item = box.findText(box.currentText());
    if (item < 0)
        return std::nullopt;
    return box.itemData(item).toInt();
}

// Code writes a box's text only where it differs: writing it puts the caret at
// the end, under the operator's typing.
void showValue(QComboBox &box, const QString &text)
{
    if (box.currentText() != text)
        box.setEditText(text);
}

// Selecting the item that the box already shows leaves its text, and so the caret, alone.
void showItemOf(QComboBox &box, int value) { box.setCurrentIndex(box.findData(value)); }

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

LinkPanel::LinkPanel(const LinkWidgets &widgets, std::unique_ptr<SerialLink> serial, std::unique_ptr<TcpLink> tcp,
                     LinkRole role, DebugLog &debugLog, QObject *parent)
    : QObject(parent)
    , widgets(widgets)
    , serial(std::move(serial))
    , tcp(std::move(tcp))
    , role(std::move(role))
    , debugLog(debugLog)
{
    // Named and in the panel's object tree, so that tools and tests find them in the window.
    setObjectName(QStringLiteral("link%1").arg(this->role.number));
    this->tcp->setObjectName(QStringLiteral("ClientSocket%1").arg(this->role.number));
    this->serial->setParent(this);
    this->tcp->setParent(this);
    toolkit::limitLog(*widgets.receiveMemo);
    tagItems(*widgets.parity, kParities);
    tagItems(*widgets.stopBits, kStopBits);
    // Enter confirms what is typed; it does not add it to the list.
    for (QComboBox *box : serialBoxes())
        box->setInsertPolicy(QComboBox::NoInsert);
    connectControls();
    connectLinks();
}

LinkPanel::~LinkPanel() = default;

void LinkPanel::connectControls()
{
    // toggled, not clicked: selecting a mode from code (as start-up does) runs the
    // choice too, and so does a screen reader's toggle.
    connect(widgets.rbtnSeriell, &QRadioButton::toggled, this, &LinkPanel::rbtnSeriellClick);
    connect(widgets.rbtnTCP, &QRadioButton::toggled, this, &LinkPanel::rbtnTCPClick);
    // Every change of the text counts, also while the operator types.
    connect(widgets.deviceName, &QComboBox::editTextChanged, this, &LinkPanel::cbxDeviceNameChange);
    connect(widgets.baudRate, &QComboBox::editTextChanged, this, &LinkPanel::cbxBaudRateChange);
    connect(widgets.byteSize, &QComboBox::editTextChanged, this, &LinkPanel::cbxByteSizeChange);
    connect(widgets.parity, &QComboBox::editTextChanged, this, &LinkPanel::cbxParityChange);
    connect(widgets.stopBits, &QComboBox::editTextChanged, this, &LinkPanel::cbxStopBitsChange);
    connect(widgets.connectButton, &QPushButton::clicked, this, &LinkPanel::btnConnectClick);
    connect(widgets.transmitButton, &QPushButton::clicked, this, &LinkPanel::btnTransmitClick);
    widgets.transmitEdit->installEventFilter(this);
}

void LinkPanel::connectLinks()
{
    connect(serial.get(), &Link::opened, this, [this] {
        enter(State::Open);
        emit opened();
    });
    connect(serial.get(), &Link::closed, this, [this] { enter(State::Idle); });
    connect(serial.get(), &Link::failed, this, &LinkPanel::serialOpenFailed);
    connect(serial.get(), &Link::lost, this, &LinkPanel::serialLost);
    connect(serial.get(), &Link::received, this, &LinkPanel::OnReceive);
    connect(tcp.get(), &Link::opened, this, &LinkPanel::ClientSocketConnect);
    connect(tcp.get(), &Link::closed, this, &LinkPanel::ClientSocketDisconnect);
    connect(tcp.get(), &Link::received, this, &LinkPanel::ClientSocketRead);
    connect(tcp.get(), &Link::failed, this, &LinkPanel::ClientSocketError);
}

void LinkPanel::init()
{
    FillDeviceNames();
    RefreshSerialBoxes();
    widgets.receiveMemo->clear();
    widgets.rbtnTCP->setChecked(true);
}

// A pending connect is dropped too, or its time-out would report over the closing window.
void LinkPanel::closeLink()
{
    serial->close();
    tcp->close();
    if (currentState == State::Connecting) // a given-up attempt tells nothing itself
        enter(State::Idle);
}

std::string LinkPanel::ipText() const { return toolkit::toBytes(widgets.ip->text()); }
std::string LinkPanel::portText() const { return toolkit::toBytes(widgets.port->text()); }
void LinkPanel::setIpText(const std::string &text) { widgets.ip->setText(toolkit::fromBytes(text)); }
void LinkPanel::setPortText(const std::string &text) { widgets.port->setText(toolkit::fromBytes(text)); }

void LinkPanel::enter(State state)
{
    currentState = state;
    showLook();
}

// Neither address nor mode may change while a link is set up or up; the serial
// labels follow the mode alone.
void LinkPanel::showLook()
{
    const bool serialMode = currentMode == Mode::Serial;
    const bool idle = currentState == State::Idle;
    widgets.ip->setEnabled(!serialMode && idle);
    widgets.port->setEnabled(!serialMode && idle);
    for (QComboBox *box : serialBoxes())
        box->setEnabled(serialMode && idle);
    for (QLabel *label :
         {widgets.labName, widgets.labBaudRate, widgets.labByteSize, widgets.labParity, widgets.labStopBits})
        label->setEnabled(serialMode);
    widgets.rbtnSeriell->setEnabled(serialMode || idle);
    widgets.rbtnTCP->setEnabled(!serialMode || idle);

    QString caption = kConnectCaption;
    QString hint = kConnectHint;
    switch (currentState) {
    case State::Idle:
        break;
    case State::Connecting:
        caption = QStringLiteral("warten...");
        hint = kTcpHint;
        break;
    case State::Open:
        caption = serialMode ? QStringLiteral("Trennen") : QStringLiteral("TCP aktiv");
        hint = serialMode ? kSerialHint : kTcpHint;
        break;
    case State::Closing: // the caption goes back with the link's closed()
        caption = QStringLiteral("TCP aktiv");
        break;
    }
    widgets.connectButton->setText(caption);
    widgets.connectButton->setToolTip(hint);
}

void LinkPanel::tellBusy()
{
    emit busyChanged(busy());
    if (!busy())
        emit freed();
}

std::array<QComboBox *, 5> LinkPanel::serialBoxes() const
{
    return {widgets.deviceName, widgets.baudRate, widgets.byteSize, widgets.parity, widgets.stopBits};
}

void LinkPanel::FillDeviceNames()
{
    const QSignalBlocker quiet(widgets.deviceName);
    QStringList names;
    for (const std::string &name : serial->port().EnumPorts(1, 0))
        names << toolkit::fromBytes(name);
    widgets.deviceName->clear();
    widgets.deviceName->addItems(names.isEmpty() ? kFallbackPorts : names);
    widgets.deviceName->setEditText(toolkit::fromBytes(serial->port().DeviceName()));
}

void LinkPanel::RefreshSerialBoxes()
{
    const QSignalBlocker quietBaud(widgets.baudRate);
    const QSignalBlocker quietSize(widgets.byteSize);
    const QSignalBlocker quietParity(widgets.parity);
    const QSignalBlocker quietStop(widgets.stopBits);
    const TCommThread &port = serial->port();
    showValue(*widgets.baudRate, QString::number(port.BaudRate()));
    showValue(*widgets.byteSize, QString::number(port.ByteSize()));
    showItemOf(*widgets.parity, static_cast<int>(port.Parity()));
    showItemOf(*widgets.stopBits, static_cast<int>(port.StopBits()));
}

// Choosing a mode only swaps which controls can be used; nothing opens or closes.
void LinkPanel::rbtnSeriellClick()
{
    if (!widgets.rbtnSeriell->isChecked())
        return;
    currentMode = Mode::Serial;
    showLook();
}

void LinkPanel::rbtnTCPClick()
{
    if (!widgets.rbtnTCP->isChecked())
        return;
    currentMode = Mode::Tcp;
    showLook();
}

void LinkPanel::cbxDeviceNameChange()
{
    serial->port().setDeviceName(toolkit::toBytes(widgets.deviceName->currentText()));
    RefreshSerialBoxes();
}

void LinkPanel::cbxBaudRateChange()
{
    const std::optional<int> value = toInteger(widgets.baudRate->currentText());
    if (!value)
        return;
    serial->port().setBaudRate(static_cast<std::uint32_t>(*value));
    RefreshSerialBoxes();
}

// Stored as one byte, like the port parameters hold it.
void LinkPanel::cbxByteSizeChange()
{
    const std::optional<int> value = toInteger(widgets.byteSize->currentText());
    if (!value)
        return;
    serial->port().setByteSize(static_cast<std::uint8_t>(*value));
    RefreshSerialBoxes();
}

// Any text but an item's stores nothing and is left as typed, so that the
// operator can finish a name.
void LinkPanel::cbxParityChange()
{
    if (const std::optional<int> value = namedValue(*widgets.parity)) {
        serial->port().setParity(static_cast<platform::Parity>(*value));
        RefreshSerialBoxes();
    }
}

void LinkPanel::cbxStopBitsChange()
{
    if (const std::optional<int> value = namedValue(*widgets.stopBits)) {
        serial->port().setStopBits(static_cast<platform::StopBits>(*value));
        RefreshSerialBoxes();
    }
}

void LinkPanel::btnConnectClick()
{
    if (currentMode == Mode::Serial)
        toggleSerial();
    else if (!toggleTcp())
        return;
    tellBusy();
}

// The link tells how the open or close went (see connectLinks).
void LinkPanel::toggleSerial()
{
    if (serial->isOpen())
        serial->close();
    else
        serial->open();
    RefreshSerialBoxes();
}

// Showing a port that never opened as connected would hide the fault. A
// refusal for lack of permission is the usual first meeting with a USB adapter
// on Linux, so the box says how to get it.
void LinkPanel::serialOpenFailed(const LinkFailure &failure)
{
    enter(State::Idle);
    QString text = QStringLiteral("Die serielle Schnittstelle %1 konnte nicht geöffnet werden:\n%2")
                       .arg(toolkit::fromBytes(serial->port().DeviceName()), failure.reason);
    if (failure.noPermission)
        text += QStringLiteral("\n\nIhr Benutzerkonto darf die Schnittstelle nicht öffnen: Es muss zur Gruppe "
                               "dialout gehören. Mit „sudo usermod -aG dialout $USER“ nehmen Sie es auf; "
                               "das gilt ab der nächsten Anmeldung.");
    msg::show(msg::Kind::Error, msg::Buttons::Ok, text.toStdString());
}

// The link has closed the port already; the panel follows and says why.
void LinkPanel::serialLost()
{
    enter(State::Idle);
    RefreshSerialBoxes();
    tellBusy();
    msg::show(msg::Kind::Error, msg::Buttons::Ok,
              QStringLiteral("Die Verbindung über %1 ist abgebrochen.")
                  .arg(toolkit::fromBytes(serial->port().DeviceName()))
                  .toStdString());
}

// False when the port text is not a port number: the click then ends there.
// The address is taken at every click, also the one that ends a connection.
bool LinkPanel::toggleTcp()
{
    const std::optional<quint16> port = toTcpPort(widgets.port->text());
    if (!port)
        return false;
    tcp->setAddress(widgets.ip->text(), *port);
    switch (currentState) {
    case State::Idle:
        // Locked at once: a host name is looked up before the connection is tried.
        enter(State::Connecting);
        tcp->open();
        break;
    case State::Connecting: // gives the attempt up instead of starting a second one
        tcp->close();
        enter(State::Idle);
        break;
    case State::Open:
        enter(State::Closing);
        tcp->close();
        break;
    case State::Closing:
        break;
    }
    return true;
}

void LinkPanel::sendCommand(const std::string &command)
{
    debugLog.logCommand(command);
    send(command);
}

void LinkPanel::repeatCommand(const std::string &command) { send(command); }

// The text stays in the transmit edit while the serial link does not take it;
// it is only touched where that changes what it shows, as the chassis timer
// sends twenty times a second and every change repaints the panel.
void LinkPanel::send(const std::string &command)
{
    const std::string line = command + '\r';
    if (serial->send(line)) {
        if (!widgets.transmitEdit->text().isEmpty())
            widgets.transmitEdit->clear();
    } else {
        widgets.transmitEdit->setText(toolkit::fromBytes(line));
    }
    tcp->send(line);
}

void LinkPanel::btnTransmitClick()
{
    if (serial->send(toolkit::toBytes(widgets.transmitEdit->text()) + '\r'))
        widgets.transmitEdit->clear();
    if (tcp->send(toolkit::toBytes(widgets.transmitEdit->text()) + '\r'))
        widgets.transmitEdit->clear();
}

void LinkPanel::Transmit_EditKeyDown(int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        btnTransmitClick();
}

void LinkPanel::Transmit_EditEnter() { widgets.transmitEdit->clear(); }

bool LinkPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == widgets.transmitEdit) {
        if (event->type() == QEvent::KeyPress)
            Transmit_EditKeyDown(static_cast<QKeyEvent *>(event)->key());
        else if (event->type() == QEvent::FocusIn && entersTheEdit(*static_cast<QFocusEvent *>(event)))
            Transmit_EditEnter();
    }
    return QObject::eventFilter(watched, event);
}

// A serial block joins the log as it came, without a line break.
void LinkPanel::OnReceive(const std::string &block)
{
    toolkit::appendToLog(*widgets.receiveMemo, toolkit::fromBytes(block));
    emit received(block);
}

void LinkPanel::ClientSocketConnect()
{
    enter(State::Open);
    tcp->send(role.probe);
    emit opened();
}

// Also when the far end ended the connection: the link is free again, and a
// chassis must not stay active on a dead link.
void LinkPanel::ClientSocketDisconnect()
{
    const bool wasBusy = busy();
    enter(State::Idle);
    if (wasBusy)
        tellBusy();
}

void LinkPanel::ClientSocketRead(const std::string &text)
{
    ++readCount;
    // The controller's answers to the move-status query, asked every 100 ms
    // while the arm moves, would bury everything else in the memo.
    if (!isMoveStatusReply(text)) {
        debugLog.logLine(QStringLiteral("%1 Client %2: Daten empfangen").arg(readCount).arg(role.number));
        debugLog.logLine(toolkit::fromBytes(text));
    }
    toolkit::appendLineToLog(*widgets.receiveMemo, toolkit::fromBytes(text));
    emit received(text);
}

// A failed attempt frees the link first (the chassis goes off before the box,
// and link 1's channel lists come back); the idle look follows the box.
void LinkPanel::ClientSocketError()
{
    currentState = State::Idle;
    tellBusy();
    msg::show(msg::Kind::Error, msg::Buttons::Ok,
              "Die Verbindung konnte nicht hergestellt werden!\nPrüfen Sie die Netzwerkeinstellungen und das WiPort!");
    showLook();
}

} // namespace comm
