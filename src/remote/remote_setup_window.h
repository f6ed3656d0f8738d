#pragma once
// The window "Setup: Fernsteuerung": whether programs may drive the robot
// through the console, on which port, from this computer only or from all
// networks, the token they must show from beyond this computer, and the
// programs connected, each of which can be cut off. A companion window of the
// main window, which stays usable; every change takes effect at once and is
// kept in velmora.ini.
#include "settings/extension_settings.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStatusBar;

namespace remote {

class Server;
struct ServerConfig;

class RemoteSetupWindow : public QWidget {
    Q_OBJECT

public:
    // The choices stored in velmora.ini are handed to the server at once; a
    // missing token is made, and stored once the interface is switched on.
    RemoteSetupWindow(Server &server, const settings::ProgramLocation &files);
    ~RemoteSetupWindow() override;

private:
    void buildControls();
    void connectControls();
    void restoreChoices();
    // The controls as they stand, stored and handed to the server.
    void apply();
    // Stores the token shown, once it is used (switched on or copied).
    void keepToken();
    void renewToken();
    void showClients();
    void showState();

    Server &server;
    settings::ExtensionSettings stored;
    bool tokenStored = false;
    QCheckBox *enabledBox;
    QSpinBox *portBox;
    QRadioButton *localOnly;
    QRadioButton *allNetworks;
    QLineEdit *tokenEdit;
    QPushButton *copyButton;
    QPushButton *renewButton;
    QListWidget *clientList;
    QPushButton *disconnectButton;
    QLabel *stateLine;
};

// The programs connected and the one that drives, in one line.
QString remoteStatusText(const Server &server);

// The main window's status bar says so while programs are connected, and is
// hidden otherwise.
class StatusNote : public QObject {
    Q_OBJECT

public:
    StatusNote(const Server &server, QStatusBar &bar);

private:
    void follow();

    const Server &server;
    QStatusBar &bar;
    QLabel *note;
};

} // namespace remote
