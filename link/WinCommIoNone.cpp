// No Win32 communications calls on this system: a WinSerialLine made without calls of its own
// opens nothing (tests give it theirs).
#include "link/WinCommIo.h"

std::unique_ptr<WinCommIo> WinCommIo::make() {
    return nullptr;
}
