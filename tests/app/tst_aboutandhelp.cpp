// The splash window, the about box with the system-information window, help, and Qt's own
// texts in Japanese.
#include "app/StartRoutine.h"
#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "gui/HelpFile.h"
#include "gui/QtPrompt.h"
#include "gui/QtTranslations.h"
#include "gui/frmAbout.h"
#include "gui/frmMain.h"
#include "gui/frmSplash.h"
#include "gui/frmSysInfo.h"
#include "session/SystemReport.h"
#include "support/HelpPath.h"
#include "support/Pty.h"
#include "support/ScriptedPrompt.h"
#include "support/SessionFixture.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

class TestAboutAndHelp : public QObject {
    Q_OBJECT
private slots:
    void init() { clearStoredSettings(); }
    void cleanup() { setLangOffset(0); }

    // The start routine shows the splash for its time before the main window, then removes it.
    void splashBeforeMainWindow() {
        SessionFixture f;
        StartRoutine start{f.session};
        start.splashMs = 300;
        QString version, systems;
        bool splashShown = false;
        QTimer::singleShot(50, [&] {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                if (auto *splash = qobject_cast<frmSplash *>(w); splash && splash->isVisible()) {
                    splashShown = true;
                    version = splash->lblVersion->text();
                    systems = splash->lblFight->text();
                }
            }
        });
        QElapsedTimer clock;
        clock.start();
        qint64 askedAfter = 0;
        start.ask = [&](QWidget *, const QString &, const QString &, const QString &,
                        const QString &, qint16) {
            askedAfter = clock.elapsed();
            return qint16(1);
        };
        auto main = start.run();
        QVERIFY(splashShown);
        QCOMPARE(version, QStringLiteral("Version 1.4.0"));
        QVERIFY(!systems.contains(QStringLiteral("Windows")));
        QVERIFY(askedAfter >= 300);
        for (QWidget *w : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<frmSplash *>(w));
    }

    void aboutBox_data() {
        QTest::addColumn<qint16>("offset");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Japanese") << qint16(0) << QStringLiteral("QV PC-Software ﾊﾞｰｼﾞｮﾝ情報");
        QTest::newRow("English") << qint16(10000)
                                 << QStringLiteral("QV PC-Software Version information");
    }
    void aboutBox() {
        QFETCH(qint16, offset);
        QFETCH(QString, caption);
        setLangOffset(offset);
        ScriptedPrompt prompt;
        frmAbout about(prompt, {});
        QCOMPARE(about.windowTitle(), caption);
        QCOMPARE(about.lblTitle->text(), QStringLiteral("QV PC-Software"));
        QCOMPARE(about.lblVersion->text(), QStringLiteral("Version 1.4.0"));
        QCOMPARE(about.lblDescription->text(), ResText(404));
        QVERIFY(about.lblDisclaimer->text().contains(QStringLiteral("https://")));
        QCOMPARE(about.cmdSysInfo->text(), ResText(403));
    }

    // No system-information window: the fixed message, and the about box stays open.
    void sysInfoUnavailable() {
        ScriptedPrompt prompt;
        frmAbout about(prompt, [](QWidget *) { return false; });
        about.show();
        about.cmdSysInfo->click();
        QCOMPARE(prompt.texts(), QStringList{QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません")});
        QCOMPARE(prompt.shown.first().icon, MsgIcon::None);
        QVERIFY(about.isVisible());
    }

    // A box asked while the about box is open belongs to it and stands in front of it, not
    // behind it with the main window.
    void boxInFrontOfTheOpenDialog() {
        QWidget mainWindow;
        QtPrompt prompt(&mainWindow);
        frmAbout about(
            prompt, [](QWidget *) { return false; }, &mainWindow);
        mainWindow.show();
        about.open();
        QWidget *owner = nullptr;
        QTimer::singleShot(0, &about, [&owner] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            owner = box->parentWidget();
            box->accept();
        });
        about.cmdSysInfo->click();
        QCOMPARE(owner, &about);
    }

    // What support staff get: versions, system, the settings file with its values, each port
    // with its state, all copied as text.
    void systemInformation() {
        setLangOffset(StringTable::EnglishOffset);
        SessionFixture f;
        Pty pty;
        f.link.portMap().setEnumerator({});
        PortMap::setEntry(2, pty.slavePath());
        PortMap::setEntry(5, QStringLiteral("/dev/serial/by-id/usb-gone-if00"));
        StoredSettings::writeText(QStringLiteral("PortNo"), QStringLiteral("2"));
        const QString report = systemReport(f.link);
        for (const QString &expected :
             {QStringLiteral("Program: QV PC-Software 1.4.0"), QStringLiteral("Qt: "),
              QStringLiteral("Settings file: ") + StoredSettings::filePath(),
              QStringLiteral("PortNo=2"), QStringLiteral("COM2  ") + pty.slavePath(),
              QStringLiteral("can be opened"), QStringLiteral("COM5  /dev/serial/by-id/usb-gone"),
              QStringLiteral("device not present")})
            QVERIFY2(report.contains(expected), qPrintable(expected + "\n" + report));

        frmSysInfo window(report);
        QCOMPARE(window.windowTitle(), QStringLiteral("System information"));
        window.cmdCopy->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), report);
    }

    void helpPath_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("path");
        QTest::newRow("root folder") << "/"
                                     << "/QVPChelp.chm";
        QTest::newRow("program folder") << "/opt/qvpc/bin"
                                        << "/opt/qvpc/bin/QVPChelp.chm";
        QTest::newRow("folder with separator") << "/opt/qvpc/"
                                               << "/opt/qvpc/QVPChelp.chm";
    }
    void helpPath() {
        QFETCH(QString, folder);
        QFETCH(QString, path);
        QCOMPARE(helpPathFor(folder), path);
    }

    // An existing help file goes to the desktop's viewer; a missing one brings 463 with the
    // information icon, also from the main window's menu.
    void showHelp() {
        QTemporaryDir dir;
        SessionFixture f;
        QStringList opened;
        HelpFile help(
            f.prompt,
            [&](const QString &path) {
                opened << path;
                return true;
            },
            [](const QString &) { return true; });
        help.InitHelp(dir.path());
        frmMain main(f.session);
        main.setHelpFile(help);
        QAction *contents = main.findChild<QAction *>(QStringLiteral("mnuHelpContents"));
        contents->trigger();
        QCOMPARE(f.prompt.texts(), QStringList{ResText(463)});
        QCOMPARE(f.prompt.shown.first().icon, MsgIcon::Information);
        QVERIFY(opened.isEmpty());

        QFile file(help.path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        f.prompt.clear();
        contents->trigger();
        QCOMPARE(opened, QStringList{help.path()});
        QCOMPARE(f.prompt.shown.size(), 0);
    }

    // The desktop's opener decides: one that fails (nothing can show the page) brings the
    // message that names the manual; one that succeeds shows nothing.
    void desktopOpener_data() {
        QTest::addColumn<int>("exitCode");
        QTest::newRow("no method available") << 3;
        QTest::newRow("opened") << 0;
    }
    void desktopOpener() {
        QFETCH(int, exitCode);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("bin")) &&
                QDir(dir.path()).mkpath(QStringLiteral("help/ja")));
        const QString page = dir.filePath(QStringLiteral("help/ja/index.html"));
        QFile(page).open(QIODevice::WriteOnly);
        QFile opener(dir.filePath(QStringLiteral("bin/xdg-open")));
        QVERIFY(opener.open(QIODevice::WriteOnly));
        opener.write(QStringLiteral("#!/bin/sh\necho \"$1\" > '%1'\n"
                                    "echo 'xdg-open: no method available for opening' >&2\n"
                                    "exit %2\n")
                         .arg(dir.filePath(QStringLiteral("asked")))
                         .arg(exitCode)
                         .toUtf8());
        opener.close();
        opener.setPermissions(opener.permissions() | QFileDevice::ExeOwner);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(dir.filePath(QStringLiteral("bin"))) + ':' + path);

        ScriptedPrompt prompt;
        HelpFile help(prompt, HelpManual::openWithDesktop, [](const QString &) { return false; });
        help.InitHelp(dir.path());
        const OpResult result = help.ShowHelp(ResText(463));
        qputenv("PATH", path);

        QFile asked(dir.filePath(QStringLiteral("asked")));
        QVERIFY(asked.open(QIODevice::ReadOnly));
        QCOMPARE(asked.readAll().trimmed(), QFile::encodeName(page));
        QCOMPARE(result.isDone(), exitCode == 0);
        QCOMPARE(prompt.texts(),
                 exitCode == 0 ? QStringList() : QStringList{ResText(1610).arg(page)});
    }

    // With Language 1 the standard buttons carry Qt's Japanese texts.
    void japaneseStandardButtons() {
        QVERIFY(installQtTranslations(*qApp, true));
        QMessageBox box(QMessageBox::Question, QStringLiteral("QVPC-Software"), QStringLiteral("?"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        const auto text = [&box](QMessageBox::StandardButton b) {
            return box.button(b)->text().remove(QRegularExpression(QStringLiteral("\\(&.\\)|&")));
        };
        QCOMPARE(text(QMessageBox::Yes), QStringLiteral("はい"));
        QCOMPARE(text(QMessageBox::No), QStringLiteral("いいえ"));
        QCOMPARE(text(QMessageBox::Cancel), QStringLiteral("キャンセル"));
    }
};

QV_TEST_MAIN(TestAboutAndHelp)
#include "tst_aboutandhelp.moc"
