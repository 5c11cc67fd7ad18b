#include "data/Verification.h"

#include "app/MainScreen.h"
#include "app/ResText.h"
#include "app/UserPrompt.h"
#include "data/ControllerTransfer.h"
#include "data/FileDialogs.h"
#include "data/FileOperations.h"
#include "data/QvData.h"
#include "link/ControllerLink.h"

#include <functional>

namespace {

const QString CrLf = QStringLiteral("\r\n");

// One report group: its heading and the names of the items that differ.
struct Group {
    QString text;
    bool marked = false;

    void check(qint32 working, qint32 read, int nameId) {
        if (working == read)
            return;
        text += ResText(nameId) + QLatin1Char(',');
        marked = true;
    }
};

} // namespace

QString UnmatchedList(const QvData &w, const QvData &r, bool parametersActive) {
    const QString dash = QStringLiteral(" - ");
    Group p1{ResText(34) + dash};
    Group p2{ResText(35) + dash};
    Group sensor{ResText(36) + dash};
    Group homing{ResText(44) + dash};

    p1.check(w.Vel1, r.Vel1, 29);
    p1.check(w.Acc1, r.Acc1, 30);
    p1.check(w.Dec1, r.Dec1, 31);
    p1.check(w.PauseTime1, r.PauseTime1, 32);
    p1.check(w.Pulse1, r.Pulse1, 33);
    p2.check(w.Vel2, r.Vel2, 29);
    p2.check(w.Acc2, r.Acc2, 30);
    p2.check(w.Dec2, r.Dec2, 31);
    p2.check(w.PauseTime2, r.PauseTime2, 32);
    p2.check(w.Pulse2, r.Pulse2, 33);
    if (parametersActive) {
        homing.check(w.HomingVel, r.HomingVel, 45);
        homing.check(w.HomingPulse, r.HomingPulse, 46);
        homing.check(w.OffsetVel, r.OffsetVel, 47);
        homing.check(w.OffsetPulse, r.OffsetPulse, 48);
        sensor.check(w.SeparateTimer, r.SeparateTimer, 37);
        sensor.check(w.SupplyCounter, r.SupplyCounter, 38);
        sensor.check(w.RestartDelay, r.RestartDelay, 39);
        sensor.check(w.MidDetectCounter, r.MidDetectCounter, 40);
        sensor.check(w.NoWorkCounter, r.NoWorkCounter, 41);
        sensor.check(w.TipWorkOffTimer, r.TipWorkOffTimer, 42);
        sensor.check(w.Sp1, r.Sp1, 43);
        sensor.check(w.RevDir, r.RevDir, 243);
    }

    // The parameter groups are set off from the position groups by an empty line in front.
    QString list;
    if (p1.marked)
        list += p1.text + CrLf;
    if (p2.marked)
        list += p2.text + CrLf;
    if (sensor.marked)
        list = CrLf + list + sensor.text + CrLf;
    if (homing.marked)
        list = CrLf + list + homing.text + CrLf;
    return list;
}

qint16 CompareQvData(const QvDataCopies &copies, bool parametersActive, UserPrompt &prompt) {
    const QString list = UnmatchedList(copies.working, copies.read, parametersActive);
    if (list.isEmpty()) {
        prompt.MsgBox(ResText(272));
        return 0;
    }
    prompt.MsgBox(ResText(273) + CrLf + CrLf + ResText(274) + CrLf + list);
    return 1;
}

Verification::Verification(ControllerLink &link, ControllerTransfer &transfer, QvDataCopies &copies,
                           MainScreen &screen, UserPrompt &prompt, FileOperations &files,
                           FileDialogs &dialogs)
    : m_link(link), m_transfer(transfer), m_copies(copies), m_screen(screen), m_prompt(prompt),
      m_files(files), m_dialogs(dialogs) {}

namespace {

void bracketed(MainScreen &screen, bool bracket, const std::function<void()> &work) {
    if (bracket) {
        screen.CMDBTN_Muko();
        screen.Menyu_Muko();
    }
    work();
    if (bracket) {
        screen.CMDBTN_Yuko();
        screen.Menyu_Yuko();
    }
}

} // namespace

void Verification::PosiDataCtShogo(bool bracket) {
    bracketed(m_screen, bracket, [this] { ctShogo(); });
}

void Verification::PosiDataFileShogo(bool bracket) {
    bracketed(m_screen, bracket, [this] { fileShogo(); });
}

void Verification::ctShogo() {
    // The menu item stays enabled while a read or write waits for a reply. The link would refuse
    // our exchanges, but releasing the port and closing the progress window here would break the
    // running operation: leave it alone.
    if (m_link.isBusy())
        return;
    // A failed exchange has shown its message and nothing of ours follows; replies that could not
    // be decoded have shown nothing, so the read-failure message tells the user.
    if (m_screen.ScreenCheck() == 0) {
        if (m_transfer.ReadBlocks() == 0)
            CompareQvData(m_copies, m_screen.ParametersActive(), m_prompt);
        else if (m_transfer.readUndecodable())
            m_prompt.MsgBox(ResText(212));
    }
    m_link.ReleasePort();
}

void Verification::fileShogo() {
    if (m_screen.ScreenCheck() != 0)
        return;
    FileDialogs::Options options;
    options.title = ResText(203);
    options.defaultExt = ResText(204);
    options.filter = ResText(205);
    const QString path = m_dialogs.ShowOpen(options);
    if (path.isEmpty())
        return;
    // Reading a file marks the data as unchanged; here the screen keeps its own data, so an
    // edit not yet saved must still be asked about on closing.
    const bool changed = m_screen.DataChanged();
    const qint16 read = m_files.ReadQvFile(path);
    m_screen.setDataChanged(changed);
    if (read == 0)
        CompareQvData(m_copies, m_screen.ParametersActive(), m_prompt);
}
