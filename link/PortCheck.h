#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include "link/TlsSettings.h"

class NetworkLine;

// What stands behind one serial device path right now: the device it resolves to, the adapter as
// the system reports it, and whether the program could open it, with the reason when not. The
// options dialog, the status bar, the system information and `qvpc-cli ports` all show this.
struct PortCheck {
    enum class State {
        Unmapped,
        Missing,
        Openable,
        OpenHere,
        NoAccess,
        Busy,
        NotSerial,
        Failed,
        // network lines (rfc2217://, tcp://); SettingsRefused also a serial line's
        BadAddress,
        Refused,
        HostNotFound,
        NoAnswer,
        NoComPortOption,
        SettingsRefused,
        ServerClosed,
        Tls, // TLS refused the connection (systemError says why)
    };

    QString mapPath;    // the path asked about (the port map's entry)
    QString devicePath; // the device node it resolves to now; a network line's host:port
    QString description;
    QString manufacturer;
    QString serialNumber;
    State state = State::Unmapped;

    // NoAccess: owner, group and mode of the device node; whether the group may read and write,
    // and whether the user is listed in it without this login having the membership yet.
    QString owner;
    QString group;
    QString mode;
    bool groupGrantsAccess = false;
    bool joinedButNotActive = false;
    // Busy: the program holding the device ("minicom, process 1234"), when it can be found.
    QString holder;
    // Failed: the system's own words; SettingsRefused: the setting asked and the one answered;
    // Tls: what TLS refused, in the user's words.
    QString systemError;

    // The state in a few words, or with the reason and what to do about it.
    QString stateText() const;

    // Looks at path and tries to open it (and closes it again at once); a network line over TLS
    // with the stored TLS settings.
    static PortCheck of(const QString &path);
    // The same for each path, the network lines all tried at once (each address once), so that
    // together they take no longer than one connection may. A path found in known is taken from
    // there without trying it again.
    // TLS lines check and present what tls says.
    static QList<PortCheck> ofAll(const QStringList &paths,
                                  const QHash<QString, PortCheck> &known = {},
                                  const TlsSettings &tls = {});
    // The port this program has open now, without trying it again.
    static PortCheck openHere(const QString &path);
    // Why path could not be opened, after the serial layer failed with notFound (no such device)
    // or another error: the system's code of that error tells denied, busy and gone apart where
    // the line gives one (systemCode), else a plain open of the device does.
    static PortCheck afterFailedOpen(const QString &path, bool notFound, const QString &error,
                                     unsigned long systemCode = 0);

    // Why a network line could not be opened, from the line's failure.
    static PortCheck afterFailedConnect(const QString &url, const NetworkLine &line);

private:
    // Platform parts (PortCheckPosix.cpp, PortCheckWin.cpp).
    // The device behind a path that is no network URL, and what the system reports about it.
    static PortCheck locatedDevice(const QString &path);
    // of() for such a device, from what located it.
    static PortCheck ofDevice(PortCheck check, const QString &path);
    // The user running the program, as NoAccess texts name it.
    static QString userName();
    // The state for the system's error number of a failed open.
    void classifyOpenError(int error);

    static PortCheck located(const QString &path);
};
