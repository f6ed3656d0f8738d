// How every sender puts a command on a link: logged in the debug memo, staged in
// the link's transmit edit, then tried on the serial and the TCP path.
#include "app/tform1.h"

#include "comm/tcomm_thread.h"
#include "toolkit/bounded_log.h"
#include "toolkit/byte_text.h"
#include "toolkit/client_socket.h"

#include <QLineEdit>
#include <QPlainTextEdit>

#include "ui_tform1.h"

// The debug memo shows the carriage return that goes out as the text "<cr>".
void TForm1::logCommand(const std::string &command)
{
    toolkit::appendLineToLog(*ui->Memo1, toolkit::fromBytes(command) + QStringLiteral("<cr>"));
}

// Both paths are tried; the panel keeps at most one of them up. The command stays
// in the transmit edit while the serial path does not take it.
void TForm1::sendOnLink(LinkControls &link, const std::string &command)
{
    const std::string line = command + '\r';
    link.transmitEdit->setText(toolkit::fromBytes(line));
    // A tick during start-up can come before the serial workers exist.
    if (link.thread && link.thread->WriteText(toolkit::toBytes(link.transmitEdit->text())))
        link.transmitEdit->clear();
    if (link.socket->Active())
        link.socket->SendText(line);
}
