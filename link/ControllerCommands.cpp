#include "link/ControllerCommands.h"

#include <array>

namespace {

using J = CommandForm::Judge;

// Indexed by ControllerCommand.
constexpr std::array<CommandForm, 10> Forms{{
    {"0CM", "1", 6, 1000, J::Prefix},         // CommCheck
    {"0CM0", "", 6, 5000, J::PrefixThenEcho}, // ExternalStart
    {"0CM3", "", 0, 0, J::Prefix},            // Restart
    {"0RD", nullptr, 23, 5000, J::Block},     // ReadBlock
    {"0WD", nullptr, 23, 5000, J::Echo},      // WriteBlock
    {"0MP", nullptr, 12, 5000, J::Prefix},    // Move
    {"0%C", "", 7, 5000, J::Prefix},          // Reset
    {"0RV", "", 11, 5000, J::Prefix},         // Version
    {"0RD", "20", 23, 5000, J::Prefix},       // IoRead
    {"0WS", nullptr, 7, 5000, J::Prefix},     // OutputWrite
}};

} // namespace

const CommandForm &commandForm(ControllerCommand command) {
    return Forms[size_t(command)];
}

QString CommandForm::line(const QString &data) const {
    return QLatin1String(command) + (fixedData ? QLatin1String(fixedData) : data);
}

QString CommandForm::replyStart(const QString &line) const {
    switch (judge) {
    case Judge::Block:
        return line.left(5);
    case Judge::Echo:
        return line;
    case Judge::Prefix:
    case Judge::PrefixThenEcho:
        break;
    }
    return line.left(3);
}

bool CommandForm::confirms(const QString &line, const QString &reply) const {
    return judge != Judge::PrefixThenEcho || reply.startsWith(line);
}

QString moveData(int target) {
    return QString::number(target, 16).toUpper();
}
