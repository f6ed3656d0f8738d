#pragma once
// The main window: a switchboard of panels. It builds each subsystem's panel from
// its part of the form, wires them to each other and to the controls in one place
// (tform1.cpp), and runs the start-up and close orders. The specified handler
// names stay here as one-line delegates to the panels (tform1_handlers.cpp).
#include "arm/arm_command_cycle.h"

#include <QMainWindow>
#include <array>
#include <memory>
#include <string>

namespace Ui {
class TForm1;
}
namespace arm {
class ArmCycle;
class JointPanel;
} // namespace arm
namespace chassis {
class DrivePanel;
class TelemetryPanel;
} // namespace chassis
namespace comm {
class DebugLog;
class LinkPanel;
} // namespace comm
namespace sequence {
class SequenceEditor;
}
namespace settings {
class SettingsStore;
struct Settings;
struct SettingsRead;
} // namespace settings
namespace views {
class WebcamPanel;
}
class Fahrwerk;
class QtHandOver;
class Servo;
class TInfoForm1;
class TSetupForm1;
class TSetupForm2;

// The models the window owns, reachable program-wide while it exists.
extern Servo *servo1;
extern Servo *servo2;
extern Servo *servo3;
extern Servo *servo4;
extern Servo *servo5;
extern Fahrwerk *fahrwerk;

