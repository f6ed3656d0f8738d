#pragma once
// The main window: it builds each subsystem's panel from its part of the form
// (each panel wires its own controls), wires the panels to each other in one
// place, and runs the start-up, close and menu handlers that are the window's own.
#include "settings/program_location.h"

#include <QMainWindow>
#include <array>
#include <memory>

class QPrinter;
namespace Ui {
class TForm1;
}
namespace arm {
class Arm;
class ArmPanel;
class ArmSetupWindow;
class KinematicsWindow;
class MoveExecutor;
class ServoTimer;
} // namespace arm
namespace drive {
class DriveCommand;
class DrivePanel;
class DriveSetupWindow;
class Fahrwerk;
class ManualDrive;
} // namespace drive
namespace comm {
class Connection;
class ConnectionSearchWindow;
class DebugLog;
class LinkPanel;
class PortListWatch;
class TSetupForm1;
class TSetupForm2;
} // namespace comm
namespace platform {
class GameController;
}
namespace remote {
class ModelConsole;
class RemoteSetupWindow;
class Server;
} // namespace remote
namespace sequence {
class MotionSet;
class PlayerWindow;
class SequenceEditor;
} // namespace sequence
namespace settings {
class SettingsStore;
struct Settings;
struct SettingsRead;
} // namespace settings
namespace toolkit {
class CompanionWindows;
}
namespace telemetry {
class TelemetryPanel;
class TelemetryRecord;
class TelemetryStream;
class TelemetryWindow;
} // namespace telemetry
namespace views {
class TInfoForm1;
class WebcamPanel;
} // namespace views

namespace app {

class KinematicsPad;
class LanguageMenu;
class PlayerConsole;

class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    // programDir is where RFS/ lies (see settings/program_location.h).
    explicit TForm1(const QString &programDir, QWidget *parent = nullptr);
    ~TForm1() override;

    // The info and setup windows, made after the main window; their menu items
    // show them from now on.
    void attachCompanionWindows(views::TInfoForm1 &info, comm::TSetupForm1 &setupArm, comm::TSetupForm2 &setupChassis);
    // Where RFS/ and the files in it are looked up.
    const settings::ProgramLocation &files() const { return programFiles; }
    // The chassis' state, for whatever drives it or watches it besides the
    // window's own controls.
    drive::DriveCommand &driveCommand();
    const drive::Fahrwerk &fahrwerk() const;
    telemetry::TelemetryStream &telemetryStream();
    // The arm and the motion set, for whatever reads or changes them besides the
    // window's own controls.
    arm::Arm &arm();
    sequence::MotionSet &motionSet();
    // Moves of the gripper in millimetres, as the window "Kinematik" makes them.
    arm::MoveExecutor &moveExecutor();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void FormResize();
    void FormClose();
    void Einstellungenspeichern1Click();
    void letzteEinstellungenladen1Click();
    void Beenden1Click();
    void starten1Click();
    void laden1Click();
    void erstellen1Click();
    void speichern1Click();
    void speichernunter1Click();
    void Druckereinrichten1Click();
    void drucken1Click();
    void Telemetrie1Click();
    void RoboterArm1Click();
    void RoboterFahrwerk1Click();
    void Steuerung1Click();
    void Arm1Click();
    void Kinematik1Click();
    void Verbindungsuchen1Click();
    void Fernsteuerung1Click();
    void Info1Click();

    void setupModels();
    void setupCompanionWindows();
    void setupLinks();
    void setupConnectionSearch();
    void setupArm();
    void setupChassis();
    void setupTelemetry();
    void setupManualDrive();
    void setupSequenceEditor();
    void setupPlayer();
    void setupKinematics();
    void setupRemote();
    void setupWebcam();
    void setupSettings();
    void setupMenu();
    void wirePanels();
    // The chassis group and its gauges; off, the gauges go back to empty.
    void setFahrwerkEnabled(bool enabled);
    // On: the controls first, then the chassis model; off: the model first.
    void switchChassis(bool on);
    settings::Settings gatherSettings() const;
    void applySettings(const settings::SettingsRead &read);
    QPrinter &motionSetPrinter();

    std::unique_ptr<Ui::TForm1> ui;
    settings::ProgramLocation programFiles;
    // The window starts out filling the screen; its first resize makes it an ordinary window.
    bool fillsScreen = true;
    // Models first: the panels refer to them until they are gone.
    std::unique_ptr<arm::Arm> armModel;
    std::unique_ptr<sequence::MotionSet> motionSetModel;
    std::unique_ptr<drive::Fahrwerk> fahrwerkModel;
    std::unique_ptr<drive::DriveCommand> driveCommandModel;
    std::unique_ptr<telemetry::TelemetryStream> telemetryStreamModel;
    // The windows beside the main window that stay above it.
    std::unique_ptr<toolkit::CompanionWindows> companionWindows;
    std::unique_ptr<comm::DebugLog> debugLog;
    std::array<std::unique_ptr<comm::Connection>, 2> connections;
    std::array<std::unique_ptr<comm::LinkPanel>, 2> linkPanels;
    std::unique_ptr<comm::PortListWatch> portListWatch;
    std::unique_ptr<comm::ConnectionSearchWindow> connectionSearchWindow;
    std::unique_ptr<arm::ArmPanel> armPanel;
    std::unique_ptr<arm::ServoTimer> servoTimer;
    std::unique_ptr<telemetry::TelemetryPanel> telemetryPanel;
    std::unique_ptr<drive::DrivePanel> drivePanel;
    // The record outlives its window.
    std::unique_ptr<telemetry::TelemetryRecord> telemetryRecord;
    std::unique_ptr<telemetry::TelemetryWindow> telemetryWindow;
    std::unique_ptr<platform::GameController> gameController;
    std::unique_ptr<drive::ManualDrive> manualDrive;
    std::unique_ptr<drive::DriveSetupWindow> driveSetupWindow;
    std::unique_ptr<sequence::SequenceEditor> sequenceEditor;
    std::unique_ptr<PlayerConsole> playerConsole;
    std::unique_ptr<sequence::PlayerWindow> playerWindow;
    std::unique_ptr<arm::MoveExecutor> moveExecutorModel;
    std::unique_ptr<arm::ArmSetupWindow> armSetupWindow;
    // No parent, as the telemetry window.
    std::unique_ptr<arm::KinematicsWindow> kinematicsWindow;
    std::unique_ptr<KinematicsPad> kinematicsPad;
    // Made when first asked for: its page set-up holds from one print to the next.
    std::unique_ptr<QPrinter> printer;
    std::unique_ptr<views::WebcamPanel> webcamPanel;
    std::unique_ptr<settings::SettingsStore> settingsStore;
    std::unique_ptr<LanguageMenu> languageMenu;
    // Last, so that they go first: programs lose the console before its models go.
    std::unique_ptr<remote::ModelConsole> remoteConsole;
    std::unique_ptr<remote::Server> remoteServer;
    std::unique_ptr<remote::RemoteSetupWindow> remoteSetupWindow;
    views::TInfoForm1 *infoForm = nullptr;
    comm::TSetupForm1 *setupFormArm = nullptr;
    comm::TSetupForm2 *setupFormChassis = nullptr;
};

} // namespace app
