#pragma once
// The simulator's command line.
#include "arm/arm_profile.h"

#include <QHostAddress>
#include <QString>

#include <array>

class QCoreApplication;

namespace sim {

struct SimOptions {
    QHostAddress bindAddress{QHostAddress::LocalHost};
    quint16 armPort = 10001;
    quint16 chassisPort = 10002;
    bool pty = false;
    QString ptyLinkPrefix; // PREFIX-arm, PREFIX-chassis
    bool window = false;
    bool ignoreMoveStatus = false;
    QString logPath;
    // SSC-32 channels of Basis, Schulter, Ellenbogen, Handgelenk and Greifer, for the window.
    std::array<int, 5> jointChannels{16, 17, 18, 19, 20};
    // How the window draws the arm and where the status line puts its tip.
    arm::ArmProfile armProfile;
};

// The window needs a QApplication, so this is known before any application object exists.
bool windowRequested(int argc, char *argv[]);

// Prints help or an error and ends the process like any command-line tool would.
SimOptions parseSimOptions(const QCoreApplication &app);

} // namespace sim
