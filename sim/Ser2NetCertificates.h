#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A CA, server certificates and operators' certificates for ser2net's TLS accepters and their
// clients, made with openssl for one run of a test or benchmark in a folder of their own; nothing
// of them is kept in the source tree. Every key is readable by its owner only.
class Ser2NetCertificates {
public:
    // The CA, and the server's certificate signed by it for 127.0.0.1.
    bool make() {
        return m_dir.isValid() &&
               openssl({"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", path("ca.key"),
                        "-out", path("ca.crt"), "-days", "2", "-subj", "/CN=QV test CA"}) &&
               server("server", QStringLiteral("IP:127.0.0.1"), 2);
    }
    // A server certificate name.crt (key name.key) signed by the CA for the alternative names
    // given ("IP:127.0.0.1", "DNS:host"), valid for days (a negative count: expired).
    bool server(const QString &name, const QString &altNames, int days) {
        QFile ext(path(name + QStringLiteral(".ext")));
        if (!ext.open(QIODevice::WriteOnly) ||
            ext.write(QStringLiteral("subjectAltName=%1\n").arg(altNames).toUtf8()) < 0)
            return false;
        ext.close();
        return openssl({"req", "-newkey", "rsa:2048", "-nodes", "-keyout", path(name + ".key"),
                        "-out", path(name + ".csr"), "-subj", "/CN=" + name}) &&
               openssl({"x509", "-req", "-in", path(name + ".csr"), "-CA", path("ca.crt"), "-CAkey",
                        path("ca.key"), "-CAcreateserial", "-out", path(name + ".crt"), "-days",
                        QString::number(days), "-extfile", ext.fileName()}) &&
               privateKey(name + ".key");
    }
    // An operator's self-signed certificate name.crt with common name user; with allowed, the
    // server's authDir() lists it for user.
    bool client(const QString &name, const QString &user, bool allowed) {
        if (!openssl({"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout",
                      path(name + ".key"), "-out", path(name + ".crt"), "-days", "2", "-subj",
                      "/CN=" + user}) ||
            !privateKey(name + ".key"))
            return false;
        if (!allowed)
            return true;
        const QString folder = path("auth/" + user + "/allowed_certs");
        return QDir().mkpath(folder) &&
               QFile::copy(path(name + ".crt"), folder + QStringLiteral("/") + name + ".crt") &&
               openssl({"rehash", folder});
    }
    // The certificate's SHA-256 fingerprint as openssl prints it ("AB:CD:...").
    QString fingerprint(const QString &name) const {
        QProcess p;
        p.start(QStringLiteral("openssl"),
                {QStringLiteral("x509"), QStringLiteral("-in"), path(name + ".crt"),
                 QStringLiteral("-noout"), QStringLiteral("-fingerprint"),
                 QStringLiteral("-sha256")});
        p.waitForFinished();
        return QString::fromLatin1(p.readAllStandardOutput()).section(u'=', 1).trimmed();
    }
    QString path(const QString &file) const { return m_dir.filePath(file); }
    QString authDir() const { return path(QStringLiteral("auth")); }
    const QString &error() const { return m_error; }

private:
    bool privateKey(const QString &file) {
        return QFile::setPermissions(path(file), QFile::ReadOwner | QFile::WriteOwner);
    }
    bool openssl(const QStringList &arguments) {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QStringLiteral("openssl"), arguments);
        if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
            return true;
        m_error = QStringLiteral("openssl %1: %2")
                      .arg(arguments.join(u' '), QString::fromLocal8Bit(p.readAll()));
        return false;
    }

    QTemporaryDir m_dir;
    QString m_error;
};
