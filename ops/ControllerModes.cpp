#include "ops/ControllerModes.h"

#include "base/MainScreen.h"
#include "base/ResText.h"
#include "base/UserPrompt.h"
#include "link/ControllerLink.h"

#include <QScopeGuard>

namespace {

constexpr int ModeTimeoutMs = 5000;
constexpr qint16 ModeReplyLength = 6;
constexpr int VersionTimeoutMs = 5000;
constexpr qint16 VersionReplyLength = 11;

// The buttons and the file menu disabled until the returned guard goes.
auto bracket(MainScreen &screen) {
    screen.CMDBTN_Muko();
    screen.Menyu_Muko();
    return qScopeGuard([&screen] {
        screen.CMDBTN_Yuko();
        screen.Menyu_Yuko();
    });
}

} // namespace

ControllerModes::ControllerModes(ControllerLink &link, UserPrompt &prompt, MainScreen &screen)
    : m_link(link), m_prompt(prompt), m_screen(screen) {}

bool ControllerModes::prepare() {
    return m_link.OpenPort() == 0 && m_link.CommCheck() == 0;
}

qint16 ControllerModes::switchMode(const std::function<qint16()> &afterCheck) {
    // The menu stays enabled while a read or write waits for a reply: that exchange's port is
    // not ours to use.
    if (m_link.isBusy())
        return 1;
    const auto end = bracket(m_screen);
    if (!prepare()) {
        m_prompt.MsgBox(ResText(215));
        return 1;
    }
    // The port stays open either way: the controller is left as this program set it.
    return afterCheck();
}

qint16 ControllerModes::ModeGaibu() {
    m_unconfirmed = false;
    return switchMode([this]() -> qint16 {
        if (m_link.SendCommand(QStringLiteral("0CM0"), ModeReplyLength, QString(), ModeTimeoutMs) !=
            Exchange::Good)
            return 1;
        if (!m_link.LastReply.startsWith(QLatin1String("0CM0"))) {
            m_unconfirmed = true;
            return 1;
        }
        m_link.hideAlarmLamp();
        m_prompt.MsgBox(ResText(229));
        return 0;
    });
}

// The controller enters communication mode on the communication check itself.
qint16 ControllerModes::ModeTrancefer() {
    return switchMode([this]() -> qint16 {
        m_prompt.MsgBox(ResText(230));
        return 0;
    });
}

qint16 ControllerModes::ViewCtVersion() {
    if (m_link.isBusy())
        return 1;
    const auto end = bracket(m_screen);
    qint16 result = 1;
    QString text;
    if (!prepare()) {
        text = ResText(215);
    } else if (m_link.SendCommand(QStringLiteral("0RV"), VersionReplyLength, QString(),
                                  VersionTimeoutMs) != Exchange::Good) {
        text = ResText(231);
    } else {
        // The three characters after the echoed command; the rest of the reply means nothing here.
        m_version = m_link.LastReply.mid(3, 3);
        text = ResText(232) + m_version + ResText(233);
        result = 0;
    }
    m_prompt.MsgBox(text);
    m_link.ReleasePort();
    return result;
}
