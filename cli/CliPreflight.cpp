#include "cli/CliPreflight.h"

#include "base/FileTarget.h"
#include "base/StoredSettings.h"
#include "cli/CliCommands.h"
#include "link/NetAddress.h"
#include "link/PortIdentity.h"
#include "link/PortMap.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <utility>

namespace {

// What a path resolves to: the file or device itself where it exists, else the cleaned absolute
// path (a file still to be written).
QString identity(const QString &path) {
    // A network line is the server's port, whichever way it is spoken to.
    if (NetAddress::looksLikeUrl(path))
        return PortIdentity::of(path);
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

// The device a controller is reached by: its path, or the port map's entry for its number (the
// number itself while nothing is mapped to it yet).
QString deviceOf(const CliTarget &target) {
    const QString device =
        target.device.isEmpty() ? PortMap().devicePath(target.portNo) : target.device;
    return device.isEmpty() ? target.name() : PortIdentity::of(device);
}

Preflight refused(const QString &error) {
    return {true, error};
}

} // namespace

Preflight preflight(CliRequest &request) {
    QSet<QString> devices;
    for (const CliTarget &target : request.targets) {
        const QString device = deviceOf(target);
        if (devices.contains(device))
            return refused(QStringLiteral("A controller is named twice."));
        devices.insert(device);
    }

    if (!request.vcd.isEmpty() || !request.csv.isEmpty()) {
        // A recording goes to a file only: never down a controller's line (the stored port's
        // when none is named), never into a device, FIFO, folder or socket.
        if (request.targets.isEmpty()) {
            StoredSettings stored;
            stored.ReadPortNo();
            devices.insert(deviceOf({stored.PortNo, QString()}));
        }
        // A recording is made by the file itself: a link would write wherever it leads, and two
        // recordings in one file would leave only the last.
        if (!request.vcd.isEmpty() && identity(request.vcd) == identity(request.csv))
            return refused(QStringLiteral("--vcd and --csv name one file; each recording needs "
                                          "its own."));
        for (const auto &[option, file] :
             {std::pair{"--vcd", request.vcd}, {"--csv", request.csv}}) {
            if (!file.isEmpty() && QFileInfo(file).isSymLink())
                return refused(QStringLiteral("%1 %2 is a symbolic link; a recording goes to "
                                              "the file named, not through a link.")
                                   .arg(QLatin1String(option), file));
            if (file.isEmpty() || FileTarget::isWritableAsFile(file))
                continue;
            if (devices.contains(PortIdentity::of(file)))
                return refused(QStringLiteral("%1 %2 is the line of the controller; a recording "
                                              "goes to a file.")
                                   .arg(QLatin1String(option), file));
            return refused(QStringLiteral("%1 %2 is no regular file (a device, FIFO, folder or "
                                          "socket); a recording goes to a file.")
                               .arg(QLatin1String(option), file));
        }
    }

    if (request.command->has(CliCommand::Pdf) && !request.output.isEmpty() &&
        identity(request.output) == identity(request.file))
        return refused(QStringLiteral("--pdf would replace FILE, the file being printed."));

    if (request.backup.isEmpty())
        return {};
    QList<CliTarget> targets = request.targets;
    if (targets.isEmpty()) {
        StoredSettings stored;
        stored.ReadPortNo();
        targets.append({stored.PortNo, QString()});
    }
    // A single controller's backup is named here; each of several names its own.
    if (targets.size() == 1)
        request.backup = targets.first().backupFile(request.backup);
    QSet<QString> backups;
    for (const CliTarget &target : targets) {
        const QString backup =
            identity(targets.size() == 1 ? request.backup : target.backupFile(request.backup));
        if (backup == identity(request.file))
            return refused(QStringLiteral("BACKUP would replace FILE, the file being written."));
        if (backups.contains(backup))
            return refused(QStringLiteral("Two controllers would share one BACKUP file."));
        backups.insert(backup);
    }
    return {};
}
