#include "sequence/player_window.h"

#include "toolkit/translated.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>
#include <limits>

namespace sequence {

namespace {

QPushButton *button(const QString &caption, const char *name, QWidget *parent)
{
    auto *result = new QPushButton(caption, parent);
    result->setObjectName(QLatin1String(name));
    return result;
}

// As the main window's read-outs: a screen reader reads the text itself as the
// label's name, and the hint as its description.
QLabel *readOut(const QString &hint, const char *name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setToolTip(hint);
    return label;
}

} // namespace

PlayerWindow::PlayerWindow(PlayerHost &console)
    : QWidget(nullptr), console(console), player(console), wakeUp(this)
{
    setObjectName(QStringLiteral("playerWindow"));
    setWindowTitle(tr("Ablauf abspielen"));
    wakeUp.setSingleShot(true);
    wakeUp.setTimerType(Qt::PreciseTimer);
    clock.start();
    buildControls();
    connectControls();
    follow();
}

// The box loses the focus as the window goes; what it then tells must not reach
// a window that is half taken apart.
PlayerWindow::~PlayerWindow() { disconnect(dwellEdit, nullptr, this, nullptr); }

void PlayerWindow::buildControls()
{
    playButton = button(tr("Abspielen"), "playButton", this);
    pauseButton = button(tr("Pause"), "pauseButton", this);
    stopButton = button(tr("Stopp"), "stopButton", this);
    // The box holds only what the player takes, whatever is typed or pasted; an
    // empty box gets the dwell in force back as it loses the focus.
    dwellEdit = new QSpinBox(this);
    dwellEdit->setObjectName(QStringLiteral("dwellEdit"));
    dwellEdit->setRange(0, PlayerCore::kLongestDwellMs);
    dwellEdit->setSingleStep(100);
    dwellEdit->setKeyboardTracking(false);
    dwellEdit->setValue(player.dwellMs());
    dwellEdit->setToolTip(
        tr("Wartezeit nach jedem Schritt, wenn der Arm angekommen ist (0 bis %1 ms)").arg(PlayerCore::kLongestDwellMs));
    auto *dwellLabel = new QLabel(tr("Pause (ms)"), this);
    dwellLabel->setBuddy(dwellEdit);
    loopBox = new QCheckBox(tr("Endlos wiederholen"), this);
    loopBox->setObjectName(QStringLiteral("loopBox"));
    stepLabel = readOut(tr("Aktueller Schritt des Verfahrsatzes"), "stepLabel", this);
    stateLabel = readOut(tr("Zustand des Ablaufs"), "stateLabel", this);

    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {playButton, pauseButton, stopButton})
        buttons->addWidget(b);
    auto *layout = new QGridLayout(this);
    layout->addLayout(buttons, 0, 0, 1, 3);
    layout->addWidget(dwellLabel, 1, 0);
    layout->addWidget(dwellEdit, 1, 1);
    layout->addWidget(loopBox, 1, 2);
    layout->addWidget(stepLabel, 2, 0, 1, 3);
    layout->addWidget(stateLabel, 3, 0, 1, 3);
}

void PlayerWindow::connectControls()
{
    connect(playButton, &QPushButton::clicked, this, [this] {
        player.play();
        follow();
    });
    connect(pauseButton, &QPushButton::clicked, this, &PlayerWindow::pause);
    connect(stopButton, &QPushButton::clicked, this, &PlayerWindow::stop);
    connect(loopBox, &QCheckBox::toggled, this, [this](bool on) { player.setLoop(on); });
    connect(dwellEdit, &QSpinBox::valueChanged, this, [this](int ms) { player.setDwellMs(ms); });
    connect(&wakeUp, &QTimer::timeout, this, [this] {
        player.tick(now());
        follow();
    });
}

void PlayerWindow::showWindow(bool activate)
{
    setAttribute(Qt::WA_ShowWithoutActivating, !activate);
    show();
    raise();
    if (activate)
        activateWindow();
}

void PlayerWindow::start()
{
    showWindow(true);
    if (!player.isPlaying())
        player.play();
    follow();
}

void PlayerWindow::play()
{
    showWindow(false);
    player.play();
    follow();
}

void PlayerWindow::pause()
{
    player.pause();
    follow();
}

void PlayerWindow::stop()
{
    player.stop();
    follow();
}

void PlayerWindow::setLoop(bool on) { loopBox->setChecked(on); }

void PlayerWindow::setDwellMs(int ms) { dwellEdit->setValue(ms); }

void PlayerWindow::armTickPassed()
{
    player.armTickPassed(now());
    follow();
}

void PlayerWindow::armReceived(const std::string &text)
{
    player.received(text, now());
    follow();
}

void PlayerWindow::jointChanged()
{
    player.jointChanged();
    follow();
}

void PlayerWindow::listChanged()
{
    player.listChanged();
    follow();
}

void PlayerWindow::linkClosed()
{
    player.linkClosed();
    follow();
}

void PlayerWindow::showStepPosition()
{
    stepLabel->setText(tr("Schritt %1 von %2").arg(console.currentStep() + 1).arg(console.stepCount()));
}

void PlayerWindow::closeEvent(QCloseEvent *event)
{
    player.windowClosed();
    follow();
    QWidget::closeEvent(event);
}

void PlayerWindow::follow()
{
    showStepPosition();
    stateLabel->setText(toolkit::translated(player.stateText()));
    const bool running = player.isPlaying();
    playButton->setEnabled(!running || player.isHeld());
    pauseButton->setEnabled(running && !player.isHeld());
    stopButton->setEnabled(running);
    if (const auto at = player.nextWakeAt())
        wakeUp.start(int(std::clamp<Millis>(*at - now(), 0, std::numeric_limits<int>::max())));
    else
        wakeUp.stop();
    emit followed();
}

} // namespace sequence
