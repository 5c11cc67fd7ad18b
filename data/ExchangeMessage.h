#pragma once

#include "base/OpResult.h"

class ControllerScope;
class UserPrompt;

// Whether result is an exchange's failure that brings a message of its own: a timeout, an
// error reply or a malformed reply.
bool hasExchangeMessage(const OpResult &result);

// Shows the message of a failed exchange (or a failed check that refused the scope), then lets
// the scope give back the port it kept for the telling. Anything else shows nothing. Called by
// the operation at once, before its own message, so that the user sees them in that order.
void presentExchange(UserPrompt &prompt, ControllerScope &scope, const OpResult &result);
