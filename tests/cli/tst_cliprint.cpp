// qvpc-cli print run as a process: the PDF it writes (its fonts and its text as a PDF reader
// extracts it), and the files it refuses or keeps.
#include "CliRunner.h"
#include "support/FileSizeLimit.h"
#include "support/QvDataValues.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

QvData sample() {
    return qvDataOf(
        {12, 3, 4, 5, 1000, 30, 9, 1, 0, 16777215, 11, 12, 13, 14, 15, 16, 17, 0, 2, 600, 16, 599});
}

// The text of a PDF as pdftotext lays it out; empty when the tool is not installed.
QString pdfText(const QString &path) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return QString();
    QProcess p;
    p.start(tool, {QStringLiteral("-layout"), path, QStringLiteral("-")});
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestCliPrint : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void report_data();
    void report();
    void refused_data();
    void refused();
    void specialFileRefused();
    void replacedOnlyWithYes();

private:
    QTemporaryDir m_dir;
    QTemporaryDir m_runtime;
};

void TestCliPrint::initTestCase() {
    // A user session has a runtime folder; without one Qt warns on the error stream.
    QFile::setPermissions(m_runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
}

void TestCliPrint::report_data() {
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QByteArray>("font");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("region"); // the system's locale: the date's format
    QTest::newRow("Japanese in IPA Mincho")
        << "ja" << QByteArray("IPAMincho")
        << QStringList{"ファイル名:qvdata1.qvd", "=== 動作設定 ===", "位置１", "ｾﾊﾟﾚｰﾄﾀｲﾏ",
                       "=== 原点復帰ﾊﾟﾗﾒｰﾀ ===", "16777215"}
        << "en_US.UTF-8";
    QTest::newRow("English in IPA Gothic")
        << "en" << QByteArray("IPAGothic")
        << QStringList{"File Name:qvdata1.qvd", "=== Moving Settings ===", "Position(pulse)",
                       "Tip work off timer",    "Home Position Offset",    "599"}
        << "ja_JP.UTF-8";
}

// The file's report in the chosen language, its font embedded so no glyph is a box.
void TestCliPrint::report() {
    QFETCH(QString, lang);
    QFETCH(QByteArray, font);
    QFETCH(QStringList, lines);
    QFETCH(QString, region);
    const QString file = writeQvFile(m_dir, sample(), QStringLiteral("qvdata1.qvd"));
    const QString pdf = m_dir.filePath(lang + QStringLiteral(".pdf"));
    QFile::remove(pdf);

    const CliResult r = runCli({QStringLiteral("--lang"), lang, QStringLiteral("print"), file,
                                QStringLiteral("--pdf"), pdf},
                               20000, {"LC_ALL=", "LC_TIME=", QStringLiteral("LANG=") + region});

    QCOMPARE(r.err, QString());
    QCOMPARE(r.exitCode, 0);
    const QByteArray bytes = readBytes(pdf);
    QVERIFY(bytes.startsWith("%PDF-"));
    QVERIFY2(bytes.contains("/BaseFont /" + font) || bytes.contains("+" + font), font.data());
    QVERIFY(bytes.contains("/MediaBox [0 0 595"));
    const QString text = pdfText(pdf);
    if (text.isEmpty())
        QSKIP("pdftotext is not installed: the text of the PDF was not checked");
    // The date in the system's regional format, whatever the language of the texts.
    lines << QLocale(region).toString(QDate::currentDate(), QLocale::ShortFormat) + u' ';
    for (const QString &line : lines)
        QVERIFY2(text.contains(line), qPrintable(line + QStringLiteral(" not in:\n") + text));
}

void TestCliPrint::refused_data() {
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("outFolder");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing file")
        << QString() << QString()
        << QStringLiteral("Error occured while opening file.\nOpening file was stopped.\n");
    QTest::newRow("foreign file")
        << QStringLiteral("name,value\r\n1,2\r\n") << QString()
        << QStringLiteral("This is not QV data file.\nOpening data file is stopped.\n");
    QTest::newRow("no such folder for the PDF")
        << QString::fromLatin1(QvDataFile::format(sample())) << QStringLiteral("none/")
        << QStringLiteral("Cannot write %1.\n");
}

// The reader's messages (or the PDF's) and exit status 1; no PDF is left behind.
void TestCliPrint::refused() {
    QFETCH(QString, content);
    QFETCH(QString, outFolder);
    QFETCH(QString, message);
    const QString file = m_dir.filePath(QStringLiteral("fault.qvd"));
    QFile::remove(file);
    if (!content.isEmpty()) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content.toLatin1());
    }
    const QString pdf = m_dir.filePath(outFolder + QStringLiteral("fault.pdf"));

    const CliResult r = runCli({QStringLiteral("--lang"), QStringLiteral("en"),
                                QStringLiteral("print"), file, QStringLiteral("--pdf"), pdf});

    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, message.contains(u'%') ? message.arg(pdf) : message);
    QVERIFY(!QFile::exists(pdf));
}

// A FIFO named as the PDF is refused, never replaced by a file, even with --yes (nor would a
// device node be).
void TestCliPrint::specialFileRefused() {
    const QString file = writeQvFile(m_dir, sample(), QStringLiteral("qvdata1.qvd"));
    const QString fifo = m_dir.filePath(QStringLiteral("fifo.pdf"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);

    const CliResult r =
        runCli({QStringLiteral("--yes"), QStringLiteral("--lang"), QStringLiteral("en"),
                QStringLiteral("print"), file, QStringLiteral("--pdf"), fifo});

    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, QStringLiteral("Cannot write %1.\n").arg(fifo));
    QVERIFY(QFileInfo::exists(fifo));
    QVERIFY(!QFileInfo(fifo).isFile());
}

// An existing PDF stays as it was without --yes and is replaced with it.
void TestCliPrint::replacedOnlyWithYes() {
    const QString file = writeQvFile(m_dir, sample(), QStringLiteral("qvdata1.qvd"));
    const QString pdf = m_dir.filePath(QStringLiteral("existing.pdf"));
    {
        QFile f(pdf);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("kept");
    }
    const QStringList print{QStringLiteral("--lang"), QStringLiteral("en"),
                            QStringLiteral("print"),  file,
                            QStringLiteral("--pdf"),  pdf};

    CliResult r = runCli(print);
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, QStringLiteral("%1 already exists. Give --yes to replace it.\n").arg(pdf));
    QCOMPARE(readBytes(pdf), QByteArray("kept"));

    // A disk that fills up while the PDF is written: a failure, and the old file stays.
    {
        const FileSizeLimit full(4096);
        QVERIFY(full.isSet());
        r = runCli(QStringList{QStringLiteral("--yes")} + print);
    }
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, QStringLiteral("Cannot write %1.\n").arg(pdf));
    QCOMPARE(readBytes(pdf), QByteArray("kept"));

    r = runCli(QStringList{QStringLiteral("--yes")} + print);
    QCOMPARE(r.exitCode, 0);
    QVERIFY(readBytes(pdf).startsWith("%PDF-"));
}

QV_TEST_CORE_MAIN(TestCliPrint)
#include "tst_cliprint.moc"
