#include "cli/CliSession.h"

#include "base/MessageLines.h"
#include "base/ResText.h"
#include "cli/CliCommands.h"
#include "cli/IoCommand.h"
#include "cli/ItemListing.h"
#include "cli/JsonReport.h"
#include "cli/StopSignal.h"
#include "data/ControllerTransfer.h"
#include "data/FileOperations.h"
#include "data/QvDataFile.h"
#include "data/Verification.h"
#include "print/PdfPage.h"
#include "print/PrintOperation.h"

#include "link/PortSurvey.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QTextStream>

#include <memory>
#include <utility>

CliSession::CliSession(const CliRequest &request, QTextStream &out, QTextStream &err)
    : m_request(request), m_out(out), m_prompt(err, request.yes, request.restart) {
    m_session.attach(m_screen, m_dialogs, m_progress);
    StoredSettings &settings = m_session.settings;
    settings.ReadPortNo();
    settings.ReadPortOccupy();
    settings.ReadTls();
    // The command line's TLS files and pin hold for this run; the stored ones stay.
    for (auto [given, stored] : {std::pair{&request.caFile, &settings.TlsCaFile},
                                 std::pair{&request.pin, &settings.TlsPin},
                                 std::pair{&request.certFile, &settings.TlsCertFile},
                                 std::pair{&request.keyFile, &settings.TlsKeyFile}}) {
        if (!given->isEmpty())
            *stored = *given;
    }
    // Like the port, the command line's choice holds for this run only.
    settings.ReadKeepJournal();
    if (request.journal != 0)
        settings.KeepJournal = request.journal > 0;
    // The number from the command line is used for this run only; the stored one stays.
    if (request.portNo != 0)
        settings.PortNo = qint16(request.portNo);
    if (!request.device.isEmpty()) {
        m_session.link.setDeviceOverride(request.device);
        // Every number reaches the device now; an unreadable stored number must not stop it.
        settings.PortNo = PortMap::FirstNo;
    }
    if (request.trace) {
        setTraceSink([&err](const QString &line) {
            err << line << '\n';
            err.flush();
        });
        m_session.link.setLog(&m_log);
    }
}

void CliSession::setTraceSink(std::function<void(const QString &)> sink) {
    m_log.setListener(std::move(sink));
}

CliOutcome::Verdict CliOutcome::verdict() const {
    if (exitStatus() == 0)
        return Verdict::Ok;
    return different ? Verdict::Different : Verdict::Failed;
}

QString CliOutcome::reason(const QString &fallback) const {
    return result.text.isEmpty() ? fallback : result.oneLine();
}

CliSession::~CliSession() {
    m_session.link.ClosePort();
    m_session.link.setLog(nullptr);
}

CliOutcome CliSession::run() {
    // Ctrl+C or SIGTERM during a write: the block under way completes, nothing more is sent; a
    // second one ends the program at once.
    std::atomic_bool stop{false};
    std::unique_ptr<StopSignal> stopSignal;
    if (m_stopFlag) {
        m_session.transfer().setStopFlag(m_stopFlag);
    } else if (m_request.writes()) {
        stopSignal = std::make_unique<StopSignal>();
        QObject::connect(stopSignal.get(), &StopSignal::received, [&stop] { stop = true; });
        m_session.transfer().setStopFlag(&stop);
    }
    const CliOutcome outcome = (this->*m_request.command->run)();
    m_session.transfer().setStopFlag(nullptr);
    if (json()) {
        m_json.insert(QStringLiteral("command"), m_request.commandName);
        if (m_request.targets.size() <= 1 && !m_request.command->is(CliCommand::Offline))
            m_json.insert(QStringLiteral("port"), m_session.link.portName());
        QJsonObject result = JsonReport::result(outcome.result);
        if (!m_portReason.isEmpty() && m_portReason != outcome.result.oneLine())
            result.insert(QStringLiteral("reason"), m_portReason);
        m_json.insert(QStringLiteral("result"), result);
        m_out << QJsonDocument(m_json).toJson(QJsonDocument::Indented);
        m_out.flush();
    }
    return outcome;
}

