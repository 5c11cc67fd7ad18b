// Help, Contents: which form of the manual opens (the help file of the program's language in a
// CHM viewer, the HTML pages in the browser where there is no viewer, a message where neither
// can be shown), looked for beside the program and in the installed share folder.
#include "base/HelpManual.h"
#include "base/ResText.h"
#include "gui/HelpFile.h"
#include "support/ScriptedPrompt.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

class TestHelpManual : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { setLangOffset(0); }

    void showHelp_data() {
        QTest::addColumn<QStringList>("files"); // below a root holding bin/ and share/
        QTest::addColumn<bool>("english");
        QTest::addColumn<bool>("viewer");   // the desktop has a CHM viewer
        QTest::addColumn<QString>("opens"); // what the desktop opens: all, html or none
        QTest::addColumn<QStringList>("opened");
        QTest::addColumn<int>("message"); // text id shown, 0 for none

        const QString ja = QStringLiteral("bin/QVPChelp.chm");
        const QString en = QStringLiteral("bin/QVPChelp-en.chm");
        const QString htmlJa = QStringLiteral("bin/help/ja/index.html");
        const QString htmlEn = QStringLiteral("bin/help/en/index.html");
        const QString shared = QStringLiteral("share/qvpc-software/");
        QTest::newRow("Japanese help file in the viewer")
            << QStringList{ja, en, htmlJa} << false << true << "all" << QStringList{ja} << 0;
        QTest::newRow("English help file in the viewer")
            << QStringList{ja, en, htmlEn} << true << true << "all" << QStringList{en} << 0;
        QTest::newRow("English without its own file takes QVPChelp.chm")
            << QStringList{ja} << true << true << "all" << QStringList{ja} << 0;
        QTest::newRow("no viewer: the HTML pages of the language")
            << QStringList{ja, en, htmlJa, htmlEn} << true << false << "all" << QStringList{htmlEn}
            << 0;
        QTest::newRow("viewer that fails: the HTML pages")
            << QStringList{ja, htmlJa} << false << true << "html" << QStringList{ja, htmlJa} << 0;
        QTest::newRow("installed in share/qvpc-software")
            << QStringList{shared + "QVPChelp.chm", shared + "QVPChelp-en.chm"} << true << true
            << "all" << QStringList{shared + "QVPChelp-en.chm"} << 0;
        QTest::newRow("installed HTML pages, no viewer")
            << QStringList{shared + "QVPChelp.chm", shared + "help/ja/index.html"} << false << false
            << "all" << QStringList{shared + "help/ja/index.html"} << 0;
        QTest::newRow("beside the program before share")
            << QStringList{ja, shared + "QVPChelp.chm"} << false << true << "all" << QStringList{ja}
            << 0;
        QTest::newRow("no manual at all: 463")
            << QStringList{} << false << true << "all" << QStringList{} << 463;
        QTest::newRow("other language's pages only: 463")
            << QStringList{htmlEn} << false << false << "all" << QStringList{} << 463;
        QTest::newRow("help file without viewer or pages: said, not opened")
            << QStringList{ja} << false << false << "all" << QStringList{} << 1610;
        QTest::newRow("nothing opens either") << QStringList{ja, htmlJa} << false << true << "none"
                                              << QStringList{ja, htmlJa} << 1610;
    }
    void showHelp() {
        QFETCH(QStringList, files);
        QFETCH(bool, english);
        QFETCH(bool, viewer);
        QFETCH(QString, opens);
        QFETCH(QStringList, opened);
        QFETCH(int, message);
        QTemporaryDir root;
        QDir(root.path()).mkpath(QStringLiteral("bin"));
        for (const QString &name : files) {
            const QString path = root.filePath(name);
            QDir().mkpath(QFileInfo(path).path());
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        setLangOffset(english ? StringTable::EnglishOffset : 0);
        ScriptedPrompt prompt;
        QStringList tried;
        const QDir base(root.path());
        HelpFile help(
            prompt,
            [&](const QString &path) {
                tried << base.relativeFilePath(path);
                return opens == QLatin1String("all") ||
                       (opens == QLatin1String("html") && path.endsWith(QLatin1String(".html")));
            },
            [&](const QString &) { return viewer; });
        help.InitHelp(root.filePath(QStringLiteral("bin")));

        const OpResult result = help.ShowHelp(ResText(463));
        QCOMPARE(tried, opened);
        QCOMPARE(result.isDone(), message == 0);
        if (message == 0) {
            QCOMPARE(prompt.shown.size(), 0);
            return;
        }
        QString text = ResText(message);
        if (message == 1610)
            text = text.arg(root.filePath(files.first()));
        QCOMPARE(prompt.texts(), QStringList{text});
        QCOMPARE(prompt.shown.first().icon, MsgIcon::Information);
        QCOMPARE(result.text, text);
    }

    // The desktop's answer comes from xdg-mime, asked for the file's type and its aliases.
    void desktopViewer_data() {
        QTest::addColumn<QString>("answersFor"); // the type xdg-mime names a program for
        QTest::addColumn<bool>("installed");
        QTest::addColumn<bool>("viewer");
        QTest::newRow("viewer for the type") << "application/vnd.ms-htmlhelp" << true << true;
        QTest::newRow("viewer for an alias") << "application/x-chm" << true << true;
        QTest::newRow("viewer for other types only") << "text/html" << true << false;
        QTest::newRow("no xdg-mime") << "application/vnd.ms-htmlhelp" << false << false;
    }
    void desktopViewer() {
        QFETCH(QString, answersFor);
        QFETCH(bool, installed);
        QFETCH(bool, viewer);
        QTemporaryDir dir;
        if (installed) {
            QFile tool(dir.filePath(QStringLiteral("xdg-mime")));
            QVERIFY(tool.open(QIODevice::WriteOnly));
            tool.write("#!/bin/sh\n[ \"$1 $2 $3\" = \"query default " + answersFor.toUtf8() +
                       "\" ] && echo viewer.desktop\nexit 0\n");
            tool.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", dir.path().toUtf8());
        const bool answer = HelpManual::desktopHasViewer(dir.filePath(QStringLiteral("a.chm")));
        qputenv("PATH", path);
        QCOMPARE(answer, viewer);
    }
};

QV_TEST_MAIN(TestHelpManual)
#include "tst_helpmanual.moc"
