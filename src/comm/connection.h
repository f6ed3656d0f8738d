#pragma once
// One link role (the arm's link, the chassis' link): the transport chosen and
// the settings of both, the link made from them, its state, the link send rule,
// and what arrives. Written once for every transport: the link comes from a
// factory, so a test can put a fake under it.
//
// Who hears what: busyChanged after every open or close request and whenever an
// event frees the link; freed with it when the link is free; opened when it is
// up; received with every text; logged with every line for the debug memo.
//
// Told to reconnect, it does not give up a link that was open and is lost (the
// device pulled, the far end closed or reset): the link is free, and the
// connection waits, then opens it again by itself, as often as needed: a serial
// port as soon as its device is back, a TCP link after 1, 2, 4, 8 and then
// every 10 s. Neither the loss nor a failed try is reported (the debug memo
// has the loss and the return, with their times); a close request ends the wait.
#include "comm/command_sender.h"
#include "comm/link_settings.h"
#include "comm/reconnect_watch.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace comm {

class Link;
struct LinkFailure;

// Makes the link for a settings value (makeLink in production).
using LinkFactory = std::function<std::unique_ptr<Link>(const LinkSettings &)>;

// Who is at the far end: the link's number (1 arm, 2 chassis), what a TCP
// connect sends to identify the device, which replies stay out of the debug
// memo (none where it is empty), and whether what arrived after the probe holds
// the device's answer to it (for a search of the ports).
struct LinkRole {
    int number;
    std::string probe;
    std::function<bool(std::string_view)> keepOutOfLog;
    std::function<bool(std::string_view)> answersProbe = {};
};

class Connection : public QObject, public CommandSender {
    Q_OBJECT

public:
    enum class Transport { Serial, Tcp };
    // Closing: an open link asked to close until it says it is closed.
    // Waiting: a lost link waits to be opened again; Reconnecting: it is being opened again.
    enum class State { Idle, Connecting, Open, Closing, Waiting, Reconnecting };

    Connection(LinkRole role, LinkFactory makeLink, QObject *parent = nullptr,
               std::unique_ptr<ReconnectWatch> watch = makeReconnectWatch());
    ~Connection() override;

    const LinkRole &role() const { return linkRole; }

    // Changes take effect at the next open: the link is made anew there when
    // what it was made from has changed.
    Transport transport() const { return chosen; }
    void choose(Transport transport) { chosen = transport; }
    const SerialSettings &serialSettings() const { return serial; }
    void setSerialSettings(const SerialSettings &settings) { serial = settings; }
    const TcpSettings &tcpSettings() const { return tcp; }
    void setTcpSettings(const TcpSettings &settings) { tcp = settings; }
    // The chosen transport's settings.
    LinkSettings settings() const;

    State state() const { return currentState; }
    // Off while waiting ends the wait.
    void setAutoReconnect(bool on);
    bool autoReconnect() const { return reconnects; }
    // The link is wanted up: from the request that opens it to the one that
    // ends it, or until it fails or goes away.
    bool busy() const { return currentState == State::Connecting || currentState == State::Open; }

    // From idle: opened or failed tells how it went. Otherwise only tells busy.
    void open();
    // Ends an open link, or gives up an attempt or the wait to reconnect.
    void close();
    // At closing time: the link is closed and a pending attempt dropped; nobody
    // is told the link is free (an open TCP link still tells when it has closed).
    void shutDown();

    // The link send rule: a line in the debug memo, then the command and a
    // carriage return on the link; commandSent tells whether the link took it.
    void sendCommand(const std::string &command) override;
    // The same without a line in the debug memo, for a query repeated while waiting.
    void repeatCommand(const std::string &command);
    // Text as it stands, as the operator typed it; true when the link took it.
    bool sendText(const std::string &text);

signals:
    void stateChanged(comm::Connection::State state);
    void busyChanged(bool busy);
    void freed();
    void opened();
    // Open again after a loss, told just before opened().
    void reconnected();
    void received(const std::string &text);
    // A failure or loss frees the link first, then is told, then the idle state.
    void failed(const comm::LinkFailure &failure);
    // The device went away under an open link.
    void lost();
    void logged(const QString &line);
    void commandSent(const std::string &line, bool taken);

private:
    void renewLink();
    bool overTcp() const { return std::holds_alternative<TcpSettings>(linkMadeFrom); }
    void enter(State state);
    void tellBusy();
    void linkOpened();
    void linkClosed();
    template <typename Report> void drop(Report report);
    bool reconnectsAfterLoss() const { return reconnects && currentState == State::Open && !requesting; }
    void waitToReconnect();
    void waitForNextTry();
    void tryAgain();
    void logWithTime(const QString &text);
    void take(const std::string &text);
    void sendLine(const std::string &line);

    const LinkRole linkRole;
    const LinkFactory makeLink;
    const std::unique_ptr<ReconnectWatch> watch;
    bool reconnects = false;
    int failedTries = 0; // since the loss
    Transport chosen = Transport::Tcp;
    SerialSettings serial;
    TcpSettings tcp;
    std::unique_ptr<Link> link;
    LinkSettings linkMadeFrom;
    State currentState = State::Idle;
    // Within open(), close() and shutDown() the request tells busy itself, once, at its end.
    bool requesting = false;
    std::uint32_t readCount = 0; // TCP reads, counted across connections
};

} // namespace comm
