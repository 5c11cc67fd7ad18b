#include "print/ReportPage.h"

void ReportPage::setFont(const QString &family, int points) {
    m_family = family;
    m_points = points;
    applyFont(family, points);
}

void ReportPage::print(const QString &text) {
    drawText(m_x, m_y, text);
    m_x += textWidth(text);
}

void ReportPage::printLine(const QString &text) {
    drawText(m_x, m_y, text);
    m_x = 0;
    m_y += lineHeight();
}

void ReportPage::printBefore(const QString &text, int limitX) {
    const int points = m_points;
    int size = points;
    while (size > MinPoints && m_x + textWidth(text) > limitX)
        setFont(m_family, --size);
    print(text);
    if (size != points)
        setFont(m_family, points);
}
