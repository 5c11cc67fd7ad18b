#include "app/StartRoutine.h"
#include "app/WindowOptions.h"
#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "data/QvData.h"
#include "gui/frmMain.h"
#include "link/ControllerLink.h"
#include "support/ScriptedPrompt.h"
#include "support/SessionFixture.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QTimer>

namespace {

// The long-lived objects of the program and its start routine.
struct StartFixture : SessionFixture {
    StartFixture() { start.splashMs = 0; }
    StartRoutine start{session};
};

} // namespace

// The start routine: language and port settings read, main window shown, then the question.
class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void init() { clearStoredSettings(); }
    void cleanup() { setLangOffset(0); }

    void questionInStoredLanguage_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("arguments"); // the window's command line
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("second");
        const QStringList japanese{
            QStringLiteral("ｺﾝﾄﾛｰﾗ読み込みの確認"), QStringLiteral("すぐにｺﾝﾄﾛｰﾗから読み込む"),
            QStringLiteral("ｺﾝﾄﾛｰﾗからﾃﾞｰﾀを読み込んでから、ﾃﾞｰﾀの編集をして下さい｡　"
                           "ｺﾝﾄﾛｰﾗからﾃﾞｰﾀを読み込みますか？"),
            QStringLiteral("あとで読み込む")};
        const QStringList english{QStringLiteral("Confirmation of Reading data from C/T"),
                                  QStringLiteral("Yes. I want to read data at once."),
                                  QStringLiteral("Please edit data after reading data from a "
                                                 "controller. Are you want to read data from a "
                                                 "controller?"),
                                  QStringLiteral("No. I will read data later.")};
        const auto row = [](const char *name, const char *stored, const QStringList &arguments,
                            const QStringList &texts) {
            QTest::newRow(name) << stored << arguments << texts[0] << texts[1] << texts[2]
                                << texts[3];
        };
        row("Japanese", "1", {}, japanese);
        row("English", "2", {}, english);
        row("--lang en over a stored Japanese", "1", {"--lang", "en", "--demo"}, english);
        row("--lang=ja over a stored English", "2", {"--demo", "--lang=ja"}, japanese);
    }
    void questionInStoredLanguage() {
        QFETCH(QString, language);
        QFETCH(QStringList, arguments);
        QFETCH(QString, caption);
        QFETCH(QString, first);
        QFETCH(QString, description);
        QFETCH(QString, second);
        StoredSettings::writeText(QStringLiteral("Language"), language);
        StoredSettings::writeText(QStringLiteral("PortNo"), QStringLiteral("4"));
        StoredSettings::writeText(QStringLiteral("PortOccupy"), QStringLiteral("0"));

        StartFixture f;
        f.settings.languageOption = WindowOptions::read(QStringList{"qvpc"} + arguments).language;
        QStringList asked;
        qint16 noCancel = -5;
        bool mainShownFirst = false;
        f.start.ask = [&](QWidget *main, const QString &c, const QString &d, const QString &option,
                          const QString &s, qint16 nc) {
            mainShownFirst = main && main->isVisible();
            asked = {c, d, option, s};
            noCancel = nc;
            return qint16(1);
        };
        auto main = f.start.run();
        QVERIFY(mainShownFirst);
        QCOMPARE(asked.value(0), caption);
        QCOMPARE(asked.value(2), first);
        QCOMPARE(asked.value(1), description);
        QCOMPARE(asked.value(3), second);
        QCOMPARE(int(noCancel), 1);
        QCOMPARE(int(f.settings.PortNo), 4);
        QCOMPARE(f.settings.OccupyPort, false);
        QCOMPARE(main->windowTitle(), QStringLiteral("QV PC-Software Ver1.40"));
        QVERIFY(!f.link.isPortOpen()); // the second answer opens nothing
        // --lang is for this run: the stored language stays.
        QCOMPARE(StoredSettings::readText(QStringLiteral("Language"), {}), language);
    }

    // A main window closed while the start routine still runs (during the start-up read, whose
    // waits let the window's events through) has ended the program: the event loop that
    // follows must not wait on with no window left.
    void closedDuringStartEndsTheProgram() {
        StartFixture f;
        f.start.ask = [&prompt = f.prompt](QWidget *main, const QString &, const QString &,
                                           const QString &, const QString &, qint16) {
            prompt.answers = {MsgAnswer::Ok}; // "Finish QV PC-Software."
            main->close();
            return qint16(1);
        };
        auto main = f.start.run();
        QVERIFY(!main->isVisible());
        bool stillRunning = false;
        QTimer::singleShot(2000, qApp, [&stillRunning] {
            stillRunning = true;
            QApplication::exit(1);
        });
        QCOMPARE(StartRoutine::exec(*main), 0);
        QVERIFY(!stillRunning);
        QCOMPARE(f.prompt.texts(), QStringList{QStringLiteral("QV PC-Software を終了します。")});
    }

    // While the main window is open the program lives in the event loop until it closes.
    void eventLoopRunsWhileMainWindowOpen() {
        StartFixture f;
        f.start.ask = [](QWidget *, const QString &, const QString &, const QString &,
                         const QString &, qint16) { return qint16(1); };
        auto main = f.start.run();
        f.prompt.answers = {MsgAnswer::Ok};
        bool ranInLoop = false;
        QTimer::singleShot(0, main.get(), [&ranInLoop, w = main.get()] {
            ranInLoop = true;
            w->close();
        });
        QTimer::singleShot(5000, qApp, [] { QApplication::exit(1); });
        QCOMPARE(StartRoutine::exec(*main), 0);
        QVERIFY(ranInLoop);
    }
};

QV_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
