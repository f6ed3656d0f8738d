#pragma once
// The window "Verbindung suchen": it searches the serial ports the system
// lists, the devices typed under "Weitere Geräte" and the TCP addresses typed
// in for the two controllers, shows each place with what answered there, and
// on "Übernehmen" puts what was found into the link panels, without
// connecting. It also holds each link's choice to reconnect by itself. A plain
// window beside the main window, which stays usable; closing it hides it. The
// fields and choices are kept in velmora.ini.
#include "comm/controller_search.h"
#include "settings/extension_settings.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace comm {

class Connection;
class LinkPanel;

// One link as the window sees it: the search asks its probe in its line
// settings, and what is found for it goes into its panel.
struct SearchedLink {
    Connection &connection;
    LinkPanel &panel;
};

class ConnectionSearchWindow : public QWidget {
    Q_OBJECT

public:
    // The reconnect choices stored in velmora.ini are handed to the links at once.
    ConnectionSearchWindow(const std::array<SearchedLink, 2> &links, const settings::ProgramLocation &files);
    ~ConnectionSearchWindow() override;

    void search();
    void takeOver();

private:
    void restoreChoices();
    void showFinding(int place, const SearchFinding &finding);
    void searchFinished();
    QStringList heldPlaces() const;
    const SearchFinding *foundFor(int link) const;

    std::array<SearchedLink, 2> links;
    settings::ExtensionSettings stored;
    ControllerSearch controllerSearch;
    std::vector<SearchFinding> findings; // by place
    QLineEdit *moreDevices;
    QLineEdit *tcpHosts;
    QTableWidget *table;
    QLabel *advice;
    QPushButton *searchButton;
    QPushButton *takeOverButton;
    QLabel *status;
    std::array<QCheckBox *, 2> reconnectBoxes;
};

} // namespace comm
