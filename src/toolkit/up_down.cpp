#include "toolkit/up_down.h"

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

void UpDown::setBuddy(QLineEdit *edit)
{
    buddy = edit;
    showInBuddy();
}

void UpDown::userStep(int delta)
{
    setPosition(pos + delta);
    emit clicked();
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
