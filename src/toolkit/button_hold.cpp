#include "toolkit/button_hold.h"

#include <QAbstractButton>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace toolkit {

ButtonHold::ButtonHold(QAbstractButton *button) : QObject(button), button(button)
{
    button->installEventFilter(this);
}

ButtonHold *ButtonHold::of(QAbstractButton *button)
{
    if (auto *existing = button->findChild<ButtonHold *>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new ButtonHold(button);
}

void ButtonHold::setHeld(bool hold)
{
    if (hold == held)
        return;
    held = hold;
    if (held)
        emit mouseDown();
    else
        emit mouseUp();
}

// Watches only; the button still handles every event as usual.
bool ButtonHold::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != button)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: // the second press of a double click
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton && button->isEnabled())
            setHeld(true);
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            setHeld(false);
        break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Space && !key->isAutoRepeat())
            setHeld(event->type() == QEvent::KeyPress && button->isEnabled());
        break;
    }
    case QEvent::FocusOut:
        // A popup menu takes the focus only for a moment.
        if (static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
            setHeld(false);
        break;
    case QEvent::EnabledChange:
        if (!button->isEnabled())
            setHeld(false);
        break;
    case QEvent::Hide:
        setHeld(false);
        break;
    default:
        break;
    }
    return false;
}

} // namespace toolkit
