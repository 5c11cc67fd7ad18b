#pragma once

#include "base/HelpManual.h"
#include "base/OpResult.h"

#include <QString>
#include <QStringList>
#include <functional>

class UserPrompt;

// The program's help: the help file QVPChelp.chm (QVPChelp-en.chm in English) in the program's
// own folder or the installed share folder, opened with the system's help viewer where it has one
// (HTML Help), else with the desktop's viewer for it; where the desktop has none, the same
// manual's HTML pages in the web browser.
class HelpFile {
public:
    static constexpr const char *FileName = HelpManual::FileName;

    // Hands a file to the desktop; false when nothing could open it (the opener failed).
    using Opener = std::function<bool(const QString &path)>;
    // Whether the desktop has a program to show this file.
    using ViewerCheck = std::function<bool(const QString &path)>;

    explicit HelpFile(UserPrompt &prompt, Opener open = HelpManual::openWithDesktop,
                      ViewerCheck hasViewer = HelpManual::desktopHasViewer);

    // Makes the help path from the program's folder (one separator between folder and name).
    void InitHelp(const QString &programFolder);
    const QString &path() const { return m_path; }

    // Opens the manual in the program's language (a help window owned by the window owner, its
    // native id), or shows failureText with the information icon when there is none or the
    // system's viewer cannot show it; a manual that nothing on the desktop could open is said too.
    OpResult ShowHelp(const QString &failureText, quintptr owner = 0);

private:
    OpResult notShown(const QString &text);

    UserPrompt &m_prompt;
    Opener m_open;
    ViewerCheck m_hasViewer;
    QString m_path;
    QStringList m_folders;
};
