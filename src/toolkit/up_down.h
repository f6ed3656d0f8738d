#pragma once
// A pair of up/down arrow buttons holding an integer position in a range, with a
// fixed step and no wrap. A bound line edit (the buddy) shows the position, and
// its Up and Down keys step like the arrows. Only the user's steps emit
// clicked(); setPosition() from code is silent.
#include <QWidget>

class QLineEdit;
class QToolButton;

namespace toolkit {

class UpDown : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int minimum READ minimum WRITE setMinimum)
    Q_PROPERTY(int maximum READ maximum WRITE setMaximum)
    Q_PROPERTY(int position READ position WRITE setPosition)
    Q_PROPERTY(int increment READ increment WRITE setIncrement)

public:
    explicit UpDown(QWidget *parent = nullptr);

    int minimum() const { return min; }
    int maximum() const { return max; }
    int position() const { return pos; }
    int increment() const { return step; }
    void setMinimum(int value);
    void setMaximum(int value);
    void setPosition(int value);
    void setIncrement(int value) { step = value; }
    void setBuddy(QLineEdit *edit);

    // What a user's click on the upper or lower arrow does.
    void stepUp() { userStep(step); }
    void stepDown() { userStep(-step); }

signals:
    void clicked();

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void userStep(int delta);
    void showInBuddy();

    QToolButton *upButton;
    QToolButton *downButton;
    QLineEdit *buddy = nullptr;
    int min = 0;
    int max = 100;
    int pos = 0;
    int step = 1;
    bool stepping = false;
};

} // namespace toolkit
