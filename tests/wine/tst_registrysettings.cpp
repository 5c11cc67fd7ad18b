// The stored settings on Windows: in the registry key of the application-settings functions, as
// text, so that what was stored there before carries over; the port map's entries beside them.
#include "base/StoredSettings.h"
#include "base/SystemInfoProgram.h"
#include "link/PortMap.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QScopeGuard>

#include <windows.h>

namespace {

const QString Root = QStringLiteral("Software\\VB and VBA Program Settings\\QVPC-Software");

// A value as the registry holds it: its type (0 when absent) and its text.
QPair<DWORD, QString> rawValue(const QString &key, const QString &name) {
    const QString path = Root + u'\\' + key;
    wchar_t data[256] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    DWORD type = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, reinterpret_cast<LPCWSTR>(path.utf16()),
                     reinterpret_cast<LPCWSTR>(name.utf16()), RRF_RT_ANY | RRF_NOEXPAND, &type,
                     data, &size) != ERROR_SUCCESS)
        return {0, QString()};
    return {type, QString::fromWCharArray(data)};
}

// Stores text as the application-settings functions do: a string value.
void putRaw(const QString &name, const QString &text) {
    const QString path = Root + QStringLiteral("\\Settings");
    QVERIFY(RegSetKeyValueW(HKEY_CURRENT_USER, reinterpret_cast<LPCWSTR>(path.utf16()),
                            reinterpret_cast<LPCWSTR>(name.utf16()), REG_SZ, text.utf16(),
                            DWORD((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS);
}

} // namespace

class TestRegistrySettings : public QObject {
    Q_OBJECT
private slots:
    void init() { clearStoredSettings(); }
    // The build's Wine prefix is also where the installed program is tried.
    void cleanupTestCase() { clearStoredSettings(); }

    void storedAsText() {
        StoredSettings s;
        s.PortNo = 7;
        s.OccupyPort = false;
        s.KeepJournal = true;
        s.SavePortNo();
        s.SavePortOccupy();
        s.SaveKeepJournal();
        QCOMPARE(rawValue(QStringLiteral("Settings"), QStringLiteral("PortNo")),
                 qMakePair(DWORD(REG_SZ), QStringLiteral("7")));
        QCOMPARE(rawValue(QStringLiteral("Settings"), QStringLiteral("PortOccupy")),
                 qMakePair(DWORD(REG_SZ), QStringLiteral("0")));
        QCOMPARE(rawValue(QStringLiteral("Settings"), QStringLiteral("Journal")),
                 qMakePair(DWORD(REG_SZ), QStringLiteral("1")));
        // The port map's entries are a key of their own beside Settings.
        PortMap::setEntry(12, QStringLiteral("rfc2217://10.0.0.21:4001"));
        QCOMPARE(rawValue(QStringLiteral("Ports"), QStringLiteral("COM12")),
                 qMakePair(DWORD(REG_SZ), QStringLiteral("rfc2217://10.0.0.21:4001")));
        QCOMPARE(StoredSettings::filePath(), QStringLiteral("HKEY_CURRENT_USER\\") + Root);
    }

    // What an earlier program stored, read with the rules for missing and unreadable values.
    void readsStoredValues_data() {
        QTest::addColumn<QString>("language"); // null: absent
        QTest::addColumn<QString>("portNo");
        QTest::addColumn<QString>("occupy");
        QTest::addColumn<int>("langOffset");
        QTest::addColumn<int>("expectedPort");
        QTest::addColumn<bool>("expectedOccupy");
        QTest::newRow("stored") << "2"
                                << "3"
                                << "0" << 10000 << 3 << false;
        QTest::newRow("absent") << QString() << QString() << QString() << 0 << 1 << true;
        QTest::newRow("not numbers") << "ja"
                                     << "COM3"
                                     << "yes" << 10000 << 0 << false;
    }
    void readsStoredValues() {
        QFETCH(QString, language);
        QFETCH(QString, portNo);
        QFETCH(QString, occupy);
        if (!language.isNull())
            putRaw(QStringLiteral("Language"), language);
        if (!portNo.isNull())
            putRaw(QStringLiteral("PortNo"), portNo);
        if (!occupy.isNull())
            putRaw(QStringLiteral("PortOccupy"), occupy);
        StoredSettings s;
        s.ReadLanguage();
        s.ReadPortNo();
        s.ReadPortOccupy();
        QTEST(int(s.LangOffset), "langOffset");
        QTEST(int(s.PortNo), "expectedPort");
        QTEST(s.OccupyPort, "expectedOccupy");
    }

    // The system-information program as the registry names it; an expandable value's variables
    // are filled in.
    void systemInfoPath_data() {
        QTest::addColumn<DWORD>("type");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("expected");
        QTest::newRow("text") << DWORD(REG_SZ) << "C:\\Tools\\msinfo32.exe"
                              << "C:\\Tools\\msinfo32.exe";
        QTest::newRow("expandable") << DWORD(REG_EXPAND_SZ) << "%SystemRoot%\\msinfo32.exe"
                                    << qEnvironmentVariable("SystemRoot") + "\\msinfo32.exe";
    }
    void systemInfoPath() {
        QFETCH(DWORD, type);
        QFETCH(QString, stored);
        const wchar_t *key = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
        wchar_t before[512] = {};
        DWORD beforeSize = sizeof before;
        DWORD beforeType = 0;
        const bool had = RegGetValueW(HKEY_LOCAL_MACHINE, key, L"PATH", RRF_RT_ANY | RRF_NOEXPAND,
                                      &beforeType, before, &beforeSize) == ERROR_SUCCESS;
        const auto restore = qScopeGuard([&] {
            if (had)
                RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, L"PATH", beforeType, before, beforeSize);
            else
                RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, key, L"PATH");
        });
        QVERIFY(RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, L"PATH", type, stored.utf16(),
                                DWORD((stored.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS);
        QTEST(SystemInfoProgram::path(), "expected");
    }
};

QV_TEST_CORE_MAIN(TestRegistrySettings)
#include "tst_registrysettings.moc"
