// Prints a QV data file's report through the window's print command to a Windows printer named
// on the command line, in English: the print selection chooses the file and the printer dialog
// is answered with that printer (the system's own dialog is the one thing not shown). With an
// output file the printer's driver writes the job there (print to file) instead of the spooler.
//   print_to_printer PRINTER FILE.qvd [OUTPUT]
// Exit status 0 when the page was finished; 1 with the reason on standard error otherwise.
#include "base/ResText.h"
#include "gui/frmMain.h"
#include "mainwindow/MainWindowFixture.h"
#include "print/PainterPage.h"
#include "print/PrintDialogs.h"
#include "print/PrintSelection.h"

#include <QApplication>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>

#include <cstdio>

namespace {

// The report page on the chosen printer, remembering whether the job was finished.
class PrinterPage : public PainterPage {
public:
    explicit PrinterPage(QPrinter &printer, bool &finished)
        : PainterPage(printer), m_finished(finished) {}

protected:
    bool finish() override { return m_finished = PainterPage::finish(); }

private:
    bool &m_finished;
};

// The print selection chooses the file, titled by its name as qvpc-cli's print titles it; the
// printer dialog is answered with the printer already set.
class ChosenPrinter : public PrintDialogs {
public:
    ChosenPrinter(QPrinter &printer, const QString &file) : m_printer(printer), m_file(file) {}
    bool finished = false;

    void showPrintSelect(PrintSelection &s) override {
        s.PrintCancel = false;
        s.GridPosiPrint = false;
        s.FilePosiPrint = true;
        s.PrintPosiFileName = m_file;
        s.PrintFileTitle = QFileInfo(m_file).fileName();
    }
    std::unique_ptr<ReportPage> choosePrinter() override {
        return std::make_unique<PrinterPage>(m_printer, finished);
    }

private:
    QPrinter &m_printer;
    QString m_file;
};

int fail(const QString &why) {
    std::fputs(qPrintable(why + QLatin1Char('\n')), stderr);
    return 1;
}

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3 || args.size() > 4)
        return fail(QStringLiteral("usage: print_to_printer PRINTER FILE.qvd [OUTPUT]"));
    SessionFixture f;
    // English, whatever the system's language, as the start routine reads --lang en.
    f.settings.languageOption = QStringLiteral("en");
    f.settings.ReadLanguage();
    setLangOffset(f.settings.LangOffset);
    frmMain window(f.session);
    QPrinter &printer = window.printer();
    printer.setPrinterName(args.at(1));
    if (!printer.isValid() || printer.printerName() != args.at(1)) {
        return fail(QStringLiteral("no printer %1; the system has: %2")
                        .arg(args.at(1), QPrinterInfo::availablePrinterNames().join(u", ")));
    }
    if (args.size() == 4)
        printer.setOutputFileName(args.at(3));
    ChosenPrinter dialogs(printer, args.at(2));
    window.setPrintDialogs(dialogs);
    control<QAction>(window, QStringLiteral("mnuFilePrint"))->trigger();

    if (!f.prompt.shown.isEmpty())
        return fail(f.prompt.texts().join(u'\n'));
    if (!dialogs.finished || printer.printerState() == QPrinter::Error)
        return fail(QStringLiteral("the page on %1 was not finished").arg(args.at(1)));
    return 0;
}
