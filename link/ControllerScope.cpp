#include "link/ControllerScope.h"

#include "link/ControllerLink.h"

#include <utility>

ControllerScope::ControllerScope(ControllerScope &&other) noexcept
    : m_link(std::exchange(other.m_link, nullptr)), m_refusal(std::move(other.m_refusal)),
      m_release(other.m_release) {}

ControllerScope::~ControllerScope() {
    release();
}

void ControllerScope::release() {
    if (m_link && m_release)
        m_link->ReleasePort();
    m_release = false;
}

OpResult ControllerScope::checkCommunication() {
    return m_link->exchange(ControllerCommand::CommCheck, {}).result;
}

Valued<QString> ControllerScope::readBlock(const QString &block) {
    return m_link->exchange(ControllerCommand::ReadBlock, block);
}

OpResult ControllerScope::writeBlock(const QString &block) {
    return m_link->exchange(ControllerCommand::WriteBlock, block).result;
}

OpResult ControllerScope::move(int target) {
    return m_link->exchange(ControllerCommand::Move, moveData(target)).result;
}

OpResult ControllerScope::reset() {
    return m_link->exchange(ControllerCommand::Reset, {}).result;
}

Valued<QString> ControllerScope::version() {
    Valued<QString> reply = m_link->exchange(ControllerCommand::Version, {});
    reply.value = reply.value.mid(3, 3);
    return reply;
}

OpResult ControllerScope::externalStart() {
    const CommandForm &form = commandForm(ControllerCommand::ExternalStart);
    const Valued<QString> reply = m_link->exchange(ControllerCommand::ExternalStart, {});
    if (reply.isDone() && !form.confirms(form.line(), reply.value))
        return OpResult::failed(OpResult::Failure::Unconfirmed, reply.value.trimmed());
    return reply.result;
}

Valued<QString> ControllerScope::readIo() {
    return m_link->exchange(ControllerCommand::IoRead, {});
}

OpResult ControllerScope::setOutputs(const QString &data) {
    return m_link->exchange(ControllerCommand::OutputWrite, data).result;
}

OpResult ControllerScope::restart() {
    return m_link->sendNoReply(ControllerCommand::Restart);
}
