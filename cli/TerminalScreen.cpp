#include "cli/TerminalScreen.h"

#include "data/QvData.h"
#include "data/RangeCheck.h"

bool TerminalScreen::ScreenCheck() {
    return RangeCheck::Check_DataRange(m_copies.working, m_parameters, m_prompt);
}
