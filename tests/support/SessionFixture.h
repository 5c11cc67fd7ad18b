#pragma once

#include "base/StoredSettings.h"
#include "data/QvData.h"
#include "link/ControllerLink.h"
#include "session/Session.h"
#include "support/ScriptedPrompt.h"

// The program's session with scripted answers to its message boxes, and short names for the
// parts tests look at.
struct SessionFixture {
    ScriptedPrompt prompt;
    Session session{prompt};
    StoredSettings &settings = session.settings;
    ControllerLink &link = session.link;
    QvDataCopies &copies = session.copies;
};
