#include "link/PortCheck.h"

#include "base/ResText.h"
#include "link/NetAddress.h"
#include "link/NetworkLine.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSerialPort>
#include <QSerialPortInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <map>
#include <memory>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

QString userName() {
    const passwd *pw = getpwuid(getuid());
    return pw ? QString::fromLocal8Bit(pw->pw_name) : QString::number(getuid());
}

QString groupName(gid_t gid) {
    const group *gr = getgrgid(gid);
    return gr ? QString::fromLocal8Bit(gr->gr_name) : QString::number(gid);
}

// Listed in the group's members (or it is the user's primary group) ...
bool listedInGroup(gid_t gid) {
    const passwd *pw = getpwuid(getuid());
    if (!pw)
        return false;
    int count = 64;
    std::vector<gid_t> groups(count);
    if (getgrouplist(pw->pw_name, pw->pw_gid, groups.data(), &count) < 0) {
        groups.resize(count);
        if (getgrouplist(pw->pw_name, pw->pw_gid, groups.data(), &count) < 0)
            return false;
    }
    groups.resize(count);
    return std::find(groups.begin(), groups.end(), gid) != groups.end();
}

// ... and whether this process has the membership (it has not when the user joined after logging
// in).
bool activeInGroup(gid_t gid) {
    if (getegid() == gid)
        return true;
    const int count = getgroups(0, nullptr);
    if (count <= 0)
        return false;
    std::vector<gid_t> groups(count);
    getgroups(count, groups.data());
    return std::find(groups.begin(), groups.end(), gid) != groups.end();
}

// "rw-rw----" from a mode.
QString modeText(mode_t mode) {
    const char letters[] = "rwxrwxrwx";
    QString text;
    for (int bit = 0; bit < 9; ++bit)
        text += (mode & (0400 >> bit)) ? QLatin1Char(letters[bit]) : QLatin1Char('-');
    return text;
}

QString processName(qint64 pid) {
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(comm.readAll()).trimmed();
}

// Another process with the device open, found through the open files /proc lets us see.
QString holderFromProc(const QString &device) {
    const QString own = QString::number(QCoreApplication::applicationPid());
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &pid : pids) {
        bool number = false;
        pid.toLongLong(&number);
        if (!number || pid == own)
            continue;
        const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
        for (const QFileInfo &fd : fds.entryInfoList(QDir::System | QDir::NoDotAndDotDot)) {
            if (fd.symLinkTarget() == device)
                return ResText(1513).arg(processName(pid.toLongLong()), pid);
        }
    }
    return {};
}

// The lock file a serial-port program leaves while it holds the device: "LCK.." and the device's
// name below /dev with "/" as "_" (LCK..ttyUSB0, LCK..pts_3).
QString holderFromLockFile(const QString &device) {
    QString name = device;
    if (name.startsWith(QLatin1String("/dev/")))
        name.remove(0, 5);
    name.replace(u'/', u'_');
    const char *const dirs[] = {"/var/lock", "/run/lock", "/tmp", "/var/tmp"};
    for (const char *dir : dirs) {
        QLockFile lock(QDir(QLatin1String(dir)).filePath(QStringLiteral("LCK..") + name));
        qint64 pid = 0;
        QString host, app;
        if (lock.getLockInfo(&pid, &host, &app) && pid > 0) {
            const QString program = processName(pid);
            return ResText(1513).arg(program.isEmpty() ? app : program, QString::number(pid));
        }
    }
    return {};
}

} // namespace

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
    check.description = ResText(address.kind == NetAddress::Kind::Rfc2217 ? 1533 : 1534);
    return check;
}

// The device node behind path, and what the system reports about the adapter.
PortCheck located(const QString &path) {
    if (NetAddress::looksLikeUrl(path))
        return locatedNetwork(path);
    PortCheck check;
    check.mapPath = path;
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return check;
    check.devicePath = info.canonicalFilePath();
    const QSerialPortInfo adapter(check.devicePath);
    check.description = adapter.description();
    check.manufacturer = adapter.manufacturer();
    check.serialNumber = adapter.serialNumber();
    return check;
}

