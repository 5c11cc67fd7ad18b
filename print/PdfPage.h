#pragma once

#include "print/PainterPage.h"

#include <QPdfWriter>
#include <QSaveFile>

// The file and writer a PdfPage draws on, built before the page itself.
struct PdfTarget {
    explicit PdfTarget(const QString &path);

    QSaveFile file;
    QPdfWriter writer;
};

// A report page that becomes a PDF file: A4 with the margins a printer has by default. The file
// is written when the document ends; until then an existing file at path stays as it was.
class PdfPage : private PdfTarget, public PainterPage {
public:
    explicit PdfPage(const QString &path);

    // Margins of the printable area, in points: what Qt's printer object starts with.
    static constexpr double MarginPoints = 10.0;

    // The file could be created in its folder.
    bool opened() const { return file.isOpen(); }

protected:
    bool finish() override;
};
