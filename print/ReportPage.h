#pragma once

#include <QString>

// A page the report is printed on, with a print position like a printer object's: positions in
// twips (1/1440 inch) from the top-left corner of the printable area, the position being the top
// of the next text. Whether the page is a printer, a PDF file or a test's recording is the
// subclass's business.
class ReportPage {
public:
    virtual ~ReportPage() = default;

    void setFont(const QString &family, int points);
    QString fontFamily() const { return m_family; }
    int fontPoints() const { return m_points; }

    void atX(int twips) { m_x = twips; }
    void atY(int twips) { m_y = twips; }
    void down(int twips) { m_y += twips; }
    int currentX() const { return m_x; }
    int currentY() const { return m_y; }

    // Prints text at the position and leaves the position just after it, on the same line.
    void print(const QString &text);
    // Prints text at the position, then moves to the start of the next line (one line of the
    // current font further down).
    void printLine(const QString &text);
    // Prints text as print does, but ending before limitX: where it would reach further in the
    // current font, it is drawn one size smaller at a time (not below MinPoints) until it fits.
    // The font is the same again afterwards. A label is never allowed to run into the next item
    // on its line, which would make the two read as one.
    void printBefore(const QString &text, int limitX);
    static constexpr int MinPoints = 6;

    // Ends the document: the page goes to the printer or the file. False when that failed.
    bool endDoc() { return finish(); }

protected:
    virtual void applyFont(const QString &family, int points) = 0;
    // Height of one line and width of a text in the current font, in twips.
    virtual int lineHeight() const = 0;
    virtual int textWidth(const QString &text) const = 0;
    // Draws text with the top of its line at (x, y) twips.
    virtual void drawText(int x, int y, const QString &text) = 0;
    virtual bool finish() = 0;

private:
    QString m_family;
    int m_points = 0;
    int m_x = 0;
    int m_y = 0;
};
