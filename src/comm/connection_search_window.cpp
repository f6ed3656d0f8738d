#include "comm/connection_search_window.h"

#include "comm/connection.h"
#include "comm/link_panel.h"
#include "comm/serial_link.h"
#include "settings/program_location.h"
#include "toolkit/byte_text.h"
#include "toolkit/translated.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace comm {

namespace {

using Outcome = SearchFinding::Outcome;

const QString kMoreDevicesKey = QStringLiteral("connect/more_devices");
const QString kTcpHostsKey = QStringLiteral("connect/tcp_addresses");
const QString kReconnectKey = QStringLiteral("connect/reconnect_link%1");

enum Column { PlaceColumn, OutcomeColumn, BaudColumn };

// Names typed apart by spaces or commas.
QStringList namesIn(const QString &text)
{
    return text.split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts);
}

QString controllerName(int link)
{
    return link == 1 ? QCoreApplication::translate("comm::ConnectionSearchWindow", "SSC-32 (Greifarm)")
                     : QCoreApplication::translate("comm::ConnectionSearchWindow", "Fahrwerk");
}

QString outcomeText(const SearchFinding &finding)
{
    switch (finding.outcome) {
    case Outcome::Answered:
        return controllerName(finding.link);
    case Outcome::Silent:
        return QCoreApplication::translate("comm::ConnectionSearchWindow", "keine Antwort");
    case Outcome::InUse:
        return QCoreApplication::translate("comm::ConnectionSearchWindow", "belegt");
    case Outcome::NoAccess:
        return QCoreApplication::translate("comm::ConnectionSearchWindow", "kein Zugriff (Gruppe dialout)");
    case Outcome::Unreachable:
        return QCoreApplication::translate("comm::ConnectionSearchWindow", "nicht erreichbar");
    case Outcome::Failed:
        break;
    }
    return QCoreApplication::translate("comm::ConnectionSearchWindow", "Fehler: %1").arg(finding.reason);
}

// "/dev/ttyUSB0, 38400 Baud" or "192.168.100.100:10001".
QString whereFound(const LinkSettings &settings)
{
    if (const auto *serial = std::get_if<SerialSettings>(&settings))
        return QCoreApplication::translate("comm::ConnectionSearchWindow", "%1, %2 Baud")
            .arg(toolkit::fromBytes(serial->deviceName))
            .arg(serial->line.baudRate);
    const auto &tcp = std::get<TcpSettings>(settings);
    return QStringLiteral("%1:%2").arg(tcp.host).arg(tcp.port);
}

} // namespace

