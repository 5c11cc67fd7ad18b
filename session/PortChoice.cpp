#include "session/PortChoice.h"

#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "base/VbNumber.h"
#include "base/VisibleText.h"
#include "link/ControllerLink.h"
#include "link/NetAddress.h"

PortNameFault portNameFault(const QString &name) {
    if (VisibleText::hasControl(name))
        return PortNameFault::ControlCharacter;
    if (NetAddress::looksLikeUrl(name) && !NetAddress::parse(name).isValid())
        return PortNameFault::BadAddress;
    return PortNameFault::None;
}

PortChoice::PortChoice(StoredSettings &settings, ControllerLink &link)
    : PortChoice(settings, link, [&link] {
          // Looking at the ports closes the port; each number's device is then tried once.
          link.ClosePort();
          return surveyPorts(link);
      }()) {}

PortChoice::PortChoice(StoredSettings &settings, ControllerLink &link,
                       const QList<PortEntry> &found)
    : m_settings(settings), m_link(link) {
    if (m_settings.PortNo >= PortMap::FirstNo && m_settings.PortNo <= PortMap::LastNo)
        m_settings.ReadPortNo();
    m_oldPortNo = m_settings.PortNo;
    for (const PortEntry &entry : found)
        m_checks[entry.portNo] = entry.check;
    // While a simulated controller stands in for every number, each is as available as it is;
    // its device is looked at once, as the ports are.
    const QString simulated = m_link.deviceOverride();
    if (!simulated.isEmpty())
        m_simulated = PortCheck::of(simulated);
}

QStringList PortChoice::offered() const {
    QStringList names;
    for (int n = PortMap::FirstNo; n <= PortMap::LastNo; ++n) {
        if (available(n))
            names.append(PortMap::comName(n));
    }
    return names;
}

QString PortChoice::current() const {
    const qint16 n = m_settings.PortNo;
    return n >= PortMap::FirstNo && n <= PortMap::LastNo && available(n) ? PortMap::comName(n)
                                                                         : QString();
}

bool PortChoice::available(int n) const {
    if (n < PortMap::FirstNo || n > PortMap::LastNo)
        return false;
    const PortCheck &check = m_link.deviceOverride().isEmpty() ? m_checks[n] : m_simulated;
    return check.state == PortCheck::State::Openable;
}

qint16 PortChoice::ChosenPortNo(const QString &text) {
    const QString trimmed = text.trimmed();
    if (trimmed.size() < 3)
        return -1;
    // The number is read the way the program reads numbers: "7", " 7" and "7x" all give 7.
    const double n = VbNumber::roundHalfEven(VbNumber::leadingValue(trimmed.mid(3)));
    return n >= PortMap::FirstNo && n <= PortMap::LastNo ? qint16(n) : qint16(-1);
}

bool PortChoice::ApplyPortChoice(const QString &text) {
    const qint16 n = ChosenPortNo(text);
    if (n < PortMap::FirstNo)
        return false;
    if (n != m_settings.PortNo && available(n)) {
        m_settings.PortNo = n;
        m_settings.SavePortNo();
    }
    // The number the port was seen by becomes its own.
    if (available(n))
        m_link.portMap().keep(n);
    return true;
}

bool PortChoice::accept(const QString &text) {
    if (!ApplyPortChoice(text))
        return false;
    if (m_settings.PortNo != m_oldPortNo)
        m_link.ClosePort();
    m_settings.PortNo = ChosenPortNo(text);
    return true;
}

const PortCheck &PortChoice::checkOf(int n) const {
    return m_link.deviceOverride().isEmpty() ? m_checks[n] : m_simulated;
}

QString PortChoice::deviceText(int n) const {
    if (n < PortMap::FirstNo || n > PortMap::LastNo)
        return {};
    const QString simulated = m_link.deviceOverride();
    const PortCheck &check = checkOf(n);
    QStringList lines;
    if (!simulated.isEmpty())
        lines << ResText(1120).arg(simulated);
    lines << ResText(1520) + (check.mapPath.isEmpty() ? ResText(1508) : check.mapPath);
    if (!check.devicePath.isEmpty() && check.devicePath != check.mapPath)
        lines.last() += QStringLiteral(" → ") + check.devicePath;
    if (!check.description.isEmpty())
        lines << ResText(1521) + check.description;
    if (!check.manufacturer.isEmpty())
        lines << ResText(1522) + check.manufacturer;
    if (!check.serialNumber.isEmpty())
        lines << ResText(1523) + check.serialNumber;
    lines << ResText(1524) + check.stateText();
    if (simulated.isEmpty() && !available(n))
        lines << ResText(1525);
    return lines.join(u'\n');
}

QList<PortEntry> PortChoice::mapRows() const {
    // While a simulated controller stands in for every number, the current one and each mapped
    // one lead to its device, as on the first tab and in the status bar.
    const bool simulated = !m_link.deviceOverride().isEmpty();
    QList<PortEntry> rows;
    for (int n = PortMap::FirstNo; n <= PortMap::LastNo; ++n) {
        if (!m_checks[n].mapPath.isEmpty() || (simulated && n == m_settings.PortNo))
            rows.append({n, checkOf(n)});
    }
    return rows;
}

PortNameFault PortChoice::setEntry(int n, const QString &path) {
    const PortNameFault fault = portNameFault(path);
    if (fault != PortNameFault::None)
        return fault;
    // The line open now may be the one replaced; the next operation opens the new entry.
    if (m_link.isPortOpen() && n == m_settings.PortNo)
        m_link.ClosePort();
    PortMap::setEntry(n, path);
    m_checks[n] = PortCheck::of(path);
    return PortNameFault::None;
}

QString PortChoice::statusLine(int n) const {
    return PortMap::statusLine(n, m_checks[n].mapPath, m_checks[n].stateText());
}
