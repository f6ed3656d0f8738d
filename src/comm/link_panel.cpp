#include "comm/link_panel.h"

#include "comm/connection.h"
#include "comm/link.h"
#include "comm/serial_link.h"
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
              UI_TEXT("comm::LinkPanel", "'%1' ist kein gültiger Integerwert").arg(text.toStdString()));
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
              UI_TEXT("comm::LinkPanel", "Der Port %1 liegt nicht zwischen %2 und %3.")
                  .arg(*value)
                  .arg(kLowestTcpPort)
                  .arg(kHighestTcpPort));
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

platform::UiText noPermissionAdvice()
{
    return UI_TEXT("comm::LinkPanel",
                   "Ihr Benutzerkonto darf die Schnittstelle nicht öffnen: Es muss zur Gruppe dialout "
                   "gehören. Mit „sudo usermod -aG dialout $USER“ nehmen Sie es auf; das gilt ab der "
                   "nächsten Anmeldung.");
}

LinkPanel::LinkPanel(const LinkWidgets &widgets, Connection &connection, QObject *parent)
    : QObject(parent), widgets(widgets), connection(connection)
{
    // Named and in the window's object tree, so that tools and tests find it.
    setObjectName(QStringLiteral("link%1").arg(connection.role().number));
    toolkit::limitLog(*widgets.receiveMemo);
    tagItems(*widgets.parity, kParities);
    tagItems(*widgets.stopBits, kStopBits);
    // Enter confirms what is typed; it does not add it to the list.
    for (QComboBox *box : serialBoxes())
        box->setInsertPolicy(QComboBox::NoInsert);
    connectControls();
    connectConnection();
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
    // A click leaves the keyboard focus where it was: space, which stops the
    // chassis, would otherwise press the button just clicked and end link 2
    // under a moving chassis.
    widgets.connectButton->setFocusPolicy(Qt::TabFocus);
    connect(widgets.transmitButton, &QPushButton::clicked, this, &LinkPanel::btnTransmitClick);
    widgets.transmitEdit->installEventFilter(this);
}

// The transport cannot change while a link is set up or up, so the one chosen
// is the one that reports.
void LinkPanel::connectConnection()
{
    const auto overTcp = [this] { return connection.transport() == Connection::Transport::Tcp; };
    connect(&connection, &Connection::stateChanged, this, &LinkPanel::showLook);
    connect(&connection, &Connection::commandSent, this, &LinkPanel::showSentCommand);
    connect(&connection, &Connection::received, this,
            [this, overTcp](const std::string &text) { overTcp() ? ClientSocketRead(text) : OnReceive(text); });
    connect(&connection, &Connection::failed, this, [this, overTcp](const LinkFailure &failure) {
        overTcp() ? ClientSocketError() : serialOpenFailed(failure);
    });
    connect(&connection, &Connection::lost, this, &LinkPanel::serialLost);
}

void LinkPanel::init()
{
    FillDeviceNames();
    RefreshSerialBoxes();
    widgets.receiveMemo->clear();
    widgets.rbtnTCP->setChecked(true);
}

std::string LinkPanel::ipText() const { return toolkit::toBytes(widgets.ip->text()); }
std::string LinkPanel::portText() const { return toolkit::toBytes(widgets.port->text()); }
void LinkPanel::setIpText(const std::string &text) { widgets.ip->setText(toolkit::fromBytes(text)); }
void LinkPanel::setPortText(const std::string &text) { widgets.port->setText(toolkit::fromBytes(text)); }

