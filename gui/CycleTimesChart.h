#pragma once

#include <QWidget>

class CycleTest;

// The cycle test's chart: each move's time (ms, upwards) by its number (rightwards), the moves to
// position 1 and those to position 2 each joined by a line of their own colour, a move that failed
// as a hollow mark. Drawn in the manner of the I/O monitor's strip chart; it shows what the test
// holds and grows with it.
class CycleTimesChart : public QWidget {
    Q_OBJECT
public:
    explicit CycleTimesChart(const CycleTest &test, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const CycleTest &m_test;
};
