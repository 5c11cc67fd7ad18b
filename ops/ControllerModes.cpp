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

OpResult ControllerModes::switchMode(const std::function<OpResult()> &afterCheck) {
    // The menu stays enabled while a read or write waits for a reply: that exchange's port is
    // not ours to use.
    if (m_link.isBusy())
        return OpResult::busy();
    const auto end = bracket(m_screen);
    OpResult result = m_link.openAndCheck();
    if (!result.isDone()) {
        m_prompt.MsgBox(ResText(215));
        return result.orText(ResText(215));
    }
    // The port stays open either way: the controller is left as this program set it.
    return afterCheck();
}

OpResult ControllerModes::ModeGaibu() {
    return switchMode([this] {
        const ExchangeResult reply =
            m_link.SendCommand(QStringLiteral("0CM0"), ModeReplyLength, QString(), ModeTimeoutMs);
        if (!reply.good())
            return reply.toResult();
        if (!reply.reply.startsWith(QLatin1String("0CM0")))
            return OpResult::failed(OpResult::Failure::Unconfirmed, reply.reply.trimmed());
        m_link.hideAlarmLamp();
        m_prompt.MsgBox(ResText(229));
        return OpResult::done();
    });
}

// The controller enters communication mode on the communication check itself.
OpResult ControllerModes::ModeTrancefer() {
    return switchMode([this] {
        m_prompt.MsgBox(ResText(230));
        return OpResult::done();
    });
}

OpResult ControllerModes::ViewCtVersion() {
    if (m_link.isBusy())
        return OpResult::busy();
    const auto end = bracket(m_screen);
    OpResult result = m_link.openAndCheck();
    QString text;
    if (!result.isDone()) {
        text = ResText(215);
    } else {
        const ExchangeResult reply = m_link.SendCommand(QStringLiteral("0RV"), VersionReplyLength,
                                                        QString(), VersionTimeoutMs);
        result = reply.toResult();
        if (!reply.good()) {
            text = ResText(231);
        } else {
            // The three characters after the echoed command; the rest means nothing here.
            m_version = reply.reply.mid(3, 3);
            text = ResText(232) + m_version + ResText(233);
        }
    }
    m_prompt.MsgBox(text);
    m_link.ReleasePort();
    return result.isDone() ? result : result.orText(text);
}
