#include "app/tform1.h"

#include "arm/arm_cycle.h"
#include "arm/joint_panel.h"
#include "arm/servo.h"
#include "chassis/drive_panel.h"
#include "chassis/fahrwerk.h"
#include "chassis/telemetry_panel.h"
#include "comm/debug_log.h"
#include "comm/identification.h"
#include "comm/link_panel.h"
#include "comm/qt_hand_over.h"
#include "comm/setup_forms.h"
#include "platform/program_dir.h"
#include "sequence/sequence_editor.h"
#include "settings/settings_store.h"
#include "toolkit/button_hold.h"
#include "toolkit/byte_text.h"
#include "toolkit/client_socket.h"
#include "toolkit/message_box.h"
#include "ui_tform1.h"
#include "views/info_form.h"
#include "views/webcam_panel.h"

#include <QCloseEvent>
#include <QDir>
#include <QScreen>

Servo *servo1 = nullptr;
Servo *servo2 = nullptr;
Servo *servo3 = nullptr;
Servo *servo4 = nullptr;
Servo *servo5 = nullptr;
Fahrwerk *fahrwerk = nullptr;

namespace {

struct JointStart {
    Servo **pointer;
    int kanal;
    int limitMin;
    int limitMax;
};

// Basis, Schulter, Ellenbogen, Handgelenk, Greifer: in force until the settings file is read.
const JointStart kJointStart[] = {
    {&servo1, 16, 751, 2251}, {&servo2, 17, 752, 2252}, {&servo3, 18, 753, 2253},
    {&servo4, 19, 754, 2254}, {&servo5, 20, 1175, 1825},
};

QString withTrailingSeparator(const QString &dir)
{
    return dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
}

template <typename T>
T *control(const QWidget *form, const QString &name)
{
    T *found = form->findChild<T *>(name);
    // A control renamed in the form must not go unnoticed until it is first used.
    if (!found)
        qFatal("TForm1: the form has no control %s", qPrintable(name));
    return found;
}

arm::JointWidgets jointWidgets(const QWidget *form, int joint)
{
    const QString n = QString::number(joint);
    return {
        control<QComboBox>(form, "cbxKanalServo" + n), control<QComboBox>(form, "cbxSpeed" + n),
        control<QLineEdit>(form, "edtLimMin" + n),     control<toolkit::UpDown>(form, "udMin" + n),
        control<QLineEdit>(form, "edtLimMax" + n),     control<toolkit::UpDown>(form, "udMax" + n),
        control<QLineEdit>(form, "edtPos" + n),        control<toolkit::UpDown>(form, "udPos" + n),
        control<toolkit::TrackBar>(form, "trbServo" + n),
    };
}

comm::LinkWidgets linkWidgets(const QWidget *form, int link)
{
    const QString n = QString::number(link);
    // Link 1's memo and edit carry no number, link 2's do.
    const QString suffix = link == 1 ? QString() : n;
    return {
        control<QRadioButton>(form, "rbtnSeriell" + n),
        control<QRadioButton>(form, "rbtnTCP" + n),
        control<QLineEdit>(form, "edtTCP_IP" + n),
        control<QLineEdit>(form, "edtTCP_Port" + n),
        control<QPlainTextEdit>(form, "Receive_Memo" + suffix),
        control<QLineEdit>(form, "Transmit_Edit" + suffix),
        control<QPushButton>(form, "btnConnect" + n),
        control<QPushButton>(form, "btnTransmit" + n),
        control<QComboBox>(form, "cbxDeviceName" + n),
        control<QComboBox>(form, "cbxBaudRate" + n),
        control<QComboBox>(form, "cbxByteSize" + n),
        control<QComboBox>(form, "cbxParity" + n),
        control<QComboBox>(form, "cbxStopBits" + n),
        control<QLabel>(form, "labNameSeriell" + n),
        control<QLabel>(form, "labBaudRateSeriell" + n),
        control<QLabel>(form, "labByteSizeSeriell" + n),
        control<QLabel>(form, "labParity" + n),
        control<QLabel>(form, "labStopBitsSeriell" + n),
    };
}

} // namespace

