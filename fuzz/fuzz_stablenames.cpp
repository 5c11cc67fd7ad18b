// Feeds arbitrary folders of stable device names: the input makes symbolic links of any name in a
// temporary folder, leading to stand-in devices, to another link, to themselves, to nothing, to
// a folder or to a FIFO. Every name picked must be a link of that folder that leads to its
// device, every device a link leads to must get one, and asking again must pick the same. A
// link checked as a port map entry must resolve to the same device, or be missing when it leads
// nowhere, and must never be opened when it is no device (a FIFO could wait for a writer).
//
// Input: records of a target byte, a length byte and that many bytes of the link's name.

#include "fuzz/FuzzSupport.h"
#include "link/PortCheck.h"
#include "link/PortMap.h"

#include <QDir>
#include <QFileInfo>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int Devices = 4;
constexpr int MaxLinks = 12;
constexpr int MaxChecks = 1;

struct Folders {
    QTemporaryDir root{fuzz::folderTemplate()};
    QString dev;
    QString byId;
    Folders()
        : dev(root.filePath(QStringLiteral("dev"))), byId(root.filePath(QStringLiteral("by-id"))) {
        QDir().mkpath(dev + QStringLiteral("/folder"));
        for (int i = 0; i < Devices; ++i) {
            QFile device(deviceName(i));
            fuzz::require(device.open(QIODevice::WriteOnly));
        }
        fuzz::require(
            ::mkfifo(QFile::encodeName(dev + QStringLiteral("/fifo")).constData(), 0600) == 0);
    }
    QString deviceName(int i) const { return dev + QStringLiteral("/ttyUSB%1").arg(i); }
};

// Where a link leads, chosen by its target byte: absolute and relative paths to the devices,
// nothing, a folder, a FIFO, an earlier link, itself.
QByteArray target(const Folders &f, uint8_t choice, const QList<QByteArray> &made,
                  const QByteArray &name) {
    const int device = (choice / 16) % Devices;
    switch (choice % 8) {
    case 0:
        return QFile::encodeName(f.deviceName(device));
    case 1:
        return "../dev/ttyUSB" + QByteArray::number(device);
    case 2:
        return "../dev/gone";
    case 3:
        return "../dev/folder";
    case 4:
        return "../dev/fifo";
    case 5:
        return made.isEmpty() ? name : made[(choice / 16) % made.size()];
    case 6:
        return "./" + name;
    }
    return "../by-id/../dev/ttyUSB" + QByteArray::number(device);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const Folders f;
    fuzz::require(f.root.isValid());
    QDir(f.byId).removeRecursively();
    fuzz::require(QDir().mkpath(f.byId));

    QList<QByteArray> made;
    for (size_t i = 0; i + 2 <= size && made.size() < MaxLinks;) {
        const uint8_t choice = data[i];
        const QByteArray name =
            fuzz::bytes(data + i + 2, std::min<size_t>(data[i + 1], size - i - 2));
        i += 2 + size_t(name.size());
        // The system names no link with a leading dot (a hidden file, left out of the listing),
        // and a name the listing cannot give back as it is would be asked for under another.
        if (name.isEmpty() || name.startsWith('.') || name.contains('/') || name.contains('\0') ||
            QFile::encodeName(QFile::decodeName(name)) != name)
            continue;
        const QByteArray path = QFile::encodeName(f.byId) + '/' + name;
        if (::symlink(target(f, choice, made, name).constData(), path.constData()) == 0)
            made.append(name);
    }

    const QHash<QString, QString> names = PortMap::stableNames(f.byId);
    fuzz::require(PortMap::stableNames(f.byId) == names);
    for (auto it = names.begin(); it != names.end(); ++it) {
        const QFileInfo link(it.value());
        const QFileInfo device(it.key());
        fuzz::require(link.isSymLink() && link.absolutePath() == f.byId &&
                      made.contains(QFile::encodeName(link.fileName())) && device.exists() &&
                      !device.isDir() && link.canonicalFilePath() == it.key());
    }
    int checks = 0;
    for (const QByteArray &name : made) {
        const QString path = f.byId + u'/' + QFile::decodeName(name);
        const QFileInfo link(path);
        const QString device = link.exists() ? link.canonicalFilePath() : QString();
        fuzz::require(device.isEmpty() || link.isDir() || names.contains(device));
        if (checks++ < MaxChecks) {
            const PortCheck check = PortCheck::of(path);
            fuzz::require(check.mapPath == path && check.devicePath == device &&
                          check.state == (device.isEmpty() ? PortCheck::State::Missing
                                                           : PortCheck::State::NotSerial));
        }
    }
    return 0;
}
