// Pictures of printing for the documentation: the print selection and the printer dialog of the
// window in each language, and the report printed through that dialog to a PDF file (print to
// file). Run under a display (xvfb-run) with the output folder as argument; turn the PDFs into
// pictures with pdftoppm.
#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "data/FileOperations.h"
#include "data/QvDataFile.h"
#include "gui/frmMain.h"
#include "gui/frmPrintSelect.h"
#include "mainwindow/MainWindowFixture.h"
#include "support/PictureRun.h"
#include "support/QvDataValues.h"
#include "support/SessionFixture.h"

#include <QApplication>
#include <QDir>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

QvData example() {
    return qvDataOf(
        {12, 3, 3, 10, 250, 20, 5, 4, 0, 100, 40, 10, 30, 50, 20, 60, 0, 0, 5, 300, 3, 50});
}

template <typename T> T *shown() {
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *t = qobject_cast<T *>(w); t && t->isVisible())
            return t;
    }
    return nullptr;
}

} // namespace

int main(int argc, char *argv[]) {
    PictureRun run(argc, argv);
    const QDir &out = run.out;
    PictureRun::forEachLanguage([&](const QString &suffix) {
        SessionFixture f;
        f.settings.ReadLanguage(); // as the start routine does before the window loads
        setLangOffset(f.settings.LangOffset);
        frmMain window(f.session);
        window.show();
        const QString file = QDir(run.configPath()).filePath(QStringLiteral("qvdata1.qvd"));
        QvDataFile::write(file, example());
        f.session.files().ReadQvFile(file);
        f.copies.CopyTemp2Hensu();
        window.ShowQvData();
        QTest::qWait(300);

        // Print to file: the dialog opens with the PDF file chosen as the printer.
        window.printer().setOutputFileName(
            out.filePath(QStringLiteral("print-%1.pdf").arg(suffix)));
        QTimer poll;
        int step = 0;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (step == 0) {
                if (auto *d = shown<frmPrintSelect>()) {
                    QTest::qWait(200);
                    d->grab().save(out.filePath(QStringLiteral("print-select-%1.png").arg(suffix)));
                    d->cmdPrintSet->click();
                    step = 1;
                }
            } else if (step == 1) {
                if (auto *d = shown<QPrintDialog>()) {
                    QTest::qWait(500);
                    d->grab().save(out.filePath(QStringLiteral("print-dialog-%1.png").arg(suffix)));
                    d->accept();
                    step = 2;
                }
            }
        });
        poll.start(100);
        control<QAction>(window, "mnuFilePrint")->trigger();
        poll.stop();
    });
    return 0;
}