// A regular file, a FIFO or a folder is no serial port, whatever the serial layer says. Told by
// its type alone: opening a FIFO could wait for a writer.
bool characterDevice(const QString &devicePath) {
    struct stat st {};
    return ::stat(QFile::encodeName(devicePath).constData(), &st) != 0 || S_ISCHR(st.st_mode);
}

} // namespace

PortCheck PortCheck::of(const QString &path) {
    PortCheck check = located(path);
    if (path.isEmpty() || check.state == State::BadAddress)
        return check;
    if (NetAddress::looksLikeUrl(path))
        return ofAll({path}).constFirst();
    if (check.devicePath.isEmpty()) {
        check.state = State::Missing;
        return check;
    }
    if (!characterDevice(check.devicePath)) {
        check.state = State::NotSerial;
        return check;
    }
    QSerialPort port;
    port.setPortName(path);
    if (port.open(QIODevice::ReadWrite)) {
        port.close();
        check.state = State::Openable;
        return check;
    }
    return afterFailedOpen(path, port.error() == QSerialPort::DeviceNotFoundError,
                           port.errorString());
}

QList<PortCheck> PortCheck::ofAll(const QStringList &paths,
                                  const QHash<QString, PortCheck> &known) {
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
    check.state = line.failure() == State::Openable ? State::Failed : line.failure();
    if (check.state == State::Failed || check.state == State::SettingsRefused)
        check.systemError = line.failureDetail();
    return check;
}

PortCheck PortCheck::afterFailedOpen(const QString &path, bool notFound, const QString &error) {
    PortCheck check = located(path);
    if (path.isEmpty())
        return check;
    if (notFound || check.devicePath.isEmpty()) {
        check.state = State::Missing;
        return check;
    }
    if (!characterDevice(check.devicePath)) {
        check.state = State::NotSerial;
        return check;
    }
    const QByteArray device = QFile::encodeName(check.devicePath);
    // The serial layer says "permission error" for a denied and for a busy device alike; the
    // system's error number of a plain open tells them apart.
    const int fd = ::open(device.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        check.classifyOpenError(errno);
        if (check.state == State::Failed && !error.isEmpty())
            check.systemError = error;
        return check;
    }
    // A character device that is no terminal (/dev/null, /dev/zero) has no line to set up.
    const bool terminal = ::isatty(fd) == 1;
    ::close(fd);
    if (!terminal) {
        check.state = State::NotSerial;
        return check;
    }
    // The device opens: the serial layer was stopped by another program's lock file.
    check.state = State::Busy;
    check.holder = holderFromLockFile(check.devicePath);
    if (check.holder.isEmpty())
        check.holder = holderFromLockFile(path);
    return check;
}

void PortCheck::classifyOpenError(int error) {
    switch (error) {
    case EACCES:
    case EPERM: {
        state = State::NoAccess;
        struct stat st {};
        if (::stat(QFile::encodeName(devicePath).constData(), &st) == 0) {
            const passwd *pw = getpwuid(st.st_uid);
            owner = pw ? QString::fromLocal8Bit(pw->pw_name) : QString::number(st.st_uid);
            group = groupName(st.st_gid);
            mode = modeText(st.st_mode);
            groupGrantsAccess = (st.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
            joinedButNotActive = listedInGroup(st.st_gid) && !activeInGroup(st.st_gid);
        }
        return;
    }
    case EBUSY:
        state = State::Busy;
        holder = holderFromProc(devicePath);
        if (holder.isEmpty())
            holder = holderFromLockFile(devicePath);
        return;
    case ENOENT:
    case ENODEV:
    case ENXIO:
        state = State::Missing;
        return;
    default:
        state = State::Failed;
        systemError = QString::fromLocal8Bit(std::strerror(error));
        return;
    }
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
        return ResText(1518).arg(systemError);
    case State::ServerClosed:
        return ResText(1519);
    }
    return {};
}
