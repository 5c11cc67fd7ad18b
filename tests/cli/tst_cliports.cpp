// qvpc-cli's ports: a port number through the map, a device given whatever the settings say,
// the list of ports, and a port that cannot be opened (not there, no permission) told as such.
#include "CliRunner.h"
#include "TestPaths.h"
#include "base/StoredSettings.h"
#include "link/PortMap.h"
#include "sim/ControllerSimulator.h"
#include "support/Pty.h"
#include "support/TestEnvironment.h"
#include "transfer/TransferFixture.h"

#include <QDateTime>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QStringList ReadLines = readLines();

} // namespace

class TestCliPorts : public QObject {
    Q_OBJECT
private slots:
    void init() { clearStoredSettings(); }

    void portNumberThroughTheMap();
    void deviceWithBrokenStoredPort();
    void portsListsTheMap();
    void portCannotBeOpened();
    void portWithoutPermission();
};

void TestCliPorts::portNumberThroughTheMap() {
    ControllerSimulator sim;
    PortMap::setEntry(32, sim.devicePath());
    CliResult r = runCli({QStringLiteral("--port"), QStringLiteral("32"), QStringLiteral("read")});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(sim.receivedLines(), ReadLines);

    sim.clearReceived();
    StoredSettings::writeText(QStringLiteral("PortNo"), QStringLiteral("32"));
    r = runCli({QStringLiteral("read")});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(sim.receivedLines(), ReadLines);
    QCOMPARE(StoredSettings::readText(QStringLiteral("PortNo"), QString()), QStringLiteral("32"));
}

// --device opens the device whatever the stored port number says.
void TestCliPorts::deviceWithBrokenStoredPort() {
    ControllerSimulator sim;
    StoredSettings::writeText(QStringLiteral("PortNo"), QStringLiteral("COM2"));
    const CliResult r = runCli(onDevice(sim.devicePath(), {QStringLiteral("read")}));
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(sim.receivedLines(), ReadLines);
}

void TestCliPorts::portsListsTheMap() {
    ControllerSimulator sim;
    PortMap::setEntry(30, sim.devicePath());
    PortMap::setEntry(31, QStringLiteral("/dev/qv-unplugged"));

    const CliResult r =
        runCli({QStringLiteral("--lang"), QStringLiteral("en"), QStringLiteral("ports")});

    QCOMPARE(r.exitCode, 0);
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    // COM number, the map's path, the device now, description, manufacturer, serial, state.
    QVERIFY2(
        lines.contains(QStringLiteral("COM30\t%1\t%1\t\t\t\tcan be opened").arg(sim.devicePath())),
        qPrintable(r.out));
    QVERIFY2(lines.contains(QStringLiteral(
                 "COM31\t/dev/qv-unplugged\t\t\t\t\tdevice not present (unplugged or renamed)")),
             qPrintable(r.out));

    // Listing again numbers nothing new: the settings file is not written, and keys of others
    // are kept all along.
    {
        QSettings other = StoredSettings::store();
        other.setValue(QStringLiteral("Other/kept"), QStringLiteral("yes"));
    }
    const QByteArray before = readBytes(StoredSettings::filePath());
    const QDateTime written = QFileInfo(StoredSettings::filePath()).lastModified();
    QCOMPARE(runCli({QStringLiteral("ports")}).exitCode, 0);
    QCOMPARE(readBytes(StoredSettings::filePath()), before);
    QCOMPARE(QFileInfo(StoredSettings::filePath()).lastModified(), written);
    QVERIFY(before.contains("kept=yes"));
}

void TestCliPorts::portCannotBeOpened() {
    CliResult r = runCli(
        {QStringLiteral("--device"), QStringLiteral("/dev/qv-missing"), QStringLiteral("read")});
    QCOMPARE(r.exitCode, 1);
    // The read fails as in the window (212), then the terminal says which port it was and why.
    QCOMPARE(r.err, QStringLiteral("通信エラー！(データの読み込み）\n/dev/qv-missing を開けません："
                                   "デバイスがありません（抜かれたか、名前が変わりました）\n"));

    PortMap::setEntry(29, QStringLiteral("/dev/qv-missing"));
    r = runCli({QStringLiteral("--lang"), QStringLiteral("en"), QStringLiteral("--port"),
                QStringLiteral("29"), QStringLiteral("read")});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, QStringLiteral("Communication Error!\nCannot open COM29 (/dev/qv-missing): "
                                   "device not present (unplugged or renamed)\n"));
}

// Run by a user the device does not admit: the system's EACCES in words, with the group to join.
// As root the program runs as "nobody" on a node of group dialout; as any other user the node
// loses its permission bits. "nobody" may not be able to enter the build folder (a checkout in a
// private folder), so it runs a copy of the program from a folder that every user can enter.
void TestCliPorts::portWithoutPermission() {
    Pty pty;
    const QByteArray node = QFile::encodeName(pty.slavePath());
    const bool root = geteuid() == 0;
    const group *dialout = getgrnam("dialout");
    QString program = QStringLiteral(QVPC_CLI_PATH);
    QTemporaryDir open(QStringLiteral("/tmp/qvpc-cli-XXXXXX"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QProcess process;
    if (root) {
        QVERIFY(dialout && ::chown(node.constData(), 0, dialout->gr_gid) == 0 &&
                ::chmod(node.constData(), 0660) == 0);
        QVERIFY(open.isValid());
        const auto everyone = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                              QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                              QFile::ExeOther;
        QVERIFY(QFile::setPermissions(open.path(), everyone));
        const QString copy = open.filePath(QStringLiteral("qvpc-cli"));
        QVERIFY(QFile::copy(program, copy) && QFile::setPermissions(copy, everyone));
        program = copy;
        // Settings and a leak checker's suppressions must be reachable by "nobody" too.
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), open.path());
        QString leakOptions = environment.value(QStringLiteral("LSAN_OPTIONS"));
        const QRegularExpression suppressions(QStringLiteral("suppressions=([^:]+)"));
        if (const auto m = suppressions.match(leakOptions); m.hasMatch()) {
            const QString list = open.filePath(QStringLiteral("leaks.supp"));
            QVERIFY(QFile::copy(m.captured(1), list));
            QVERIFY(QFile::setPermissions(list, everyone));
            leakOptions.replace(m.capturedStart(1), m.capturedLength(1), list);
            environment.insert(QStringLiteral("LSAN_OPTIONS"), leakOptions);
        }
        process.setWorkingDirectory(open.path());
        process.setChildProcessModifier([] {
            if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(99);
        });
    } else {
        QVERIFY(::chmod(node.constData(), 0) == 0);
    }
    process.setProcessEnvironment(environment);
    process.start(program,
                  onDevice(pty.slavePath(), {QStringLiteral("read"), QStringLiteral("--lang"),
                                             QStringLiteral("en")}));
    QVERIFY2(process.waitForFinished(20000), qPrintable(process.errorString()));
    const QString err = QString::fromUtf8(process.readAllStandardError());
    QCOMPARE(process.exitCode(), 1);
    QVERIFY2(err.contains(QStringLiteral("Cannot open %1: permission denied").arg(pty.slavePath())),
             qPrintable(err));
    if (root)
        QVERIFY2(err.contains(QStringLiteral("group \"dialout\": add your user to it")) &&
                     err.contains(QStringLiteral("log out and log in again")),
                 qPrintable(err));
}

QV_TEST_CORE_MAIN(TestCliPorts)
#include "tst_cliports.moc"