CliOutcome CliSession::ended(OpResult result) {
    // An error reply's box names the alarm by its text alone; the terminal adds its code, and
    // the alarm is the reason a script (or the fleet's line) reads.
    if (result.failure == OpResult::Failure::ErrorReply && !result.errorCode.isEmpty()) {
        result.text = ResText(1309).arg(result.errorCode, result.alarmText);
        m_prompt.tell(result.text);
        return {result};
    }
    // The window says nothing of a port it could not open or a line that went away; the terminal
    // names the port and what happened.
    if (result.reason.isEmpty())
        return {result};
    m_prompt.tell(result.reason);
    // What the user was shown first stays the message; the port's own words explain it.
    m_portReason = result.reason;
    return {result.orText(result.reason)};
}

OpResult CliSession::takeFile() {
    const OpResult result = m_session.files().ReadQvFile(m_request.file);
    if (result.isDone())
        m_session.copies.CopyTemp2Hensu();
    return result;
}

CliOutcome CliSession::ports() {
    const QList<PortEntry> entries = surveyPorts(m_session.link);
    if (json())
        m_json.insert(QStringLiteral("ports"), JsonReport::ports(entries));
    else
        m_out << portTable(entries);
    m_out.flush();
    if (entries.isEmpty())
        m_prompt.tell(ResText(1306));
    return {};
}

CliOutcome CliSession::read() {
    const QString &output = m_request.output;
    // A backup is never overwritten by surprise: the question is asked before anything is read.
    if (!output.isEmpty() && QFileInfo::exists(output) && !m_request.yes) {
        const QString told = ResText(1301).arg(output);
        m_prompt.tell(told);
        return {OpResult::failed(OpResult::Failure::FileError, told)};
    }
    const OpResult result = m_session.transfer().OnlineDataRead();
    if (!result.isDone())
        return ended(result);
    if (output.isEmpty()) {
        if (json())
            m_json.insert(QStringLiteral("items"), JsonReport::allItems(m_session.copies.working));
        else
            m_out << itemListing(m_session.copies.working);
        m_out.flush();
        return {};
    }
    if (json())
        m_json.insert(QStringLiteral("file"), output);
    // What the controller holds is kept as it is, even values the window would refuse to write.
    const OpResult saved = m_session.files().SaveFileAs(output);
    if (!saved.isDone()) {
        // The terminal has room for the file's path and the system's reason under the message.
        m_prompt.MsgBox(joinLines({saved.text, saved.reason}));
        return {saved};
    }
    return {};
}

OpResult CliSession::takeCheckedFile() {
    const OpResult read = takeFile();
    if (!read.isDone())
        return read;
    // The checks have told the user what they refused.
    return m_screen.ScreenCheck() ? read : OpResult::failed(OpResult::Failure::Refused);
}

OpResult CliSession::saveBackup() {
    // The file's data stay in the working copy; the controller's come into the read copy.
    OpResult result = readController();
    if (!result.isDone()) {
        m_prompt.tell(ResText(1721));
        return result;
    }
    // A journalled write needs no read of its own after this one.
    if (m_session.journal.keptForEveryWrite())
        m_session.journal.useBefore(m_session.copies.read);
    if (!QvDataFile::write(m_request.backup, m_session.copies.read)) {
        const QString told = ResText(1722).arg(m_request.backup);
        m_prompt.tell(told);
        return OpResult::failed(OpResult::Failure::FileError, told);
    }
    return result;
}

