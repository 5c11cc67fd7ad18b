#include "TestPaths.h"
#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>

// The stored settings as the user's settings file holds them.
class TestStoredSettings : public QObject {
    Q_OBJECT

    static void store(const char *key, const QString &value) {
        StoredSettings::writeText(QString::fromLatin1(key), value);
    }

private slots:
    void init() { clearStoredSettings(); }

    void language_data() {
        QTest::addColumn<QString>("stored"); // null: absent
        QTest::addColumn<int>("languageNo");
        QTest::addColumn<int>("offset");
        QTest::newRow("1 Japanese") << "1" << 1 << 0;
        QTest::newRow("2 English") << "2" << 2 << 10000;
        QTest::newRow("absent Japanese") << QString() << 1 << 0;
        QTest::newRow("abc English") << "abc" << 0 << 10000;
        QTest::newRow("0 English") << "0" << 0 << 10000;
    }
    void language() {
        QFETCH(QString, stored);
        QFETCH(int, languageNo);
        QFETCH(int, offset);
        if (!stored.isNull())
            store("Language", stored);
        StoredSettings s;
        setLangOffset(-1);
        s.ReadLanguage();
        QCOMPARE(int(s.LanguageNo), languageNo);
        QCOMPARE(int(s.LangOffset), offset);
        // Reading the setting leaves the texts' language alone; the program hands it over.
        QCOMPARE(int(LangOffset()), -1);
        setLangOffset(s.LangOffset);
        QCOMPARE(ResText(150), offset == 0
                                   ? QStringLiteral("ｺﾝﾄﾛｰﾗ読み込みの確認")
                                   : QStringLiteral("Confirmation of Reading data from C/T"));
        setLangOffset(0);
    }

    void portOccupy_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("occupy");
        QTest::newRow("0 off") << "0" << false;
        QTest::newRow("1 on") << "1" << true;
        QTest::newRow("5 on") << "5" << true;
        QTest::newRow("abc off") << "abc" << false;
        QTest::newRow("absent on") << QString() << true;
    }
    void portOccupy() {
        QFETCH(QString, stored);
        QFETCH(bool, occupy);
        if (!stored.isNull())
            store("PortOccupy", stored);
        StoredSettings s;
        s.ReadPortOccupy();
        QCOMPARE(s.OccupyPort, occupy);
    }

    void portNo_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("portNo");
        QTest::newRow("absent gives 1") << QString() << 1;
        QTest::newRow("not a number gives 0") << "COM3" << 0;
        QTest::newRow("3") << "3" << 3;
        QTest::newRow("out of range kept as read") << "40" << 40;
    }
    void portNo() {
        QFETCH(QString, stored);
        QFETCH(int, portNo);
        if (!stored.isNull())
            store("PortNo", stored);
        StoredSettings s;
        s.ReadPortNo();
        QCOMPARE(int(s.PortNo), portNo);
    }

    // What lands in the store: decimal text under group "Settings".
    void savedAsText() {
        StoredSettings s;
        s.PortNo = 3;
        s.OccupyPort = false;
        s.SavePortNo();
        s.SavePortOccupy();
        QSettings raw(qEnvironmentVariable("XDG_CONFIG_HOME") +
                          QStringLiteral("/QVPC-Software/QVPC-Software.conf"),
                      QSettings::IniFormat);
        QCOMPARE(raw.value(QStringLiteral("Settings/PortNo")).toString(), QStringLiteral("3"));
        QCOMPARE(raw.value(QStringLiteral("Settings/PortOccupy")).toString(), QStringLiteral("0"));
        s.OccupyPort = true;
        s.SavePortOccupy();
        StoredSettings back;
        back.ReadPortNo();
        back.ReadPortOccupy();
        QCOMPARE(int(back.PortNo), 3);
        QCOMPARE(back.OccupyPort, true);
    }

    // The README tells users where the file is; a program that reads another file ignores them.
    void fileWhereTheReadmeSays() {
        QFile readme(QStringLiteral(QVPC_SOURCE_DIR "/README.md"));
        QVERIFY(readme.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(readme.readAll());
        const QRegularExpression named(QStringLiteral("`\\$XDG_CONFIG_HOME(/[^`]+)`"));
        const QRegularExpressionMatch match = named.match(text);
        QVERIFY2(match.hasMatch(), "the README names no settings file");
        QCOMPARE(StoredSettings::filePath(),
                 qEnvironmentVariable("XDG_CONFIG_HOME") + match.captured(1));
    }

    // A port and language stored by an earlier version (QVPC-Software.ini) still count.
    void earlierFileTakenOver() {
        const QString folder = qEnvironmentVariable("XDG_CONFIG_HOME") + "/QVPC-Software";
        QFile::remove(StoredSettings::filePath());
        QDir().mkpath(folder);
        QFile earlier(folder + "/QVPC-Software.ini");
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("[Settings]\nPortNo=7\nLanguage=2\n");
        earlier.close();
        StoredSettings s;
        s.ReadPortNo();
        s.ReadLanguage();
        QCOMPARE(int(s.PortNo), 7);
        QCOMPARE(int(s.LanguageNo), 2);
        QVERIFY(QFile::exists(StoredSettings::filePath()));
        earlier.remove();
        setLangOffset(0);
    }
};

QV_TEST_CORE_MAIN(TestStoredSettings)
#include "tst_storedsettings.moc"
