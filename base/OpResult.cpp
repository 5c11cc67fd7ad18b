#include "base/OpResult.h"

#include "base/MessageLines.h"

#include <QStringList>

QString OpResult::oneLine() const {
    QStringList lines;
    for (const QString &line : text.split(CrLf, Qt::SkipEmptyParts))
        lines.append(line.trimmed());
    return lines.join(u' ');
}

const char *toString(OpResult::Failure failure) {
    switch (failure) {
    case OpResult::Failure::None:
        return "none";
    case OpResult::Failure::NoPort:
        return "no port";
    case OpResult::Failure::PortGone:
        return "port gone";
    case OpResult::Failure::Timeout:
        return "timeout";
    case OpResult::Failure::ErrorReply:
        return "error reply";
    case OpResult::Failure::Malformed:
        return "malformed reply";
    case OpResult::Failure::Unconfirmed:
        return "not confirmed";
    case OpResult::Failure::FileError:
        return "file error";
    case OpResult::Failure::Refused:
        return "refused by the checks";
    }
    return "?";
}

const char *toString(OpResult::Status status) {
    switch (status) {
    case OpResult::Status::Done:
        return "done";
    case OpResult::Status::Stopped:
        return "stopped";
    case OpResult::Status::Busy:
        return "busy";
    case OpResult::Status::Failed:
        break;
    }
    return "failed";
}
