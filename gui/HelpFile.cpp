#include "gui/HelpFile.h"

#include "base/NativeHelp.h"
#include "base/ResText.h"
#include "base/UserPrompt.h"

#include <QDir>

HelpFile::HelpFile(UserPrompt &prompt, Opener open, ViewerCheck hasViewer)
    : m_prompt(prompt), m_open(std::move(open)), m_hasViewer(std::move(hasViewer)) {}

void HelpFile::InitHelp(const QString &programFolder) {
    QString folder = programFolder;
    if (!folder.endsWith(u'/'))
        folder += u'/';
    m_path = folder + QLatin1String(FileName);
    m_folders = HelpManual::folders(programFolder);
}

OpResult HelpFile::ShowHelp(const QString &failureText) {
    const bool english = LangOffset() != 0;
    const QString chm = m_path.isEmpty() ? QString() : HelpManual::helpFile(m_folders, english);
    const QString html = m_path.isEmpty() ? QString() : HelpManual::htmlPage(m_folders, english);
    if (chm.isEmpty() && html.isEmpty())
        return notShown(failureText);
    if (!chm.isEmpty() && NativeHelp::show(chm))
        return OpResult::done();
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
