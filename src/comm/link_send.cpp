#include "app/tform1.h"

#include <QLineEdit>
#include <QPlainTextEdit>

#include "ui_tform1.h"

// The debug memo shows the carriage return that goes out as the text "<cr>".
void TForm1::logCommand(const std::string &command)
{
    ui->Memo1->appendPlainText(QString::fromLatin1(command.c_str()) + QStringLiteral("<cr>"));
}

// The command with its carriage return is staged in the link's transmit edit,
// where it stays visible while no path of the link takes it.
void TForm1::sendOnLink(LinkControls &link, const std::string &command)
{
    link.transmitEdit->setText(QString::fromLatin1((command + '\r').c_str()));
}