TForm1::TForm1(const QString &programDir, QWidget *parent)
    : QMainWindow(parent),
      ui(std::make_unique<Ui::TForm1>()),
      programDirectory(programDir.isEmpty() ? platform::executableDirectory() : withTrailingSeparator(programDir))
{
    toolkit::useMessageBoxes();
    ui->setupUi(this);
    createModels();
    createPanels();
    connectArm();
    connectLinks();
    connectChassis();
    connectSequenceEditor();
    connectWebcam();
    connectMenu();
    startTimers();
    FormCreate();
}

TForm1::~TForm1()
{
    for (auto &link : linkPanels)
        link->detach();
    for (const JointStart &start : kJointStart)
        *start.pointer = nullptr;
    fahrwerk = nullptr;
}

void TForm1::setCompanionWindows(TInfoForm1 *info, TSetupForm1 *setupArm, TSetupForm2 *setupChassis)
{
    infoForm = info;
    setupFormArm = setupArm;
    setupFormChassis = setupChassis;
}

void TForm1::createModels()
{
    for (int i = 0; i < ArmCommandCycle::kJoints; ++i) {
        const JointStart &start = kJointStart[i];
        servoModels[i] = std::make_unique<Servo>(start.kanal, start.limitMin, start.limitMax);
        *start.pointer = servoModels[i].get();
    }
    fahrwerkModel = std::make_unique<Fahrwerk>();
    fahrwerk = fahrwerkModel.get();
}

// Each panel gets its widgets, its model and its collaborators, nothing more.
void TForm1::createPanels()
{
    handOver = std::make_unique<QtHandOver>();
    debugLog = std::make_unique<comm::DebugLog>(*ui->Memo1);
    const std::string probes[] = {comm::kArmProbe, comm::kChassisProbe};
    for (int i = 0; i < 2; ++i)
        linkPanels[i] = std::make_unique<comm::LinkPanel>(i + 1, probes[i], linkWidgets(this, i + 1), *handOver,
                                                          *debugLog, this);

    std::array<Servo *, ArmCommandCycle::kJoints> servos{};
    sequence::Joints joints{};
    for (int i = 0; i < ArmCommandCycle::kJoints; ++i) {
        servos[i] = servoModels[i].get();
        jointPanels[i] = std::make_unique<arm::JointPanel>(jointWidgets(this, i + 1), *servos[i],
                                                           arm::kParkPositions[i], this);
        joints[i] = jointPanels[i].get();
    }
    for (auto &joint : jointPanels) {
        std::vector<const arm::JointPanel *> others;
        for (const auto &other : jointPanels) {
            if (other != joint)
                others.push_back(other.get());
        }
        joint->setNeighbours(others);
    }
    armCycle = std::make_unique<arm::ArmCycle>(servos, *linkPanels[0], this);

    telemetryPanel = std::make_unique<chassis::TelemetryPanel>(
        chassis::TelemetryWidgets{ui->edtAbstand, ui->edtBatterie, ui->edtTemperatur, ui->cgDist, ui->cgBat,
                                  ui->cgTemp},
        this);
    drivePanel = std::make_unique<chassis::DrivePanel>(
        chassis::DriveWidgets{ui->gbxFahrwerk, ui->btnVor, ui->btnRueck, ui->btnStop, ui->btnLinks, ui->btnRechts,
                              ui->btnWende_L, ui->btnWende_R, ui->btnHupe, ui->btnWarnblink, ui->trbLenk,
                              ui->trbSpeed},
        *fahrwerkModel, *telemetryPanel, *linkPanels[1], this);

    sequenceEditor = std::make_unique<sequence::SequenceEditor>(
        sequence::SequenceWidgets{ui->ListBox1, ui->edtSchritt, ui->labSeqDatei, ui->btnSeqNeu, ui->btnSeqOpen,
                                  ui->btnSeqRew, ui->btnSeqForw, ui->btnSeqClose, ui->btnSeqAdd, ui->btnSeqDel},
        joints, this, programDirectory);
    webcamPanel = std::make_unique<views::WebcamPanel>(
        views::WebcamWidgets{{ui->edtWebCamIP1, ui->edtWebCamIP2, ui->edtWebCamIP3, ui->edtWebCamIP4},
                             ui->CppWebBrowser1},
        this);
    settingsStore = std::make_unique<settings::SettingsStore>(
        toolkit::filePathBytes(QDir::toNativeSeparators(programDirectory + QStringLiteral("RFS/STARTW2.stw"))),
        [this] { return gatherSettings(); }, [this](const settings::SettingsRead &read) { applySettings(read); });
}

