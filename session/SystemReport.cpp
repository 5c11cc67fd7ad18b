#include "session/SystemReport.h"

#include "base/ProgramVersion.h"
#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "link/ControllerLink.h"
#include "link/PortSurvey.h"

#include <QFile>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTextStream>

namespace {

// The settings file as it is on disk: its lines, or a note that there is none yet.
QString settingsFileText(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QStringLiteral("    ") + ResText(1557) + u'\n';
    QString text;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (!line.trimmed().isEmpty())
            text += QStringLiteral("    ") + line + u'\n';
    }
    return text;
}

} // namespace

QString systemReport(ControllerLink &link) {
    QString text;
    QTextStream out(&text);
    out << ResText(1553) << ": QV PC-Software " << ProgramVersion::number() << '\n';
    out << "Qt: " << qVersion() << " (" << ResText(1554) << ' ' << QT_VERSION_STR << ")\n";
    out << ResText(1555) << ": " << QSysInfo::prettyProductName() << ", " << QSysInfo::kernelType()
        << ' ' << QSysInfo::kernelVersion() << ", " << QSysInfo::currentCpuArchitecture() << '\n';
    const QString settings = StoredSettings::filePath();
    out << ResText(1556) << ": " << settings << '\n' << settingsFileText(settings);
    out << ResText(1558) << ":\n";
    const QList<PortEntry> ports = surveyPorts(link);
    if (ports.isEmpty())
        out << "    " << ResText(1306) << '\n';
    for (const PortEntry &port : ports) {
        const PortCheck &c = port.check;
        out << "    " << PortMap::comName(port.portNo) << "  " << c.mapPath;
        if (!c.devicePath.isEmpty() && c.devicePath != c.mapPath)
            out << " -> " << c.devicePath;
        out << '\n';
        const QStringList adapter =
            QStringList{c.description, c.manufacturer, c.serialNumber}.filter(
                QRegularExpression(QStringLiteral("\\S")));
        if (!adapter.isEmpty())
            out << "        " << adapter.join(QStringLiteral(", ")) << '\n';
        out << "        " << c.stateText() << '\n';
    }
    if (!link.deviceOverride().isEmpty())
        out << "    " << ResText(1120).arg(link.deviceOverride()) << '\n';
    out.flush();
    return text;
}
