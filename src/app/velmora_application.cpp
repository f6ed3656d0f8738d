#include "app/velmora_application.h"

#include "app/message_sink.h"

#include <QIcon>
#include <exception>

VelmoraApplication::VelmoraApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("velmora"));
    setApplicationDisplayName(QStringLiteral("Velmora Projekt"));
    setWindowIcon(QIcon(QStringLiteral(":/images/velmora.png")));
}

bool VelmoraApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        msg::show(msg::Kind::Error, msg::Buttons::Ok, error.what());
    }
    return false;
}
