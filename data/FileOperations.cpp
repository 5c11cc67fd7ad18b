#include "data/FileOperations.h"

#include "base/FileDialogs.h"
#include "base/MainScreen.h"
#include "base/ResText.h"
#include "base/UserPrompt.h"
#include "data/QvDataFile.h"

#include <QDir>
#include <QFileInfo>

FileOperations::FileOperations(QvDataCopies &copies, MainScreen &screen, UserPrompt &prompt,
                               FileDialogs &dialogs)
    : m_copies(copies), m_screen(screen), m_prompt(prompt), m_dialogs(dialogs),
      m_currentFileName(ResText(15)) {}

QString FileOperations::displayName(const QString &path) {
    const QString name = QFileInfo(path).fileName();
    return name.size() < 4 ? QString() : name.left(name.size() - 4);
}

void FileOperations::setCurrentFileName(const QString &name) {
    m_currentFileName = name;
    m_screen.ShowFileName(name);
}

void FileOperations::adoptFile(const QString &path) {
    m_folder = QFileInfo(path).absolutePath();
    setCurrentFileName(displayName(path));
}

OpResult FileOperations::ReadQvFile(const QString &path) {
    return ::ReadQvFile(path, m_copies.read, m_screen, m_prompt);
}

OpResult FileOperations::SaveFileAs(const QString &name) {
    QString why;
    if (!QvDataFile::write(name, m_copies.working, &why)) {
        OpResult failed = OpResult::failed(OpResult::Failure::FileError, ResText(238));
        failed.reason = QvDataFile::errorDetails(name, why);
        return failed;
    }
    adoptFile(name);
    m_screen.setDataChanged(false);
    return OpResult::done();
}

bool FileOperations::maySetDataAside(const std::function<OpResult()> &save) {
    if (!m_screen.DataChanged())
        return true;
    switch (m_prompt.saveBeforeReplace()) {
    case SaveChoice::Discard:
        return true;
    case SaveChoice::Save:
        // Edits the user wanted kept are not dropped because their save did not happen.
        return (save ? save() : Save()).isDone();
    case SaveChoice::Cancel:
        break;
    }
    return false;
}

bool FileOperations::mayEnd(const std::function<OpResult()> &save) {
    return m_screen.DataChanged() ? maySetDataAside(save) : m_prompt.confirmExit();
}

void FileOperations::New() {
    const auto enableAgain = disabledControls(m_screen);
    if (maySetDataAside()) {
        m_screen.ClearFieldsForNew();
        setCurrentFileName(ResText(15));
        m_screen.setDataChanged(false);
    }
}

void FileOperations::Open() {
    const auto enableAgain = disabledControls(m_screen);
    if (maySetDataAside()) {
        FileDialogs::Options options;
        options.title = ResText(209);
        options.defaultExt = ResText(204);
        options.filter = ResText(205);
        const QString path = m_dialogs.ShowOpen(options);
        if (!path.isEmpty() && ReadQvFile(path).isDone()) {
            adoptFile(path);
            m_copies.CopyTemp2Hensu();
            m_screen.ShowQvData();
            m_screen.setDataChanged(false);
        }
    }
}

// The file Save writes to: the current file again, or one the user chooses when the data have no
// file name (new data, data read from the controller). Empty when the user cancelled.
QString FileOperations::askSaveName() {
    const bool named = !m_currentFileName.isEmpty() && !m_folder.isEmpty() &&
                       m_currentFileName != ResText(234) && m_currentFileName != ResText(15);
    if (named)
        return QDir(m_folder).filePath(m_currentFileName + ResText(237));

    // Title and proposed name stay as the dialog last had them.
    FileDialogs::Options options = m_dialogs.last();
    options.filter = ResText(235) + ResText(236);
    options.overwritePrompt = true;
    options.initialDir.clear();
    // Without an extension the name would lose its last four characters at the next Save.
    if (options.defaultExt.isEmpty())
        options.defaultExt = ResText(228);
    return m_dialogs.ShowSave(options);
}

OpResult FileOperations::Save() {
    const auto enableAgain = disabledControls(m_screen);
    if (!m_screen.ScreenCheck())
        return OpResult::failed(OpResult::Failure::Refused);
    const QString file = askSaveName();
    // A cancelled dialog is told as a failed save, as it always was.
    const OpResult saved = file.isEmpty() ? OpResult::stopped() : SaveFileAs(file);
    if (!saved.isDone())
        m_prompt.MsgBoxDetailed(ResText(238), saved.reason);
    return saved;
}

OpResult FileOperations::SaveAs() {
    if (!m_screen.ScreenCheck())
        return OpResult::failed(OpResult::Failure::Refused);
    FileDialogs::Options options;
    options.title = ResText(225);
    options.filter = ResText(226);
    options.fileName = ResText(227);
    options.defaultExt = ResText(228);
    options.overwritePrompt = true;
    const QString file = m_dialogs.ShowSave(options);
    // A cancelled dialog ends quietly; a failed write is reported, the user expects the data kept.
    if (file.isEmpty())
        return OpResult::stopped();
    const OpResult saved = SaveFileAs(file);
    if (!saved.isDone())
        m_prompt.MsgBoxDetailed(ResText(238), saved.reason);
    return saved;
}
