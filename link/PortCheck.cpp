#include "link/PortCheck.h"

#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "link/NetAddress.h"
#include "link/NetworkLine.h"

#include <QEventLoop>

#include <map>
#include <memory>

namespace {

// A network line's address and kind in place of a device and an adapter.
PortCheck locatedNetwork(const QString &url) {
    PortCheck check;
    check.mapPath = url;
    const NetAddress address = NetAddress::parse(url);
    if (!address.isValid()) {
        check.state = PortCheck::State::BadAddress;
        return check;
    }
    check.devicePath = address.hostPort();
    const bool rfc2217 = address.kind == NetAddress::Kind::Rfc2217;
    check.description =
        address.tls ? ResText(rfc2217 ? 1671 : 1672) : ResText(rfc2217 ? 1533 : 1534);
    return check;
}

} // namespace

PortCheck PortCheck::located(const QString &path) {
    return NetAddress::looksLikeUrl(path) ? locatedNetwork(path) : locatedDevice(path);
}

PortCheck PortCheck::of(const QString &path) {
    PortCheck check = located(path);
    if (path.isEmpty() || check.state == State::BadAddress)
        return check;
    // A TLS line is checked as the window opens it: with the stored CA, pin and certificate.
    if (NetAddress::looksLikeUrl(path)) {
        StoredSettings stored;
        stored.ReadTls();
        return ofAll({path}, {}, TlsSettings::from(stored)).constFirst();
    }
    return ofDevice(check, path);
}

QList<PortCheck> PortCheck::ofAll(const QStringList &paths, const QHash<QString, PortCheck> &known,
                                  const TlsSettings &tls) {
    QList<PortCheck> checks;
    // Each address is connected to once, set up as for an exchange and let go at once.
    std::map<QString, std::unique_ptr<NetworkLine>> lines;
    int pending = 0;
    QEventLoop loop;
    for (const QString &path : paths) {
        checks.append(known.value(path));
        if (known.contains(path))
            continue;
        if (!NetAddress::looksLikeUrl(path)) {
            checks.last() = of(path);
            continue;
        }
        checks.last() = located(path);
        if (checks.last().state == State::BadAddress || lines.count(path) != 0)
            continue;
        auto line = std::make_unique<NetworkLine>();
        QObject::connect(line.get(), &NetworkLine::openFinished, &loop, [&] {
            if (--pending == 0)
                loop.quit();
        });
        ++pending;
        line->setTls(tls);
        line->startOpen(NetAddress::parse(path));
        lines.emplace(path, std::move(line));
    }
    while (pending > 0)
        loop.exec();
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const auto found = lines.find(paths[i]);
        if (found == lines.end())
            continue;
        NetworkLine &line = *found->second;
        if (line.isOpen())
            checks[i].state = State::Openable;
        else
            checks[i] = afterFailedConnect(paths[i], line);
    }
    for (auto &[path, line] : lines)
        line->close();
    return checks;
}

PortCheck PortCheck::openHere(const QString &path) {
    PortCheck check = located(path);
    check.state = State::OpenHere;
    return check;
}

PortCheck PortCheck::afterFailedConnect(const QString &url, const NetworkLine &line) {
    PortCheck check = located(url);
    using F = NetworkLine::Failure;
    switch (line.failure()) {
    case F::BadAddress:
        check.state = State::BadAddress;
        break;
    case F::Refused:
        check.state = State::Refused;
        break;
    case F::HostNotFound:
        check.state = State::HostNotFound;
        break;
    case F::NoAnswer:
        check.state = State::NoAnswer;
        break;
    case F::NoComPortOption:
        check.state = State::NoComPortOption;
        break;
    case F::SettingsRefused:
        check.state = State::SettingsRefused;
        break;
    case F::ServerClosed:
        check.state = State::ServerClosed;
        break;
    case F::Tls:
        check.state = State::Tls;
        break;
    case F::None:
    case F::Failed:
        check.state = State::Failed;
        break;
    }
    if (check.state == State::Failed || check.state == State::SettingsRefused ||
        check.state == State::Tls)
        check.systemError = line.failureDetail();
    return check;
}

QString PortCheck::stateText() const {
    switch (state) {
    case State::Unmapped:
        return ResText(1508);
    case State::Missing:
        return ResText(1501);
    case State::Openable:
        return ResText(1500);
    case State::OpenHere:
        return ResText(1509);
    case State::NoAccess:
        if (joinedButNotActive)
            return ResText(1503).arg(group);
        if (groupGrantsAccess)
            return ResText(1502).arg(group, userName());
        return ResText(1504).arg(owner, group, mode);
    case State::Busy:
        return holder.isEmpty() ? ResText(1506) : ResText(1505).arg(holder);
    case State::NotSerial:
        return ResText(1512);
    case State::Failed:
        return ResText(1507).arg(systemError);
    case State::BadAddress:
        return ResText(1532);
    case State::Refused:
        return ResText(1514);
    case State::HostNotFound:
        return ResText(1515);
    case State::NoAnswer:
        return ResText(1516).arg(NetworkLine::ConnectTimeoutMs / 1000);
    case State::NoComPortOption:
        return ResText(1517);
    case State::SettingsRefused:
        return ResText(NetAddress::looksLikeUrl(mapPath) ? 1518 : 1547).arg(systemError);
    case State::ServerClosed:
        return ResText(1519);
    case State::Tls:
        return systemError;
    }
    return {};
}
