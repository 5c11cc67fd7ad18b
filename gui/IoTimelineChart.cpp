#include "gui/IoTimelineChart.h"

#include "base/ResText.h"
#include "iomon/IoTimeline.h"

#include <QPainter>

#include <algorithm>

namespace {

constexpr int Margin = 6;
constexpr int TraceInset = 4; // between a trace's high and low level and its row's edges
constexpr qint64 GridMs = 10000;
const QColor OnColour(200, 30, 30);
const QColor OnFill(240, 170, 170);
const QColor OffColour(70, 70, 70);
const QColor GridColour(215, 215, 215);

} // namespace

IoTimelineChart::IoTimelineChart(const IoTimeline &timeline, QWidget *parent)
    : QWidget(parent), m_timeline(timeline) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // Every paint covers the whole widget.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int IoTimelineChart::rowHeight() const {
    return std::max(fontMetrics().height() + 6, 20);
}

int IoTimelineChart::labelWidth() const {
    int widest = 0;
    for (const IoSignal &s : IoSignals::table())
        widest = std::max(widest, fontMetrics().horizontalAdvance(ResText(s.labelId)));
    return widest + 2 * Margin;
}

int IoTimelineChart::countsWidth() const {
    return fontMetrics().horizontalAdvance(ResText(1460).arg(999).arg(100)) + 2 * Margin;
}

QSize IoTimelineChart::sizeHint() const {
    return {labelWidth() + 480 + countsWidth(), IoSignals::Count * rowHeight() + rowHeight()};
}

QSize IoTimelineChart::minimumSizeHint() const {
    return {labelWidth() + 240 + countsWidth(), sizeHint().height()};
}

QString IoTimelineChart::countsText(int signal) const {
    if (m_timeline.isEmpty())
        return QString();
    return ResText(1460)
        .arg(m_timeline.switchedOn(signal))
        .arg(qRound(m_timeline.onShare(signal) * 100));
}

void IoTimelineChart::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    const int rowH = rowHeight();
    const int left = labelWidth();
    const int right = width() - countsWidth();
    const int plotW = std::max(1, right - left);
    const int axisTop = IoSignals::Count * rowH;

    // The first minute fills from the left; after it the chart scrolls with the last read.
    const qint64 from = std::max(m_timeline.originMs(), m_timeline.startMs());
    const auto xAt = [&](qint64 ms) {
        return left + double(ms - from) * plotW / double(IoTimeline::SpanMs);
    };

    p.setPen(GridColour);
    const QString unit = ResText(1459);
    if (!m_timeline.isEmpty()) {
        const qint64 since = from - m_timeline.originMs();
        for (qint64 t = (since + GridMs - 1) / GridMs * GridMs; t <= since + IoTimeline::SpanMs;
             t += GridMs) {
            const double x = xAt(m_timeline.originMs() + t);
            p.setPen(GridColour);
            p.drawLine(QPointF(x, 0), QPointF(x, axisTop));
            p.setPen(palette().text().color());
            const QString label = QStringLiteral("%1 %2").arg(t / 1000).arg(unit);
            const int w = fontMetrics().horizontalAdvance(label);
            p.drawText(QRectF(x - w / 2.0 - 1, axisTop, w + 2, rowH), Qt::AlignCenter, label);
        }
    }
    p.setPen(GridColour);
    p.drawLine(left, axisTop, right, axisTop);

    for (int i = 0; i < IoSignals::Count; ++i) {
        const int top = i * rowH;
        p.setPen(palette().text().color());
        p.drawText(QRect(Margin, top, left - 2 * Margin, rowH), Qt::AlignVCenter | Qt::AlignLeft,
                   ResText(IoSignals::table()[size_t(i)].labelId));
        p.drawText(QRect(right + Margin, top, countsWidth() - 2 * Margin, rowH),
                   Qt::AlignVCenter | Qt::AlignRight, countsText(i));
        const double high = top + TraceInset;
        const double low = top + rowH - TraceInset;
        double lastX = -1;
        double lastY = 0;
        for (const IoTimeline::Segment &s : m_timeline.trace(i)) {
            const double x1 = xAt(s.fromMs);
            const double x2 = xAt(s.toMs);
            const double y = s.on ? high : low;
            // The edge between two stretches that meet.
            if (qFuzzyCompare(x1 + 1, lastX + 1)) {
                p.setPen(OffColour);
                p.drawLine(QPointF(x1, lastY), QPointF(x1, y));
            }
            if (s.on)
                p.fillRect(QRectF(x1, high, x2 - x1, low - high), OnFill);
            p.setPen(QPen(s.on ? OnColour : OffColour, s.on ? 2 : 1));
            p.drawLine(QPointF(x1, y), QPointF(x2, y));
            lastX = x2;
            lastY = y;
        }
        p.setPen(GridColour);
        p.drawLine(left, top + rowH, right, top + rowH);
    }
}