void TForm1::connectArm()
{
    using Handler = void (TForm1::*)();
    const struct {
        Handler kanal, speed, udMin, udMax, slider, udPos;
    } handlers[] = {
        {&TForm1::cbxKanalServo1Change, &TForm1::cbxSpeed1Change, &TForm1::udMin1Click, &TForm1::udMax1Click,
         &TForm1::trbServo1Change, &TForm1::udPos1Click},
        {&TForm1::cbxKanalServo2Change, &TForm1::cbxSpeed2Change, &TForm1::udMin2Click, &TForm1::udMax2Click,
         &TForm1::trbServo2Change, &TForm1::udPos2Click},
        {&TForm1::cbxKanalServo3Change, &TForm1::cbxSpeed3Change, &TForm1::udMin3Click, &TForm1::udMax3Click,
         &TForm1::trbServo3Change, &TForm1::udPos3Click},
        {&TForm1::cbxKanalServo4Change, &TForm1::cbxSpeed4Change, &TForm1::udMin4Click, &TForm1::udMax4Click,
         &TForm1::trbServo4Change, &TForm1::udPos4Click},
        {&TForm1::cbxKanalServo5Change, &TForm1::cbxSpeed5Change, &TForm1::udMin5Click, &TForm1::udMax5Click,
         &TForm1::trbServo5Change, &TForm1::udPos5Click},
    };
    static_assert(std::size(handlers) == ArmCommandCycle::kJoints);
    for (int i = 0; i < ArmCommandCycle::kJoints; ++i) {
        const arm::JointWidgets &joint = jointPanels[i]->controls();
        // activated, not currentIndexChanged: only the operator's choice may run the
        // handlers, never a selection made by code (start-up, a replayed step).
        connect(joint.kanal, &QComboBox::activated, this, handlers[i].kanal);
        connect(joint.speed, &QComboBox::activated, this, handlers[i].speed);
        connect(joint.udMin, &toolkit::UpDown::clicked, this, handlers[i].udMin);
        connect(joint.udMax, &toolkit::UpDown::clicked, this, handlers[i].udMax);
        connect(joint.slider, &QSlider::valueChanged, this, handlers[i].slider);
        connect(joint.udPos, &toolkit::UpDown::clicked, this, handlers[i].udPos);
    }
    connect(ui->btnArmParkPos, &QPushButton::clicked, this, &TForm1::btnArmParkPosClick);
    connect(ui->btnArmMitte, &QPushButton::clicked, this, &TForm1::btnArmMitteClick);
    connect(&armCycle->timer(), &QTimer::timeout, this, &TForm1::ServoTimer1Timer);
}

