#include "MainWindowFixture.h"

#include "base/ResText.h"
#include "support/Pty.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QLabel>
#include <QTimer>

// The status display (alarm and port lamp), printer set-up and the close sequence.
class TestMainWindowClosing : public QObject {
    Q_OBJECT
private slots:
    void init() { clearStoredSettings(); }

    void alarmDisplay() {
        Pty pty;
        MainWindowFixture f;
        frmMain &w = *f.window;
        f.link.setDeviceOverride(pty.slavePath());
        // The controller answers the communication check with error 03.
        QTimer::singleShot(100, [&pty] { QCOMPARE(::write(pty.masterFd(), "0%%03\r\n", 7), 7); });
        QCOMPARE(f.link.controller().refusal().errorCode, QStringLiteral("03"));
        QVERIFY(!control<QLabel>(w, "imgAlarmLed")->isHidden());
        QCOMPARE(control<QLabel>(w, "lblAlarmNo")->text(), QStringLiteral("03"));
        QCOMPARE(control<QLabel>(w, "lblErrorComment")->text(),
                 QStringLiteral("通信データ長エラー"));
        f.link.clearAlarm();
        QVERIFY(control<QLabel>(w, "imgAlarmLed")->isHidden());
        QVERIFY(control<QLabel>(w, "lblAlarmNo")->text().isEmpty() &&
                control<QLabel>(w, "lblErrorComment")->text().isEmpty());
    }

    void portLamp() {
        Pty pty;
        QVERIFY(!pty.slavePath().isEmpty());
        MainWindowFixture f;
        f.link.setDeviceOverride(pty.slavePath());
        QVERIFY(f.link.OpenPort().isDone());
        QTRY_VERIFY_WITH_TIMEOUT(!f.control<QLabel>("imgPortGreen")->isHidden(), 1000);
        f.link.ClosePort();
        QTRY_VERIFY_WITH_TIMEOUT(f.control<QLabel>("imgPortGreen")->isHidden(), 1000);
    }

    void closing_data() {
        QTest::addColumn<bool>("changed");
        QTest::addColumn<MsgAnswer>("answer");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<int>("saves");
        QTest::addColumn<bool>("portOpenAfter");
        QTest::addColumn<bool>("saveSucceeds");
        const bool saved = true, notSaved = false;
        QTest::newRow("unchanged, Cancel")
            << false << MsgAnswer::Cancel << false << 0 << true << saved;
        QTest::newRow("unchanged, OK") << false << MsgAnswer::Ok << true << 0 << false << saved;
        QTest::newRow("changed, Yes, saved")
            << true << MsgAnswer::Yes << true << 1 << false << saved;
        // Cancelled, refused by the checks or failed: the edits would be lost with the window.
        QTest::newRow("changed, Yes, save did not happen")
            << true << MsgAnswer::Yes << false << 1 << true << notSaved;
        QTest::newRow("changed, No") << true << MsgAnswer::No << true << 0 << false << saved;
        QTest::newRow("changed, Cancel")
            << true << MsgAnswer::Cancel << false << 0 << true << saved;
    }
    void closing() {
        QFETCH(bool, changed);
        QFETCH(MsgAnswer, answer);
        QFETCH(bool, closes);
        QFETCH(int, saves);
        QFETCH(bool, portOpenAfter);
        QFETCH(bool, saveSucceeds);
        Pty pty;
        MainWindowFixture f;
        RecordingMain &w = *f.window;
        w.saveSucceeds = saveSucceeds;
        f.link.setDeviceOverride(pty.slavePath());
        QVERIFY(f.link.OpenPort().isDone());
        f.settings.PortNo = 7;
        w.setDataChanged(changed);
        f.prompt.answers = {answer};

        QCOMPARE(w.close(), closes);
        QCOMPARE(f.prompt.shown.size(), 1);
        const auto &box = f.prompt.shown[0];
        QCOMPARE(box.text,
                 changed ? QStringLiteral("データが変更されています。ファイルに保存しますか？")
                         : QStringLiteral("QV PC-Software を終了します。"));
        QVERIFY(box.question == (changed ? Question::SaveBeforeReplace : Question::ExitProgram));
        QCOMPARE(box.buttons, changed ? MsgButtons::YesNoCancel : MsgButtons::OkCancel);
        QCOMPARE(box.icon, MsgIcon::Question);
        QCOMPARE(w.saves, saves);
        QCOMPARE(w.SyuryoCancel(), !closes);
        QCOMPARE(w.isVisible(), !closes);
        if (!closes)
            QCOMPARE(w.DataChanged(), changed); // still to be asked about at the next close
        QCOMPARE(f.link.isPortOpen(), portOpenAfter);
        QCOMPARE(StoredSettings::readText(QStringLiteral("PortNo"), QStringLiteral("none")),
                 closes ? QStringLiteral("7") : QStringLiteral("none"));
    }

    // Printer set-up ends with its dialog, whichever way it is closed.
    void pageSetup() {
        MainWindowFixture f;
        QString shownTitle;
        QTimer::singleShot(0, f.window.get(), [&shownTitle] {
            if (QWidget *dialog = QApplication::activeModalWidget()) {
                shownTitle = dialog->metaObject()->className();
                dialog->close();
            }
        });
        f.control<QAction>("mnuFilePageSetup")->trigger();
        QCOMPARE(shownTitle, QStringLiteral("QPageSetupDialog"));
        QVERIFY(f.prompt.shown.isEmpty());
        QVERIFY(f.window->isVisible() && !f.window->DataChanged());
    }

    void exitMenuCloses() {
        MainWindowFixture f;
        f.prompt.answers = {MsgAnswer::Cancel, MsgAnswer::Ok};
        f.control<QAction>("mnuFileExit")->trigger();
        QVERIFY(f.window->isVisible());
        QVERIFY(f.window->SyuryoCancel());
        f.control<QAction>("mnuFileExit")->trigger();
        QVERIFY(!f.window->isVisible());
        QVERIFY(!f.window->SyuryoCancel());
    }
};

QV_TEST_MAIN(TestMainWindowClosing)
#include "tst_closing.moc"
