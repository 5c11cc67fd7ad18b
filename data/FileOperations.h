#pragma once

#include "base/OpResult.h"
#include "data/QvData.h"

#include <QString>
#include <functional>

class FileDialogs;
class MainScreen;
class UserPrompt;

// The file operations of the main window (New, Open, Save, Save As) and the name of the data on
// screen with the folder it came from. Reaches the window only through MainScreen.
class FileOperations {
public:
    FileOperations(QvDataCopies &copies, MainScreen &screen, UserPrompt &prompt,
                   FileDialogs &dialogs);

    // New and Open ask first whether changed data shall be saved (maySetDataAside).
    void New();
    void Open();
    // Save and Save As: done when saved; refused by the checks (they told the user), stopped
    // when the user cancelled the file dialog, or the write's failure (its message shown).
    OpResult Save();
    OpResult SaveAs();
    // Before the data on screen are replaced: true when they may go (unchanged, the user answered
    // No to question 223, or Yes and they were saved); false when they stay (Cancel, or Yes and
    // the save did not happen). save is how the data are saved; Save() by default.
    bool maySetDataAside(const std::function<OpResult()> &save = {});
    // Before the program ends: changed data as maySetDataAside, unchanged data only after the
    // user has confirmed the exit. true when the program may end.
    bool mayEnd(const std::function<OpResult()> &save);

    // Writes the working copy to name; on success the name and folder become the current ones
    // and DataChanged is cleared. Shows nothing: a failure is FileError with text 238 and, as its
    // reason, the file's full path and the system's words.
    OpResult SaveFileAs(const QString &name);

    // Reads a file into the read copy (message on failure, DataChanged cleared on success).
    OpResult ReadQvFile(const QString &path);

    // The display name of the data on screen: "New data", "Inside of C/T" or a file's name.
    QString CurrentFileName() const { return m_currentFileName; }
    // Sets and shows the name (a read from the controller sets text 213).
    void setCurrentFileName(const QString &name);
    // Folder of the file last opened or saved; Save writes back into it.
    QString currentFolder() const { return m_folder; }

    // A file's display name: without its folder and its last four characters (".qvd").
    static QString displayName(const QString &path);

private:
    void adoptFile(const QString &path);
    QString askSaveName();

    QvDataCopies &m_copies;
    MainScreen &m_screen;
    UserPrompt &m_prompt;
    FileDialogs &m_dialogs;
    QString m_currentFileName;
    QString m_folder;
};
