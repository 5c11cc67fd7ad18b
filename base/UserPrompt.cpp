#include "base/UserPrompt.h"

MsgAnswer dismissAnswer(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::OkOnly:
        return MsgAnswer::Ok;
    case MsgButtons::YesNo:
        return MsgAnswer::No;
    case MsgButtons::AbortRetryIgnore:
        return MsgAnswer::Abort;
    case MsgButtons::OkCancel:
    case MsgButtons::YesNoCancel:
    case MsgButtons::RetryCancel:
        break;
    }
    return MsgAnswer::Cancel;
}

const char *toString(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::OkOnly:
        return "OK";
    case MsgButtons::OkCancel:
        return "OK/Cancel";
    case MsgButtons::AbortRetryIgnore:
        return "Abort/Retry/Ignore";
    case MsgButtons::YesNoCancel:
        return "Yes/No/Cancel";
    case MsgButtons::YesNo:
        return "Yes/No";
    case MsgButtons::RetryCancel:
        return "Retry/Cancel";
    }
    return "?";
}

const char *toString(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::None:
        return "none";
    case MsgIcon::Critical:
        return "critical";
    case MsgIcon::Question:
        return "question";
    case MsgIcon::Exclamation:
        return "exclamation";
    case MsgIcon::Information:
        return "information";
    }
    return "?";
}

const char *toString(MsgAnswer answer) {
    switch (answer) {
    case MsgAnswer::Ok:
        return "OK";
    case MsgAnswer::Cancel:
        return "Cancel";
    case MsgAnswer::Abort:
        return "Abort";
    case MsgAnswer::Retry:
        return "Retry";
    case MsgAnswer::Ignore:
        return "Ignore";
    case MsgAnswer::Yes:
        return "Yes";
    case MsgAnswer::No:
        return "No";
    }
    return "?";
}
