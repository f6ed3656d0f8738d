#pragma once
// A horizontal bar: progress 0..100 (values outside show as 0 or 100), a fill
// colour for the done part, a background colour for the rest and, optionally,
// the percentage as text. Being a QProgressBar keeps it readable by screen readers.
#include <QColor>
#include <QProgressBar>

namespace toolkit {

class Gauge : public QProgressBar {
    Q_OBJECT
    Q_PROPERTY(QColor foreColor READ foreColor WRITE setForeColor)
    Q_PROPERTY(QColor backColor READ backColor WRITE setBackColor)
    Q_PROPERTY(int progress READ progress WRITE setProgress)

public:
    explicit Gauge(QWidget *parent = nullptr);

    int progress() const { return value(); }
    void setProgress(int percent);
    QColor foreColor() const { return fill; }
    QColor backColor() const { return background; }
    void setForeColor(const QColor &colour);
    void setBackColor(const QColor &colour);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor fill = Qt::blue;
    QColor background = Qt::yellow;
};

} // namespace toolkit
