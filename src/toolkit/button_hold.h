#pragma once
// Mouse-down and mouse-up of a button as the operator makes them: down when the
// left mouse button goes down on it, up when that mouse button is let go,
// wherever the pointer is by then. (Qt's pressed/released also fire when the
// pointer leaves a held button and comes back.) The space key holds a button
// like the mouse does; losing the focus, being disabled or hidden lets it go,
// as it does for Qt's own buttons. Down is told before the button handles the
// press, so isChecked() still shows the state before it.
#include <QObject>

class QAbstractButton;

namespace toolkit {

class ButtonHold : public QObject {
    Q_OBJECT

public:
    // The button's one watch, made on first use and owned by the button.
    static ButtonHold *of(QAbstractButton *button);

signals:
    void mouseDown();
    void mouseUp();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit ButtonHold(QAbstractButton *button);
    void setHeld(bool hold);

    QAbstractButton *const button;
    bool held = false;
};

} // namespace toolkit
