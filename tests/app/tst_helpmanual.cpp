// Help, Contents: the help file of the program's language in a CHM viewer, the HTML pages in
// the browser where there is no viewer, a message where neither can be shown; looked for beside
// the program and in the installed share folder.
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
        QTest::addColumn<bool>("viewer");   // the desktop names a CHM viewer
        QTest::addColumn<QString>("opens"); // what the desktop opens: all, html or none
        QTest::addColumn<QStringList>("opened");
        QTest::addColumn<int>("message"); // text id shown, 0 for none
        const QString J = "bin/QVPChelp.chm", E = "bin/QVPChelp-en.chm";
        const QString HJ = "bin/help/ja/index.html", HE = "bin/help/en/index.html";
        const QString S = "share/qvpc-software/";
        QTest::newRow("Japanese") << QStringList{J, E, HJ} << false << true << "all"
                                  << QStringList{J} << 0;
        QTest::newRow("English") << QStringList{J, E, HE} << true << true << "all" << QStringList{E}
                                 << 0;
        QTest::newRow("English falls back to QVPChelp.chm")
            << QStringList{J} << true << true << "all" << QStringList{J} << 0;
        QTest::newRow("no viewer: HTML of the language")
            << QStringList{J, E, HJ, HE} << true << false << "all" << QStringList{HE} << 0;
        QTest::newRow("viewer fails: HTML")
            << QStringList{J, HJ} << false << true << "html" << QStringList{J, HJ} << 0;
        QTest::newRow("installed")
            << QStringList{S + "QVPChelp.chm", S + "help/ja/index.html"} << false << false << "all"
            << QStringList{S + "help/ja/index.html"} << 0;
        QTest::newRow("no manual: 463")
            << QStringList{HE} << false << false << "all" << QStringList{} << 463;
        QTest::newRow("nothing shows it: said")
            << QStringList{J} << false << false << "all" << QStringList{} << 1610;
    }
    void showHelp() {
        QFETCH(QStringList, files);
        QFETCH(bool, english);
        QFETCH(bool, viewer);
        QFETCH(QString, opens);
        QFETCH(QStringList, opened);
        QFETCH(int, message);
        QTemporaryDir root;
        const QDir base(root.path());
        base.mkpath(QStringLiteral("bin"));
        for (const QString &name : files) {
            base.mkpath(QFileInfo(name).path());
            QFile file(base.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        setLangOffset(english ? StringTable::EnglishOffset : 0);
        ScriptedPrompt prompt;
        QStringList tried;
        const auto open = [&](const QString &path) {
            tried << base.relativeFilePath(path);
            return opens == "all" || (opens == "html" && path.endsWith(".html"));
        };
        HelpFile help(prompt, open, [&](const QString &) { return viewer; });
        help.InitHelp(base.filePath(QStringLiteral("bin")));

        const OpResult result = help.ShowHelp(ResText(463));
        QCOMPARE(tried, opened);
        QCOMPARE(result.isDone(), message == 0);
        QStringList shown;
        if (message == 463)
            shown << ResText(463);
        else if (message)
            shown << ResText(message).arg(base.filePath(files.value(0)));
        QCOMPARE(prompt.texts(), shown);
        QCOMPARE(result.text, shown.value(0));
    }

    // The desktop's answer comes from xdg-mime, asked for the file's type and its aliases.
    void desktopViewer_data() {
        QTest::addColumn<QString>("answersFor"); // the type the stand-in names a program for
        QTest::addColumn<bool>("viewer");
        QTest::newRow("the type") << "application/vnd.ms-htmlhelp" << true;
        QTest::newRow("an alias") << "application/x-chm" << true;
        QTest::newRow("other types only") << "text/html" << false;
    }
    void desktopViewer() {
        QFETCH(QString, answersFor);
        QFETCH(bool, viewer);
        QTemporaryDir dir;
        QFile tool(dir.filePath(QStringLiteral("xdg-mime")));
        QVERIFY(tool.open(QIODevice::WriteOnly));
        tool.write("#!/bin/sh\n[ \"$*\" = \"query default " + answersFor.toUtf8() +
                   "\" ] && echo viewer.desktop\nexit 0\n");
        tool.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        tool.close();
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", dir.path().toUtf8());
        const bool answer = HelpManual::desktopHasViewer(dir.filePath(QStringLiteral("a.chm")));
        qputenv("PATH", path);
        QCOMPARE(answer, viewer);
    }
};

QV_TEST_MAIN(TestHelpManual)
#include "tst_helpmanual.moc"
