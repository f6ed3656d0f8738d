// The TCP path of both links: the socket events, their logging and the
// identification of the controller that answers.
#include "app/tform1.h"

#include "app/message_sink.h"
#include "toolkit/bounded_log.h"
#include "toolkit/byte_text.h"
#include "toolkit/client_socket.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "ui_tform1.h"

namespace {

// The arm's servo controller answers its version query with exactly this.
const std::string kArmVersionReply = "SSC32-1.06XE\r";

} // namespace

void TForm1::ClientSocket1Connecting() { socketConnecting(links[0]); }
void TForm1::ClientSocket2Connecting() { socketConnecting(links[1]); }
void TForm1::ClientSocket1Connect() { socketConnected(links[0]); }
void TForm1::ClientSocket2Connect() { socketConnected(links[1]); }
void TForm1::ClientSocket1Disconnect() { socketDisconnected(links[0]); }
void TForm1::ClientSocket2Disconnect() { socketDisconnected(links[1]); }
void TForm1::ClientSocket1Read() { socketRead(links[0]); }
void TForm1::ClientSocket2Read() { socketRead(links[1]); }
void TForm1::ClientSocket1Error(int &errorCode) { socketError(links[0], errorCode); }
void TForm1::ClientSocket2Error(int &errorCode) { socketError(links[1], errorCode); }

// Neither address nor mode may change while a connection is set up or up.
void TForm1::socketConnecting(LinkControls &link)
{
    link.ip->setEnabled(false);
    link.port->setEnabled(false);
    link.rbtnSeriell->setEnabled(false);
}

void TForm1::socketConnected(LinkControls &link)
{
    link.connectButton->setText(QStringLiteral("TCP aktiv"));
    link.socket->SendText(isChassisLink(link) ? "I1\r" : "VER\r");
    if (isChassisLink(link))
        switchChassis(true);
}

// Also when the far end ended the connection: the link is free again, and a
// chassis must not stay active on a dead link.
void TForm1::socketDisconnected(LinkControls &link)
{
    showTcpIdle(link);
    if (link.linkBusy) {
        link.linkBusy = false;
        followBusyFlag(link);
    }
}

// A failed attempt frees the link as well, so link 1's channel lists come back.
void TForm1::socketError(LinkControls &link, int &errorCode)
{
    link.linkBusy = false;
    if (isChassisLink(link))
        switchChassis(false);
    msg::show(msg::Kind::Error, msg::Buttons::Ok,
              "Die Verbindung konnte nicht hergestellt werden!\nPrüfen Sie die Netzwerkeinstellungen und das WiPort!");
    errorCode = 0;
    showTcpIdle(link);
    if (!isChassisLink(link))
        followBusyFlag(link);
}

void TForm1::socketRead(LinkControls &link)
{
    ++link.readCount;
    const std::string text = link.socket->ReceiveText();
    toolkit::appendLineToLog(*ui->Memo1, QStringLiteral("%1 Client %2: Daten empfangen").arg(link.readCount).arg(link.number));
    toolkit::appendLineToLog(*ui->Memo1, toolkit::fromBytes(text));
    toolkit::appendLineToLog(*link.receiveMemo, toolkit::fromBytes(text));
    passOnReceived(link, text);
}

// Recognised only as one whole block or read.
void TForm1::identifyArm(const std::string &text)
{
    if (text == kArmVersionReply)
        msg::show(msg::Kind::Plain, msg::Buttons::Ok, "Lynxmotion SSC32 am WiPort gefunden!");
}
