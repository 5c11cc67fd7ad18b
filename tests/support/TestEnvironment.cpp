#include "support/TestEnvironment.h"

#include "base/ResText.h"
#include "base/StoredSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

void prepareTestEnvironment() {
    static QTemporaryDir configDir; // removed when the process ends
    qputenv("XDG_CONFIG_HOME", configDir.path().toLocal8Bit());
    // The journal of writes goes to the user's data folder: one of the test's own.
    static QTemporaryDir dataDir;
    qputenv("XDG_DATA_HOME", dataDir.path().toLocal8Bit());
    // qvpc-cli without a stored language speaks the language of the locale's messages; the suites
    // run it as on a Japanese desktop, the other categories of the locale as they were.
    if (!qEnvironmentVariableIsEmpty("LC_ALL")) {
        qputenv("LANG", qgetenv("LC_ALL"));
        qunsetenv("LC_ALL");
    }
    qputenv("LC_MESSAGES", "ja_JP.UTF-8");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    setLangOffset(0);
}

void clearStoredSettings() {
    QSettings s = StoredSettings::store();
    s.clear();
    s.sync();
}

QByteArray readBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

bool blockFolder(const QString &folder) {
    return QDir().mkpath(QFileInfo(folder).path()) && writeBytes(folder, {});
}
