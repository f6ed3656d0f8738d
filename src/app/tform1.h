#pragma once
// The main window. One class, implemented across the subsystem folders: each block
// of handlers below names the file that defines it. Numbered handlers (five joints,
// two links) are one-line delegates into one shared implementation.
#include "arm/arm_command_cycle.h"
#include "chassis/telemetry_parser.h"

#include <QMainWindow>
#include <QTimer>
#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace Ui {
class TForm1;
}
class QComboBox;
class QFileDialog;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
namespace toolkit {
class ClientSocket;
class TrackBar;
class UpDown;
} // namespace toolkit
class Fahrwerk;
class QtHandOver;
class Servo;
class TCommThread;
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

// One joint group's controls and the joint's model.
struct JointControls {
    QComboBox *kanal;
    QComboBox *speed;
    QLineEdit *limMin;
    toolkit::UpDown *udMin;
    QLineEdit *limMax;
    toolkit::UpDown *udMax;
    QLineEdit *pos;
    toolkit::UpDown *udPos;
    toolkit::TrackBar *slider;
    Servo *servo;
};

// One link panel's controls and state.
struct LinkControls {
    QRadioButton *rbtnSeriell;
    QRadioButton *rbtnTCP;
    QLineEdit *ip;
    QLineEdit *port;
    QPlainTextEdit *receiveMemo;
    QLineEdit *transmitEdit;
    QPushButton *connectButton;
    QPushButton *transmitButton;
    QComboBox *deviceName;
    QComboBox *baudRate;
    QComboBox *byteSize;
    QComboBox *parity;
    QComboBox *stopBits;
    QLabel *labName;
    QLabel *labBaudRate;
    QLabel *labByteSize;
    QLabel *labParity;
    QLabel *labStopBits;
    int number;
    std::unique_ptr<TCommThread> thread; // created by InitLinks
    toolkit::ClientSocket *socket = nullptr;
    // Set by the connect button when it opens or starts a connection, cleared when the link is free again.
    bool linkBusy = false;
    std::uint32_t readCount = 0;
};

class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    // An empty programDir means the executable's directory.
    explicit TForm1(const QString &programDir = QString(), QWidget *parent = nullptr);
    ~TForm1() override;

    void setCompanionWindows(TInfoForm1 *info, TSetupForm1 *setupArm, TSetupForm2 *setupChassis);
    // Where RFS/ and info.htm are looked up, with a trailing separator.
    QString programDir() const { return programDirectory; }

    // Application shell: src/app/tform1.cpp
    void FormCreate();
    void FormResize();
    void FormClose();
    void Beenden1Click();
    void Info1Click();
    void RoboterArm1Click();
    void RoboterFahrwerk1Click();

    // Arm command cycle: src/arm/arm_cycle_handlers.cpp
    void ServoTimer1Timer();

    // Joint panel: src/arm/joint_panel.cpp
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

    // Sequence editor: src/sequence/sequence_editor.cpp
    void btnSeqNeuClick();
    void btnSeqOpenClick();
    void btnSeqCloseClick();
    void btnSeqAddClick();
    void btnSeqDelClick();
    void btnSeqForwClick();
    void btnSeqRewClick();
    void ListBox1Click();

    // Settings: src/settings/settings_handlers.cpp
    void SaveSettings();
    void LoadSettings();
    void Einstellungenspeichern1Click();
    void letzteEinstellungenladen1Click();

    // Webcam view: src/views/webcam_view.cpp
    void edtWebCamIP1Change();
    void edtWebCamIP2Change();
    void edtWebCamIP3Change();
    void edtWebCamIP4Change();
    void btnWebCamConnectClick();

    // Link panels: src/comm/link_panels.cpp
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

    // TCP link and identification: src/comm/tcp_link.cpp
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

    // Drive controls and chassis timer: src/chassis/drive_controls.cpp
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

    // Chassis telemetry: src/chassis/telemetry_handlers.cpp
    void parseFahrwerkAntwort(const std::string &text);
    void edtAbstandChange();
    void edtBatterieChange();
    void edtTemperaturChange();

