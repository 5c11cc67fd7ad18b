#include "link/WinCommIo.h"

std::unique_ptr<WinCommIo> WinCommIo::make() {
    if (testMaker())
        return testMaker()();
    return system();
}

WinCommIo::Maker &WinCommIo::testMaker() {
    static Maker made;
    return made;
}
