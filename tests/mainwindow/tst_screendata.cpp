#include "MainWindowFixture.h"

#include "base/ResText.h"
#include "support/TestEnvironment.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {

// Every field filled with a valid value; velocity 2 with a leading blank, which is taken too.
void fillValid(frmMain &w) {
    fillPositions(w);
    control<QComboBox>(w, "comboVEL2")->setEditText(QStringLiteral(" 20"));
    int n = 11;
    for (QLineEdit *field :
         controls<QLineEdit>(w, {"txtHomeSokudo", "txtHomePosi", "txtOffsetSokudo", "txtOffsetPosi",
                                 "txtSentanCount", "txtNoWorkCount", "txtRestartDelay",
                                 "txtLowKaijoCnt", "txtXXXCnt", "txtHensu1", "txtHensu2"}))
        field->setText(QString::number(n++));
}

const QString takeFailure =
    QStringLiteral("データの読み込みでエラーが発生しました。\r\n読み込みを中止します。");

} // namespace

// The screen and the working copy: taking the fields in, showing the copy, the blank and range
// checks that ScreenCheck runs.
class TestScreenData : public QObject {
    Q_OBJECT
private slots:
    void init() { clearStoredSettings(); }

    void takesAllFields() {
        MainWindowFixture f;
        f.showParameters();
        fillValid(*f.window);
        f.control<QCheckBox>("chkRevDir")->setChecked(true);
        QVERIFY(f.window->Torikomi_Data());
        const QvData &d = f.copies.working;
        QCOMPARE(QList<qint64>({d.Vel1, d.Vel2, d.Acc1, d.Acc2, d.Dec1, d.Dec2, d.Pulse1, d.Pulse2,
                                d.PauseTime1, d.PauseTime2}),
                 QList<qint64>({10, 20, 3, 4, 5, 6, 100, 200, 7, 8}));
        QCOMPARE(QList<qint64>({d.HomingVel, d.HomingPulse, d.OffsetVel, d.OffsetPulse,
                                d.SupplyCounter, d.NoWorkCounter, d.RestartDelay, d.SeparateTimer,
                                d.MidDetectCounter, d.TipWorkOffTimer, d.Sp1, d.RevDir}),
                 QList<qint64>({11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 1}));
        QVERIFY(f.prompt.shown.isEmpty());
    }

