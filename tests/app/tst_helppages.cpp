// The user manual: both languages have the same pages, every link and picture of the pages and
// of the help project resolves, and the compiled help files hold every page and picture.
#include "TestPaths.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

const QString HelpSources = QStringLiteral(QVPC_SOURCE_DIR "/docs/help/");

QString readText(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList pages(const QString &lang) {
    return QDir(HelpSources + lang).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
}

// What a page or a project file points at: href and src values, "Local" params of the
// contents and the index, without the fragment.
QStringList targets(const QString &text) {
    static const QRegularExpression link(
        QStringLiteral(R"re((?:href|src)="([^"]*)"|name="Local" value="([^"]*)")re"));
    QStringList found;
    for (const auto &match : link.globalMatch(text)) {
        const QString target = match.captured(1).isEmpty() ? match.captured(2) : match.captured(1);
        found << target;
    }
    return found;
}

// The pages of the help project's [FILES] section.
QStringList projectFiles(const QString &lang) {
    const QString text = readText(HelpSources + lang + QStringLiteral("/QVPChelp.hhp"));
    const qsizetype start = text.indexOf(QLatin1String("[FILES]"));
    QStringList files = text.mid(start + 7).split(u'\n', Qt::SkipEmptyParts);
    for (QString &file : files)
        file = file.trimmed();
    files.removeAll(QString());
    files.sort();
    return files;
}

} // namespace

class TestHelpPages : public QObject {
    Q_OBJECT
private slots:
    void languages_data() {
        QTest::addColumn<QString>("lang");
        QTest::newRow("ja") << "ja";
        QTest::newRow("en") << "en";
    }

    // The same page names in both languages; the project compiles each and the contents name each.
    void samePages() {
        const QStringList ja = pages(QStringLiteral("ja"));
        QVERIFY(ja.size() >= 12);
        QCOMPARE(pages(QStringLiteral("en")), ja);
        for (const QString &lang : {QStringLiteral("ja"), QStringLiteral("en")}) {
            QCOMPARE(projectFiles(lang), ja);
            QStringList contents =
                targets(readText(HelpSources + lang + QStringLiteral("/QVPChelp.hhc")));
            contents.sort();
            QCOMPARE(contents, ja);
        }
    }

    void linksResolve_data() { languages_data(); }
    void linksResolve() {
        QFETCH(QString, lang);
        const QDir folder(HelpSources + lang);
        QStringList files = pages(lang);
        files << QStringLiteral("QVPChelp.hhc") << QStringLiteral("QVPChelp.hhk");
        QStringList broken;
        for (const QString &name : std::as_const(files)) {
            const QString text = readText(folder.filePath(name));
            QVERIFY2(!text.isEmpty(), qPrintable(name));
            for (const QString &target : targets(text)) {
                if (target.startsWith(QLatin1String("http")) ||
                    target.startsWith(QLatin1String("mailto:")))
                    continue;
                const QString file = target.section(u'#', 0, 0);
                const QString anchor = target.section(u'#', 1);
                const QString path = file.isEmpty() ? folder.filePath(name) : folder.filePath(file);
                // Pictures come from docs/screenshots, pages and the style sheet from this folder.
                const bool inside =
                    file.startsWith(QLatin1String("../../screenshots/")) || !file.contains(u'/');
                if (!inside || !QFileInfo(path).isFile() ||
                    (!anchor.isEmpty() &&
                     !readText(path).contains(QStringLiteral("id=\"%1\"").arg(anchor))))
                    broken << name + QStringLiteral(" -> ") + target;
            }
        }
        QVERIFY2(broken.isEmpty(), qPrintable(broken.join(u'\n')));
    }

    // The built help file holds every page and every picture they show, with the text intact.
    void helpFileHoldsEveryPage_data() { languages_data(); }
    void helpFileHoldsEveryPage() {
        QFETCH(QString, lang);
        const QString chm = QStringLiteral(QVPC_BUILD_DIR "/") +
                            (lang == QLatin1String("ja") ? QStringLiteral("QVPChelp.chm")
                                                         : QStringLiteral("QVPChelp-en.chm"));
        if (!QFileInfo::exists(chm))
            QSKIP("the help files were not built (no chmcmd)");
        const QString extract = QStandardPaths::findExecutable(QStringLiteral("extract_chmLib"));
        QVERIFY2(!extract.isEmpty(), "extract_chmLib (Debian libchm-bin) is needed");
        QTemporaryDir out;
        QProcess run;
        run.start(extract, {chm, out.path()});
        QVERIFY(run.waitForFinished(60000));
        QCOMPARE(run.exitCode(), 0);

        const QDir inside(out.path());
        for (const QString &page : pages(lang)) {
            const QString text = readText(inside.filePath(page));
            const QString source = readText(HelpSources + lang + u'/' + page);
            static const QRegularExpression title(QStringLiteral("<title>([^<]*)</title>"));
            QVERIFY2(!text.isEmpty(), qPrintable(page));
            QCOMPARE(title.match(text).captured(1), title.match(source).captured(1));
            for (const QString &target : targets(source)) {
                if (target.startsWith(QLatin1String("../../screenshots/")))
                    QVERIFY2(QFileInfo(inside.filePath(QStringLiteral("images/") +
                                                       target.section(u'/', 3)))
                                 .isFile(),
                             qPrintable(page + QStringLiteral(" -> ") + target));
            }
        }
        QVERIFY(QFileInfo(inside.filePath(QStringLiteral("style.css"))).isFile());
    }
};

QV_TEST_CORE_MAIN(TestHelpPages)
#include "tst_helppages.moc"
