// What the program tells about a serial device: the stable name an adapter is numbered under,
// and why a device that exists cannot be opened.
#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "link/PortCheck.h"
#include "link/PortMap.h"
#include "support/Pty.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSerialPort>
#include <QTemporaryDir>

class TestPortCheck : public QObject {
    Q_OBJECT
private slots:
    void init() {
        clearStoredSettings();
        setLangOffset(StringTable::EnglishOffset);
    }
    void cleanup() { setLangOffset(0); }

    // Which name each device enters the map under, with entries stored before.
    void mapNames_data() {
        QTest::addColumn<QStringList>("before"); // COM1, COM2 ... as stored
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QStringList>("named"); // more ports, named by the system ("COM3")
        const QString byId = QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_A1B2C3-if00-port0");
        QTest::newRow("new adapter: its stable name")
            << QStringList{} << QStringList{byId, QStringLiteral("/dev/ttyS0")} << QStringList{};
        QTest::newRow("old plain entry kept, no second number")
            << QStringList{QStringLiteral("/dev/ttyUSB0")}
            << QStringList{QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/ttyS0")}
            << QStringList{};
        QTest::newRow("replugged under another plain name keeps its number")
            << QStringList{QStringLiteral("/dev/ttyS0"), byId}
            << QStringList{QStringLiteral("/dev/ttyS0"), byId} << QStringList{};
        // Windows numbers its ports itself: they keep those numbers, the others fill the gaps.
        QTest::newRow("a port named COMn keeps n")
            << QStringList{}
            << QStringList{QStringLiteral("COM1"), byId, QStringLiteral("com3"),
                           QStringLiteral("/dev/ttyS0")}
            << QStringList{QStringLiteral("com3"), QStringLiteral("COM1")};
    }
    void mapNames() {
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        QFETCH(QStringList, named);
        for (int n = 0; n < before.size(); ++n)
            PortMap::setEntry(n + 1, before[n]);
        PortMap map([named] {
            QList<SerialDevice> devices{
                {QStringLiteral("/dev/ttyS0"), false, QString()},
                {QStringLiteral("/dev/ttyUSB0"), true,
                 QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_A1B2C3-if00-port0")}};
            for (const QString &name : named)
                devices.append({name, false, QString()});
            return devices;
        });
        const QHash<int, QString> numbered = map.numbered();
        QStringList entries;
        for (int n = PortMap::FirstNo; n <= PortMap::LastNo; ++n)
            if (numbered.contains(n))
                entries << numbered.value(n);
        QCOMPARE(entries, after);
    }

    // The stable names are read from a folder of links to the devices; a link that leads to no
    // device names none.
    void stableNamesFromLinks_data() {
        QTest::addColumn<QString>("target"); // where the link leads; empty: to the device
        QTest::newRow("to the device") << QString();
        QTest::newRow("to itself") << QStringLiteral("usb-Prolific_PL2303-if00");
        QTest::newRow("to nothing") << QStringLiteral("../ttyUSB9");
    }
    void stableNamesFromLinks() {
        QFETCH(QString, target);
        QTemporaryDir dir;
        const QString device = dir.filePath(QStringLiteral("ttyUSB7"));
        QFile(device).open(QIODevice::WriteOnly);
        QDir().mkpath(dir.filePath(QStringLiteral("by-id")));
        const QString link = dir.filePath(QStringLiteral("by-id/usb-Prolific_PL2303-if00"));
        QVERIFY(QFile::link(target.isEmpty() ? device : target, link));
        const QHash<QString, QString> names = PortMap::stableNames(dir.filePath("by-id"));
        QCOMPARE(names.size(), target.isEmpty() ? 1 : 0);
        if (target.isEmpty())
            QCOMPARE(names.value(QFileInfo(device).canonicalFilePath()), link);
    }

    void openable() {
        Pty pty;
        const PortCheck check = PortCheck::of(pty.slavePath());
        QCOMPARE(check.state, PortCheck::State::Openable);
        QCOMPARE(check.stateText(), QStringLiteral("can be opened"));
    }

    void missing() {
        const PortCheck check = PortCheck::of(QStringLiteral("/dev/serial/by-id/usb-gone-if00"));
        QCOMPARE(check.state, PortCheck::State::Missing);
        QCOMPARE(check.stateText(), QStringLiteral("device not present (unplugged or renamed)"));
    }

    // The system says EACCES; the user reads which group to join and that a new login is needed.
    void permissionDenied() {
        Pty pty;
        PortCheck check;
        QString group;
        {
            WithoutAccess denied(pty.slavePath());
            QVERIFY(denied.ok());
            group = denied.expectedGroup();
            check = PortCheck::of(pty.slavePath());
        }
        QCOMPARE(check.state, PortCheck::State::NoAccess);
        const QString text = check.stateText();
        QVERIFY2(text.startsWith(QStringLiteral("permission denied")), qPrintable(text));
        if (!group.isEmpty()) {
            QVERIFY2(text.contains(QStringLiteral("usermod -aG %1 ").arg(group)), qPrintable(text));
            QVERIFY2(text.contains(QStringLiteral("log in again")), qPrintable(text));
        }
        setLangOffset(0);
        QVERIFY(check.stateText().startsWith(QStringLiteral("アクセスが拒否されました")));
    }

    // A device or file that is no serial port says so, not that another program holds it.
    void notSerial_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("/dev/null") << "/dev/null";
        QTest::newRow("/dev/zero") << "/dev/zero";
        QTest::newRow("regular file") << "file";
        QTest::newRow("FIFO") << "fifo";
    }
    void notSerial() {
        QFETCH(QString, path);
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("file")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QCOMPARE(
            ::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("fifo"))).constData(), 0600), 0);
        const PortCheck check = PortCheck::of(path.startsWith(u'/') ? path : dir.filePath(path));
        QCOMPARE(check.state, PortCheck::State::NotSerial);
        QCOMPARE(check.stateText(), QStringLiteral("not a serial port"));
    }

    // Another program holds the device: it is named with its process number.
    void busy() {
        Pty pty;
        QSerialPort holder;
        holder.setPortName(pty.slavePath());
        QVERIFY(holder.open(QIODevice::ReadWrite));
        const PortCheck check = PortCheck::of(pty.slavePath());
        QCOMPARE(check.state, PortCheck::State::Busy);
        const QString pid = QString::number(QCoreApplication::applicationPid());
        QVERIFY2(check.stateText().startsWith(QStringLiteral("in use by another program (")),
                 qPrintable(check.stateText()));
        QVERIFY2(check.holder.endsWith(QStringLiteral("process ") + pid), qPrintable(check.holder));
    }
};

QV_TEST_CORE_MAIN(TestPortCheck)
#include "tst_portcheck.moc"
