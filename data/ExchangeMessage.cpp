#include "data/ExchangeMessage.h"

#include "base/UserPrompt.h"
#include "link/ControllerScope.h"

bool hasExchangeMessage(const OpResult &result) {
    using F = OpResult::Failure;
    return result.isFailed() && !result.text.isEmpty() &&
           (result.failure == F::Timeout || result.failure == F::ErrorReply ||
            result.failure == F::Malformed);
}

void presentExchange(UserPrompt &prompt, ControllerScope &scope, const OpResult &result) {
    if (hasExchangeMessage(result))
        prompt.MsgBox(result.text);
    scope.settle();
}
