// velmora-sim: plays the robot (SSC-32 arm controller and chassis board) for the console.
#include "robot_simulator.h"
#include "sim_options.h"

#include <QApplication>
#include <QCoreApplication>

#include <iostream>
#include <memory>

int main(int argc, char *argv[])
{
    std::unique_ptr<QCoreApplication> app;
    if (windowRequested(argc, argv))
        app = std::make_unique<QApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("velmora-sim"));

    RobotSimulator simulator(parseSimOptions(*app));
    QString error;
    if (!simulator.start(&error)) {
        std::cerr << "velmora-sim: " << error.toStdString() << std::endl;
        return 1;
    }
    return app->exec();
}