// Neither address nor mode may change while a link is set up or up; the serial
// labels follow the mode alone.
void LinkPanel::showLook()
{
    const bool serialMode = connection.transport() == Connection::Transport::Serial;
    const Connection::State state = connection.state();
    const bool idle = state == Connection::State::Idle;
    widgets.ip->setEnabled(!serialMode && idle);
    widgets.port->setEnabled(!serialMode && idle);
    for (QComboBox *box : serialBoxes())
        box->setEnabled(serialMode && idle);
    for (QLabel *label :
         {widgets.labName, widgets.labBaudRate, widgets.labByteSize, widgets.labParity, widgets.labStopBits})
        label->setEnabled(serialMode);
    widgets.rbtnSeriell->setEnabled(serialMode || idle);
    widgets.rbtnTCP->setEnabled(!serialMode || idle);

    const QString tcpHint = tr("klicken, um TCP-Verbindung zu trennen");
    QString caption = tr("Verbinden");
    QString hint = tr("klicken, um Verbindung aufzubauen");
    switch (state) {
    case Connection::State::Idle:
        break;
    case Connection::State::Connecting:
        caption = tr("warten...");
        hint = tcpHint;
        break;
    case Connection::State::Open:
        caption = serialMode ? tr("Trennen") : tr("TCP aktiv");
        hint = serialMode ? tr("klicken, um serielle Verbindung zu trennen") : tcpHint;
        break;
    case Connection::State::Closing: // the caption goes back once the link has closed
        caption = tr("TCP aktiv");
        break;
    case Connection::State::Waiting:
    case Connection::State::Reconnecting:
        caption = tr("unterbrochen");
        hint = tr("Die Verbindung ist unterbrochen und wird automatisch wiederhergestellt; "
                  "klicken, um nicht länger zu warten");
        break;
    }
    widgets.connectButton->setText(caption);
    widgets.connectButton->setToolTip(hint);
}

std::array<QComboBox *, 5> LinkPanel::serialBoxes() const
{
    return {widgets.deviceName, widgets.baudRate, widgets.byteSize, widgets.parity, widgets.stopBits};
}

void LinkPanel::FillDeviceNames()
{
    showPorts(serialPortNames());
    const QSignalBlocker quiet(widgets.deviceName);
    widgets.deviceName->setEditText(toolkit::fromBytes(connection.serialSettings().deviceName));
}

void LinkPanel::showPorts(const std::vector<std::string> &ports)
{
    QStringList names;
    for (const std::string &name : ports)
        names << toolkit::fromBytes(name);
    if (names.isEmpty())
        names = kFallbackPorts;
    QComboBox &box = *widgets.deviceName;
    QStringList shown;
    for (int item = 0; item < box.count(); ++item)
        shown << box.itemText(item);
    if (shown == names)
        return;
    const QSignalBlocker quiet(&box);
    const QString text = box.currentText();
    const int caret = box.lineEdit() ? box.lineEdit()->cursorPosition() : 0;
    box.clear();
    box.addItems(names);
    box.setCurrentIndex(box.findText(text));
    box.setEditText(text);
    if (box.lineEdit())
        box.lineEdit()->setCursorPosition(caret);
}

// Through the controls, so that each choice runs as the operator's does.
bool LinkPanel::takeOver(const LinkSettings &settings)
{
    if (connection.state() != Connection::State::Idle)
        return false;
    if (const auto *serial = std::get_if<SerialSettings>(&settings)) {
        widgets.rbtnSeriell->setChecked(true);
        widgets.deviceName->setEditText(toolkit::fromBytes(serial->deviceName));
        widgets.baudRate->setEditText(QString::number(serial->line.baudRate));
    } else {
        const auto &tcp = std::get<TcpSettings>(settings);
        widgets.rbtnTCP->setChecked(true);
        widgets.ip->setText(tcp.host);
        widgets.port->setText(QString::number(tcp.port));
    }
    return true;
}

void LinkPanel::RefreshSerialBoxes()
{
    const QSignalBlocker quietBaud(widgets.baudRate);
    const QSignalBlocker quietSize(widgets.byteSize);
    const QSignalBlocker quietParity(widgets.parity);
    const QSignalBlocker quietStop(widgets.stopBits);
    const platform::LineSettings &line = connection.serialSettings().line;
    showValue(*widgets.baudRate, QString::number(line.baudRate));
    showValue(*widgets.byteSize, QString::number(line.byteSize));
    showItemOf(*widgets.parity, static_cast<int>(line.parity));
    showItemOf(*widgets.stopBits, static_cast<int>(line.stopBits));
}

// Choosing a mode only swaps which controls can be used; nothing opens or closes.
void LinkPanel::rbtnSeriellClick()
{
    if (!widgets.rbtnSeriell->isChecked())
        return;
    connection.choose(Connection::Transport::Serial);
    showLook();
}

void LinkPanel::rbtnTCPClick()
{
    if (!widgets.rbtnTCP->isChecked())
        return;
    connection.choose(Connection::Transport::Tcp);
    showLook();
}

// Every box stores what it holds as far as it fits, then all show what the
// connection is set to: a value a box refused leaves the one it had.
template <typename Change>
void LinkPanel::changeSerial(Change change)
{
    SerialSettings settings = connection.serialSettings();
    change(settings);
    connection.setSerialSettings(settings);
    RefreshSerialBoxes();
}

