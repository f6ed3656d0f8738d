#include "app/tform1.h"

#include "arm/servo.h"
#include "chassis/fahrwerk.h"
#include "comm/qt_hand_over.h"
#include "comm/tcomm_thread.h"
#include "comm/setup_forms.h"
#include "platform/program_dir.h"
#include "toolkit/bounded_log.h"
#include "toolkit/message_box.h"
#include "toolkit/track_bar.h"
#include "toolkit/up_down.h"
#include "ui_tform1.h"
#include "views/info_form.h"

#include <QCloseEvent>
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

constexpr int kServoTimerMs = 100;
constexpr int kKettenTimerMs = 50;

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

} // namespace

TForm1::TForm1(const QString &programDir, QWidget *parent)
    : QMainWindow(parent),
      ui(std::make_unique<Ui::TForm1>()),
      programDirectory(programDir.isEmpty() ? platform::executableDirectory() : withTrailingSeparator(programDir))
{
    toolkit::useMessageBoxes();
    ui->setupUi(this);
    for (int i = 0; i < ArmCommandCycle::kJoints; ++i) {
        const JointStart &start = kJointStart[i];
        servoModels[i] = std::make_unique<Servo>(start.kanal, start.limitMin, start.limitMax);
        *start.pointer = servoModels[i].get();
    }
    fahrwerkModel = std::make_unique<Fahrwerk>();
    fahrwerk = fahrwerkModel.get();
    handOver = std::make_unique<QtHandOver>();
    bindControls();
    connectJointPanel();
    connectSequenceEditor();
    connectMenu();
    connectWebcamView();
    connectLinkPanels();
    connectDriveControls();
    connectTelemetry();
    startTimers();
    FormCreate();
}

TForm1::~TForm1()
{
    // Both workers share the hand-over: while one is stopped, a block of the other
    // may still be delivered, and it must not reach a window being taken apart.
    for (LinkControls &link : links) {
        if (link.thread) {
            link.thread->OnReceive = nullptr;
            link.thread->OnLost = nullptr;
        }
    }
    for (LinkControls &link : links)
        link.thread.reset();
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

void TForm1::bindControls()
{
    for (int i = 0; i < ArmCommandCycle::kJoints; ++i) {
        const QString n = QString::number(i + 1);
        joints[i] = JointControls{
            control<QComboBox>(this, "cbxKanalServo" + n), control<QComboBox>(this, "cbxSpeed" + n),
            control<QLineEdit>(this, "edtLimMin" + n),     control<toolkit::UpDown>(this, "udMin" + n),
            control<QLineEdit>(this, "edtLimMax" + n),     control<toolkit::UpDown>(this, "udMax" + n),
            control<QLineEdit>(this, "edtPos" + n),        control<toolkit::UpDown>(this, "udPos" + n),
            control<toolkit::TrackBar>(this, "trbServo" + n), servoModels[i].get(),
        };
    }
    for (int i = 0; i < 2; ++i) {
        const QString n = QString::number(i + 1);
        // Link 1's memo and edit carry no number, link 2's do.
        const QString suffix = i == 0 ? QString() : n;
        links[i] = LinkControls{
            control<QRadioButton>(this, "rbtnSeriell" + n),
            control<QRadioButton>(this, "rbtnTCP" + n),
            control<QLineEdit>(this, "edtTCP_IP" + n),
            control<QLineEdit>(this, "edtTCP_Port" + n),
            control<QPlainTextEdit>(this, "Receive_Memo" + suffix),
            control<QLineEdit>(this, "Transmit_Edit" + suffix),
            control<QPushButton>(this, "btnConnect" + n),
            control<QPushButton>(this, "btnTransmit" + n),
            control<QComboBox>(this, "cbxDeviceName" + n),
            control<QComboBox>(this, "cbxBaudRate" + n),
            control<QComboBox>(this, "cbxByteSize" + n),
            control<QComboBox>(this, "cbxParity" + n),
            control<QComboBox>(this, "cbxStopBits" + n),
            control<QLabel>(this, "labNameSeriell" + n),
            control<QLabel>(this, "labBaudRateSeriell" + n),
            control<QLabel>(this, "labByteSizeSeriell" + n),
            control<QLabel>(this, "labParity" + n),
            control<QLabel>(this, "labStopBitsSeriell" + n),
            i + 1,
            nullptr, // the serial worker comes with InitLinks
            nullptr, // the socket comes with connectLinkPanels
            false,
            0,
        };
    }
    for (QPlainTextEdit *log : {ui->Memo1, links[0].receiveMemo, links[1].receiveMemo})
        toolkit::limitLog(*log);
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
    const struct {
        QTimer &timer;
        const char *name;
        int intervalMs;
        void (TForm1::*tick)();
    } timers[] = {
        {ServoTimer1, "ServoTimer1", kServoTimerMs, &TForm1::ServoTimer1Timer},
        {KettenTimer1, "KettenTimer1", kKettenTimerMs, &TForm1::KettenTimer1Timer},
    };
    for (const auto &t : timers) {
        t.timer.setObjectName(QString::fromLatin1(t.name));
        t.timer.setParent(this);
        t.timer.setTimerType(Qt::PreciseTimer);
        t.timer.setInterval(t.intervalMs);
        connect(&t.timer, &QTimer::timeout, this, t.tick);
        t.timer.start();
    }
}

void TForm1::FormCreate()
{
    LoadSettings();
    ShowServoSettings();
    InitLinks();
    setFahrwerkEnabled(false);
}

void TForm1::FormClose()
{
    closeLinks();
    offerToSaveSettings();
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
