// Help on Windows: the help file's path beside the program in any folder, a drive's root
// included; with no help file, message 463, and nothing else is tried (no desktop opener).
#include "base/ResText.h"
#include "gui/HelpFile.h"
#include "support/HelpPath.h"
#include "support/ScriptedPrompt.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

class TestWindowsHelp : public QObject {
    Q_OBJECT
private slots:
    void helpPath_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("path");
        QTest::newRow("drive root") << "C:/"
                                    << "C:\\QVPChelp.chm";
        QTest::newRow("drive root, native") << "C:\\"
                                            << "C:\\QVPChelp.chm";
        QTest::newRow("folder outside the code page")
            << QStringLiteral("C:/工場 ツール/QV")
            << QStringLiteral("C:\\工場 ツール\\QV\\QVPChelp.chm");
    }
    void helpPath() {
        QFETCH(QString, folder);
        QFETCH(QString, path);
        QCOMPARE(QDir::toNativeSeparators(helpPathFor(folder)), path);
    }

    // The HTML pages alone are no help file here: 463, and the desktop's opener is not asked.
    void noHelpFile() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("help/ja")));
        QFile page(dir.filePath(QStringLiteral("help/ja/index.html")));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.close();
        ScriptedPrompt prompt;
        QStringList opened;
        HelpFile help(
            prompt,
            [&](const QString &path) {
                opened << path;
                return true;
            },
            [](const QString &) { return true; });
        help.InitHelp(dir.path());
        QVERIFY(!help.ShowHelp(ResText(463)).isDone());
        QCOMPARE(prompt.texts(), QStringList{ResText(463)});
        QCOMPARE(prompt.shown.first().icon, MsgIcon::Information);
        QVERIFY(opened.isEmpty());
    }
};

QV_TEST_MAIN(TestWindowsHelp)
#include "tst_windowshelp.moc"
