#include "gui/HelpFile.h"

#include "base/UserPrompt.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

HelpFile::HelpFile(UserPrompt &prompt, Opener open) : m_prompt(prompt), m_open(std::move(open)) {}

void HelpFile::InitHelp(const QString &programFolder) {
    QString folder = programFolder;
    if (!folder.endsWith(u'/'))
        folder += u'/';
    m_path = folder + QLatin1String(FileName);
}

void HelpFile::ShowHelp(const QString &failureText) {
    if (m_path.isEmpty() || !QFileInfo::exists(m_path)) {
        m_prompt.MsgBox(failureText, MsgButtons::OkOnly, MsgIcon::Information);
        return;
    }
    m_open(m_path);
}

bool HelpFile::openWithDesktop(const QString &path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
