// No system-information program of the system's own: the about box shows the program's report.
#include "base/SystemInfoProgram.h"

bool SystemInfoProgram::systemHasOne() {
    return false;
}

QString SystemInfoProgram::path() {
    return {};
}

bool SystemInfoProgram::start() {
    return false;
}