void LinkPanel::cbxDeviceNameChange()
{
    changeSerial([this](SerialSettings &settings) {
        settings.deviceName = toolkit::toBytes(widgets.deviceName->currentText());
    });
}

void LinkPanel::cbxBaudRateChange()
{
    if (const std::optional<int> value = toInteger(widgets.baudRate->currentText()))
        changeSerial([&](SerialSettings &settings) { settings.line.baudRate = static_cast<std::uint32_t>(*value); });
}

// Stored as one byte, like the port parameters hold it.
void LinkPanel::cbxByteSizeChange()
{
    if (const std::optional<int> value = toInteger(widgets.byteSize->currentText()))
        changeSerial([&](SerialSettings &settings) { settings.line.byteSize = static_cast<std::uint8_t>(*value); });
}

// Any text but an item's stores nothing and is left as typed, so that the
// operator can finish a name.
void LinkPanel::cbxParityChange()
{
    if (const std::optional<int> value = namedValue(*widgets.parity))
        changeSerial([&](SerialSettings &settings) { settings.line.parity = static_cast<platform::Parity>(*value); });
}

void LinkPanel::cbxStopBitsChange()
{
    if (const std::optional<int> value = namedValue(*widgets.stopBits))
        changeSerial(
            [&](SerialSettings &settings) { settings.line.stopBits = static_cast<platform::StopBits>(*value); });
}

// Over TCP the address is taken at every click, also the one that ends a
// connection; a port text that is not a port number ends the click there.
void LinkPanel::btnConnectClick()
{
    const bool serialMode = connection.transport() == Connection::Transport::Serial;
    if (!serialMode) {
        const std::optional<quint16> port = toTcpPort(widgets.port->text());
        if (!port)
            return;
        connection.setTcpSettings({widgets.ip->text(), *port});
    }
    if (connection.state() == Connection::State::Idle)
        connection.open();
    else
        connection.close();
    if (serialMode)
        RefreshSerialBoxes();
}

// Showing a port that never opened as connected would hide the fault. A
// refusal for lack of permission is the usual first meeting with a USB adapter
// on Linux, so the box says how to get it.
void LinkPanel::serialOpenFailed(const LinkFailure &failure)
{
    const platform::UiText text =
        failure.noPermission
            ? UI_TEXT("comm::LinkPanel", "Die serielle Schnittstelle %1 konnte nicht geöffnet werden:\n%2\n\n%3")
            : UI_TEXT("comm::LinkPanel", "Die serielle Schnittstelle %1 konnte nicht geöffnet werden:\n%2");
    msg::show(msg::Kind::Error, msg::Buttons::Ok,
              text.arg(toolkit::fromBytes(connection.serialSettings().deviceName).toStdString())
                  .arg(failure.reason.toStdString())
                  .arg(noPermissionAdvice()));
}

// The link has closed the port already; the panel says why.
void LinkPanel::serialLost()
{
    msg::show(msg::Kind::Error, msg::Buttons::Ok,
              UI_TEXT("comm::LinkPanel", "Die Verbindung über %1 ist abgebrochen.")
                  .arg(toolkit::fromBytes(connection.serialSettings().deviceName).toStdString()));
}

// The edit is the serial path's: it shows the command until a serial write
// takes it, and over TCP it keeps the last command in view. It is only touched
// where that changes what it shows, as the chassis timer sends twenty times a
// second and every change repaints the panel.
void LinkPanel::showSentCommand(const std::string &line, bool taken)
{
    if (taken && connection.transport() == Connection::Transport::Serial) {
        if (!widgets.transmitEdit->text().isEmpty())
            widgets.transmitEdit->clear();
    } else {
        widgets.transmitEdit->setText(toolkit::fromBytes(line));
    }
}

void LinkPanel::btnTransmitClick()
{
    if (connection.sendText(toolkit::toBytes(widgets.transmitEdit->text()) + '\r'))
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
}

void LinkPanel::ClientSocketRead(const std::string &text)
{
    toolkit::appendLineToLog(*widgets.receiveMemo, toolkit::fromBytes(text));
}

void LinkPanel::ClientSocketError()
{
    msg::show(msg::Kind::Error, msg::Buttons::Ok,
              UI_TEXT("comm::LinkPanel", "Die Verbindung konnte nicht hergestellt werden!\n"
                                         "Prüfen Sie die Netzwerkeinstellungen und das WiPort!"));
}

} // namespace comm
