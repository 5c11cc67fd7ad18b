#include "base/HelpManual.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QTimer>

namespace HelpManual {

namespace {

QString firstExisting(const QStringList &folders, const QString &name) {
    for (const QString &folder : folders) {
        const QString path = QDir(folder).filePath(name);
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

} // namespace

QStringList folders(const QString &programFolder) {
    const QDir program(programFolder);
    return {program.path(),
            QDir::cleanPath(program.filePath(QStringLiteral("../share/qvpc-software")))};
}

QString helpFile(const QStringList &folders, bool english) {
    QString path;
    if (english)
        path = firstExisting(folders, QLatin1String(EnglishFileName));
    if (path.isEmpty())
        path = firstExisting(folders, QLatin1String(FileName));
    return path;
}

QString htmlPage(const QStringList &folders, bool english) {
    return firstExisting(folders, english ? QStringLiteral("help/en/index.html")
                                          : QStringLiteral("help/ja/index.html"));
}

bool desktopHasViewer(const QString &path) {
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    // A viewer may be registered under the type's name or one of its aliases.
    QStringList names = type.aliases();
    names.prepend(type.name());
    for (const QString &name : std::as_const(names)) {
        QProcess query;
        query.start(QStringLiteral("xdg-mime"),
                    {QStringLiteral("query"), QStringLiteral("default"), name});
        if (!query.waitForFinished(5000)) {
            query.kill();
            query.waitForFinished();
            return false;
        }
        if (query.exitStatus() == QProcess::NormalExit && query.exitCode() == 0 &&
            !query.readAllStandardOutput().trimmed().isEmpty())
            return true;
    }
    return false;
}

bool openWithDesktop(const QString &path) {
    // Not owned by anything: a viewer the opener runs must outlive this call, and a QProcess
    // ends its process when deleted.
    auto *opener = new QProcess;
    QEventLoop wait;
    QObject::connect(opener, &QProcess::finished, &wait, &QEventLoop::quit);
    QObject::connect(opener, &QProcess::errorOccurred, &wait, &QEventLoop::quit);
    QTimer::singleShot(OpenerGraceMs, &wait, &QEventLoop::quit);
    opener->start(QStringLiteral("xdg-open"), {path});
    if (opener->state() != QProcess::NotRunning)
        wait.exec();
    if (opener->state() != QProcess::NotRunning) {
        // Still running: it shows the file; it goes once it has ended.
        QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
        return true;
    }
    const bool opened = opener->error() != QProcess::FailedToStart &&
                        opener->exitStatus() == QProcess::NormalExit && opener->exitCode() == 0;
    delete opener;
    return opened;
}

} // namespace HelpManual