void TForm1::connectLinks()
{
    using Handler = void (TForm1::*)();
    const struct {
        Handler seriell, tcp, deviceName, baudRate, byteSize, parity, stopBits, connectButton, transmit;
        void (TForm1::*keyDown)(int);
        Handler enter, socketConnecting, socketConnect, socketDisconnect, socketRead;
        void (TForm1::*socketError)(int &);
    } handlers[] = {
        {&TForm1::rbtnSeriell1Click, &TForm1::rbtnTCP1Click, &TForm1::cbxDeviceName1Change,
         &TForm1::cbxBaudRate1Change, &TForm1::cbxByteSize1Change, &TForm1::cbxParity1Change,
         &TForm1::cbxStopBits1Change, &TForm1::btnConnect1Click, &TForm1::btnTransmit1Click,
         &TForm1::Transmit_EditKeyDown, &TForm1::Transmit_EditEnter, &TForm1::ClientSocket1Connecting,
         &TForm1::ClientSocket1Connect, &TForm1::ClientSocket1Disconnect, &TForm1::ClientSocket1Read,
         &TForm1::ClientSocket1Error},
        {&TForm1::rbtnSeriell2Click, &TForm1::rbtnTCP2Click, &TForm1::cbxDeviceName2Change,
         &TForm1::cbxBaudRate2Change, &TForm1::cbxByteSize2Change, &TForm1::cbxParity2Change,
         &TForm1::cbxStopBits2Change, &TForm1::btnConnect2Click, &TForm1::btnTransmit2Click,
         &TForm1::Transmit_Edit2KeyDown, &TForm1::Transmit_Edit2Enter, &TForm1::ClientSocket2Connecting,
         &TForm1::ClientSocket2Connect, &TForm1::ClientSocket2Disconnect, &TForm1::ClientSocket2Read,
         &TForm1::ClientSocket2Error},
    };
    for (int i = 0; i < 2; ++i) {
        comm::LinkPanel *panel = linkPanels[i].get();
        const comm::LinkWidgets &link = panel->controls();
        toolkit::ClientSocket *socket = &panel->socket();
        const auto &h = handlers[i];
        connect(link.rbtnSeriell, &QRadioButton::toggled, this, h.seriell);
        connect(link.rbtnTCP, &QRadioButton::toggled, this, h.tcp);
        connect(link.deviceName, &QComboBox::editTextChanged, this, h.deviceName);
        connect(link.baudRate, &QComboBox::editTextChanged, this, h.baudRate);
        connect(link.byteSize, &QComboBox::editTextChanged, this, h.byteSize);
        connect(link.parity, &QComboBox::editTextChanged, this, h.parity);
        connect(link.stopBits, &QComboBox::editTextChanged, this, h.stopBits);
        connect(link.connectButton, &QPushButton::clicked, this, h.connectButton);
        connect(link.transmitButton, &QPushButton::clicked, this, h.transmit);
        connect(panel, &comm::LinkPanel::transmitKeyPressed, this, h.keyDown);
        connect(panel, &comm::LinkPanel::transmitEditEntered, this, h.enter);
        connect(socket, &toolkit::ClientSocket::connecting, this, h.socketConnecting);
        connect(socket, &toolkit::ClientSocket::connected, this, h.socketConnect);
        connect(socket, &toolkit::ClientSocket::disconnected, this, h.socketDisconnect);
        connect(socket, &toolkit::ClientSocket::read, this, h.socketRead);
        connect(socket, &toolkit::ClientSocket::error, this, h.socketError, Qt::DirectConnection);
    }

    // Link 1 carries the arm: its controller is identified from what arrives, and
    // the joints' channels stay fixed while the link is in use.
    connect(linkPanels[0].get(), &comm::LinkPanel::received, this, &comm::identifyArm);
    connect(linkPanels[0].get(), &comm::LinkPanel::busyChanged, this, [this](bool busy) {
        for (auto &joint : jointPanels)
            joint->setChannelEnabled(!busy);
    });
    // Link 2 carries the chassis: its replies are parsed, and the chassis runs
    // from the link's opening until it is free again.
    connect(linkPanels[1].get(), &comm::LinkPanel::received, this, &TForm1::parseFahrwerkAntwort);
    connect(linkPanels[1].get(), &comm::LinkPanel::opened, this, [this] { drivePanel->switchChassis(true); });
    connect(linkPanels[1].get(), &comm::LinkPanel::busyChanged, this, [this](bool busy) {
        if (!busy)
            drivePanel->switchChassis(false);
    });
}

