#include "cli/ConsoleStream.h"

std::unique_ptr<QIODevice> ConsoleStream::consoleOf(FILE *) {
    return nullptr;
}
