#include "cli/TerminalScreen.h"

#include "data/QvData.h"
#include "data/RangeCheck.h"

qint16 TerminalScreen::ScreenCheck() {
    return RangeCheck::Check_DataRange(m_copies.working, m_parameters, m_prompt) ? 0 : 1;
}
