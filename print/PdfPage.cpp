#include "print/PdfPage.h"

#include "base/FileTarget.h"

#include <QPageLayout>

PdfTarget::PdfTarget(const QString &path) : file(path), writer(&file) {
    // A FIFO, terminal or device named by mistake is no PDF file: saving would replace it (a
    // device node too, when run as root).
    if (FileTarget::isWritableAsFile(path))
        file.open(QIODevice::WriteOnly);
    const double m = PdfPage::MarginPoints;
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(m, m, m, m), QPageLayout::Point));
    writer.setTitle(QStringLiteral("QV PC-Software"));
    writer.setCreator(QStringLiteral("QV PC-Software"));
}

PdfPage::PdfPage(const QString &path) : PdfTarget(path), PainterPage(writer) {}

bool PdfPage::finish() {
    // The final flush is checked before the commit: a short write there (a disk that filled up)
    // would otherwise replace a good file by a truncated one.
    return opened() && PainterPage::finish() && file.flush() && file.commit();
}
