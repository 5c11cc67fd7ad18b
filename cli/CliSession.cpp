#include "cli/CliSession.h"

#include "base/ResText.h"
#include "cli/IoCommand.h"
#include "cli/ItemListing.h"
#include "data/ControllerTransfer.h"
#include "data/FileOperations.h"
#include "data/QvDataFile.h"
#include "data/Verification.h"
#include "print/PdfPage.h"
#include "print/PrintOperation.h"

#include "link/PortSurvey.h"

#include <QFileInfo>
#include <QTextStream>

CliSession::CliSession(const CliRequest &request, QTextStream &out, QTextStream &err)
    : m_request(request), m_out(out), m_prompt(err, request.yes) {
    m_session.attach(m_screen, m_dialogs, m_progress);
    StoredSettings &settings = m_session.settings;
    settings.ReadPortNo();
    settings.ReadPortOccupy();
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

CliSession::Verdict CliSession::verdict(int exitStatus) const {
    if (exitStatus == 0)
        return Verdict::Ok;
    const bool compared =
        m_request.command == CliRequest::Command::Verify && m_session.verification().compared();
    return compared ? Verdict::Different : Verdict::Failed;
}

CliSession::~CliSession() {
    m_session.link.ClosePort();
    m_session.link.setLog(nullptr);
}

int CliSession::run() {
    switch (m_request.command) {
    case CliRequest::Command::Ports:
        return ports();
    case CliRequest::Command::Read:
        return read();
    case CliRequest::Command::Write:
        return write();
    case CliRequest::Command::Verify:
        return verify();
    case CliRequest::Command::Show:
        return show();
    case CliRequest::Command::Move:
        return moveTo();
    case CliRequest::Command::Home:
        return home();
    case CliRequest::Command::Reset:
        return reset();
    case CliRequest::Command::Version:
        return version();
    case CliRequest::Command::Mode:
        return mode();
    case CliRequest::Command::Print:
        return print();
    case CliRequest::Command::Io:
        return io();
    case CliRequest::Command::None:
        break;
    }
    return 2;
}

void CliSession::tellPortTrouble() {
    ControllerLink &link = m_session.link;
    if (link.lastExchange() != Exchange::NoPort)
        return;
    const QString why = link.lastOpenFailure().stateText();
    if (!m_request.device.isEmpty()) {
        m_prompt.tell(ResText(1303).arg(m_request.device, why));
        return;
    }
    StoredSettings &settings = m_session.settings;
    // Opening falls back on the stored number when PortNo is out of range; so does this.
    if (settings.PortNo < PortMap::FirstNo || settings.PortNo > PortMap::LastNo)
        settings.ReadPortNo();
    const QString path = link.devicePathFor(settings.PortNo);
    m_prompt.tell(
        ResText(1302).arg(settings.PortNo).arg(path.isEmpty() ? ResText(1304) : path, why));
}

bool CliSession::takeFile() {
    if (m_session.files().ReadQvFile(m_request.file) != 0)
        return false;
    m_session.copies.CopyTemp2Hensu();
    return true;
}

int CliSession::ports() {
    const QList<PortEntry> entries = surveyPorts(m_session.link);
    m_out << portTable(entries);
    m_out.flush();
    if (entries.isEmpty())
        m_prompt.tell(ResText(1306));
    return 0;
}

int CliSession::read() {
    const QString &output = m_request.output;
    // A backup is never overwritten by surprise: the question is asked before anything is read.
    if (!output.isEmpty() && QFileInfo::exists(output) && !m_request.yes) {
        m_prompt.tell(ResText(1301).arg(output));
        return 1;
    }
    if (m_session.transfer().OnlineDataRead() != 0) {
        tellPortTrouble();
        return 1;
    }
    if (output.isEmpty()) {
        m_out << itemListing(m_session.copies.working);
        m_out.flush();
        return 0;
    }
    // What the controller holds is kept as it is, even values the window would refuse to write.
    if (m_session.files().SaveFileAs(output) != 0) {
        m_prompt.MsgBox(ResText(238));
        return 1;
    }
    return 0;
}

bool CliSession::takeCheckedFile() {
    return takeFile() && m_screen.ScreenCheck() == 0;
}

bool CliSession::saveBackup() {
    // The file's data stay in the working copy; the controller's come into the read copy.
    if (m_session.transfer().ReadBlocks() != 0) {
        m_prompt.MsgBox(ResText(212));
        tellPortTrouble();
        m_prompt.tell(ResText(1721));
        return false;
    }
    if (!QvDataFile::write(m_request.backup, m_session.copies.read)) {
        m_prompt.tell(ResText(1722).arg(m_request.backup));
        return false;
    }
    return true;
}

int CliSession::write() {
    if (!takeFile())
        return 1;
    // The backup is taken only for a write that will go ahead: checked data, question answered.
    if (!m_request.backup.isEmpty() && m_prompt.answersYes(216) &&
        (m_screen.ScreenCheck() != 0 || !saveBackup()))
        return 1;
    // The restart after the write is the --restart flag's to answer, not --yes's.
    m_prompt.answerBy(218, m_request.restart, QStringLiteral("--restart"));
    // The file's data are not in the controller yet. The write marks them unchanged only once
    // every block is written and the restart, when asked for, has gone out.
    m_screen.setDataChanged(true);
    m_session.transfer().LoadtoCt();
    if (!m_screen.DataChanged())
        return 0;
    tellPortTrouble();
    return 1;
}

int CliSession::verify() {
    if (!takeFile())
        return 1;
    if (m_session.verification().PosiDataCtShogo(false) == 0)
        return 0;
    if (m_session.verification().compared()) {
        if (m_request.details)
            printDetails();
        return 1;
    }
    tellPortTrouble();
    return 1;
}

void CliSession::printDetails() {
    const QvDataCopies &copies = m_session.copies;
    for (const ItemDifference &d : Differences(copies.working, copies.read, m_request.parameters))
        m_out << ItemLabel(*d.item) << '\t' << d.working << '\t' << d.read << '\n';
    m_out.flush();
}

int CliSession::show() {
    if (m_session.files().ReadQvFile(m_request.file) != 0)
        return 1;
    m_out << itemListing(m_session.copies.read);
    m_out.flush();
    return 0;
}

int CliSession::print() {
    const QString &pdf = m_request.output;
    if (QFileInfo::exists(pdf) && !m_request.yes) {
        m_prompt.tell(ResText(1301).arg(pdf));
        return 1;
    }
    PdfPage page(pdf);
    if (!page.opened()) {
        m_prompt.tell(ResText(1600).arg(pdf));
        return 1;
    }
    if (m_session.printing().PrintFile(m_request.file, page) != 0) {
        // A file the reader refused has been reported; otherwise the PDF could not be finished.
        if (!m_prompt.anythingShown())
            m_prompt.tell(ResText(1600).arg(pdf));
        return 1;
    }
    return 0;
}

int CliSession::io() {
    IoCommand command(m_session.ioMonitor(), m_out);
    int status = 0;
    if (m_request.watch)
        status = command.watch(m_request.count);
    else if (!m_request.outputs.isEmpty())
        status = command.set(m_request.outputs);
    else
        status = command.read();
    if (status != 0)
        tellPortTrouble();
    return status;
}
