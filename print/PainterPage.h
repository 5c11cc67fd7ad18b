#pragma once

#include "print/ReportPage.h"

#include <QFont>
#include <QPainter>

class QPaintDevice;

// The report page drawn with QPainter on a paged device: a printer chosen in the printer dialog
// or a PDF writer. Twips become device units by the device's resolution.
class PainterPage : public ReportPage {
public:
    // Painting starts with the first font or text, so a report given up before it leaves no
    // job and no file behind.
    explicit PainterPage(QPaintDevice &device);
    ~PainterPage() override;

protected:
    void applyFont(const QString &family, int points) override;
    int lineHeight() const override;
    int textWidth(const QString &text) const override;
    void drawText(int x, int y, const QString &text) override;
    bool finish() override;

private:
    double toDevice(int twips) const { return twips * m_unitsPerTwip; }
    int toTwips(double units) const { return qRound(units / m_unitsPerTwip); }
    bool painting();

    QPaintDevice &m_device;
    QPainter m_painter;
    QFont m_font;
    double m_unitsPerTwip = 1.0;
    bool m_started = false;
};
