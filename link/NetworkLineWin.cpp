// What a network line asks of the system's TCP on Windows.
#include "link/NetworkLine.h"

// Windows has no quick acknowledgement to ask for per socket; its delayed acknowledgement stays.
void NetworkLine::acknowledgeNow() {}