class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    // An empty programDir means the executable's directory.
    explicit TForm1(const QString &programDir = QString(), QWidget *parent = nullptr);
    ~TForm1() override;

    void setCompanionWindows(TInfoForm1 *info, TSetupForm1 *setupArm, TSetupForm2 *setupChassis);
    // Where RFS/ and info.htm are looked up, with a trailing separator.
    QString programDir() const { return programDirectory; }

    // Application shell
    void FormCreate();
    void FormResize();
    void FormClose();
    void Beenden1Click();
    void Info1Click();
    void RoboterArm1Click();
    void RoboterFahrwerk1Click();

    // Arm command cycle: arm::ArmCycle
    void ServoTimer1Timer();

    // Joint panels: arm::JointPanel, one per joint
    void ShowServoSettings();
    void cbxKanalServo1Change();
    void cbxKanalServo2Change();
    void cbxKanalServo3Change();
    void cbxKanalServo4Change();
    void cbxKanalServo5Change();
    void cbxSpeed1Change();
    void cbxSpeed2Change();
    void cbxSpeed3Change();
    void cbxSpeed4Change();
    void cbxSpeed5Change();
    void udMin1Click();
    void udMin2Click();
    void udMin3Click();
    void udMin4Click();
    void udMin5Click();
    void udMax1Click();
    void udMax2Click();
    void udMax3Click();
    void udMax4Click();
    void udMax5Click();
    void trbServo1Change();
    void trbServo2Change();
    void trbServo3Change();
    void trbServo4Change();
    void trbServo5Change();
    void udPos1Click();
    void udPos2Click();
    void udPos3Click();
    void udPos4Click();
    void udPos5Click();
    void btnArmParkPosClick();
    void btnArmMitteClick();

    // Sequence editor: sequence::SequenceEditor
    void btnSeqNeuClick();
    void btnSeqOpenClick();
    void btnSeqCloseClick();
    void btnSeqAddClick();
    void btnSeqDelClick();
    void btnSeqForwClick();
    void btnSeqRewClick();
    void ListBox1Click();

    // Settings: settings::SettingsStore
    void SaveSettings();
    void LoadSettings();
    void Einstellungenspeichern1Click();
    void letzteEinstellungenladen1Click();

    // Webcam view: views::WebcamPanel
    void edtWebCamIP1Change();
    void edtWebCamIP2Change();
    void edtWebCamIP3Change();
    void edtWebCamIP4Change();
    void btnWebCamConnectClick();

    // Link panels: comm::LinkPanel, one per link
    void InitLinks();
    void FillDeviceNames1();
    void FillDeviceNames2();
    void RefreshSerialBoxes1();
    void RefreshSerialBoxes2();
    void OnReceive1(std::string block);
    void OnReceive2(std::string block);
    void rbtnSeriell1Click();
    void rbtnSeriell2Click();
    void rbtnTCP1Click();
    void rbtnTCP2Click();
    void cbxDeviceName1Change();
    void cbxDeviceName2Change();
    void cbxBaudRate1Change();
    void cbxBaudRate2Change();
    void cbxByteSize1Change();
    void cbxByteSize2Change();
    void cbxParity1Change();
    void cbxParity2Change();
    void cbxStopBits1Change();
    void cbxStopBits2Change();
    void btnConnect1Click();
    void btnConnect2Click();
    void btnTransmit1Click();
    void btnTransmit2Click();
    void Transmit_EditKeyDown(int key);
    void Transmit_Edit2KeyDown(int key);
    void Transmit_EditEnter();
    void Transmit_Edit2Enter();

    // TCP link: comm::LinkPanel, one per link
    void ClientSocket1Connecting();
    void ClientSocket2Connecting();
    void ClientSocket1Connect();
    void ClientSocket2Connect();
    void ClientSocket1Disconnect();
    void ClientSocket2Disconnect();
    void ClientSocket1Read();
    void ClientSocket2Read();
    void ClientSocket1Error(int &errorCode);
    void ClientSocket2Error(int &errorCode);

    // Drive controls and chassis timer: chassis::DrivePanel
    void setFahrwerkEnabled(bool enabled);
    void btnVorClick();
    void btnVorMouseDown();
    void btnRueckClick();
    void btnRueckMouseDown();
    void btnStopClick();
    void btnWende_LClick();
    void btnWende_RClick();
    void btnHupeMouseDown();
    void btnHupeMouseUp();
    void btnWarnblinkClick();
    void btnLinksMouseDown();
    void btnLinksMouseUp();
    void btnRechtsMouseDown();
    void btnRechtsMouseUp();
    void trbLenkChange();
    void trbSpeedChange();
    void KettenTimer1Timer();

    // Chassis telemetry: chassis::TelemetryPanel
    void parseFahrwerkAntwort(const std::string &text);
    void edtAbstandChange();
    void edtBatterieChange();
    void edtTemperaturChange();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createModels();
    void createPanels();
    void connectArm();
    void connectLinks();
    void connectChassis();
    void connectSequenceEditor();
    void connectWebcam();
    void connectMenu();
    void startTimers();
    settings::Settings gatherSettings() const;
    void applySettings(const settings::SettingsRead &read);

    std::unique_ptr<Ui::TForm1> ui;
    QString programDirectory;
    // The window starts out filling the screen; its first resize makes it an ordinary window.
    bool fillsScreen = true;
    // Models first: the panels refer to them until they are gone.
    std::array<std::unique_ptr<Servo>, ArmCommandCycle::kJoints> servoModels;
    std::unique_ptr<Fahrwerk> fahrwerkModel;
    // Before the link panels: their workers hand blocks over through it until they end.
    std::unique_ptr<QtHandOver> handOver;
    std::unique_ptr<comm::DebugLog> debugLog;
    std::array<std::unique_ptr<comm::LinkPanel>, 2> linkPanels;
    std::array<std::unique_ptr<arm::JointPanel>, ArmCommandCycle::kJoints> jointPanels;
    std::unique_ptr<arm::ArmCycle> armCycle;
    std::unique_ptr<chassis::TelemetryPanel> telemetryPanel;
    std::unique_ptr<chassis::DrivePanel> drivePanel;
    std::unique_ptr<sequence::SequenceEditor> sequenceEditor;
    std::unique_ptr<views::WebcamPanel> webcamPanel;
    std::unique_ptr<settings::SettingsStore> settingsStore;
    TInfoForm1 *infoForm = nullptr;
    TSetupForm1 *setupFormArm = nullptr;
    TSetupForm2 *setupFormChassis = nullptr;
};
