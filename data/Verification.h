#pragma once

#include <QString>
#include <QtGlobal>

class ControllerLink;
class ControllerTransfer;
class FileDialogs;
class FileOperations;
class MainScreen;
class UserPrompt;
struct QvData;
struct QvDataCopies;

// The verdict of comparing the working copy (the screen) with the read copy (the controller or a
// file): empty when they agree, otherwise the names of the differing items grouped by section,
// each group line ending with the comma after its last name and a CR LF. The sensor and homing
// items take part only while parametersActive.
QString UnmatchedList(const QvData &working, const QvData &read, bool parametersActive);

// Compares the two copies and shows the verdict (text 272, or 273 with the list). 0: equal;
// 1: different.
qint16 CompareQvData(const QvDataCopies &copies, bool parametersActive, UserPrompt &prompt);

// Verification of the data on the screen against the controller or a QV data file. Nothing is
// adopted: the screen and the working copy stay as they were.
class Verification {
public:
    Verification(ControllerLink &link, ControllerTransfer &transfer, QvDataCopies &copies,
                 MainScreen &screen, UserPrompt &prompt, FileOperations &files,
                 FileDialogs &dialogs);

    // The buttons run these with the bracket (buttons and file menu disabled meanwhile), the
    // menu items without it. 0: the two agree; 1: they differ or the comparison did not happen
    // (the user has been told why, if there is anything to tell).
    qint16 PosiDataCtShogo(bool bracket);
    qint16 PosiDataFileShogo(bool bracket);

private:
    qint16 ctShogo();
    qint16 fileShogo();

    ControllerLink &m_link;
    ControllerTransfer &m_transfer;
    QvDataCopies &m_copies;
    MainScreen &m_screen;
    UserPrompt &m_prompt;
    FileOperations &m_files;
    FileDialogs &m_dialogs;
};
