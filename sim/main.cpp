// velmora-sim: plays the robot (SSC-32 arm controller and chassis board) for the console.
#include "robot_simulator.h"
#include "sim_options.h"

#include <QApplication>
#include <QCoreApplication>

#include <iostream>
#include <memory>

namespace {

// Without any of these Qt finds no display and aborts with a message about plugins.
bool displayAvailable()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char *argv[])
{
    std::unique_ptr<QCoreApplication> app;
    if (sim::windowRequested(argc, argv)) {
        if (!displayAvailable()) {
            std::cerr << "velmora-sim: --window needs a display: set DISPLAY or WAYLAND_DISPLAY "
                         "(or QT_QPA_PLATFORM=offscreen), or leave out --window"
                      << std::endl;
            return 2;
        }
        app = std::make_unique<QApplication>(argc, argv);
        // The window only shows the robot; closing it must not take the links down.
        QApplication::setQuitOnLastWindowClosed(false);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("velmora-sim"));

    sim::RobotSimulator simulator(sim::parseSimOptions(*app));
    QString error;
    if (!simulator.start(&error)) {
        std::cerr << "velmora-sim: " << error.toStdString() << std::endl;
        return 1;
    }
    return app->exec();
}
