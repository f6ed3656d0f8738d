#pragma once
// A slider that also shows a selection band (e.g. a joint's travel limits) beside
// its groove. Setting the band from code emits nothing.
#include <QSlider>

namespace toolkit {

class TrackBar : public QSlider {
    Q_OBJECT
    Q_PROPERTY(int selStart READ selStart WRITE setSelStart)
    Q_PROPERTY(int selEnd READ selEnd WRITE setSelEnd)

public:
    explicit TrackBar(QWidget *parent = nullptr);

    int selStart() const { return bandStart; }
    int selEnd() const { return bandEnd; }
    void setSelStart(int value);
    void setSelEnd(int value);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int bandStart = 0;
    int bandEnd = 0;
};

} // namespace toolkit
