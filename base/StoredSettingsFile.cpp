// Where the settings are kept on Linux and other POSIX systems: an INI file in the user's
// configuration folder.
#include "base/StoredSettings.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

QString StoredSettings::filePath() {
    const QString app = QString::fromLatin1(AppName);
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' + app +
           u'/' + app + QStringLiteral(".conf");
}

bool StoredSettings::fileUsable() {
    const QFileInfo file(filePath());
    return !file.exists() || file.isFile();
}

QSettings StoredSettings::store() {
    const QString path = filePath();
    if (!fileUsable()) {
        // A FIFO or a device in the file's place would block every read or take every write: the
        // run goes on with the defaults, kept in a file of its own that goes with the process.
        static QTemporaryDir scratch;
        return QSettings(scratch.filePath(QStringLiteral("defaults.conf")), QSettings::IniFormat);
    }
    if (!QFileInfo::exists(path)) {
        const QString earlier =
            QFileInfo(path).path() + u'/' + QString::fromLatin1(AppName) + QStringLiteral(".ini");
        if (QFileInfo(earlier).isFile())
            QFile::copy(earlier, path);
    }
    return QSettings(path, QSettings::IniFormat);
}

bool StoredSettings::localeIsJapanese() {
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QByteArray value = qgetenv(name);
        if (!value.isEmpty())
            return value.startsWith("ja");
    }
    return false;
}
