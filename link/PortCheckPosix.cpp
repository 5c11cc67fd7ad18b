// Where a serial device is and why it cannot be opened, on a POSIX system: device nodes, their
// owners and groups, /proc and lock files.
#include "link/PortCheck.h"

#include "base/ResText.h"
#include "link/PortIdentity.h"

#include <QCoreApplication>
#include <QDir>
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
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

QString currentUser() {
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

// A regular file, a FIFO or a folder is no serial port, whatever the serial layer says. Told by
// its type alone: opening a FIFO could wait for a writer.
bool characterDevice(const QString &devicePath) {
    struct stat st {};
    return ::stat(QFile::encodeName(devicePath).constData(), &st) != 0 || S_ISCHR(st.st_mode);
}

} // namespace

QString PortCheck::userName() {
    return currentUser();
}

PortCheck PortCheck::locatedDevice(const QString &path) {
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

PortCheck PortCheck::ofDevice(PortCheck check, const QString &path) {
    if (check.devicePath.isEmpty()) {
        check.state = State::Missing;
        return check;
    }
    if (!characterDevice(check.devicePath)) {
        check.state = State::NotSerial;
        return check;
    }
    QSerialPort port;
    port.setPortName(PortIdentity::openName(path));
    if (port.open(QIODevice::ReadWrite)) {
        // Held under another spelling: in use all the same.
        const bool free = PortIdentity::hold(port.handle());
        port.close();
        if (!free)
            return afterFailedOpen(path, false, QString());
        check.state = State::Openable;
        return check;
    }
    return afterFailedOpen(path, port.error() == QSerialPort::DeviceNotFoundError,
                           port.errorString());
}

PortCheck PortCheck::afterFailedOpen(const QString &path, bool notFound, const QString &error,
                                     unsigned long) {
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