protected:
    // Application shell: src/app/tform1.cpp
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

    // Link panels (Enter and focus in the transmit edits): src/comm/link_panels.cpp
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Application shell: src/app/tform1.cpp
    void bindControls();
    void connectMenu();
    void startTimers();

    // Arm command cycle: src/arm/arm_cycle_handlers.cpp
    std::array<Servo *, ArmCommandCycle::kJoints> servos() const;

    // Link send rule: src/comm/link_send.cpp
    void logCommand(const std::string &command);
    void sendOnLink(LinkControls &link, const std::string &command);

    // Link panels: src/comm/link_panels.cpp
    void connectLinkPanels();
    void initLink(LinkControls &link, void (TForm1::*onReceive)(std::string), void (TForm1::*fillDeviceNames)(),
                  void (TForm1::*refreshSerialBoxes)());
    void fillDeviceNames(LinkControls &link);
    void refreshSerialBoxes(LinkControls &link);
    void chooseMode(LinkControls &link, QRadioButton *chosen);
    static std::array<QWidget *, 10> serialControls(const LinkControls &link);
    void changeDeviceName(LinkControls &link);
    void changeBaudRate(LinkControls &link);
    void changeByteSize(LinkControls &link);
    void changeParity(LinkControls &link);
    void changeStopBits(LinkControls &link);
    void connectOrDisconnect(LinkControls &link);
    void toggleSerial(LinkControls &link);
    bool toggleTcp(LinkControls &link);
    void showSerialIdle(LinkControls &link);
    void showTcpIdle(LinkControls &link);
    void setSerialBoxesEnabled(LinkControls &link, bool enabled);
    void followBusyFlag(LinkControls &link);
    bool isChassisLink(const LinkControls &link) const;
    void switchChassis(bool on);
    void serialLost(LinkControls &link);
    void transmitByHand(LinkControls &link);
    void sendOnEnter(LinkControls &link, int key);
    void receiveSerial(LinkControls &link, const std::string &block);
    void passOnReceived(LinkControls &link, const std::string &text);
    void closeLinks();

    // Drive controls and chassis timer: src/chassis/drive_controls.cpp
    void connectDriveControls();
    void centreSteeringIfDown(QToolButton *button);
    void applyDriveSpeed();

    // Chassis telemetry: src/chassis/telemetry_handlers.cpp
    void connectTelemetry();

    // TCP link and identification: src/comm/tcp_link.cpp
    void socketConnecting(LinkControls &link);
    void socketConnected(LinkControls &link);
    void socketDisconnected(LinkControls &link);
    void socketRead(LinkControls &link);
    void socketError(LinkControls &link, int &errorCode);
    void identifyArm(const std::string &text);

    // Joint panel: src/arm/joint_panel.cpp
    void connectJointPanel();
    void changeChannel(JointControls &joint);
    void changeSpeed(JointControls &joint);
    void stepLowerLimit(JointControls &joint);
    void stepUpperLimit(JointControls &joint);
    void applySliderPosition(JointControls &joint);
    void stepPosition(JointControls &joint);

    // Sequence editor: src/sequence/sequence_editor.cpp
    void connectSequenceEditor();
    void ApplyStep(const std::string &line);
    int currentStep() const;
    void selectStep(int row);
    void refreshStepNumber();
    void startEmptyMotionSet();
    QString fileLabelFor(const QString &path) const;
    QString chooseFile(QFileDialog &dialog);

    // Settings: src/settings/settings_handlers.cpp
    QString settingsFilePath() const;
    void offerToSaveSettings();

    // Webcam view: src/views/webcam_view.cpp
    void connectWebcamView();
    std::array<QLineEdit *, 4> webCamOctetFields() const;
    void checkWebCamOctet(QLineEdit &field);

    std::unique_ptr<Ui::TForm1> ui;
    QString programDirectory;
    // The window starts out filling the screen; its first resize makes it an ordinary window.
    bool fillsScreen = true;
    std::array<std::unique_ptr<Servo>, ArmCommandCycle::kJoints> servoModels;
    std::array<JointControls, ArmCommandCycle::kJoints> joints;
    // Declared before the links: their workers hand blocks over through it until they end.
    std::unique_ptr<QtHandOver> handOver;
    std::array<LinkControls, 2> links;
    std::unique_ptr<Fahrwerk> fahrwerkModel;
    ArmCommandCycle armCycle;
    QTimer ServoTimer1;
    QTimer KettenTimer1;
    chassis::FahrwerkAntwortParser telemetryParser;
    QFileDialog *OpenDialog1 = nullptr;
    QFileDialog *SaveDialog1 = nullptr;
    TInfoForm1 *infoForm = nullptr;
    TSetupForm1 *setupFormArm = nullptr;
    TSetupForm2 *setupFormChassis = nullptr;
};
