#pragma once
// A slider that also shows a selection band (e.g. a joint's travel limits) beside
// its groove. Setting the band from code emits nothing.
//
// Its position, unlike QSlider's value, may be set beyond the range: the bar then
// shows its end while position() keeps what was set (a sharp turn steers with
// +-255 on a bar that shows +-100).
#include <QSlider>

namespace toolkit {

class TrackBar : public QSlider {
    Q_OBJECT
    Q_PROPERTY(int selStart READ selStart WRITE setSelStart)
    Q_PROPERTY(int selEnd READ selEnd WRITE setSelEnd)
    Q_PROPERTY(int position READ position WRITE setPosition NOTIFY positionChanged)

public:
    explicit TrackBar(QWidget *parent = nullptr);

    int selStart() const { return bandStart; }
    int selEnd() const { return bandEnd; }
    void setSelStart(int value);
    void setSelEnd(int value);
    int position() const { return pos; }
    // Emits positionChanged (and valueChanged) only when the position changes.
    void setPosition(int value);

signals:
    void positionChanged(int position);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int bandStart = 0;
    int bandEnd = 0;
    int pos = 0;
    bool settingPosition = false;
};

} // namespace toolkit