    void takingNumbers_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("taken");
        QTest::newRow("12abc") << "txtPosi1"
                               << "12abc" << qint64(12);
        QTest::newRow("2.5") << "txtPosi1Timer"
                             << "2.5" << qint64(2);
        QTest::newRow("3.5") << "txtPosi1Timer"
                             << "3.5" << qint64(4);
        QTest::newRow("letters in the spare field") << "txtHensu2"
                                                    << "abc" << qint64(0);
        QTest::newRow("300 is taken") << "txtPosi1Timer"
                                      << "300" << qint64(300);
    }
    void takingNumbers() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(qint64, taken);
        MainWindowFixture f;
        f.showParameters();
        fillValid(*f.window);
        f.find<QLineEdit>(field)->setText(text);
        QVERIFY(f.window->Torikomi_Data());
        const QvData &d = f.copies.working;
        const qint64 value = field == "txtPosi1"    ? d.Pulse1
                             : field == "txtHensu2" ? d.Sp1
                                                    : d.PauseTime1;
        QCOMPARE(value, taken);
    }

    // A value that does not fit its item stops the taking there, with one message.
    void valueThatDoesNotFit_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::newRow("ten-digit position") << "txtPosi1"
                                            << "9999999999";
        QTest::newRow("pausing time 40000") << "txtPosi1Timer"
                                            << "40000";
        QTest::newRow("spare field 99999") << "txtHensu2"
                                           << "99999";
    }
    void valueThatDoesNotFit() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        MainWindowFixture f;
        f.showParameters();
        fillValid(*f.window);
        f.control<QCheckBox>("chkRevDir")->setChecked(true);
        f.find<QLineEdit>(field)->setText(text);
        QVERIFY(!f.window->ScreenCheck());
        QCOMPARE(f.prompt.texts(), QStringList{takeFailure});
        QCOMPARE(f.prompt.shown[0].buttons, MsgButtons::OkOnly);
        QCOMPARE(f.prompt.shown[0].icon, MsgIcon::None);
        const QvData &d = f.copies.working;
        QCOMPARE(d.Vel1, qint16(10));  // taken before the failing field
        QCOMPARE(d.RevDir, qint16(0)); // never reached
    }

    // The fields are taken in a fixed order: one that does not fit leaves those before it in the
    // working copy and those after it as they were.
    void takeStopsAtTheFieldThatDoesNotFit() {
        const QStringList takeOrder = {"comboVEL1",       "comboVEL2",       "lblPosi1Acc",
                                       "lblPosi2Acc",     "lblPosi1Gensoku", "lblPosi2Gensoku",
                                       "txtPosi1",        "txtPosi2",        "txtPosi1Timer",
                                       "txtPosi2Timer",   "txtHomeSokudo",   "txtHomePosi",
                                       "txtOffsetSokudo", "txtOffsetPosi",   "txtSentanCount",
                                       "txtNoWorkCount",  "txtRestartDelay", "txtLowKaijoCnt",
                                       "txtXXXCnt",       "txtHensu1",       "txtHensu2"};
        MainWindowFixture f;
        f.showParameters();
        QvData &d = f.copies.working;
        for (int failing = 0; failing < takeOrder.size(); ++failing) {
            d = QvData();
            fillValid(*f.window);
            setTextOf(f.find(takeOrder[failing]), QStringLiteral("9999999999"));
            QVERIFY(!f.window->Torikomi_Data());
            QList<qint64> expected = {10, 20, 3,  4,  5,  6,  100, 200, 7,  8, 11,
                                      12, 13, 14, 15, 16, 17, 18,  19,  20, 21};
            std::fill(expected.begin() + failing, expected.end(), 0);
            const QList<qint64> taken =
                QList<qint64>({d.Vel1, d.Vel2, d.Acc1, d.Acc2, d.Dec1, d.Dec2, d.Pulse1, d.Pulse2,
                               d.PauseTime1, d.PauseTime2}) +
                QList<qint64>({d.HomingVel, d.HomingPulse, d.OffsetVel, d.OffsetPulse,
                               d.SupplyCounter, d.NoWorkCounter, d.RestartDelay, d.SeparateTimer,
                               d.MidDetectCounter, d.TipWorkOffTimer, d.Sp1});
            QVERIFY2(taken == expected, qPrintable(takeOrder[failing]));
        }
    }

    void blankFields_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("parameters");
        QTest::addColumn<bool>("reported");
        QTest::newRow("empty VEL") << "comboVEL2" << false << true;
        QTest::newRow("empty position") << "txtPosi2" << false << true;
        QTest::newRow("empty spare field, parameters shown") << "txtHensu2" << true << true;
        QTest::newRow("empty homing field, homing locked") << "txtOffsetPosi" << true << true;
        QTest::newRow("empty parameter, parameters hidden") << "txtSentanCount" << false << false;
    }
    void blankFields() {
        QFETCH(QString, field);
        QFETCH(bool, parameters);
        QFETCH(bool, reported);
        MainWindowFixture f;
        if (parameters)
            f.showParameters();
        fillValid(*f.window);
        QWidget *w = f.find(field);
        if (auto *combo = qobject_cast<QComboBox *>(w))
            combo->setEditText(QString());
        else
            static_cast<QLineEdit *>(w)->clear();
        f.copies.working.Vel1 = 99;
        QCOMPARE(f.window->ScreenCheck(), !reported);
        if (reported) {
            QCOMPARE(f.prompt.texts(),
                     QStringList{QStringLiteral("数値が入力されていない箇所があります。\r\n"
                                                "数値を入力後に再度実行して下さい。")});
            QCOMPARE(f.copies.working.Vel1, qint16(99)); // nothing taken
        } else {
            QVERIFY(f.prompt.shown.isEmpty());
        }
    }

    void blanksDoNotCount() {
        MainWindowFixture f;
        fillValid(*f.window);
        f.control<QLineEdit>("txtPosi1")->setText(QStringLiteral(" "));
        QVERIFY(f.window->Check_DataUmu());
    }

    // The whole check on the screen: a VEL of 0 and a pausing time of 300 are reported by name.
    void rangeCheckOfTheScreen() {
        MainWindowFixture f;
        f.showParameters();
        fillValid(*f.window);
        f.control<QComboBox>("comboVEL1")->setEditText(QStringLiteral("0"));
        f.control<QLineEdit>("txtPosi1Timer")->setText(QStringLiteral("300"));
        f.control<QLineEdit>("txtLowKaijoCnt")->setText(QStringLiteral("0"));
        QVERIFY(!f.window->ScreenCheck());
        QCOMPARE(f.prompt.texts(),
                 QStringList{QStringLiteral("以下に示す設定の数値が有効範囲にありません。\r\n"
                                            "数値を確認し、再度実行してください。\r\n\r\n") +
                             "位置１ - 速度,停止時間,\r\nｾﾝｻﾊﾟﾗﾒｰﾀ - ｾﾊﾟﾚｰﾄﾀｲﾏ,\r\n"});
    }

    void showsTheWorkingCopy() {
        MainWindowFixture f;
        f.showParameters();
        QvData &d = f.copies.working;
        d.Vel1 = 30;
        d.Acc2 = 9;
        d.Pulse1 = -5; // shown as it is; the range check catches it later
        d.Pulse2 = 16777215;
        d.RevDir = 1;
        d.Sp1 = 255;
        d.OffsetPulse = 600;
        f.window->ShowQvData();
        frmMain &w = *f.window;
        QCOMPARE(control<QComboBox>(w, "comboVEL1")->currentText(), QStringLiteral("30"));
        QCOMPARE(control<QLabel>(w, "lblPosi2Acc")->text(), QStringLiteral("9"));
        QCOMPARE(control<QLineEdit>(w, "txtPosi1")->text(), QStringLiteral("-5"));
        QCOMPARE(control<QLineEdit>(w, "txtPosi2")->text(), QStringLiteral("16777215"));
        QCOMPARE(control<QLineEdit>(w, "txtHensu2")->text(), QStringLiteral("255"));
        QCOMPARE(control<QLineEdit>(w, "txtOffsetPosi")->text(), QStringLiteral("600"));
        QVERIFY(control<QCheckBox>(w, "chkRevDir")->isChecked());
        QVERIFY(!w.DataChanged());
        // Taking the screen back gives the same items.
        const QvData shown = d;
        QVERIFY(w.Torikomi_Data());
        QCOMPARE(d, shown);
    }

    // Each item is shown in its own field.
    void showsEachItemInItsField() {
        MainWindowFixture f;
        f.showParameters();
        f.copies.working = {1,  2,  3,  4,  5,  6,  7, 8,  9,  10, 11,
                            12, 13, 14, 15, 16, 17, 1, 19, 20, 21, 22};
        f.window->ShowQvData();
        QStringList shown;
        for (const char *name :
             {"comboVEL1",       "lblPosi1Acc",   "lblPosi1Gensoku", "txtPosi1Timer",
              "txtPosi1",        "comboVEL2",     "lblPosi2Acc",     "lblPosi2Gensoku",
              "txtPosi2Timer",   "txtPosi2",      "txtLowKaijoCnt",  "txtSentanCount",
              "txtRestartDelay", "txtXXXCnt",     "txtNoWorkCount",  "txtHensu1",
              "txtHensu2",       "txtHomeSokudo", "txtHomePosi",     "txtOffsetSokudo",
              "txtOffsetPosi"})
            shown << textOf(f.control<QWidget>(QLatin1String(name)));
        QCOMPARE(shown,
                 QStringList({"1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "10", "11",
                              "12", "13", "14", "15", "16", "17", "19", "20", "21", "22"}));
        QVERIFY(f.control<QCheckBox>("chkRevDir")->isChecked());
    }

    // With the parameters hidden only the positions reach the screen and come back from it.
    void parametersHiddenKeepTheirItems() {
        MainWindowFixture f;
        QvData &d = f.copies.working;
        d.SeparateTimer = 77;
        d.HomingPulse = 500;
        d.Vel2 = 3;
        f.control<QLineEdit>("txtLowKaijoCnt")->setText(QStringLiteral("1"));
        f.window->ShowQvData();
        QCOMPARE(f.control<QLineEdit>("txtLowKaijoCnt")->text(), QStringLiteral("1"));
        QCOMPARE(f.control<QComboBox>("comboVEL2")->currentText(), QStringLiteral("3"));
        fillValid(*f.window);
        QVERIFY(f.window->ScreenCheck());
        QCOMPARE(d.SeparateTimer, qint16(77));
        QCOMPARE(d.HomingPulse, 500);
        QCOMPARE(d.Vel2, qint16(20));
    }

    void clearingForNewData_data() {
        QTest::addColumn<bool>("parameters");
        QTest::newRow("parameters hidden") << false;
        QTest::newRow("parameters shown") << true;
    }
    void clearingForNewData() {
        QFETCH(bool, parameters);
        MainWindowFixture f;
        if (parameters)
            f.showParameters();
        frmMain &w = *f.window;
        fillValid(w);
        control<QCheckBox>(w, "chkRevDir")->setChecked(true);
        const QvData before = f.copies.working;
        w.setDataChanged(false);
        w.ClearFieldsForNew();
        QCOMPARE(control<QComboBox>(w, "comboVEL1")->currentText(), QStringLiteral("1"));
        QCOMPARE(control<QComboBox>(w, "comboVEL2")->currentText(), QStringLiteral("1"));
        for (QLabel *label : controls<QLabel>(
                 w, {"lblPosi1Acc", "lblPosi2Acc", "lblPosi1Gensoku", "lblPosi2Gensoku"}))
            QCOMPARE(label->text(), QStringLiteral("1"));
        for (QLineEdit *field :
             controls<QLineEdit>(w, {"txtPosi1", "txtPosi2", "txtPosi1Timer", "txtPosi2Timer"}))
            QVERIFY(field->text().isEmpty());
        QCOMPARE(control<QLineEdit>(w, "txtHensu2")->text().isEmpty(), parameters);
        QCOMPARE(control<QLineEdit>(w, "txtHomePosi")->text().isEmpty(), parameters);
        QCOMPARE(control<QCheckBox>(w, "chkRevDir")->isChecked(), !parameters);
        QCOMPARE(f.copies.working, before); // only the screen changes
        QVERIFY(w.DataChanged());
    }
};

QV_TEST_MAIN(TestScreenData)
#include "tst_screendata.moc"
