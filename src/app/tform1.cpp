#include "app/tform1.h"

#include "app/kinematics_pad.h"
#include "app/language_menu.h"
#include "app/player_console.h"

#include "arm/arm.h"
#include "arm/arm_panel.h"
#include "arm/arm_setup_window.h"
#include "arm/kinematics_window.h"
#include "arm/move_executor.h"
#include "arm/servo_timer.h"
#include "arm/ssc32.h"
#include "drive/drive_command.h"
#include "drive/drive_panel.h"
#include "drive/drive_setup_window.h"
#include "drive/fahrwerk.h"
#include "drive/manual_drive.h"
#include "telemetry/telemetry_panel.h"
#include "telemetry/telemetry_parser.h"
#include "telemetry/telemetry_record.h"
#include "telemetry/telemetry_stream.h"
#include "telemetry/telemetry_window.h"
#include "comm/connection.h"
#include "comm/connection_search_window.h"
#include "comm/debug_log.h"
#include "comm/link_factory.h"
#include "comm/link_panel.h"
#include "comm/port_list_watch.h"
#include "comm/setup_forms.h"
#include "platform/game_controller.h"
#include "remote/model_console.h"
#include "remote/remote_setup_window.h"
#include "remote/server.h"
#include "sequence/motion_set.h"
#include "sequence/motion_set_print.h"
#include "sequence/player_window.h"
#include "sequence/sequence_editor.h"
#include "settings/settings_store.h"
#include "toolkit/byte_text.h"
#include "toolkit/companion_windows.h"
#include "toolkit/message_box.h"
#include "ui_tform1.h"
#include "views/info_form.h"
#include "views/webcam_panel.h"

#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QStatusBar>

