#include "app/tform1.h"

#include "comm/tcomm_thread.h"
#include "toolkit/client_socket.h"

#include <QLineEdit>
#include <QPlainTextEdit>

#include "ui_tform1.h"

// The debug memo shows the carriage return that goes out as the text "<cr>".
void TForm1::logCommand(const std::string &command)
{
    ui->Memo1->appendPlainText(QString::fromLatin1(command.c_str()) + QStringLiteral("<cr>"));
}

// Both paths are tried; the panel keeps at most one of them up. The command stays
// in the transmit edit while the serial path does not take it.
void TForm1::sendOnLink(LinkControls &link, const std::string &command)
{
    const std::string line = command + '\r';
    link.transmitEdit->setText(QString::fromLatin1(line.c_str()));
    // A tick during start-up can come before the serial workers exist.
    if (link.thread && link.thread->WriteText(link.transmitEdit->text().toLatin1().toStdString()))
        link.transmitEdit->clear();
    if (link.socket->Active())
        link.socket->SendText(line);
}
