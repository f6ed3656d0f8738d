#include "app/app_windows.h"
#include "app/language.h"
#include "app/tform1.h"
#include "app/velmora_application.h"
#include "settings/program_location.h"
#include "toolkit/message_sink.h"

#include <exception>

int main(int argc, char *argv[])
{
    namespace msg = toolkit::msg;
    // The embedded browser shares GL contexts with the widgets; this must precede the application object.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    app::VelmoraApplication application(argc, argv);
    try {
        const settings::ProgramLocation location = settings::locateRunningProgram();
        app::useLanguage(app::languageToRun(application.arguments(), location));
        app::AppWindows windows = app::createAppWindows(location);
        windows.form1->showMaximized();
        application.exec();
    } catch (const std::exception &error) {
        msg::show(msg::Kind::Error, msg::Buttons::Ok, platform::UiText::verbatim(error.what()));
    } catch (...) {
        msg::show(msg::Kind::Error, msg::Buttons::Ok, platform::UiText());
    }
    return 0;
}
