#pragma once

#include <QString>
#include <functional>

class UserPrompt;

// The program's help file QVPChelp.chm in the program's own folder, opened with the desktop's
// viewer for it.
class HelpFile {
public:
    static constexpr const char *FileName = "QVPChelp.chm";

    // Hands a file to the desktop; false when nothing could open it.
    using Opener = std::function<bool(const QString &path)>;

    explicit HelpFile(UserPrompt &prompt, Opener open = openWithDesktop);

    // Makes the help path from the program's folder (one separator between folder and name).
    void InitHelp(const QString &programFolder);
    const QString &path() const { return m_path; }

    // Opens the help file, or shows failureText with the information icon when it is missing.
    void ShowHelp(const QString &failureText);

    static bool openWithDesktop(const QString &path);

private:
    UserPrompt &m_prompt;
    Opener m_open;
    QString m_path;
};
