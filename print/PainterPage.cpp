#include "print/PainterPage.h"

#include "print/ReportFonts.h"

#include <QFontMetricsF>
#include <QPaintDevice>

namespace {
constexpr double TwipsPerInch = 1440.0;
}

PainterPage::PainterPage(QPaintDevice &device)
    : m_device(device), m_unitsPerTwip(device.logicalDpiY() / TwipsPerInch) {
    // The report names the Windows fonts; they have to resolve before the first text is measured.
    installReportFontSubstitutes();
}

PainterPage::~PainterPage() {
    // A report left before its end still closes the device, so no half-open job stays behind.
    if (m_painter.isActive())
        m_painter.end();
}

bool PainterPage::painting() {
    if (!m_started) {
        m_started = true;
        m_painter.begin(&m_device);
    }
    return m_painter.isActive();
}

void PainterPage::applyFont(const QString &family, int points) {
    m_font = QFont(reportFamily(family));
    m_font.setPointSize(points);
    if (painting())
        m_painter.setFont(m_font);
}

int PainterPage::lineHeight() const {
    return toTwips(QFontMetricsF(m_font, &m_device).lineSpacing());
}

int PainterPage::textWidth(const QString &text) const {
    return toTwips(QFontMetricsF(m_font, &m_device).horizontalAdvance(text));
}

void PainterPage::drawText(int x, int y, const QString &text) {
    if (!painting())
        return;
    const double ascent = QFontMetricsF(m_font, &m_device).ascent();
    m_painter.drawText(QPointF(toDevice(x), toDevice(y) + ascent), text);
}

bool PainterPage::finish() {
    return m_painter.isActive() && m_painter.end();
}
