#include "base/ResText.h"
#include "gui/LocaliseForm.h"
#include "gui/frmSelection.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>

// A small window designed the way the program's windows are: ids in tags, tool tips and menus.
struct DesignedWindow {
    QMainWindow window;
    QLabel *lblWithTag = new QLabel(QStringLiteral("design"), &window);
    QLabel *lblNoTag = new QLabel(QStringLiteral("1"), &window);
    QPushButton *cmd = new QPushButton(QStringLiteral("design"), &window);
    QGroupBox *frame = new QGroupBox(QStringLiteral("design"), &window);
    QLineEdit *txt = new QLineEdit(&window);
    QCheckBox *chkZeroTip = new QCheckBox(QStringLiteral("design"), &window);
    QTreeWidget *list = new QTreeWidget(&window);
    QMenu *mnuFile = nullptr;
    QAction *mnuFileOpen = nullptr;
    QAction *mnuHidden = nullptr;

    DesignedWindow() {
        window.setWindowTitle(QStringLiteral("design title"));
        setTagId(lblWithTag, 48);
        setToolTipId(lblWithTag, 80);
        setTagId(cmd, 22);
        setToolTipId(cmd, 59);
        setTagId(frame, 21);
        setToolTipId(txt, 91);
        chkZeroTip->setToolTip(QStringLiteral("0"));
        list->setColumnCount(2);
        list->headerItem()->setData(0, Qt::UserRole, QStringLiteral("29"));
        list->headerItem()->setText(1, QStringLiteral("keep"));
        mnuFile = window.menuBar()->addMenu(QStringLiteral("101"));
        mnuFileOpen = mnuFile->addAction(QStringLiteral("103"));
        mnuHidden = mnuFile->addAction(QStringLiteral("mnuFileSend"));
    }
};

