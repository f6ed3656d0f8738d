#pragma once
// The whole simulated robot: both device models behind their links, the clock
// that moves them, the status line, the receive log and the optional window.
#include "arm_shape.h"
#include "chassis_model.h"
#include "device_link.h"
#include "receive_log.h"
#include "sim_options.h"
#include "ssc32_model.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <memory>

namespace sim {

class SimWindow;

class RobotSimulator : public QObject {
public:
    explicit RobotSimulator(const SimOptions &options);
    ~RobotSimulator() override;

    // Opens the links and prints their endpoints; false with a reason when one fails.
    bool start(QString *error);

private:
    bool openLink(DeviceLink &link, quint16 port, QString *error);
    void tick();
    void advanceToNow();
    void printStatus();

    SimOptions options;
    QElapsedTimer clock;
    qint64 advancedToMs = 0;
    Ssc32Model arm;
    ArmShape armShape;
    ChassisModel chassis;
    ReceiveLog log{clock};
    DeviceLink armLink;
    DeviceLink chassisLink;
    QTimer tickTimer;
    QTimer statusTimer;
    std::unique_ptr<SimWindow> window;
};

} // namespace sim
