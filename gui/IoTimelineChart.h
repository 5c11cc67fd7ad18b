#pragma once

#include <QWidget>

class IoTimeline;

// The I/O monitor window's strip chart: a row for each of the nine signals with its label, its
// trace over the shown minute (on raised and red, off low), and beside it how often it switched
// on and its share of time on. Below, the time axis in seconds from the first read. It draws what
// the timeline holds; it scrolls because the timeline does.
class IoTimelineChart : public QWidget {
    Q_OBJECT
public:
    explicit IoTimelineChart(const IoTimeline &timeline, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The counts beside the signal's trace, as shown.
    QString countsText(int signal) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int rowHeight() const;
    int labelWidth() const;
    int countsWidth() const;

    const IoTimeline &m_timeline;
};
