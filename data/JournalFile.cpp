#include "data/JournalFile.h"

#include <QFileInfo>

bool JournalFile::occupied(const QString &path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}
