#pragma once

#include "link/PortCheck.h"
#include "link/PortMap.h"
#include "link/PortSurvey.h"

#include <QList>
#include <QString>
#include <QStringList>

class ControllerLink;
class StoredSettings;

// What keeps a port's name, as the user gives it (a device path or a network line's URL), from
// being used.
enum class PortNameFault {
    None,
    // A line break or an invisible character, which one place would trim and another keep.
    ControlCharacter,
    // A network URL that names no host and port: it would only fail at the next exchange.
    BadAddress,
};
PortNameFault portNameFault(const QString &name);

// The options dialog's port choice without its widgets: which COM numbers it offers (those found
// openable when it opened), what the typed choice means, what OK stores, and the port map entries
// typed in. Looking stores nothing: a dialog that is cancelled leaves the settings as they were,
// a new device's derived number too.
class PortChoice {
public:
    // Reads the stored number again when the current one is a port number, then looks at every
    // port, which closes the port open now.
    PortChoice(StoredSettings &settings, ControllerLink &link);
    // The same with what the look at the ports found given (tests).
    PortChoice(StoredSettings &settings, ControllerLink &link, const QList<PortEntry> &found);

    // "COMn" of each number that may be chosen, in rising order.
    QStringList offered() const;
    // The choice shown at opening: the current number's "COMn" when it is offered, else empty.
    QString current() const;
    // Whether number n could be opened when the dialog opened (or when its entry was set).
    bool available(int n) const;

    // The number in the port list's text after its first three characters, which are not
    // looked at ("COM7", "ABC7" and "XYZ 7" all give 7); -1 unless it is 1 to 32.
    static qint16 ChosenPortNo(const QString &text);
    // A chosen number that is new and can be opened is stored, and the number a new device is
    // seen by becomes its own in the map. False when the text names no port number.
    bool ApplyPortChoice(const QString &text);
    // OK: ApplyPortChoice, then the chosen number is the port from now on; one that could not be
    // opened holds for this run without being stored, a newly stored one closes the port open
    // now. False, with nothing changed, when the text names no port number (message 464).
    bool accept(const QString &text);

    // Which device number n is, its adapter, and why it cannot be opened when it cannot; one
    // fact a line.
    QString deviceText(int n) const;
    // The numbers the port map tab lists, each with what stands behind it.
    QList<PortEntry> mapRows() const;
    // Stores COMn = path (the port map tab) and looks at it; the line open now is closed when it
    // is the one replaced. A name with a fault is not stored.
    PortNameFault setEntry(int n, const QString &path);
    // Number n's line in the map: "COM9  path  —  state".
    QString statusLine(int n) const;

private:
    // What stands behind n: the simulated controller's device while one stands in for every
    // number.
    const PortCheck &checkOf(int n) const;

    StoredSettings &m_settings;
    ControllerLink &m_link;
    // The port number when the dialog opened.
    qint16 m_oldPortNo = 0;
    PortCheck m_checks[PortMap::LastNo + 1];
    // The simulated controller's device that stands in for every number, as found at opening.
    PortCheck m_simulated;
};