class TestLocaliseForm : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { setLangOffset(0); }

    void appliesEveryKind_data() {
        QTest::addColumn<int>("offset");
        QTest::newRow("Japanese") << 0;
        QTest::newRow("English") << 10000;
    }
    void appliesEveryKind() {
        QFETCH(int, offset);
        setLangOffset(qint16(offset));
        DesignedWindow d;
        setTagId(&d.window, 401);
        LocaliseForm(&d.window);
        const bool ja = offset == 0;
        QCOMPARE(d.window.windowTitle(), ResText(401));
        QCOMPARE(d.lblWithTag->text(),
                 ja ? QStringLiteral("ｵﾌｾｯﾄﾊﾟﾙｽ") : QStringLiteral("Home Position Offset"));
        QCOMPARE(d.lblWithTag->toolTip(), ResText(80));
        QCOMPARE(d.cmd->text(),
                 ja ? QStringLiteral("　ファイル　読み込み") : QStringLiteral("File Open"));
        QCOMPARE(d.cmd->toolTip(), ResText(59));
        QCOMPARE(d.frame->title(), ResText(21));
        QCOMPARE(d.txt->toolTip(), ja ? QStringLiteral("設定範囲：1～100　初期値：2")
                                      : QStringLiteral("Integer: 1 to 100 / Init:2"));
        QCOMPARE(d.mnuFile->title(),
                 ja ? QStringLiteral("ファイル(&F)") : QStringLiteral("File(&F)"));
        QCOMPARE(d.mnuFileOpen->text(), ResText(103));
        QCOMPARE(d.list->headerItem()->text(0), ResText(29));
    }

    // What has no id, or an id without an item, keeps its design text.
    void designTextsKept() {
        DesignedWindow d;
        setTagId(&d.window, 410);
        LocaliseForm(&d.window);
        QCOMPARE(d.window.windowTitle(), QStringLiteral("design title"));
        QCOMPARE(d.lblNoTag->text(), QStringLiteral("1"));
        QCOMPARE(d.chkZeroTip->toolTip(), QStringLiteral("0"));
        QCOMPARE(d.chkZeroTip->text(), QStringLiteral("design"));
        QCOMPARE(d.mnuHidden->text(), QStringLiteral("mnuFileSend"));
        QCOMPARE(d.list->headerItem()->text(1), QStringLiteral("keep"));

        DesignedWindow untagged;
        untagged.window.setProperty("tag", QString());
        LocaliseForm(&untagged.window);
        QCOMPARE(untagged.window.windowTitle(), QStringLiteral("design title"));
    }

    // A second run changes nothing, even where an applied text starts with a digit
    // (tool tip 65 reads "1～30の整数").
    void secondRunChangesNothing() {
        DesignedWindow d;
        setToolTipId(d.txt, 65);
        LocaliseForm(&d.window);
        const QString tip = d.txt->toolTip();
        QCOMPARE(tip, QStringLiteral("1～30の整数"));
        const QString menu = d.mnuFile->title();
        const QString label = d.lblWithTag->text();
        LocaliseForm(&d.window);
        QCOMPARE(d.txt->toolTip(), tip);
        QCOMPARE(d.mnuFile->title(), menu);
        QCOMPARE(d.lblWithTag->text(), label);
        QCOMPARE(d.lblWithTag->toolTip(), ResText(80));
    }

    void askSelection_data() {
        QTest::addColumn<int>("option"); // option to pick, -1 for Cancel
        QTest::addColumn<int>("expected");
        QTest::newRow("first") << 0 << 0;
        QTest::newRow("second") << 1 << 1;
        QTest::newRow("cancel") << -1 << -1;
    }
    void askSelection() {
        QFETCH(int, option);
        QFETCH(int, expected);
        setLangOffset(option == 1 ? StringTable::EnglishOffset : 0);
        QMainWindow main;
        main.show();
        bool checked = false;
        QTimer::singleShot(0, [&] {
            auto *dlg = qobject_cast<frmSelection *>(QApplication::activeModalWidget());
            QVERIFY(dlg);
            QCOMPARE(dlg->windowTitle(), QStringLiteral("caption"));
            QCOMPARE(dlg->lblSelectSetumei->text(), QStringLiteral("description"));
            QCOMPARE(dlg->optSelectKomoku[1]->text(), QStringLiteral("second"));
            QVERIFY(dlg->optSelectKomoku[0]->isChecked());
            QVERIFY(dlg->cmdSelectCancel->isVisible());
            QVERIFY(!dlg->SelectCancelBtnNasi);
            // Not localised: the design's button texts whatever the language; the windows' font.
            QCOMPARE(dlg->cmdSelectOk->text(), QStringLiteral("OK"));
            QCOMPARE(dlg->cmdSelectCancel->text(), QStringLiteral("ｷｬﾝｾﾙ"));
            QCOMPARE(dlg->font().family(), QStringLiteral("IPAPGothic"));
            checked = true;
            if (option < 0) {
                dlg->cmdSelectCancel->click();
                return;
            }
            dlg->optSelectKomoku[option]->click();
            dlg->cmdSelectOk->click();
        });
        const qint16 answer =
            AskSelection(&main, QStringLiteral("caption"), QStringLiteral("description"),
                         QStringLiteral("first"), QStringLiteral("second"), 0);
        QVERIFY(checked);
        QCOMPARE(int(answer), expected);
    }

    // Without a Cancel button neither the close box nor Escape ends the dialog; only OK does.
    void closeRefusedWithoutCancel() {
        QMainWindow main;
        main.move(100, 80);
        main.show();
        bool stillOpen = false;
        QTimer::singleShot(0, [&] {
            auto *dlg = qobject_cast<frmSelection *>(QApplication::activeModalWidget());
            QVERIFY(dlg);
            QVERIFY(dlg->SelectCancelBtnNasi);
            QVERIFY(!dlg->cmdSelectCancel->isVisible());
            QVERIFY(!dlg->cmdSelectCancel->isEnabled());
            const QPoint expected = main.frameGeometry().topLeft() + QPoint(33, 33);
            QCOMPARE(dlg->pos(), expected);
            QVERIFY(!dlg->close());
            QTest::keyClick(dlg, Qt::Key_Escape);
            stillOpen = dlg->isVisible();
            dlg->optSelectKomoku[1]->click();
            dlg->cmdSelectOk->click();
        });
        const qint16 answer = AskSelection(&main, QStringLiteral("c"), QStringLiteral("d"),
                                           QStringLiteral("a"), QStringLiteral("b"), 1);
        QVERIFY(stillOpen);
        QCOMPARE(int(answer), 1);
    }
};

QV_TEST_MAIN(TestLocaliseForm)
#include "tst_localiseform.moc"
