#pragma once

#include "TestPaths.h"
#include "base/StoredSettings.h"
#include "data/QvDataFile.h"
#include "data/WriteJournal.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

// One run of the built qvpc-cli. The wait runs the event loop, so that a simulator served in the
// test process answers meanwhile.
struct CliResult {
    int exitCode = -1; // -1: crashed or did not end in time
    QString out;
    QString err;
    qint64 ms = 0;
};

// environment: "NAME=value" to set, "NAME=" to remove, over the test's own environment.
inline CliResult runCli(const QStringList &arguments, int limitMs = 20000,
                        const QStringList &environment = {}) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString &setting : environment) {
        const QString name = setting.section(u'=', 0, 0), value = setting.section(u'=', 1);
        if (value.isEmpty())
            env.remove(name);
        else
            env.insert(name, value);
    }
    process.setProcessEnvironment(env);
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    process.start(QStringLiteral(QVPC_CLI_PATH), arguments);
    loop.exec();

    CliResult r;
    r.ms = clock.elapsed();
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
    } else if (process.exitStatus() == QProcess::NormalExit) {
        r.exitCode = process.exitCode();
    }
    r.out = QString::fromUtf8(process.readAllStandardOutput());
    r.err = QString::fromUtf8(process.readAllStandardError());
    return r;
}

// The option for English texts, which most checks of the program's words read.
inline const QStringList English{QStringLiteral("--lang"), QStringLiteral("en")};

// The arguments of a run on the simulator's device.
inline QStringList onDevice(const QString &devicePath, const QStringList &arguments) {
    return QStringList{QStringLiteral("--device"), devicePath} + arguments;
}

// A QV data file with these data in the folder, replacing any file of that name.
inline QString writeQvFile(const QTemporaryDir &dir, const QvData &data, const QString &name) {
    const QString path = dir.filePath(name);
    QFile::remove(path);
    if (!QvDataFile::write(path, data))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// The journal of writes as the next run reads it: every entry, or those of one device.
inline QList<JournalEntry> journalEntries(const QString &device = QString()) {
    const StoredSettings settings;
    return WriteJournal(settings).entries(device);
}
