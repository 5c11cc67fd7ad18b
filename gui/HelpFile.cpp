#include "gui/HelpFile.h"

#include "base/NativeHelp.h"
#include "base/ResText.h"
#include "base/UserPrompt.h"

#include <QDir>

HelpFile::HelpFile(UserPrompt &prompt, Opener open, ViewerCheck hasViewer)
    : m_prompt(prompt), m_open(std::move(open)), m_hasViewer(std::move(hasViewer)) {}

void HelpFile::InitHelp(const QString &programFolder) {
    QString folder = programFolder;
    // A drive's root ("C:/", "C:\\") ends in its separator already.
    if (!folder.endsWith(u'/') && !folder.endsWith(QDir::separator()))
        folder += u'/';
    m_path = folder + QLatin1String(FileName);
    m_folders = HelpManual::folders(programFolder);
}

OpResult HelpFile::ShowHelp(const QString &failureText, quintptr owner) {
    const bool english = LangOffset() != 0;
    const QString chm = m_path.isEmpty() ? QString() : HelpManual::helpFile(m_folders, english);
    // The system's own viewer alone: a help file it cannot show is not shown.
    if (NativeHelp::systemHasOne()) {
        if (!chm.isEmpty() && NativeHelp::show(chm, owner))
            return OpResult::done();
        return notShown(failureText);
    }
    const QString html = m_path.isEmpty() ? QString() : HelpManual::htmlPage(m_folders, english);
    if (chm.isEmpty() && html.isEmpty())
        return notShown(failureText);
    if (!chm.isEmpty() && m_hasViewer(chm) && m_open(chm))
        return OpResult::done();
    if (!html.isEmpty() && m_open(html))
        return OpResult::done();
    // The manual is there, but nothing on this desktop shows it.
    return notShown(ResText(1610).arg(QDir::toNativeSeparators(chm.isEmpty() ? html : chm)));
}

OpResult HelpFile::notShown(const QString &text) {
    m_prompt.MsgBox(text, MsgButtons::OkOnly, MsgIcon::Information);
    return OpResult::failed(OpResult::Failure::FileError, text);
}
