#include "link/PortSurvey.h"

#include "link/ControllerLink.h"
#include "link/NetAddress.h"
#include "link/PortMap.h"

#include <QFileInfo>

QList<PortEntry> surveyPorts(ControllerLink &link) {
    const QHash<int, QString> numbered = link.portMap().numbered();
    const QString openHere = QFileInfo(link.openDevicePath()).canonicalFilePath();
    QList<PortEntry> entries;
    QStringList paths;
    QHash<QString, PortCheck> known;
    for (int n = PortMap::FirstNo; n <= PortMap::LastNo; ++n) {
        const QString path = numbered.value(n);
        if (path.isEmpty())
            continue;
        // A network line open here is not connected to again: the server may take one client.
        // A port the system names itself (Windows' COM3) is no file to resolve.
        const bool here = path == link.openDevicePath() ||
                          (!NetAddress::looksLikeUrl(path) && !openHere.isEmpty() &&
                           QFileInfo(path).canonicalFilePath() == openHere);
        if (here)
            known.insert(path, PortCheck::openHere(path));
        entries.append(PortEntry{n, {}});
        paths.append(path);
    }
    const QList<PortCheck> checks = PortCheck::ofAll(paths, known, link.tlsSettings());
    for (qsizetype i = 0; i < entries.size(); ++i)
        entries[i].check = checks[i];
    return entries;
}

QString portTable(const QList<PortEntry> &entries) {
    QString table;
    for (const PortEntry &e : entries) {
        const PortCheck &c = e.check;
        table += QStringList{PortMap::comName(e.portNo),
                             c.mapPath,
                             c.devicePath,
                             c.description,
                             c.manufacturer,
                             c.serialNumber,
                             c.stateText()}
                     .join(u'\t');
        table += u'\n';
    }
    return table;
}
