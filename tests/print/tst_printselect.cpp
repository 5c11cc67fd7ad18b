// The print selection dialog: its state at load, the file choice with the placeholder rule and
// the browse dialog, and the ways out (OK, Cancel, Escape, the close box).
#include "base/ResText.h"
#include "gui/frmPrintSelect.h"
#include "print/PrintSelection.h"
#include "support/ScriptedFileDialogs.h"
#include "support/ScriptedPrompt.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString Placeholder = QStringLiteral("QVデータファイル(xxxx.qvd)");
const QString FileChoiceMessage = QStringLiteral(
    "ＱＶデータのファイル名が適切でありません。\r\nファイル名を確認し、再度印刷して下さい。");

// One dialog with scripted answers, shown as the print command shows it.
struct SelectFixture {
    ScriptedPrompt prompt;
    ScriptedFileDialogs files;
    PrintSelection selection;
    QWidget mainWindow;
    std::unique_ptr<frmPrintSelect> dialog;

    explicit SelectFixture(const PrintSelection &before = {}) : selection(before) {
        mainWindow.show();
        dialog = std::make_unique<frmPrintSelect>(selection, files, prompt, &mainWindow);
        dialog->show();
    }
    void chooseFileOption() { dialog->optPrintPosi[1]->click(); }
};

} // namespace

class TestPrintSelect : public QObject {
    Q_OBJECT
private slots:
    void init() { setLangOffset(0); }

    void load();
    void screenDataAccepted();
    void fileChoiceMissing_data();
    void fileChoiceMissing();
    void browsedFileAccepted();
    void waysOut_data();
    void waysOut();
};

// At load: the texts, screen data chosen, the file choice off with its placeholder, a fresh
// cancel flag and file name; the choice of the last OK is kept.
void TestPrintSelect::load() {
    PrintSelection before;
    before.PrintCancel = true;
    before.PrintPosiFileName = QStringLiteral("/old/a.qvd");
    before.FilePosiPrint = true;
    SelectFixture f(before);
    frmPrintSelect &d = *f.dialog;

    QCOMPARE(d.windowTitle(), QStringLiteral("印刷設定"));
    QCOMPARE(d.cmdPrintCancel->text(), QStringLiteral("ｷｬﾝｾﾙ"));
    QVERIFY(d.optPrintPosi[0]->isChecked());
    QCOMPARE(d.lblPrintPosiName->text(), Placeholder);
    QVERIFY(!d.lblPrintPosiName->isEnabled());
    QVERIFY(!d.cmdSelectPosiFile->isEnabled());
    QVERIFY(!f.selection.PrintCancel);
    QCOMPARE(f.selection.PrintPosiFileName, QString());
    QVERIFY(f.selection.FilePosiPrint);
    const QPoint offset = d.pos() - f.mainWindow.frameGeometry().topLeft();
    QCOMPARE(offset, QPoint(33, 33)); // 500 twips
}

void TestPrintSelect::screenDataAccepted() {
    PrintSelection before;
    before.FilePosiPrint = true;
    SelectFixture f(before);
    f.dialog->cmdPrintSet->click();
    QVERIFY(f.selection.GridPosiPrint);
    QVERIFY(!f.selection.FilePosiPrint);
    QVERIFY(!f.selection.PrintCancel);
    QCOMPARE(f.dialog->result(), int(QDialog::Accepted));
    QVERIFY(f.prompt.shown.isEmpty());
}

void TestPrintSelect::fileChoiceMissing_data() {
    QTest::addColumn<bool>("browseCancelled");
    QTest::newRow("not browsed") << false;
    QTest::newRow("browse cancelled") << true;
}

// File data without a chosen file: messages 447 and 448 in one box, the dialog stays open.
void TestPrintSelect::fileChoiceMissing() {
    QFETCH(bool, browseCancelled);
    SelectFixture f;
    f.chooseFileOption();
    if (browseCancelled)
        f.dialog->cmdSelectPosiFile->click(); // the script has no path: cancelled
    QCOMPARE(f.dialog->lblPrintPosiName->text(), Placeholder);

    f.dialog->cmdPrintSet->click();

    QCOMPARE(f.prompt.shown.size(), 1);
    QCOMPARE(f.prompt.shown[0].text, FileChoiceMessage);
    QCOMPARE(f.prompt.shown[0].buttons, MsgButtons::OkOnly);
    QCOMPARE(f.prompt.shown[0].icon, MsgIcon::None);
    QVERIFY(f.dialog->isVisible());
    QVERIFY(!f.selection.GridPosiPrint);
    QVERIFY(!f.selection.FilePosiPrint);
}

// Browse with filter 236; the file's name with its extension is shown and published.
void TestPrintSelect::browsedFileAccepted() {
    SelectFixture f;
    f.files.answers = {QStringLiteral("/data/qvdata1.qvd")};
    f.chooseFileOption();
    f.dialog->cmdSelectPosiFile->click();

    QCOMPARE(f.files.shown.size(), 1);
    QVERIFY(!f.files.shown[0].save);
    QCOMPARE(f.files.shown[0].options.filter,
             QStringLiteral("ＱＶデータファイル(*.qvd)|*.qvd|すべてのファイル(*.*)|*.*"));
    QCOMPARE(f.dialog->lblPrintPosiName->text(), QStringLiteral("qvdata1.qvd"));

    f.dialog->cmdPrintSet->click();

    QVERIFY(f.selection.FilePosiPrint);
    QVERIFY(!f.selection.GridPosiPrint);
    QCOMPARE(f.selection.PrintPosiFileName, QStringLiteral("/data/qvdata1.qvd"));
    QCOMPARE(f.selection.PrintFileTitle, QStringLiteral("qvdata1.qvd"));
    QCOMPARE(f.dialog->result(), int(QDialog::Accepted));
    QVERIFY(f.prompt.shown.isEmpty());
}

void TestPrintSelect::waysOut_data() {
    QTest::addColumn<QString>("way");
    QTest::newRow("Cancel button") << "cancel";
    QTest::newRow("Escape") << "escape";
    QTest::newRow("close box") << "close";
}

// Every way out but OK is a cancel; the choice of the last OK stays.
void TestPrintSelect::waysOut() {
    QFETCH(QString, way);
    PrintSelection before;
    before.GridPosiPrint = true;
    SelectFixture f(before);
    f.chooseFileOption();

    if (way == QLatin1String("cancel"))
        f.dialog->cmdPrintCancel->click();
    else if (way == QLatin1String("escape"))
        QTest::keyClick(f.dialog.get(), Qt::Key_Escape);
    else
        f.dialog->close();

    QVERIFY(f.selection.PrintCancel);
    QVERIFY(f.selection.GridPosiPrint);
    QVERIFY(!f.selection.FilePosiPrint);
    QVERIFY(!f.dialog->isVisible());
}

QV_TEST_MAIN(TestPrintSelect)
#include "tst_printselect.moc"
