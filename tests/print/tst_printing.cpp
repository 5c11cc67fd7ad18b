// The print command in the main window: the order selection, printer dialog, screen checks or
// file read, report; what it prints and what it leaves on the screen.
#include "ScriptedPrintDialogs.h"
#include "data/QvDataFile.h"
#include "mainwindow/MainWindowFixture.h"
#include "support/QvDataValues.h"
#include "support/TestEnvironment.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

QvData dataOfTheFile() {
    return qvDataOf(
        {12, 3, 4, 5, 250, 30, 9, 1, 0, 400, 41, 42, 43, 44, 45, 46, 47, 0, 2, 600, 16, 599});
}

const QString BlankMessage =
    QStringLiteral("数値が入力されていない箇所があります。\r\n数値を入力後に再度実行して下さい。");

} // namespace

class TestPrinting : public QObject {
    Q_OBJECT
private slots:
    void init() { clearStoredSettings(); }

    void screenData();
    void blankFieldAfterPrinterDialog();
    void fileData_data();
    void fileData();
    void stopsQuietly_data();
    void stopsQuietly();

private:
    QTemporaryDir m_dir;
};

// The screen's data go into the read copy and onto the page; the buttons are off meanwhile, the
// file menu stays on.
void TestPrinting::screenData() {
    MainWindowFixture f;
    ScriptedPrintDialogs dialogs;
    f.window->setPrintDialogs(dialogs);
    fillPositions(*f.window);
    dialogs.choose = ScriptedPrintDialogs::screenData;
    bool buttonsOn = true, fileMenuOn = false;
    dialogs.atPrinterDialog = [&] {
        buttonsOn = f.control<QPushButton>("cmdFileOpen")->isEnabled();
        fileMenuOn = f.control<QAction>("mnuFileOpen")->isEnabled();
    };

    f.control<QAction>("mnuFilePrint")->trigger();

    QCOMPARE(dialogs.printerDialogs, 1);
    QVERIFY(!buttonsOn);
    QVERIFY(fileMenuOn);
    QVERIFY(f.control<QPushButton>("cmdFileOpen")->isEnabled());
    QCOMPARE(f.copies.read.Vel1, qint16(10));
    QCOMPARE(f.copies.read.Pulse2, 200);
    QCOMPARE(dialogs.record.find(QStringLiteral(" 10 ")).y, 2000);
    QCOMPARE(dialogs.record.find(QStringLiteral(" 200 ")).x, 7000);
    QCOMPARE(dialogs.record.ended, 1);
    QVERIFY(f.prompt.shown.isEmpty());
}

// A blank field is reported after the printer was chosen, and nothing is printed.
void TestPrinting::blankFieldAfterPrinterDialog() {
    MainWindowFixture f;
    ScriptedPrintDialogs dialogs;
    f.window->setPrintDialogs(dialogs);
    fillPositions(*f.window);
    f.control<QLineEdit>("txtPosi2Timer")->clear();
    dialogs.choose = ScriptedPrintDialogs::screenData;
    qsizetype messagesAtPrinter = -1;
    dialogs.atPrinterDialog = [&] { messagesAtPrinter = f.prompt.shown.size(); };

    f.control<QAction>("mnuFilePrint")->trigger();

    QCOMPARE(messagesAtPrinter, 0);
    QCOMPARE(f.prompt.texts(), QStringList{BlankMessage});
    QVERIFY(dialogs.record.items.isEmpty());
    QCOMPARE(dialogs.record.ended, 0);
    QVERIFY(f.control<QPushButton>("cmdFileOpen")->isEnabled());
}

void TestPrinting::fileData_data() {
    QTest::addColumn<bool>("edited");
    QTest::newRow("unsaved edits on screen") << true;
    QTest::newRow("nothing changed on screen") << false;
}

// The file's values are printed with the file line; the fields keep what they show, and the
// screen's own changed mark stays as it was.
void TestPrinting::fileData() {
    QFETCH(bool, edited);
    MainWindowFixture f;
    ScriptedPrintDialogs dialogs;
    f.window->setPrintDialogs(dialogs);
    fillPositions(*f.window);
    f.window->setDataChanged(edited);
    const QString path = m_dir.filePath(QStringLiteral("qvdata1.qvd"));
    QVERIFY(QvDataFile::write(path, dataOfTheFile()));
    dialogs.choose = ScriptedPrintDialogs::fileData(path, QStringLiteral("qvdata1.qvd"));

    f.control<QAction>("mnuFilePrint")->trigger();

    const PageRecord &page = dialogs.record;
    QCOMPARE(page.find(QStringLiteral("ファイル名:qvdata1.qvd")).y, 900);
    QCOMPARE(page.find(QStringLiteral(" 12 ")).x, 2500);
    QCOMPARE(page.find(QStringLiteral(" 599 ")).x, 4500);
    QCOMPARE(page.find(QStringLiteral(" 10 ")).y, -1); // the screen's VEL 1 is not printed
    QCOMPARE(f.copies.read, dataOfTheFile());
    QCOMPARE(f.control<QComboBox>("comboVEL1")->currentText(), QStringLiteral("10"));
    QCOMPARE(f.control<QLineEdit>("txtPosi1")->text(), QStringLiteral("100"));
    QCOMPARE(f.window->DataChanged(), edited);
    QVERIFY(f.prompt.shown.isEmpty());
}

void TestPrinting::stopsQuietly_data() {
    QTest::addColumn<bool>("selectionCancelled");
    QTest::addColumn<bool>("printerChosen");
    QTest::addColumn<int>("printerDialogs");
    QTest::newRow("selection cancelled") << true << true << 0;
    QTest::newRow("printer dialog cancelled") << false << false << 1;
}

// A cancel ends the command with nothing printed, nothing shown and the buttons back on.
void TestPrinting::stopsQuietly() {
    QFETCH(bool, selectionCancelled);
    QFETCH(bool, printerChosen);
    QFETCH(int, printerDialogs);
    MainWindowFixture f;
    ScriptedPrintDialogs dialogs;
    f.window->setPrintDialogs(dialogs);
    fillPositions(*f.window);
    dialogs.choose =
        selectionCancelled ? ScriptedPrintDialogs::cancel : ScriptedPrintDialogs::screenData;
    dialogs.printerChosen = printerChosen;
    const QvData readBefore = f.copies.read;

    f.control<QAction>("mnuFilePrint")->trigger();

    QCOMPARE(dialogs.printerDialogs, printerDialogs);
    QVERIFY(dialogs.record.items.isEmpty());
    QVERIFY(f.prompt.shown.isEmpty());
    QCOMPARE(f.copies.read, readBefore);
    QVERIFY(f.control<QPushButton>("cmdFileOpen")->isEnabled());
}

QV_TEST_MAIN(TestPrinting)
#include "tst_printing.moc"
