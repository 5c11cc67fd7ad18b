#include "link/ControllerScope.h"

#include "link/ControllerExchange.h"

#include <utility>

namespace {

const OpResult &resultOf(const OpResult &result) {
    return result;
}
const OpResult &resultOf(const Valued<QString> &reply) {
    return reply.result;
}

} // namespace

ControllerScope::ControllerScope(const OpResult &refusal, ControllerExchange *owedBy)
    : m_link(owedBy), m_refusal(refusal), m_release(false), m_releaseOwed(owedBy != nullptr) {}

ControllerScope::ControllerScope(ControllerScope &&other) noexcept
    : m_link(std::exchange(other.m_link, nullptr)), m_refusal(std::move(other.m_refusal)),
      m_held(std::exchange(other.m_held, false)), m_release(other.m_release),
      m_releaseOwed(std::exchange(other.m_releaseOwed, false)) {}

ControllerScope::~ControllerScope() {
    settle();
    release();
}

void ControllerScope::release() {
    if (m_link && m_held && m_release)
        m_link->ReleasePort();
    m_release = false;
}

void ControllerScope::settle() {
    if (m_link && std::exchange(m_releaseOwed, false))
        m_link->ReleasePort();
}

template <typename T> T ControllerScope::owing(T result) {
    if (resultOf(result).failure == OpResult::Failure::ErrorReply)
        m_releaseOwed = true;
    return result;
}

OpResult ControllerScope::checkCommunication() {
    return owing(m_link->exchange(ControllerCommand::CommCheck, {}).result);
}

Valued<QString> ControllerScope::readBlock(const QString &block) {
    return owing(m_link->exchange(ControllerCommand::ReadBlock, block));
}

OpResult ControllerScope::writeBlock(const QString &block) {
    return owing(m_link->exchange(ControllerCommand::WriteBlock, block).result);
}

OpResult ControllerScope::move(int target) {
    return owing(m_link->exchange(ControllerCommand::Move, moveData(target)).result);
}

OpResult ControllerScope::reset() {
    return owing(m_link->exchange(ControllerCommand::Reset, {}).result);
}

Valued<QString> ControllerScope::version() {
    Valued<QString> reply = owing(m_link->exchange(ControllerCommand::Version, {}));
    reply.value = reply.value.mid(3, 3);
    return reply;
}

OpResult ControllerScope::externalStart() {
    const CommandForm &form = commandForm(ControllerCommand::ExternalStart);
    const Valued<QString> reply = owing(m_link->exchange(ControllerCommand::ExternalStart, {}));
    if (reply.isDone() && !form.confirms(form.line(), reply.value))
        return OpResult::failed(OpResult::Failure::Unconfirmed, reply.value.trimmed());
    return reply.result;
}

Valued<QString> ControllerScope::readIo() {
    return owing(m_link->exchange(ControllerCommand::IoRead, {}));
}

OpResult ControllerScope::setOutputs(const QString &data) {
    return owing(m_link->exchange(ControllerCommand::OutputWrite, data).result);
}

OpResult ControllerScope::restart() {
    return m_link->sendNoReply(ControllerCommand::Restart);
}
