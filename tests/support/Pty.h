#pragma once

#include <QFile>
#include <QString>
#include <fcntl.h>
#include <grp.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

// A pseudo terminal whose slave end the link can open like a serial port.
class Pty {
public:
    Pty() {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master >= 0 && grantpt(m_master) == 0 && unlockpt(m_master) == 0)
            m_slave = QString::fromLocal8Bit(ptsname(m_master));
    }
    ~Pty() {
        if (m_master >= 0)
            ::close(m_master);
    }
    Pty(const Pty &) = delete;
    Pty &operator=(const Pty &) = delete;
    QString slavePath() const { return m_slave; }
    // The end the test plays the other side on.
    int masterFd() const { return m_master; }

private:
    int m_master = -1;
    QString m_slave;
};

// While it lives, the test process cannot open the device: as root it acts as the user "nobody"
// on a node owned by group dialout (rw for owner and group), as any other user the node has no
// permission bits at all. Owner, group and mode come back when it goes.
class WithoutAccess {
public:
    explicit WithoutAccess(const QString &device) : m_path(QFile::encodeName(device)) {
        struct stat st {};
        ::stat(m_path.constData(), &st);
        m_mode = st.st_mode & 07777;
        m_gid = st.st_gid;
        if (geteuid() == 0) {
            const group *dialout = getgrnam("dialout");
            m_ok = dialout && ::chown(m_path.constData(), 0, dialout->gr_gid) == 0 &&
                   ::chmod(m_path.constData(), 0660) == 0 && ::setegid(65534) == 0 &&
                   ::seteuid(65534) == 0;
            m_asNobody = true;
        } else {
            m_ok = ::chmod(m_path.constData(), 0) == 0;
        }
    }
    ~WithoutAccess() {
        if (m_asNobody) {
            [[maybe_unused]] int r = ::seteuid(0);
            r = ::setegid(0);
            r = ::chown(m_path.constData(), 0, m_gid);
        }
        ::chmod(m_path.constData(), m_mode);
    }
    WithoutAccess(const WithoutAccess &) = delete;
    WithoutAccess &operator=(const WithoutAccess &) = delete;
    bool ok() const { return m_ok; }
    // The group the message is expected to name.
    QString expectedGroup() const { return m_asNobody ? QStringLiteral("dialout") : QString(); }

private:
    QByteArray m_path;
    mode_t m_mode = 0;
    gid_t m_gid = 0;
    bool m_ok = false;
    bool m_asNobody = false;
};