void TForm1::connectChassis()
{
    connect(ui->btnVor, &QToolButton::clicked, this, &TForm1::btnVorClick);
    connect(ui->btnRueck, &QToolButton::clicked, this, &TForm1::btnRueckClick);
    connect(ui->btnStop, &QToolButton::clicked, this, &TForm1::btnStopClick);
    connect(ui->btnWende_L, &QToolButton::clicked, this, &TForm1::btnWende_LClick);
    connect(ui->btnWende_R, &QToolButton::clicked, this, &TForm1::btnWende_RClick);
    connect(ui->btnWarnblink, &QToolButton::clicked, this, &TForm1::btnWarnblinkClick);
    // Mouse-down and mouse-up follow the mouse button, not the pointer leaving and
    // re-entering a held button.
    using Handler = void (TForm1::*)();
    const struct {
        QToolButton *button;
        Handler mouseDown, mouseUp;
    } holds[] = {
        {ui->btnVor, &TForm1::btnVorMouseDown, nullptr},
        {ui->btnRueck, &TForm1::btnRueckMouseDown, nullptr},
        {ui->btnHupe, &TForm1::btnHupeMouseDown, &TForm1::btnHupeMouseUp},
        {ui->btnLinks, &TForm1::btnLinksMouseDown, &TForm1::btnLinksMouseUp},
        {ui->btnRechts, &TForm1::btnRechtsMouseDown, &TForm1::btnRechtsMouseUp},
    };
    for (const auto &entry : holds) {
        toolkit::ButtonHold *hold = toolkit::ButtonHold::of(entry.button);
        connect(hold, &toolkit::ButtonHold::mouseDown, this, entry.mouseDown);
        if (entry.mouseUp)
            connect(hold, &toolkit::ButtonHold::mouseUp, this, entry.mouseUp);
    }
    connect(ui->trbLenk, &toolkit::TrackBar::positionChanged, this, &TForm1::trbLenkChange);
    connect(ui->trbSpeed, &toolkit::TrackBar::positionChanged, this, &TForm1::trbSpeedChange);
    connect(&drivePanel->timer(), &QTimer::timeout, this, &TForm1::KettenTimer1Timer);

    connect(ui->edtAbstand, &QLineEdit::textChanged, this, &TForm1::edtAbstandChange);
    connect(ui->edtBatterie, &QLineEdit::textChanged, this, &TForm1::edtBatterieChange);
    connect(ui->edtTemperatur, &QLineEdit::textChanged, this, &TForm1::edtTemperaturChange);
}

void TForm1::connectSequenceEditor()
{
    const struct {
        QToolButton *button;
        void (TForm1::*handler)();
    } buttons[] = {
        {ui->btnSeqNeu, &TForm1::btnSeqNeuClick},   {ui->btnSeqOpen, &TForm1::btnSeqOpenClick},
        {ui->btnSeqRew, &TForm1::btnSeqRewClick},   {ui->btnSeqForw, &TForm1::btnSeqForwClick},
        {ui->btnSeqClose, &TForm1::btnSeqCloseClick}, {ui->btnSeqAdd, &TForm1::btnSeqAddClick},
        {ui->btnSeqDel, &TForm1::btnSeqDelClick},
    };
    for (const auto &entry : buttons)
        connect(entry.button, &QToolButton::clicked, this, entry.handler);
    // Fires for mouse, keys and assistive tools alike; the editor's own changes
    // to the list are made with its signals blocked.
    connect(ui->ListBox1, &QListWidget::itemSelectionChanged, this, &TForm1::ListBox1Click);
}

void TForm1::connectWebcam()
{
    // textChanged fires on typing and on code changes, not when the text stays.
    connect(ui->edtWebCamIP1, &QLineEdit::textChanged, this, &TForm1::edtWebCamIP1Change);
    connect(ui->edtWebCamIP2, &QLineEdit::textChanged, this, &TForm1::edtWebCamIP2Change);
    connect(ui->edtWebCamIP3, &QLineEdit::textChanged, this, &TForm1::edtWebCamIP3Change);
    connect(ui->edtWebCamIP4, &QLineEdit::textChanged, this, &TForm1::edtWebCamIP4Change);
    connect(ui->btnWebCamConnect, &QPushButton::clicked, this, &TForm1::btnWebCamConnectClick);
}

