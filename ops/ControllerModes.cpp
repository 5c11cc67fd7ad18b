#include "ops/ControllerModes.h"

#include "base/MainScreen.h"
#include "base/ResText.h"
#include "base/UserPrompt.h"
#include "data/ExchangeMessage.h"
#include "link/ControllerLink.h"

#include <optional>

ControllerModes::ControllerModes(ControllerLink &link, UserPrompt &prompt, MainScreen &screen)
    : m_link(link), m_prompt(prompt), m_screen(screen) {}

OpResult ControllerModes::switchMode(const std::function<OpResult(ControllerScope &)> &afterCheck) {
    // The menu stays enabled while a read or write waits for a reply: that exchange's port is
    // not ours to use, and the controls are not ours to enable again.
    std::optional<ControlsBracket> end;
    ControllerScope controller = m_link.controller(
        ControllerLink::Opening::Checked, [&] { end.emplace(disabledControls(m_screen)); });
    if (controller.refusal().status == OpResult::Status::Busy)
        return controller.refusal();
    if (!controller.isHeld()) {
        presentExchange(m_prompt, controller, controller.refusal());
        m_prompt.MsgBox(ResText(215));
        return OpResult(controller.refusal()).orText(ResText(215));
    }
    // The port stays open either way: the controller is left as this program set it.
    controller.keepPort();
    return afterCheck(controller);
}

OpResult ControllerModes::ModeGaibu() {
    return switchMode([this](ControllerScope &controller) {
        const OpResult result = controller.externalStart();
        presentExchange(m_prompt, controller, result);
        if (!result.isDone())
            return result;
        m_link.hideAlarmLamp();
        m_prompt.MsgBox(ResText(229));
        return result;
    });
}

// The controller enters communication mode on the communication check itself.
OpResult ControllerModes::ModeTrancefer() {
    return switchMode([this](ControllerScope &) {
        m_prompt.MsgBox(ResText(230));
        return OpResult::done();
    });
}

Valued<QString> ControllerModes::ViewCtVersion() {
    std::optional<ControlsBracket> end;
    ControllerScope controller = m_link.controller(
        ControllerLink::Opening::Checked, [&] { end.emplace(disabledControls(m_screen)); });
    OpResult result = controller.refusal();
    if (result.status == OpResult::Status::Busy)
        return {result};
    QString text;
    QString version;
    if (!controller.isHeld()) {
        presentExchange(m_prompt, controller, result);
        text = ResText(215);
    } else {
        const Valued<QString> reply = controller.version();
        result = reply.result;
        presentExchange(m_prompt, controller, result);
        if (!reply.isDone()) {
            text = ResText(231);
        } else {
            version = reply.value;
            text = ResText(232) + version + ResText(233);
        }
    }
    m_prompt.MsgBox(text);
    return {result.isDone() ? result : result.orText(text), version};
}