CliOutcome CliSession::write() {
    if (m_request.dryRun)
        return dryRun();
    // The backup is taken only for a write that will go ahead: checked data, question agreed to.
    if (!m_request.backup.isEmpty() && m_prompt.agrees(Question::WriteToController)) {
        OpResult ready = takeCheckedFile();
        if (ready.isDone())
            ready = saveBackup();
        if (!ready.isDone())
            return {ready};
    } else if (const OpResult read = takeFile(); !read.isDone()) {
        return {read};
    }
    if (json())
        m_json.insert(QStringLiteral("file"), m_request.file);
    // The file's data are not in the controller yet.
    m_screen.setDataChanged(true);
    return ended(m_session.transfer().LoadtoCt());
}

CliOutcome CliSession::verify() {
    if (const OpResult read = takeFile(); !read.isDone())
        return {read};
    const VerifyResult verdict = m_session.verification().PosiDataCtShogo(false);
    if (!verdict.result.isDone())
        return ended(verdict.result);
    if (json()) {
        const QvDataCopies &copies = m_session.copies;
        m_json.insert(QStringLiteral("file"), m_request.file);
        m_json.insert(QStringLiteral("equal"), verdict.equal);
        m_json.insert(
            QStringLiteral("differences"),
            JsonReport::differences(Differences(copies.working, copies.read, m_request.parameters),
                                    QStringLiteral("file"), QStringLiteral("controller")));
    } else if (!verdict.equal && m_request.details) {
        printDetails();
    }
    return {verdict.result, !verdict.equal};
}

void CliSession::printDetails() {
    const QvDataCopies &copies = m_session.copies;
    for (const ItemDifference &d : Differences(copies.working, copies.read, m_request.parameters))
        m_out << ItemLabel(*d.item) << '\t' << d.working << '\t' << d.read << '\n';
    m_out.flush();
}

CliOutcome CliSession::show() {
    const OpResult read = m_session.files().ReadQvFile(m_request.file);
    if (!read.isDone())
        return {read};
    if (json()) {
        m_json.insert(QStringLiteral("file"), m_request.file);
        m_json.insert(QStringLiteral("items"), JsonReport::allItems(m_session.copies.read));
    } else {
        m_out << itemListing(m_session.copies.read);
    }
    m_out.flush();
    return {};
}

CliOutcome CliSession::print() {
    const QString &pdf = m_request.output;
    const QString cannotWrite = ResText(1600).arg(pdf);
    if (QFileInfo::exists(pdf) && !m_request.yes) {
        const QString told = ResText(1301).arg(pdf);
        m_prompt.tell(told);
        return {OpResult::failed(OpResult::Failure::FileError, told)};
    }
    PdfPage page(pdf);
    if (!page.opened()) {
        m_prompt.tell(cannotWrite);
        return {OpResult::failed(OpResult::Failure::FileError, cannotWrite)};
    }
    OpResult result = m_session.printing().PrintFile(m_request.file, page);
    if (json()) {
        m_json.insert(QStringLiteral("file"), m_request.file);
        m_json.insert(QStringLiteral("pdf"), pdf);
    }
    // A file the reader refused has been reported; a page without words could not be finished.
    if (!result.isDone() && result.text.isEmpty()) {
        m_prompt.tell(cannotWrite);
        result.text = cannotWrite;
    }
    return {result};
}

CliOutcome CliSession::io() {
    IoCommand command(m_session.ioMonitor(), m_prompt, m_out);
    if (json())
        command.printInto(&m_json);
    if (m_request.watch) {
        // A recording is never written over an older file by surprise.
        for (const QString &file : {m_request.vcd, m_request.csv}) {
            if (!file.isEmpty() && QFileInfo::exists(file) && !m_request.yes) {
                const QString told = ResText(1301).arg(file);
                m_prompt.tell(told);
                return {OpResult::failed(OpResult::Failure::FileError, told)};
            }
        }
        return ended(
            command.watch(m_request.count, {m_request.vcd, m_request.csv, m_request.quiet}));
    }
    if (!m_request.outputs.isEmpty())
        return ended(command.set(m_request.outputs));
    return ended(command.read());
}
