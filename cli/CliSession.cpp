#include "cli/CliSession.h"

#include "app/ResText.h"
#include "cli/ItemListing.h"
#include "data/Verification.h"

#include <QFileInfo>
#include <QSerialPortInfo>
#include <QTextStream>

CliSession::CliSession(const CliRequest &request, QTextStream &out, QTextStream &err)
    : m_request(request), m_out(out), m_prompt(err, request.yes) {
    m_settings.ReadPortNo();
    m_settings.ReadPortOccupy();
    // The number from the command line is used for this run only; the stored one stays.
    if (request.portNo != 0)
        m_settings.PortNo = qint16(request.portNo);
    if (!request.device.isEmpty()) {
        m_link.setDeviceOverride(request.device);
        // Every number reaches the device now; an unreadable stored number must not stop it.
        m_settings.PortNo = PortMap::FirstNo;
    }
}

CliSession::~CliSession() {
    m_link.ClosePort();
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
    case CliRequest::Command::None:
        break;
    }
    return 2;
}

bool CliSession::openPort() {
    if (m_link.OpenPort() == 0)
        return true;
    if (!m_request.device.isEmpty()) {
        m_prompt.tell(ResText(1303).arg(m_request.device));
    } else {
        // OpenPort falls back on the stored number when PortNo is out of range; so does this.
        if (m_settings.PortNo < PortMap::FirstNo || m_settings.PortNo > PortMap::LastNo)
            m_settings.ReadPortNo();
        const QString path = m_link.portMap().devicePath(m_settings.PortNo);
        m_prompt.tell(
            ResText(1302).arg(m_settings.PortNo).arg(path.isEmpty() ? ResText(1304) : path));
    }
    return false;
}

bool CliSession::takeFile() {
    if (m_files.ReadQvFile(m_request.file) != 0)
        return false;
    m_copies.CopyTemp2Hensu();
    return true;
}

int CliSession::ports() {
    PortMap &map = m_link.portMap();
    map.refresh();
    bool any = false;
    for (int n = PortMap::FirstNo; n <= PortMap::LastNo; ++n) {
        const QString path = PortMap::entry(n);
        if (path.isEmpty())
            continue;
        any = true;
        const QString description =
            QFileInfo::exists(path) ? QSerialPortInfo(path).description() : ResText(1305);
        m_out << "COM" << n << '\t' << path << '\t' << description << '\n';
    }
    m_out.flush();
    if (!any)
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
    if (!openPort())
        return 1;
    if (m_transfer.ReadBlocks() != 0) {
        m_prompt.MsgBox(ResText(212));
        return 1;
    }
    m_copies.CopyTemp2Hensu();
    if (output.isEmpty()) {
        m_out << itemListing(m_copies.working);
        m_out.flush();
        return 0;
    }
    // What the controller holds is kept as it is, even values the window would refuse to write.
    if (m_files.SaveFileAs(output) != 0) {
        m_prompt.MsgBox(ResText(238));
        return 1;
    }
    return 0;
}

int CliSession::write() {
    if (!takeFile() || !openPort())
        return 1;
    // The restart after the write is the --restart flag's to answer, not --yes's.
    m_prompt.answerBy(ResText(218) + QStringLiteral("\r\n") + ResText(219), m_request.restart,
                      QStringLiteral("--restart"));
    // The file's data are not in the controller yet. The write marks them unchanged only once
    // every block is written and the restart, when asked for, has gone out.
    m_screen.setDataChanged(true);
    m_transfer.LoadtoCt();
    return m_screen.DataChanged() ? 1 : 0;
}

int CliSession::verify() {
    if (!takeFile() || !openPort())
        return 1;
    if (m_screen.ScreenCheck() != 0)
        return 1;
    if (m_transfer.ReadBlocks() != 0) {
        m_prompt.MsgBox(ResText(212));
        return 1;
    }
    return CompareQvData(m_copies, m_request.parameters, m_prompt) == 0 ? 0 : 1;
}

int CliSession::show() {
    if (m_files.ReadQvFile(m_request.file) != 0)
        return 1;
    m_out << itemListing(m_copies.read);
    m_out.flush();
    return 0;
}
