#include "toolkit/up_down.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

namespace toolkit {

UpDown::UpDown(QWidget *parent)
    : QWidget(parent), upButton(new QToolButton(this)), downButton(new QToolButton(this))
{
    upButton->setArrowType(Qt::UpArrow);
    downButton->setArrowType(Qt::DownArrow);
    upButton->setAccessibleName(tr("höher"));
    downButton->setAccessibleName(tr("niedriger"));
    for (QToolButton *button : {upButton, downButton}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
    }
    connect(upButton, &QToolButton::clicked, this, &UpDown::stepUp);
    connect(downButton, &QToolButton::clicked, this, &UpDown::stepDown);
}

void UpDown::setMinimum(int value)
{
    min = value;
    pos = std::max(pos, min);
}

void UpDown::setMaximum(int value)
{
    max = value;
    pos = std::min(pos, max);
}

void UpDown::setPosition(int value)
{
    pos = std::clamp(value, min, max);
    showInBuddy();
}

// The arrow keys in the bound field step too, so the value can be changed
// without a mouse.
void UpDown::setBuddy(QLineEdit *edit)
{
    buddy = edit;
    buddy->installEventFilter(this);
    showInBuddy();
}

bool UpDown::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == buddy && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Up: stepUp(); return true;
        case Qt::Key_Down: stepDown(); return true;
        default: break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void UpDown::userStep(int delta)
{
    // A click handler still running (waiting in a message box) must not be entered
    // again by the held arrow's auto-repeat, which would stack box upon box: the
    // arrow is let go instead.
    if (stepping) {
        upButton->setDown(false);
        downButton->setDown(false);
        return;
    }
    stepping = true;
    setPosition(pos + delta);
    emit clicked();
    stepping = false;
}

void UpDown::showInBuddy()
{
    if (buddy)
        buddy->setText(QString::number(pos));
}

void UpDown::resizeEvent(QResizeEvent *)
{
    const int half = height() / 2;
    upButton->setGeometry(0, 0, width(), half);
    downButton->setGeometry(0, half, width(), height() - half);
}

} // namespace toolkit
