#pragma once
// The main window. One class, implemented across the subsystem folders: each block
// of handlers below names the file that defines it. Numbered handlers (five joints,
// two links) are one-line delegates into one shared implementation.
#include "arm/arm_command_cycle.h"

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
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
namespace toolkit {
class TrackBar;
class UpDown;
} // namespace toolkit
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
    QGroupBox *group;
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
    void FormClose();
    void Beenden1Click();
    void Info1Click();
    void RoboterArm1Click();
    void RoboterFahrwerk1Click();

    // Arm command cycle: src/arm/arm_cycle_handlers.cpp
    void ServoTimer1Timer();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void bindControls();
    void connectMenu();
    void startTimers();

    // Arm command cycle: src/arm/arm_cycle_handlers.cpp
    std::array<Servo *, ArmCommandCycle::kJoints> servos() const;

    // Link send rule: src/comm/link_send.cpp
    void logCommand(const std::string &command);
    void sendOnLink(LinkControls &link, const std::string &command);

    std::unique_ptr<Ui::TForm1> ui;
    QString programDirectory;
    std::array<std::unique_ptr<Servo>, ArmCommandCycle::kJoints> servoModels;
    std::array<JointControls, ArmCommandCycle::kJoints> joints;
    std::array<LinkControls, 2> links;
    ArmCommandCycle armCycle;
    QTimer ServoTimer1;
    TInfoForm1 *infoForm = nullptr;
    TSetupForm1 *setupFormArm = nullptr;
    TSetupForm2 *setupFormChassis = nullptr;
};
