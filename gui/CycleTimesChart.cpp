#include "gui/CycleTimesChart.h"

#include "base/ResText.h"
#include "ops/CycleTest.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {

constexpr int Margin = 6;
constexpr int MinMoves = 10; // the axis spans at least this many moves
constexpr int Mark = 3;      // half a point's mark
const QColor GridColour(215, 215, 215);
const QColor TargetColour[] = {QColor(30, 80, 200), QColor(200, 30, 30)};

// A step of 1, 2 or 5 times a power of ten that divides span into at most five parts.
qint64 gridStep(qint64 span) {
    for (qint64 power = 1;; power *= 10) {
        for (qint64 factor : {1, 2, 5}) {
            if (span / (factor * power) <= 5)
                return factor * power;
        }
    }
}

} // namespace

CycleTimesChart::CycleTimesChart(const CycleTest &test, QWidget *parent)
    : QWidget(parent), m_test(test) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize CycleTimesChart::sizeHint() const {
    return {fontMetrics().height() * 36, fontMetrics().height() * 14};
}

QSize CycleTimesChart::minimumSizeHint() const {
    return {fontMetrics().height() * 20, fontMetrics().height() * 9};
}

void CycleTimesChart::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), palette().base());
    const QList<CycleMove> &moves = m_test.moves();
    const QFontMetrics fm = fontMetrics();
    const int rowH = fm.height() + 4;

    qint64 longest = 100;
    for (const CycleMove &m : moves)
        longest = std::max(longest, m.durationMs);
    const qint64 step = gridStep(longest);
    const qint64 top = (longest + step - 1) / step * step;
    const int spanMoves = std::max(MinMoves, int(moves.size()));

    const int left = fm.horizontalAdvance(QString::number(top)) + 2 * Margin;
    const int right = width() - Margin;
    const int plotTop = rowH + Margin;
    const int plotBottom = height() - 2 * rowH;
    const double plotW = std::max(1, right - left);
    const double plotH = std::max(1, plotBottom - plotTop);
    const auto xAt = [&](int number) { return left + (number - 0.5) * plotW / spanMoves; };
    const auto yAt = [&](qint64 ms) { return plotBottom - double(ms) * plotH / double(top); };

    // The time axis: grid lines with their ms on the left, the unit above.
    const QColor text = palette().text().color();
    for (qint64 ms = 0; ms <= top; ms += step) {
        p.setPen(GridColour);
        p.drawLine(QPointF(left, yAt(ms)), QPointF(right, yAt(ms)));
        p.setPen(text);
        p.drawText(QRectF(0, yAt(ms) - rowH / 2.0, left - Margin, rowH),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(ms));
    }
    p.drawText(QRect(Margin, 0, left + 40, rowH), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("ms"));
    // The move numbers below, at about ten labels across.
    const int every = std::max(1, int(gridStep(spanMoves)));
    for (int n = every; n <= spanMoves; n += every) {
        const QString label = QString::number(n);
        const int w = fm.horizontalAdvance(label);
        p.drawText(QRectF(xAt(n) - w / 2.0 - 1, plotBottom, w + 2, rowH), Qt::AlignCenter, label);
    }
    p.drawText(QRect(left, plotBottom + rowH, right - left, rowH), Qt::AlignCenter, ResText(1814));

    // The legend: a line of each position's colour with its name, top right.
    int legendX = right;
    for (int target : {2, 1}) {
        const QString name = ResText(33 + target);
        legendX -= fm.horizontalAdvance(name) + 3 * Margin + 16;
        p.setPen(QPen(TargetColour[target - 1], 2));
        p.drawLine(legendX, rowH / 2, legendX + 16, rowH / 2);
        p.setPen(text);
        p.drawText(QRect(legendX + 16 + Margin, 0, fm.horizontalAdvance(name) + Margin, rowH),
                   Qt::AlignLeft | Qt::AlignVCenter, name);
    }

    for (int target : {1, 2}) {
        const QColor colour = TargetColour[target - 1];
        QPainterPath line;
        for (const CycleMove &m : moves) {
            if (m.target != target)
                continue;
            const QPointF at(xAt(m.number), yAt(m.durationMs));
            if (line.elementCount() == 0)
                line.moveTo(at);
            else
                line.lineTo(at);
        }
        p.setPen(QPen(colour, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawPath(line);
        for (const CycleMove &m : moves) {
            if (m.target != target)
                continue;
            p.setBrush(m.result.isDone() ? QBrush(colour) : QBrush(palette().base()));
            p.drawEllipse(QPointF(xAt(m.number), yAt(m.durationMs)), Mark, Mark);
        }
    }
    p.setPen(text);
    p.setBrush(Qt::NoBrush);
    p.drawLine(left, plotBottom, right, plotBottom);
}
