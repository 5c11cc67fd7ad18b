#include "cli/CliFleet.h"

#include "base/ResText.h"
#include "base/UserPrompt.h"
#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "cli/JsonReport.h"
#include "cli/StopSignal.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMutex>
#include <QTextStream>
#include <QThread>

#include <atomic>
#include <memory>
#include <vector>

namespace {

// One controller of the run: what its session was asked and what came of it.
struct Member {
    CliRequest request;
    QString name;
    QString out;
    QString err;
    CliOutcome outcome; // set by the thread of its session
};

// Each line of text with the prefix in front.
QString prefixed(const QString &text, const QString &prefix) {
    QString all;
    for (const QString &line : text.split(u'\n', Qt::SkipEmptyParts))
        all += prefix + line + u'\n';
    return all;
}

QString verdictName(CliOutcome::Verdict verdict) {
    switch (verdict) {
    case CliOutcome::Verdict::Ok:
        return QStringLiteral("ok");
    case CliOutcome::Verdict::Different:
        return QStringLiteral("different");
    case CliOutcome::Verdict::Failed:
        break;
    }
    return QStringLiteral("failed");
}

} // namespace

int CliFleet::ended(const OpResult &result, const QJsonArray &controllers) {
    if (m_request.json) {
        const QJsonObject document{{QStringLiteral("command"), m_request.commandName},
                                   {QStringLiteral("controllers"), controllers},
                                   {QStringLiteral("result"), JsonReport::result(result)}};
        m_out << QJsonDocument(document).toJson(QJsonDocument::Indented);
        m_out.flush();
    }
    return result.isDone() ? 0 : 1;
}

CliFleet::CliFleet(const CliRequest &request, QTextStream &out, QTextStream &err)
    : m_request(request), m_out(out), m_err(err) {}

int CliFleet::run() {
    std::vector<Member> members;
    for (const CliTarget &target : m_request.targets) {
        Member m;
        m.request = m_request;
        m.request.targets.clear();
        m.request.portNo = target.portNo;
        m.request.device = target.device;
        m.name = target.name();
        // Each controller's backup under its own port's name.
        m.request.backup = target.backupFile(m_request.backup);
        members.push_back(std::move(m));
    }

    // The file and the question once for all, before any controller is touched. get and set
    // take no file; a dry run writes nothing and asks nothing.
    const bool writes = m_request.writes();
    {
        CliRequest checkRequest = members.front().request;
        checkRequest.trace = false;
        CliSession check(checkRequest, m_out, m_err);
        if (m_request.command->has(CliCommand::File)) {
            if (const OpResult file = check.takeCheckedFile(); !file.isDone())
                return ended(file, {});
        }
        if (writes && !check.prompt().confirmWrite())
            return ended(OpResult::stopped(), {});
    }

    QMutex traceLock;
    QEventLoop allDone;
    // Ctrl+C or SIGTERM stops every controller's write between two blocks.
    std::atomic_bool stop{false};
    std::unique_ptr<StopSignal> stopSignal;
    if (writes) {
        stopSignal = std::make_unique<StopSignal>();
        QObject::connect(stopSignal.get(), &StopSignal::received, [&stop] { stop = true; });
    }
    int running = int(members.size());
    std::vector<std::unique_ptr<QThread>> threads;
    for (Member &m : members) {
        threads.emplace_back(QThread::create([this, &m, &traceLock, &stop] {
            QTextStream out(&m.out);
            QTextStream err(&m.err);
            CliSession session(m.request, out, err);
            session.setStopFlag(&stop);
            session.prompt().answeredBefore(Question::WriteToController);
            if (m.request.trace) {
                // Trace lines go out as they come, each under its port's name.
                session.setTraceSink([this, &m, &traceLock](const QString &line) {
                    const QMutexLocker locker(&traceLock);
                    m_err << m.name << ": " << line << '\n';
                    m_err.flush();
                });
            }
            m.outcome = session.run();
        }));
        QObject::connect(threads.back().get(), &QThread::finished, &allDone, [&] {
            if (--running == 0)
                allDone.quit();
        });
        threads.back()->start();
    }
    if (running > 0)
        allDone.exec();
    for (auto &thread : threads)
        thread->wait();

    bool allOk = true;
    // Each controller's messages under its name, then its details, then the verdicts.
    for (const Member &m : members)
        m_err << prefixed(m.err, m.name + QStringLiteral(": "));
    m_err.flush();
    if (m_request.json) {
        // Each controller's own document, with its verdict, in the order named.
        QJsonArray controllers;
        for (const Member &m : members) {
            QJsonObject document = QJsonDocument::fromJson(m.out.toUtf8()).object();
            document.remove(QStringLiteral("command"));
            document.insert(QStringLiteral("port"), m.name);
            document.insert(QStringLiteral("verdict"), verdictName(m.outcome.verdict()));
            allOk = allOk && m.outcome.verdict() == CliOutcome::Verdict::Ok;
            controllers.append(document);
        }
        return ended(allOk ? OpResult::done() : OpResult::failed(OpResult::Failure::None),
                     controllers);
    }
    for (const Member &m : members)
        m_out << prefixed(m.out, m.name + u'\t');
    for (const Member &m : members) {
        switch (m.outcome.verdict()) {
        case CliOutcome::Verdict::Ok:
            m_out << m.name << "\tOK\n";
            break;
        case CliOutcome::Verdict::Different:
            m_out << m.name << "\tDIFFERENT\n";
            allOk = false;
            break;
        case CliOutcome::Verdict::Failed:
            m_out << m.name << "\tFAILED\t" << m.outcome.reason(ResText(writes ? 217 : 212))
                  << '\n';
            allOk = false;
            break;
        }
    }
    m_out.flush();
    m_err.flush();
    return allOk ? 0 : 1;
}
