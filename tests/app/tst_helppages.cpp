// The user manual: both languages have the same pages, every link and picture of the pages and
// of the help project resolves, and the built help files hold every page and picture.
#include "TestPaths.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

const QString Sources = QStringLiteral(QVPC_SOURCE_DIR "/docs/help/");

QString readText(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList pages(const QString &lang) {
    return QDir(Sources + lang).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
}

// href and src values, and the "Local" pages of the contents and the index.
QStringList targets(const QString &text, bool sorted = false) {
    static const QRegularExpression link(
        QStringLiteral("(?:href|src|name=\"Local\" value)=\"([^\"]*)\""));
    QStringList found;
    for (const auto &match : link.globalMatch(text))
        found << match.captured(1);
    if (sorted)
        found.sort();
    return found;
}

} // namespace

class TestHelpPages : public QObject {
    Q_OBJECT
private slots:
    void languages_data() {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("chm");
        // The title as the help viewer reads it: in the code page of the file's language.
        QTest::addColumn<QByteArray>("title");
        QTest::newRow("ja") << "ja"
                            << "QVPChelp.chm"
                            << QByteArray("QV PC-Software \x83\x77\x83\x8b\x83\x76");
        QTest::newRow("en") << "en"
                            << "QVPChelp-en.chm" << QByteArray("QV PC-Software Help");
    }

    // The pages of Japanese are those of English, of the project's [FILES] and of the contents;
    // each link goes to a page, an anchor of it or a picture of docs/screenshots that exists.
    void pagesAndLinks_data() { languages_data(); }
    void pagesAndLinks() {
        QFETCH(QString, lang);
        const QDir folder(Sources + lang);
        const QStringList names = pages(lang);
        QVERIFY(names.size() >= 12);
        QCOMPARE(names, pages(QStringLiteral("ja")));
        QStringList files = readText(folder.filePath(QStringLiteral("QVPChelp.hhp")))
                                .section(QStringLiteral("[FILES]"), 1)
                                .split(u'\n', Qt::SkipEmptyParts);
        files.sort();
        QCOMPARE(files, names);
        QCOMPARE(targets(readText(folder.filePath(QStringLiteral("QVPChelp.hhc"))), true), names);

        QStringList broken;
        for (const QString &name : names + QStringList{"QVPChelp.hhc", "QVPChelp.hhk"}) {
            for (const QString &target : targets(readText(folder.filePath(name)))) {
                const QString file = target.section(u'#', 0, 0);
                const QString anchor = target.section(u'#', 1);
                const bool here = !file.contains(u'/') || file.startsWith("../../screenshots/");
                const QString path = folder.filePath(file.isEmpty() ? name : file);
                if (!here || !QFileInfo(path).isFile() ||
                    (!anchor.isEmpty() &&
                     !readText(path).contains(QStringLiteral("id=\"%1\"").arg(anchor))))
                    broken << name + " -> " + target;
            }
        }
        QVERIFY2(broken.isEmpty(), qPrintable(broken.join(u'\n')));
    }

    // Unpacked, the built help file has its title, every page with its title and every picture
    // it shows.
    void helpFileHoldsEveryPage_data() { languages_data(); }
    void helpFileHoldsEveryPage() {
        QFETCH(QString, lang);
        QFETCH(QString, chm);
        QFETCH(QByteArray, title);
        if (!QFileInfo::exists(QStringLiteral(QVPC_BUILD_DIR "/") + chm))
            QSKIP("the help files were not built (no chmcmd)");
        const QString extract = QStandardPaths::findExecutable(QStringLiteral("extract_chmLib"));
        QVERIFY2(!extract.isEmpty(), "extract_chmLib (Debian libchm-bin) is needed");
        QTemporaryDir out;
        QProcess unpack; // lists what it unpacks on standard output
        unpack.start(extract, {QStringLiteral(QVPC_BUILD_DIR "/") + chm, out.path()});
        QVERIFY(unpack.waitForFinished(60000));
        QCOMPARE(unpack.exitCode(), 0);
        QFile system(out.filePath(QStringLiteral("#SYSTEM")));
        QVERIFY(system.open(QIODevice::ReadOnly));
        QVERIFY(system.readAll().contains(title + '\0'));
        static const QRegularExpression pageTitle(QStringLiteral("<title>[^<]+</title>"));
        for (const QString &page : pages(lang)) {
            const QString source = readText(Sources + lang + u'/' + page);
            QVERIFY2(readText(out.filePath(page)).contains(pageTitle.match(source).captured()),
                     qPrintable(page));
            for (const QString &target : targets(source)) {
                const QString picture = "images/" + target.section(u'/', 3);
                if (target.startsWith("../../screenshots/"))
                    QVERIFY2(QFileInfo(out.filePath(picture)).isFile(), qPrintable(picture));
            }
        }
    }
};

QV_TEST_CORE_MAIN(TestHelpPages)
#include "tst_helppages.moc"