namespace app {

namespace {

// A companion window shown again comes to the front, where the operator looks.
void bringForward(QWidget &window)
{
    window.show();
    window.raise();
    window.activateWindow();
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
      programFiles(settings::ProgramLocation::ofProgramDirectory(programDir))
{
    toolkit::useMessageBoxes();
    ui->setupUi(this);
    setupModels();
    setupCompanionWindows();
    setupLinks();
    setupConnectionSearch();
    setupArm();
    setupChassis();
    setupTelemetry();
    setupManualDrive();
    setupSequenceEditor();
    setupPlayer();
    setupKinematics();
    setupRemote();
    setupWebcam();
    setupSettings();
    setupMenu();
    wirePanels();
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::attachCompanionWindows(views::TInfoForm1 &info, comm::TSetupForm1 &setupArm,
                                    comm::TSetupForm2 &setupChassis)
{
    infoForm = &info;
    setupFormArm = &setupArm;
    setupFormChassis = &setupChassis;
    connect(ui->RoboterArm1, &QAction::triggered, this, &TForm1::RoboterArm1Click);
    connect(ui->RoboterFahrwerk1, &QAction::triggered, this, &TForm1::RoboterFahrwerk1Click);
    connect(ui->Info1, &QAction::triggered, this, &TForm1::Info1Click);
}

void TForm1::setupModels()
{
    armModel = std::make_unique<arm::Arm>();
    motionSetModel = std::make_unique<sequence::MotionSet>(*armModel, programFiles.rfsDir());
    fahrwerkModel = std::make_unique<drive::Fahrwerk>();
}

arm::Arm &TForm1::arm() { return *armModel; }
sequence::MotionSet &TForm1::motionSet() { return *motionSetModel; }

// The player, the telemetry, the drive set-up and the connection search join
// them as they are made.
void TForm1::setupCompanionWindows()
{
    companionWindows = std::make_unique<toolkit::CompanionWindows>(*this, *ui->scrollContent, programFiles, this);
}

drive::DriveCommand &TForm1::driveCommand() { return *driveCommandModel; }
const drive::Fahrwerk &TForm1::fahrwerk() const { return *fahrwerkModel; }
telemetry::TelemetryStream &TForm1::telemetryStream() { return *telemetryStreamModel; }
arm::MoveExecutor &TForm1::moveExecutor() { return *moveExecutorModel; }

// Link 1 reaches the SSC-32, whose move-status replies stay out of the debug
// memo; link 2 reaches the chassis board.
void TForm1::setupLinks()
{
    debugLog = std::make_unique<comm::DebugLog>(*ui->Memo1);
    const comm::LinkRole roles[] = {{1, arm::kVersionQuery, arm::isMoveStatusReply, arm::holdsVersionReply},
                                    {2, telemetry::kIdentificationQuery, {}, telemetry::holdsIdentificationReply}};
    for (int i = 0; i < 2; ++i) {
        connections[i] = std::make_unique<comm::Connection>(roles[i], comm::makeLink, this);
        connect(connections[i].get(), &comm::Connection::logged, this,
                [this](const QString &line) { debugLog->logLine(line); });
        linkPanels[i] = std::make_unique<comm::LinkPanel>(linkWidgets(this, i + 1), *connections[i], this);
    }
}

// Both port lists follow the system; the search window holds the reconnect choices.
void TForm1::setupConnectionSearch()
{
    portListWatch = std::make_unique<comm::PortListWatch>(this);
    for (auto &panel : linkPanels)
        connect(portListWatch.get(), &comm::PortListWatch::portsChanged, panel.get(), &comm::LinkPanel::showPorts);
    connectionSearchWindow = std::make_unique<comm::ConnectionSearchWindow>(
        std::array<comm::SearchedLink, 2>{{{*connections[0], *linkPanels[0]}, {*connections[1], *linkPanels[1]}}},
        programFiles);
    companionWindows->adopt(*connectionSearchWindow, QStringLiteral("connection_search"));
}

void TForm1::setupArm()
{
    arm::ArmWidgets widgets{{}, ui->btnArmParkPos, ui->btnArmMitte};
    for (int i = 0; i < arm::kJoints; ++i)
        widgets.joints[i] = jointWidgets(this, i + 1);
    armPanel = std::make_unique<arm::ArmPanel>(widgets, *armModel, this);
    servoTimer = std::make_unique<arm::ServoTimer>(*armModel, *connections[0], this);
}

// The controls, the pad and the keys drive through the drive command; the
// Fahrwerk turns it into the rotation that the chassis timer sends.
void TForm1::setupChassis()
{
    driveCommandModel = std::make_unique<drive::DriveCommand>(*fahrwerkModel);
    drivePanel = std::make_unique<drive::DrivePanel>(
        drive::DriveWidgets{ui->gbxFahrwerk, ui->btnVor, ui->btnRueck, ui->btnStop, ui->btnLinks, ui->btnRechts,
                              ui->btnWende_L, ui->btnWende_R, ui->btnHupe, ui->btnWarnblink, ui->trbLenk,
                              ui->trbSpeed},
        *driveCommandModel, *fahrwerkModel, *connections[1], this);
}

// The read-outs show each reading of the stream; the record keeps them over
// time from the first on, whether its window is shown or not.
void TForm1::setupTelemetry()
{
    telemetryStreamModel = std::make_unique<telemetry::TelemetryStream>();
    telemetryPanel = std::make_unique<telemetry::TelemetryPanel>(
        telemetry::TelemetryWidgets{ui->edtAbstand, ui->edtBatterie, ui->edtTemperatur, ui->cgDist, ui->cgBat,
                                  ui->cgTemp},
        *telemetryStreamModel, this);
    telemetryRecord = std::make_unique<telemetry::TelemetryRecord>();
    telemetryWindow = std::make_unique<telemetry::TelemetryWindow>(*telemetryRecord, programFiles);
    companionWindows->adopt(*telemetryWindow, QStringLiteral("telemetry"));
}

// The set-up window restores the stored choices of the pad and the keys.
void TForm1::setupManualDrive()
{
    gameController = std::make_unique<platform::GameController>(this);
    manualDrive = std::make_unique<drive::ManualDrive>(*driveCommandModel, *gameController, *companionWindows, this);
    driveSetupWindow = std::make_unique<drive::DriveSetupWindow>(*gameController, *manualDrive, programFiles);
    companionWindows->adopt(*driveSetupWindow, QStringLiteral("drive_setup"));
}

void TForm1::setupSequenceEditor()
{
    sequenceEditor = std::make_unique<sequence::SequenceEditor>(
        sequence::SequenceWidgets{ui->ListBox1, ui->edtSchritt, ui->labSeqDatei, ui->btnSeqNeu, ui->btnSeqOpen,
                                  ui->btnSeqRew, ui->btnSeqForw, ui->btnSeqClose, ui->btnSeqAdd, ui->btnSeqDel},
        *motionSetModel, this, programFiles.rfsDir());
}

void TForm1::setupPlayer()
{
    playerConsole = std::make_unique<PlayerConsole>(*motionSetModel, *armModel, *connections[0]);
    playerWindow = std::make_unique<sequence::PlayerWindow>(*playerConsole);
    companionWindows->adopt(*playerWindow, QStringLiteral("player"));
}

// The set-up window hands the stored profile to the executor; the pad jogs
// through it while the window "Kinematik" is active.
void TForm1::setupKinematics()
{
    moveExecutorModel = std::make_unique<arm::MoveExecutor>(*armModel, *servoTimer);
    moveExecutorModel->setPlayerCheck([this] { return playerWindow->core().isPlaying(); });
    armSetupWindow = std::make_unique<arm::ArmSetupWindow>(*moveExecutorModel, *armModel, programFiles);
    companionWindows->adopt(*armSetupWindow, QStringLiteral("arm_setup"));
    kinematicsWindow = std::make_unique<arm::KinematicsWindow>(*moveExecutorModel, *armModel, programFiles);
    companionWindows->adopt(*kinematicsWindow, QStringLiteral("kinematics"));
    kinematicsPad = std::make_unique<KinematicsPad>(*gameController, *manualDrive, *kinematicsWindow,
                                                    *moveExecutorModel, this);
}

// Programs reach the console's models as its controls do; the window's own
// controls keep the upper hand (see remote::ModelConsole).
void TForm1::setupRemote()
{
    remoteConsole = std::make_unique<remote::ModelConsole>(
        remote::ConsoleParts{*armModel, *motionSetModel, *playerWindow, *connections[0], *connections[1],
                             *driveCommandModel, *telemetryStreamModel, *telemetryRecord, *moveExecutorModel,
                             programFiles.rfsDir()});
    remoteServer = std::make_unique<remote::Server>(*remoteConsole);
    remoteSetupWindow = std::make_unique<remote::RemoteSetupWindow>(*remoteServer, programFiles);
    companionWindows->adopt(*remoteSetupWindow, QStringLiteral("remote_setup"));
    new remote::StatusNote(*remoteServer, *statusBar());
}

void TForm1::setupWebcam()
{
    webcamPanel = std::make_unique<views::WebcamPanel>(
        views::WebcamWidgets{{ui->edtWebCamIP1, ui->edtWebCamIP2, ui->edtWebCamIP3, ui->edtWebCamIP4},
                             ui->btnWebCamConnect,
                             ui->CppWebBrowser1},
        this);
}

void TForm1::setupSettings()
{
    settingsStore = std::make_unique<settings::SettingsStore>(
        toolkit::filePathBytes(QDir::toNativeSeparators(programFiles.settingsFile())),
        [this] { return gatherSettings(); }, [this](const settings::SettingsRead &read) { applySettings(read); });
}

void TForm1::setupMenu()
{
    connect(ui->Einstellungenspeichern1, &QAction::triggered, this, &TForm1::Einstellungenspeichern1Click);
    connect(ui->letzteEinstellungenladen1, &QAction::triggered, this, &TForm1::letzteEinstellungenladen1Click);
    connect(ui->Beenden1, &QAction::triggered, this, &TForm1::Beenden1Click);
    connect(ui->starten1, &QAction::triggered, this, &TForm1::starten1Click);
    connect(ui->laden1, &QAction::triggered, this, &TForm1::laden1Click);
    connect(ui->erstellen1, &QAction::triggered, this, &TForm1::erstellen1Click);
    connect(ui->speichern1, &QAction::triggered, this, &TForm1::speichern1Click);
    connect(ui->speichernunter1, &QAction::triggered, this, &TForm1::speichernunter1Click);
    connect(ui->Druckereinrichten1, &QAction::triggered, this, &TForm1::Druckereinrichten1Click);
    connect(ui->drucken1, &QAction::triggered, this, &TForm1::drucken1Click);
    connect(ui->Telemetrie1, &QAction::triggered, this, &TForm1::Telemetrie1Click);
    connect(ui->Steuerung1, &QAction::triggered, this, &TForm1::Steuerung1Click);
    connect(ui->Arm1, &QAction::triggered, this, &TForm1::Arm1Click);
    connect(ui->Kinematik1, &QAction::triggered, this, &TForm1::Kinematik1Click);
    connect(ui->Verbindungsuchen1, &QAction::triggered, this, &TForm1::Verbindungsuchen1Click);
    connect(ui->Fernsteuerung1, &QAction::triggered, this, &TForm1::Fernsteuerung1Click);
    languageMenu = std::make_unique<LanguageMenu>(*ui->Deutsch1, *ui->English1, programFiles, this);
}

// What one panel tells another, all in one place.
void TForm1::wirePanels()
{
    comm::Connection *armLink = connections[0].get();
    comm::Connection *chassisLink = connections[1].get();
    // Link 1 carries the arm: its controller is identified from what arrives, and
    // the joints' channels stay fixed while the link is in use.
    connect(armLink, &comm::Connection::received, this, &arm::identifyController);
    connect(armLink, &comm::Connection::busyChanged, armPanel.get(),
            [this](bool busy) { armPanel->setChannelsEnabled(!busy); });
    // Link 2 carries the chassis: its replies are parsed, and the chassis runs
    // from the link's opening until it is free again.
    connect(chassisLink, &comm::Connection::received, telemetryStreamModel.get(),
            &telemetry::TelemetryStream::parseFahrwerkAntwort);
    connect(chassisLink, &comm::Connection::opened, this, [this] { switchChassis(true); });
    // After a lost link came back nothing that was pending goes out: the arm
    // sends only what changes from now on, the chassis starts stopped, and the
    // player, stopped by the loss, stays so.
    connect(armLink, &comm::Connection::reconnected, servoTimer.get(), &arm::ServoTimer::takeAsSent);
    connect(chassisLink, &comm::Connection::reconnected, driveCommandModel.get(), &drive::DriveCommand::stop);
    connect(chassisLink, &comm::Connection::freed, this, [this] { switchChassis(false); });
    // The readings are kept over time, with the gaps where link 2 was gone.
    connect(telemetryStreamModel.get(), &telemetry::TelemetryStream::readingArrived, telemetryRecord.get(),
            &telemetry::TelemetryRecord::addReading);
    connect(chassisLink, &comm::Connection::opened, telemetryRecord.get(), &telemetry::TelemetryRecord::linkConnected);
    connect(chassisLink, &comm::Connection::freed, telemetryRecord.get(), &telemetry::TelemetryRecord::linkClosed);
    // The motion-set player follows the arm's ticks and replies, and stops or
    // holds for whatever it did not do itself.
    sequence::PlayerWindow *player = playerWindow.get();
    connect(servoTimer.get(), &arm::ServoTimer::ticked, player, &sequence::PlayerWindow::armTickPassed);
    connect(armLink, &comm::Connection::received, player, &sequence::PlayerWindow::armReceived);
    connect(armLink, &comm::Connection::freed, player, &sequence::PlayerWindow::linkClosed);
    connect(armModel.get(), &arm::Arm::positionSet, player, &sequence::PlayerWindow::jointChanged);
    connect(armModel.get(), &arm::Arm::speedSet, player, &sequence::PlayerWindow::jointChanged);
    sequence::MotionSet *steps = motionSetModel.get();
    connect(steps, &sequence::MotionSet::stepInserted, player, &sequence::PlayerWindow::listChanged);
    connect(steps, &sequence::MotionSet::stepRemoved, player, &sequence::PlayerWindow::listChanged);
    connect(steps, &sequence::MotionSet::stepsReplaced, player, &sequence::PlayerWindow::listChanged);
    connect(steps, &sequence::MotionSet::stepNumberRefreshed, player, &sequence::PlayerWindow::showStepPosition);
    // Moves in millimetres go out on link 1 while it is open.
    arm::MoveExecutor *executor = moveExecutorModel.get();
    connect(armLink, &comm::Connection::opened, executor, [executor] { executor->setLinkOpen(true); });
    connect(armLink, &comm::Connection::freed, executor, [executor] { executor->setLinkOpen(false); });
    // Pad and keys drive from the same opening of link 2 until it is free again.
    connect(chassisLink, &comm::Connection::opened, manualDrive.get(), [this] { manualDrive->setLinkOpen(true); });
    connect(chassisLink, &comm::Connection::freed, manualDrive.get(), [this] { manualDrive->setLinkOpen(false); });
}

void TForm1::FormCreate()
{
    settingsStore->load();
    armPanel->ShowServoSettings();
    for (auto &link : linkPanels)
        link->init();
    setFahrwerkEnabled(false);
}

void TForm1::setFahrwerkEnabled(bool enabled)
{
    drivePanel->setEnabled(enabled);
    telemetryPanel->setEnabled(enabled);
}

void TForm1::switchChassis(bool on)
{
    if (on) {
        setFahrwerkEnabled(true);
        fahrwerkModel->setAktiv(true);
    } else {
        fahrwerkModel->setAktiv(false);
        setFahrwerkEnabled(false);
    }
}

// Open ports and active sockets are shut before the question, and nothing plays on.
void TForm1::FormClose()
{
    playerWindow->close();
    moveExecutorModel->stop(UI_TEXT("app::TForm1", "Programm beendet"));
    kinematicsWindow->close();
    telemetryRecord->recorder().stop();
    for (auto &connection : connections)
        connection->shutDown();
    settingsStore->offerToSave();
}

void TForm1::Einstellungenspeichern1Click() { settingsStore->offerToSave(); }

// The joint groups show the channels and limits as loading sets them; the refresh
// also brings the limit buttons to the limits and the speed lists to 0.
void TForm1::letzteEinstellungenladen1Click()
{
    settingsStore->load();
    armPanel->ShowServoSettings();
}

settings::Settings TForm1::gatherSettings() const
{
    settings::Settings values;
    for (std::size_t i = 0; i < settings::kJoints; ++i) {
        const arm::Servo &servo = armModel->joint(int(i));
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
        if (joint.kanal)
            armModel->setKanal(int(i), *joint.kanal);
        if (joint.limitMin && joint.limitMax)
            armModel->setLimit(int(i), *joint.limitMin, *joint.limitMax);
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

void TForm1::starten1Click() { playerWindow->start(); }
void TForm1::laden1Click() { sequenceEditor->open(); }
void TForm1::erstellen1Click() { sequenceEditor->startNew(); }
void TForm1::speichern1Click() { sequenceEditor->save(); }
void TForm1::speichernunter1Click() { sequenceEditor->saveAs(); }

QPrinter &TForm1::motionSetPrinter()
{
    if (!printer)
        printer = std::make_unique<QPrinter>();
    return *printer;
}

void TForm1::Druckereinrichten1Click()
{
    QPageSetupDialog dialog(&motionSetPrinter(), this);
    dialog.exec();
}

void TForm1::drucken1Click()
{
    QPrintDialog dialog(&motionSetPrinter(), this);
    if (dialog.exec() == QDialog::Accepted)
        sequence::printMotionSet(motionSetPrinter(), motionSetModel->fileLabel(), QDate::currentDate(),
                                 motionSetModel->steps());
}

void TForm1::Telemetrie1Click() { bringForward(*telemetryWindow); }

void TForm1::RoboterArm1Click() { setupFormArm->show(); }

void TForm1::RoboterFahrwerk1Click() { setupFormChassis->show(); }

void TForm1::Steuerung1Click() { bringForward(*driveSetupWindow); }

void TForm1::Arm1Click() { bringForward(*armSetupWindow); }

void TForm1::Kinematik1Click() { bringForward(*kinematicsWindow); }

void TForm1::Verbindungsuchen1Click() { bringForward(*connectionSearchWindow); }

void TForm1::Fernsteuerung1Click() { bringForward(*remoteSetupWindow); }

void TForm1::Info1Click() { infoForm->show(); }

} // namespace app