ConnectionSearchWindow::ConnectionSearchWindow(const std::array<SearchedLink, 2> &links,
                                               const settings::ProgramLocation &files)
    : QWidget(nullptr, Qt::Window),
      links(links),
      stored(files),
      controllerSearch(this),
      moreDevices(new QLineEdit(this)),
      tcpHosts(new QLineEdit(this)),
      table(new QTableWidget(0, 3, this)),
      advice(new QLabel(toolkit::translated(noPermissionAdvice()), this)),
      searchButton(new QPushButton(tr("&Suchen"), this)),
      takeOverButton(new QPushButton(tr("Ü&bernehmen"), this)),
      status(new QLabel(this))
{
    setWindowTitle(tr("Verbindung suchen"));
    moreDevices->setObjectName(QStringLiteral("moreDevices"));
    tcpHosts->setObjectName(QStringLiteral("tcpHosts"));
    table->setObjectName(QStringLiteral("findings"));
    status->setObjectName(QStringLiteral("searchState"));
    moreDevices->setToolTip(tr("Gerätenamen, die das System nicht aufführt (z. B. Pseudo-Terminals), "
                               "getrennt durch Leerzeichen oder Kommas"));
    tcpHosts->setToolTip(tr("Adressen von WiPorts, getrennt durch Leerzeichen oder Kommas; "
                            "versucht werden die Ports 10001 und 10002, oder der mit "
                            "„Adresse:Port“ genannte"));
    tcpHosts->setPlaceholderText(tr("z. B. 192.168.100.100"));
    table->setAccessibleName(tr("Gefundene Geräte"));
    table->setHorizontalHeaderLabels({tr("Gerät"), tr("Ergebnis"), tr("Baud Rate")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->horizontalHeader()->setSectionResizeMode(PlaceColumn, QHeaderView::Stretch);
    table->horizontalHeader()->setSectionResizeMode(OutcomeColumn, QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(BaudColumn, QHeaderView::ResizeToContents);
    advice->setWordWrap(true);
    advice->hide();
    status->setWordWrap(true);
    status->setAccessibleName(tr("Zustand"));
    takeOverButton->setEnabled(false);
    takeOverButton->setToolTip(tr("Das Gefundene in die Verbindungen 1 und 2 eintragen, ohne zu verbinden"));

    auto *fields = new QFormLayout;
    fields->addRow(tr("Weitere &Geräte:"), moreDevices);
    fields->addRow(tr("&TCP-Adressen:"), tcpHosts);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(searchButton);
    buttons->addWidget(takeOverButton);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->addWidget(table, 1);
    layout->addWidget(advice);
    layout->addWidget(status);
    for (int i = 0; i < 2; ++i) {
        reconnectBoxes[i] = new QCheckBox(tr("Verbindung %1 automatisch wiederherstellen").arg(i + 1), this);
        reconnectBoxes[i]->setObjectName(QStringLiteral("reconnect%1").arg(i + 1));
        reconnectBoxes[i]->setToolTip(
            tr("Geht die offene Verbindung verloren, wird sie wieder aufgebaut, sobald das Gerät zurück ist"));
        layout->addWidget(reconnectBoxes[i]);
    }
    resize(560, 420);

    restoreChoices();
    connect(searchButton, &QPushButton::clicked, this, &ConnectionSearchWindow::search);
    connect(takeOverButton, &QPushButton::clicked, this, &ConnectionSearchWindow::takeOver);
    connect(moreDevices, &QLineEdit::editingFinished, this,
            [this] { stored.setText(kMoreDevicesKey, moreDevices->text()); });
    connect(tcpHosts, &QLineEdit::editingFinished, this, [this] { stored.setText(kTcpHostsKey, tcpHosts->text()); });
    for (int i = 0; i < 2; ++i) {
        connect(reconnectBoxes[i], &QCheckBox::toggled, this, [this, i](bool on) {
            stored.setFlag(kReconnectKey.arg(i + 1), on);
            this->links[i].connection.setAutoReconnect(on);
        });
    }
    connect(&controllerSearch, &ControllerSearch::found, this, &ConnectionSearchWindow::showFinding);
    connect(&controllerSearch, &ControllerSearch::finished, this, &ConnectionSearchWindow::searchFinished);
}

// A field still in the focus finishes its editing as the window goes; that must
// not reach a window that is half taken apart.
ConnectionSearchWindow::~ConnectionSearchWindow()
{
    disconnect(moreDevices, nullptr, this, nullptr);
    disconnect(tcpHosts, nullptr, this, nullptr);
}

void ConnectionSearchWindow::restoreChoices()
{
    moreDevices->setText(stored.text(kMoreDevicesKey));
    tcpHosts->setText(stored.text(kTcpHostsKey));
    for (int i = 0; i < 2; ++i) {
        const bool on = stored.flag(kReconnectKey.arg(i + 1), false);
        reconnectBoxes[i]->setChecked(on);
        links[i].connection.setAutoReconnect(on);
    }
}

// The ports listed now and the ones typed in, each once.
void ConnectionSearchWindow::search()
{
    if (controllerSearch.running())
        return;
    stored.setText(kMoreDevicesKey, moreDevices->text());
    stored.setText(kTcpHostsKey, tcpHosts->text());
    std::vector<std::string> devices = serialPortNames();
    for (const QString &name : namesIn(moreDevices->text())) {
        const std::string device = toolkit::toBytes(name);
        if (std::find(devices.begin(), devices.end(), device) == devices.end())
            devices.push_back(device);
    }
    std::vector<SearchProbe> probes;
    for (const SearchedLink &link : links) {
        const LinkRole &role = link.connection.role();
        probes.push_back({role.number, role.probe, role.answersProbe, link.connection.serialSettings().line});
    }
    const QStringList places = controllerSearch.start(devices, namesIn(tcpHosts->text()), heldPlaces(), probes);
    findings.assign(std::size_t(places.size()), SearchFinding{});
    table->setRowCount(int(places.size()));
    for (int place = 0; place < int(places.size()); ++place) {
        table->setItem(place, PlaceColumn, new QTableWidgetItem(places[place]));
        table->setItem(place, OutcomeColumn, new QTableWidgetItem(tr("wird geprüft...")));
        table->setItem(place, BaudColumn, new QTableWidgetItem);
    }
    advice->hide();
    searchButton->setEnabled(false);
    takeOverButton->setEnabled(false);
    status->setText(tr("Suche läuft..."));
}

// Ports and addresses the console uses or waits to use again are not touched.
QStringList ConnectionSearchWindow::heldPlaces() const
{
    QStringList held;
    for (const SearchedLink &link : links) {
        const Connection &connection = link.connection;
        if (connection.state() == Connection::State::Idle)
            continue;
        if (connection.transport() == Connection::Transport::Serial)
            held << QFile::decodeName(connection.serialSettings().deviceName.c_str());
        else
            held << QStringLiteral("%1:%2").arg(connection.tcpSettings().host).arg(connection.tcpSettings().port);
    }
    return held;
}

void ConnectionSearchWindow::showFinding(int place, const SearchFinding &finding)
{
    findings[std::size_t(place)] = finding;
    QTableWidgetItem *outcome = table->item(place, OutcomeColumn);
    outcome->setText(outcomeText(finding));
    if (finding.outcome == Outcome::NoAccess) {
        outcome->setToolTip(toolkit::translated(noPermissionAdvice()));
        advice->show();
    }
    if (const auto *serial = std::get_if<SerialSettings>(&finding.settings);
        serial && finding.outcome == Outcome::Answered)
        table->item(place, BaudColumn)->setText(QString::number(serial->line.baudRate));
}

const SearchFinding *ConnectionSearchWindow::foundFor(int link) const
{
    for (const SearchFinding &finding : findings) {
        if (finding.outcome == Outcome::Answered && finding.link == link)
            return &finding;
    }
    return nullptr;
}

void ConnectionSearchWindow::searchFinished()
{
    QStringList found;
    for (int link = 1; link <= 2; ++link) {
        if (const SearchFinding *finding = foundFor(link))
            found << tr("%1 an %2").arg(controllerName(link), whereFound(finding->settings));
    }
    searchButton->setEnabled(true);
    takeOverButton->setEnabled(!found.isEmpty());
    status->setText(found.isEmpty() ? tr("Keine Steuerung gefunden.")
                                    : tr("Gefunden: %1.").arg(found.join(QStringLiteral("; "))));
}

// The first place each controller answered at; a link in use keeps its settings.
void ConnectionSearchWindow::takeOver()
{
    QStringList told;
    for (int i = 0; i < 2; ++i) {
        const SearchFinding *finding = foundFor(i + 1);
        if (!finding)
            continue;
        if (links[i].panel.takeOver(finding->settings))
            told << tr("Verbindung %1: %2").arg(i + 1).arg(whereFound(finding->settings));
        else
            told << tr("Verbindung %1 ist in Gebrauch und bleibt, wie sie ist").arg(i + 1);
    }
    status->setText(tr("%1. Mit „Verbinden“ bauen Sie die Verbindung auf.").arg(told.join(QStringLiteral("; "))));
}

} // namespace comm
