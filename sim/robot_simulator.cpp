#include "robot_simulator.h"

#include "sim_report.h"
#include "sim_window.h"

#include <iostream>

namespace sim {

namespace {

// Fine enough for the 600 ms watchdog and smooth joint movement in the window.
constexpr int kTickMs = 20;
constexpr int kStatusMs = 1000;

} // namespace

RobotSimulator::RobotSimulator(const SimOptions &options)
    : options(options),
      armShape(options.armProfile, options.jointChannels),
      armLink("arm",
              [this](const std::string &line) {
                  advanceToNow();
                  return arm.handleLine(line);
              },
              log),
      chassisLink("chassis",
                  [this](const std::string &line) {
                      advanceToNow();
                      return chassis.handleLine(line);
                  },
                  log)
{
    arm.setMoveStatusIgnored(options.ignoreMoveStatus);
    clock.start();
    tickTimer.setTimerType(Qt::PreciseTimer);
    connect(&tickTimer, &QTimer::timeout, this, &RobotSimulator::tick);
    connect(&statusTimer, &QTimer::timeout, this, &RobotSimulator::printStatus);
}

RobotSimulator::~RobotSimulator() = default;

bool RobotSimulator::start(QString *error)
{
    if (!options.logPath.isEmpty() && !log.open(options.logPath, error))
        return false;
    if (!openLink(armLink, options.armPort, error) || !openLink(chassisLink, options.chassisPort, error))
        return false;
    std::cout << "ready" << std::endl;

    if (options.window) {
        window = std::make_unique<SimWindow>(arm, armShape, chassis);
        window->show();
    }
    tickTimer.start(kTickMs);
    statusTimer.start(kStatusMs);
    return true;
}

// Prints e.g. "arm-tcp 127.0.0.1:10001" and "arm-pty /dev/pts/5" (or the link to
// it) for scripts to read.
bool RobotSimulator::openLink(DeviceLink &link, quint16 port, QString *error)
{
    if (!link.listen(options.bindAddress, port, error))
        return false;
    std::cout << link.name() << "-tcp " << link.tcpEndpoint().toStdString() << std::endl;
    if (options.pty) {
        const QString linkPath = options.ptyLinkPrefix.isEmpty()
                                     ? QString()
                                     : options.ptyLinkPrefix + QLatin1Char('-') + QString::fromStdString(link.name());
        if (!link.openPty(error, linkPath))
            return false;
        std::cout << link.name() << "-pty " << link.ptyPath().toStdString() << std::endl;
    }
    return true;
}

void RobotSimulator::tick()
{
    advanceToNow();
    if (window)
        window->update();
}

// Moves both models by the time really elapsed, so late timer ticks do not slow
// the robot down. Called before every received line as well: a command then acts
// and a query answers at the moment it arrives, and a stalled event loop cannot
// let the watchdog stop a track command that came in during the stall.
void RobotSimulator::advanceToNow()
{
    const qint64 now = clock.elapsed();
    const int elapsedMs = int(now - advancedToMs);
    advancedToMs = now;
    arm.advance(elapsedMs);
    chassis.advance(elapsedMs);
}

void RobotSimulator::printStatus()
{
    std::cout << statusLine(clock.elapsed(), arm, armShape, chassis) << std::endl;
}

} // namespace sim
