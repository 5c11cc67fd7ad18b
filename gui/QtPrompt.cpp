#include "gui/QtPrompt.h"

#include "base/MessageLines.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QMessageBox::StandardButtons standardButtons(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::OkOnly:
        return QMessageBox::Ok;
    case MsgButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::AbortRetryIgnore:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case MsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MsgButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon boxIcon(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::None:
        return QMessageBox::NoIcon;
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

MsgAnswer answerOf(int button, MsgButtons buttons) {
    switch (button) {
    case QMessageBox::Ok:
        return MsgAnswer::Ok;
    case QMessageBox::Cancel:
        return MsgAnswer::Cancel;
    case QMessageBox::Abort:
        return MsgAnswer::Abort;
    case QMessageBox::Retry:
        return MsgAnswer::Retry;
    case QMessageBox::Ignore:
        return MsgAnswer::Ignore;
    case QMessageBox::Yes:
        return MsgAnswer::Yes;
    case QMessageBox::No:
        return MsgAnswer::No;
    default:
        return dismissAnswer(buttons);
    }
}

} // namespace

MsgAnswer QtPrompt::MsgBox(const QString &text, MsgButtons buttons, MsgIcon icon) {
    return MsgBoxDetailed(text, QString(), buttons, icon);
}

MsgAnswer QtPrompt::MsgBoxDetailed(const QString &text, const QString &details, MsgButtons buttons,
                                   MsgIcon icon) {
    const auto lineBreaks = [](QString t) { return t.replace(CrLf, QStringLiteral("\n")); };
    // A box asked while a dialog is open (the about box, Options) belongs to that dialog, so
    // that it stands in front of it and not behind it with the main window.
    QWidget *modal = QApplication::activeModalWidget();
    QMessageBox box(boxIcon(icon), QString::fromLatin1(Title), lineBreaks(text),
                    standardButtons(buttons), modal ? modal : m_parent.data());
    if (!details.isEmpty())
        box.setDetailedText(lineBreaks(details));
    if (buttons == MsgButtons::AbortRetryIgnore)
        box.setEscapeButton(nullptr); // such a box cannot be dismissed without a choice
    return answerOf(box.exec(), buttons);
}

void QtPrompt::Beep() {
    QApplication::beep();
}
