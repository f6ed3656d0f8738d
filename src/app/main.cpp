#include "app/app_windows.h"
#include "toolkit/message_sink.h"
#include "app/tform1.h"
#include "app/velmora_application.h"

#include <exception>

int main(int argc, char *argv[])
{
    // The embedded browser shares GL contexts with the widgets; this must precede the application object.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    VelmoraApplication app(argc, argv);
    try {
        AppWindows windows = createAppWindows();
        windows.form1->showMaximized();
        app.exec();
    } catch (const std::exception &error) {
        msg::show(msg::Kind::Error, msg::Buttons::Ok, error.what());
    } catch (...) {
        msg::show(msg::Kind::Error, msg::Buttons::Ok, std::string());
    }
    return 0;
}
