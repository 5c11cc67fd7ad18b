#include "TestPaths.h"
#include "base/ResText.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

// Ids that code names on purpose without an item: the window keeps its design caption.
static const QSet<int> idsWithoutItem = {410};

class TestStringTable : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { setLangOffset(0); }

    void textsKeptExactly() {
        setLangOffset(0);
        QCOMPARE(ResText(150), QStringLiteral("ｺﾝﾄﾛｰﾗ読み込みの確認"));
        QCOMPARE(ResText(22), QStringLiteral("　ファイル　読み込み")); // leading full-width blanks
        QCOMPARE(ResText(91), QStringLiteral("設定範囲：1～100　初期値：2"));
        setLangOffset(10000);
        QCOMPARE(ResText(25), QStringLiteral("  Write to  C/T")); // leading and inner blanks
        QCOMPARE(ResText(2527), QStringLiteral("JAPANESE"));
    }

    void missingItemIsReported() {
        QVERIFY(!ResTextIfAny(410).has_value());
        QVERIFY(ResText(410).isEmpty());
    }

    void parserKeepsBlanksAndEscapes() {
        const StringTable t = StringTable::parse("# comment\n"
                                                 "1\t  two blanks\n"
                                                 "2\ta\\r\\nb\\\\c\tours\r\n"
                                                 "bad line\n"
                                                 "\n");
        QCOMPARE(t.item(1).value(), QStringLiteral("  two blanks"));
        QCOMPARE(t.item(2).value(), QStringLiteral("a\r\nb\\c"));
        QVERIFY(t.isOurs(2));
        QVERIFY(!t.isOurs(1));
        QCOMPARE(t.ids().size(), 2);
    }

    // Every Japanese item has its English item, apart from the English-only tool tip 10076.
    void bothLanguages() {
        const StringTable &t = StringTable::builtIn();
        QVERIFY(t.ids().size() > 400);
        for (int id : t.ids()) {
            if (id < 10000)
                QVERIFY2(t.item(id + 10000),
                         qPrintable(QStringLiteral("no English for %1").arg(id)));
        }
        QVERIFY(t.item(10076));
    }

    // Every id the program's code names has an item in both languages.
    void everyIdUsedInCodeHasItems() {
        const QRegularExpression use(
            QStringLiteral(R"(\b(?:ResText|ResTextIfAny|setTagId|setToolTipId|setMenuId)\()"
                           R"((?:[^();]*,\s*)?(\d+)\s*\))"));
        const StringTable &t = StringTable::builtIn();
        QSet<int> used;
        for (const char *dir : {"base", "link", "data", "ops", "iomon", "print", "session", "gui",
                                "app", "cli", "sim"}) {
            QDirIterator it(QStringLiteral(QVPC_SOURCE_DIR "/") + QLatin1String(dir),
                            {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                            QDirIterator::Subdirectories);
            while (it.hasNext()) {
                QFile f(it.next());
                QVERIFY(f.open(QIODevice::ReadOnly));
                const QString code = QString::fromUtf8(f.readAll());
                auto matches = use.globalMatch(code);
                while (matches.hasNext()) {
                    const int id = matches.next().captured(1).toInt();
                    if (idsWithoutItem.contains(id))
                        continue;
                    used.insert(id);
                    QVERIFY2(t.item(id) || id == 76,
                             qPrintable(QStringLiteral("%1 uses id %2, which has no Japanese text")
                                            .arg(f.fileName())
                                            .arg(id)));
                    QVERIFY2(t.item(id + 10000),
                             qPrintable(QStringLiteral("%1 uses id %2, which has no English text")
                                            .arg(f.fileName())
                                            .arg(id)));
                }
            }
        }
        QVERIFY(used.contains(150)); // the scan finds the start-up question's ids
    }
};

QV_TEST_CORE_MAIN(TestStringTable)
#include "tst_stringtable.moc"
