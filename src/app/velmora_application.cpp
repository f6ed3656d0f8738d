#include "app/velmora_application.h"

#include "toolkit/message_sink.h"

#include <QIcon>
#include <exception>

namespace app {

namespace msg = toolkit::msg;

VelmoraApplication::VelmoraApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    // The application's title: message boxes carry it. (A display name would be
    // appended to every window's caption instead.)
    setApplicationName(QStringLiteral("Velmora Projekt"));
    setWindowIcon(QIcon(QStringLiteral(":/images/velmora.png")));
    // Ties the windows to the installed launcher and its icon (Wayland goes by it).
    setDesktopFileName(QStringLiteral(VELMORA_APP_ID));
}

bool VelmoraApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        msg::show(msg::Kind::Error, msg::Buttons::Ok, platform::UiText::verbatim(error.what()));
    } catch (...) {
        msg::show(msg::Kind::Error, msg::Buttons::Ok, platform::UiText());
    }
    return false;
}

} // namespace app