void TForm1::connectMenu()
{
    connect(ui->Einstellungenspeichern1, &QAction::triggered, this, &TForm1::Einstellungenspeichern1Click);
    connect(ui->letzteEinstellungenladen1, &QAction::triggered, this, &TForm1::letzteEinstellungenladen1Click);
    connect(ui->Beenden1, &QAction::triggered, this, &TForm1::Beenden1Click);
    connect(ui->Info1, &QAction::triggered, this, &TForm1::Info1Click);
    connect(ui->RoboterArm1, &QAction::triggered, this, &TForm1::RoboterArm1Click);
    connect(ui->RoboterFahrwerk1, &QAction::triggered, this, &TForm1::RoboterFahrwerk1Click);
}

// Both run from creation to the end; nothing stops or re-times them.
void TForm1::startTimers()
{
    armCycle->timer().start();
    drivePanel->timer().start();
}

void TForm1::FormCreate()
{
    LoadSettings();
    ShowServoSettings();
    InitLinks();
    setFahrwerkEnabled(false);
}

// Open ports and active sockets are shut before the question.
void TForm1::FormClose()
{
    for (auto &link : linkPanels)
        link->closeLink();
    settingsStore->offerToSave();
}

settings::Settings TForm1::gatherSettings() const
{
    settings::Settings values;
    for (std::size_t i = 0; i < settings::kJoints; ++i) {
        Servo &servo = *servoModels[i];
        values.joints[i] = {servo.getKanal(), servo.getLimitMin(), servo.getLimitMax()};
    }
    for (std::size_t i = 0; i < settings::kLinks; ++i)
        values.links[i] = {linkPanels[i]->ipText(), linkPanels[i]->portText()};
    const auto octets = webcamPanel->octets();
    std::copy(octets.begin(), octets.end(), values.webCam.begin());
    return values;
}

// The joints and fields beyond the first missing or bad value keep what they had.
void TForm1::applySettings(const settings::SettingsRead &read)
{
    for (std::size_t i = 0; i < settings::kJoints; ++i) {
        const settings::JointRead &joint = read.joints[i];
        Servo &servo = *servoModels[i];
        if (joint.kanal)
            servo.setKanal(*joint.kanal);
        if (joint.limitMin && joint.limitMax)
            servo.setLimit(*joint.limitMin, *joint.limitMax);
    }
    for (std::size_t i = 0; i < settings::kLinks; ++i) {
        if (read.links[i].ip)
            linkPanels[i]->setIpText(*read.links[i].ip);
        if (read.links[i].port)
            linkPanels[i]->setPortText(*read.links[i].port);
    }
    for (std::size_t i = 0; i < settings::kWebCamParts; ++i) {
        if (read.webCam[i])
            webcamPanel->setOctet(i, *read.webCam[i]);
    }
}

// Without a window manager (e.g. under Xvfb) nobody maximises, so the window takes
// the screen's size itself when it first shows.
void TForm1::showEvent(QShowEvent *event)
{
    if (fillsScreen)
        setGeometry(screen()->availableGeometry());
    QMainWindow::showEvent(event);
}

void TForm1::FormResize() { fillsScreen = false; }

// The size given before the window shows is not a resize of the window on screen.
void TForm1::resizeEvent(QResizeEvent *event)
{
    if (isVisible())
        FormResize();
    QMainWindow::resizeEvent(event);
}

// While the info or a setup window holds it disabled, the main window cannot be
// closed by the user, as a disabled window cannot on every platform.
void TForm1::closeEvent(QCloseEvent *event)
{
    if (!isEnabled() && event->spontaneous()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TForm1::Beenden1Click() { close(); }

void TForm1::Info1Click()
{
    if (infoForm)
        infoForm->show();
}

void TForm1::RoboterArm1Click()
{
    if (setupFormArm)
        setupFormArm->show();
}

void TForm1::RoboterFahrwerk1Click()
{
    if (setupFormChassis)
        setupFormChassis->show();
}
