#include "sequence/player_window.h"

#include "toolkit/message_sink.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <limits>

namespace sequence {

namespace {

namespace msg = toolkit::msg;

QPushButton *button(const QString &caption, const char *name, QWidget *parent)
{
    auto *result = new QPushButton(caption, parent);
    result->setObjectName(QLatin1String(name));
    return result;
}

// A read-out has no label of its own: its hint names it.
QLabel *readOut(const QString &hint, const char *name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setToolTip(hint);
    label->setAccessibleName(hint);
    return label;
}

} // namespace

PlayerWindow::PlayerWindow(PlayerHost &console)
    : QWidget(nullptr), console(console), player(console), wakeUp(this)
{
    setObjectName(QStringLiteral("playerWindow"));
    setWindowTitle(QStringLiteral("Ablauf abspielen"));
    wakeUp.setSingleShot(true);
    wakeUp.setTimerType(Qt::PreciseTimer);
    clock.start();
    buildControls();
    connectControls();
    follow();
}

// The edit loses the focus as the window goes; that must not reach a window
// that is half taken apart.
PlayerWindow::~PlayerWindow() { disconnect(dwellEdit, nullptr, this, nullptr); }

void PlayerWindow::buildControls()
{
    playButton = button(QStringLiteral("Abspielen"), "playButton", this);
    pauseButton = button(QStringLiteral("Pause"), "pauseButton", this);
    stopButton = button(QStringLiteral("Stopp"), "stopButton", this);
    dwellEdit = new QLineEdit(QString::number(player.dwellMs()), this);
    dwellEdit->setObjectName(QStringLiteral("dwellEdit"));
    dwellEdit->setToolTip(QStringLiteral("Wartezeit nach jedem Schritt, wenn der Arm angekommen ist (0 bis %1 ms)")
                              .arg(PlayerCore::kLongestDwellMs));
    auto *dwellLabel = new QLabel(QStringLiteral("Pause (ms)"), this);
    dwellLabel->setBuddy(dwellEdit);
    loopBox = new QCheckBox(QStringLiteral("Endlos wiederholen"), this);
    loopBox->setObjectName(QStringLiteral("loopBox"));
    stepLabel = readOut(QStringLiteral("Aktueller Schritt des Verfahrsatzes"), "stepLabel", this);
    stateLabel = readOut(QStringLiteral("Zustand des Ablaufs"), "stateLabel", this);

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
    connect(pauseButton, &QPushButton::clicked, this, [this] {
        player.pause();
        follow();
    });
    connect(stopButton, &QPushButton::clicked, this, [this] {
        player.stop();
        follow();
    });
    connect(loopBox, &QCheckBox::toggled, this, [this](bool on) { player.setLoop(on); });
    connect(dwellEdit, &QLineEdit::editingFinished, this, &PlayerWindow::acceptDwell);
    connect(&wakeUp, &QTimer::timeout, this, [this] {
        player.tick(now());
        follow();
    });
}

// The edit shows the dwell in force again before the box opens: the focus the box
// takes finishes the editing a second time, and then finds nothing to refuse.
void PlayerWindow::acceptDwell()
{
    bool isNumber = false;
    const int ms = dwellEdit->text().trimmed().toInt(&isNumber);
    const bool accepted = isNumber && player.setDwellMs(ms);
    dwellEdit->setText(QString::number(player.dwellMs()));
    if (!accepted)
        msg::show(msg::Kind::Warning, msg::Buttons::Ok,
                  "Die Pause muss eine ganze Zahl von 0 bis " + std::to_string(PlayerCore::kLongestDwellMs)
                      + " ms sein.");
}

void PlayerWindow::start()
{
    show();
    raise();
    activateWindow();
    if (!player.isPlaying())
        player.play();
    follow();
}

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
    stepLabel->setText(QStringLiteral("Schritt %1 von %2").arg(console.currentStep() + 1).arg(console.stepCount()));
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
    stateLabel->setText(QString::fromStdString(player.stateText()));
    const bool running = player.isPlaying();
    playButton->setEnabled(!running || player.isHeld());
    pauseButton->setEnabled(running && !player.isHeld());
    stopButton->setEnabled(running);
    if (const auto at = player.nextWakeAt())
        wakeUp.start(int(std::clamp<Millis>(*at - now(), 0, std::numeric_limits<int>::max())));
    else
        wakeUp.stop();
}

} // namespace sequence
