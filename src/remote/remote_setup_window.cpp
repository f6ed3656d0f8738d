#include "remote/remote_setup_window.h"

#include "remote/server.h"

#include <QCheckBox>
#include <QClipboard>
#include <QCoreApplication>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStatusBar>
#include <QVBoxLayout>

namespace remote {

namespace {

const QString kEnabledKey = QStringLiteral("remote/enabled");
const QString kPortKey = QStringLiteral("remote/port");
const QString kAllNetworksKey = QStringLiteral("remote/all_networks");
const QString kTokenKey = QStringLiteral("remote/token");
constexpr int kDefaultPort = 10010;

QString clientText(const ClientInfo &client)
{
    QString text = client.peer;
    if (!client.name.isEmpty())
        text += QStringLiteral(" – ") + client.name;
    if (client.drives)
        text = QCoreApplication::translate("remote::RemoteSetupWindow", "%1 – fährt").arg(text);
    return text;
}

} // namespace

QString remoteStatusText(const Server &server)
{
    const std::vector<ClientInfo> clients = server.clients();
    QString text = clients.size() == 1
                       ? QCoreApplication::translate("remote::RemoteSetupWindow", "Fernsteuerung: 1 Programm verbunden")
                       : QCoreApplication::translate("remote::RemoteSetupWindow", "Fernsteuerung: %1 Programme verbunden")
                             .arg(clients.size());
    for (const ClientInfo &client : clients)
        if (client.drives)
            text += QStringLiteral(", ") + clientText(client);
    return text;
}

StatusNote::StatusNote(const Server &server, QStatusBar &bar)
    : QObject(&bar), server(server), bar(bar), note(new QLabel(&bar))
{
    note->setObjectName(QStringLiteral("remoteNote"));
    bar.addPermanentWidget(note);
    connect(&server, &Server::clientsChanged, this, &StatusNote::follow);
    follow();
}

void StatusNote::follow()
{
    const bool connectedPrograms = !server.clients().empty();
    note->setText(connectedPrograms ? remoteStatusText(server) : QString());
    bar.setVisible(connectedPrograms);
}

// A spin box whose typing is not yet taken tells its value as it loses the focus
// when the window goes; that must not reach a window that is half taken apart.
RemoteSetupWindow::~RemoteSetupWindow() { disconnect(portBox, nullptr, this, nullptr); }

RemoteSetupWindow::RemoteSetupWindow(Server &server, const settings::ProgramLocation &files)
    : server(server), stored(files)
{
    setObjectName(QStringLiteral("remoteSetupWindow"));
    setWindowTitle(tr("Setup: Fernsteuerung"));
    buildControls();
    restoreChoices();
    connectControls();
    showClients();
    showState();
}

void RemoteSetupWindow::buildControls()
{
    const auto named = [](auto *widget, const char *name) {
        widget->setObjectName(QLatin1String(name));
        return widget;
    };
    enabledBox = named(new QCheckBox(tr("Fernsteuerung &erlauben"), this), "remoteEnabled");
    enabledBox->setToolTip(tr("Andere Programme dürfen den Roboter über diese Konsole steuern"));
    portBox = named(new QSpinBox(this), "remotePort");
    portBox->setRange(1, 65535);
    // Only a finished number counts: each digit typed must not open a port of its own.
    portBox->setKeyboardTracking(false);
    localOnly = named(new QRadioButton(tr("nur &dieser Rechner"), this), "localOnly");
    localOnly->setToolTip(tr("Nur Programme auf diesem Rechner (127.0.0.1 und ::1)"));
    allNetworks = named(new QRadioButton(tr("alle &Netzwerke"), this), "allNetworks");
    allNetworks->setToolTip(tr("Auch Programme auf anderen Rechnern; sie brauchen den Zugangsschlüssel"));
    tokenEdit = named(new QLineEdit(this), "tokenEdit");
    tokenEdit->setReadOnly(true);
    tokenEdit->setAccessibleName(tr("Zugangsschlüssel"));
    copyButton = named(new QPushButton(tr("&Kopieren"), this), "copyToken");
    renewButton = named(new QPushButton(tr("Neu e&rzeugen"), this), "renewToken");
    renewButton->setToolTip(tr("Ein neuer Schlüssel; Programme mit dem alten werden getrennt"));
    clientList = named(new QListWidget(this), "clientList");
    clientList->setAccessibleName(tr("Verbundene Programme"));
    disconnectButton = named(new QPushButton(tr("&Trennen"), this), "disconnectClient");
    stateLine = named(new QLabel(this), "remoteStateLine");
    stateLine->setAccessibleName(tr("Zustand"));

    auto *networks = new QHBoxLayout;
    networks->addWidget(localOnly);
    networks->addWidget(allNetworks);
    auto *token = new QHBoxLayout;
    token->addWidget(tokenEdit, 1);
    token->addWidget(copyButton);
    token->addWidget(renewButton);
    auto *form = new QFormLayout;
    form->addRow(enabledBox);
    form->addRow(tr("&Port:"), portBox);
    form->addRow(tr("Erreichbar für:"), networks);
    // The field sits in a row of its own with the buttons: the label needs its buddy for Alt+Z.
    auto *tokenLabel = new QLabel(tr("&Zugangsschlüssel:"), this);
    tokenLabel->setBuddy(tokenEdit);
    form->addRow(tokenLabel, token);
    auto *clientsLabel = new QLabel(tr("&Verbundene Programme:"), this);
    clientsLabel->setBuddy(clientList);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(clientsLabel);
    layout->addWidget(clientList, 1);
    layout->addWidget(disconnectButton, 0, Qt::AlignLeft);
    layout->addWidget(stateLine);
}

void RemoteSetupWindow::connectControls()
{
    connect(enabledBox, &QCheckBox::toggled, this, &RemoteSetupWindow::apply);
    connect(portBox, qOverload<int>(&QSpinBox::valueChanged), this, &RemoteSetupWindow::apply);
    connect(allNetworks, &QRadioButton::toggled, this, &RemoteSetupWindow::apply);
    connect(copyButton, &QPushButton::clicked, this, [this] {
        keepToken();
        QGuiApplication::clipboard()->setText(tokenEdit->text());
    });
    connect(renewButton, &QPushButton::clicked, this, &RemoteSetupWindow::renewToken);
    connect(disconnectButton, &QPushButton::clicked, this, [this] {
        if (const QListWidgetItem *item = clientList->currentItem())
            server.disconnectClient(item->data(Qt::UserRole).toInt());
    });
    connect(&server, &Server::clientsChanged, this, &RemoteSetupWindow::showClients);
    connect(&server, &Server::clientsChanged, this, &RemoteSetupWindow::showState);
    connect(&server, &Server::stateChanged, this, &RemoteSetupWindow::showState);
}

void RemoteSetupWindow::restoreChoices()
{
    // A token is kept only once the interface is used: a console that never
    // switches it on writes nothing at all.
    const QString token = stored.text(kTokenKey);
    tokenStored = !token.isEmpty();
    tokenEdit->setText(tokenStored ? token : newAccessToken());
    enabledBox->setChecked(stored.flag(kEnabledKey, false));
    portBox->setValue(int(stored.number(kPortKey, kDefaultPort, 1, 65535)));
    (stored.flag(kAllNetworksKey, false) ? allNetworks : localOnly)->setChecked(true);
    apply();
}

void RemoteSetupWindow::apply()
{
    ServerConfig config;
    config.enabled = enabledBox->isChecked();
    config.port = quint16(portBox->value());
    config.allNetworks = allNetworks->isChecked();
    config.token = tokenEdit->text().toStdString();
    const ServerConfig &before = server.config();
    if (config.enabled != before.enabled)
        stored.setFlag(kEnabledKey, config.enabled);
    if (config.enabled)
        keepToken();
    if (config.port != before.port)
        stored.setNumber(kPortKey, config.port);
    if (config.allNetworks != before.allNetworks)
        stored.setFlag(kAllNetworksKey, config.allNetworks);
    server.configure(config);
}

void RemoteSetupWindow::keepToken()
{
    if (tokenStored)
        return;
    stored.setText(kTokenKey, tokenEdit->text());
    tokenStored = true;
}

void RemoteSetupWindow::renewToken()
{
    tokenEdit->setText(newAccessToken());
    tokenStored = false;
    keepToken();
    apply();
}

void RemoteSetupWindow::showClients()
{
    const int chosen = clientList->currentItem() ? clientList->currentItem()->data(Qt::UserRole).toInt() : 0;
    clientList->clear();
    for (const ClientInfo &client : server.clients()) {
        auto *item = new QListWidgetItem(clientText(client), clientList);
        item->setData(Qt::UserRole, client.id);
        if (client.id == chosen)
            clientList->setCurrentItem(item);
    }
    if (!clientList->currentItem() && clientList->count() > 0)
        clientList->setCurrentRow(0);
    disconnectButton->setEnabled(clientList->count() > 0);
}

void RemoteSetupWindow::showState()
{
    QString text = server.stateText();
    if (!server.clients().empty())
        text += QStringLiteral(" – ") + remoteStatusText(server);
    stateLine->setText(text);
}

} // namespace remote
