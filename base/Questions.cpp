// The questions of the operations: each one's text, buttons and icon, asked through
// UserPrompt::ask so that every front end answers the same question by its name.
#include "base/MessageLines.h"
#include "base/ResText.h"
#include "base/UserPrompt.h"

namespace {

SaveChoice saveChoice(MsgAnswer answer) {
    switch (answer) {
    case MsgAnswer::Yes:
        return SaveChoice::Save;
    case MsgAnswer::No:
        return SaveChoice::Discard;
    default:
        return SaveChoice::Cancel;
    }
}

} // namespace

bool UserPrompt::confirmRead() {
    return ask(Question::ReadFromController, ResText(211), MsgButtons::YesNo, MsgIcon::Question) ==
           MsgAnswer::Yes;
}

SaveChoice UserPrompt::saveBeforeRead() {
    return saveChoice(
        ask(Question::SaveBeforeRead, ResText(210), MsgButtons::YesNoCancel, MsgIcon::Question));
}

bool UserPrompt::confirmWrite() {
    return ask(Question::WriteToController, ResText(216), MsgButtons::OkCancel,
               MsgIcon::Question) == MsgAnswer::Ok;
}

bool UserPrompt::confirmRestart() {
    return ask(Question::RestartAfterWrite, ResText(218) + CrLf + ResText(219),
               MsgButtons::OkCancel, MsgIcon::Question) == MsgAnswer::Ok;
}

SaveChoice UserPrompt::saveBeforeReplace() {
    return saveChoice(
        ask(Question::SaveBeforeReplace, ResText(223), MsgButtons::YesNoCancel, MsgIcon::Question));
}

bool UserPrompt::confirmExit() {
    return ask(Question::ExitProgram, ResText(222), MsgButtons::OkCancel, MsgIcon::Question) ==
           MsgAnswer::Ok;
}

bool UserPrompt::confirmReverseRotation() {
    // The warning alone leaves Yes and No without a question; 208 asks it.
    const QString text = ResText(206) + CrLf + ResText(207) + CrLf + ResText(208);
    return ask(Question::ReverseRotation, text, MsgButtons::YesNo, MsgIcon::Critical) ==
           MsgAnswer::Yes;
}

bool UserPrompt::confirmChanges(const QStringList &changes) {
    const QString text =
        changes.isEmpty() ? ResText(1822) : ResText(1821) + CrLf + joinLines(changes);
    return ask(Question::WriteChanges, text, MsgButtons::OkCancel, MsgIcon::Information) ==
           MsgAnswer::Ok;
}

const char *toString(Question question) {
    switch (question) {
    case Question::ReadFromController:
        return "read from controller";
    case Question::SaveBeforeRead:
        return "save before read";
    case Question::WriteToController:
        return "write to controller";
    case Question::RestartAfterWrite:
        return "restart after write";
    case Question::SaveBeforeReplace:
        return "save before replace";
    case Question::ExitProgram:
        return "exit program";
    case Question::WriteChanges:
        return "write changes";
    case Question::ReverseRotation:
        break;
    }
    return "reverse rotation";
}
