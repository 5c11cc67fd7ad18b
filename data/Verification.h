#pragma once

#include "base/OpResult.h"

#include <QList>
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
struct QvItem;

// The verdict of comparing the working copy (the screen) with the read copy (the controller or a
// file): empty when they agree, otherwise the names of the differing items grouped by section,
// each group line ending with the comma after its last name and a CR LF. The sensor and homing
// items take part only while parametersActive.
QString UnmatchedList(const QvData &working, const QvData &read, bool parametersActive);

// One item whose value differs between the working copy and the read copy.
struct ItemDifference {
    const QvItem *item;
    qint32 working;
    qint32 read;
};

// The differing items in the order of the item table; the sensor and homing items only while
// parametersActive.
QList<ItemDifference> Differences(const QvData &working, const QvData &read, bool parametersActive);

// An item's label as the reports name it: its group's heading, " - " and its own label.
QString ItemLabel(const QvItem &item);

// What the read copy holds: the controller's data or a file's.
enum class CompareWith { Controller, File };

// Compares the two copies and shows the verdict (text 272, or 273 with the list; with it, on
// request, every differing item with both values). True when they are equal.
bool CompareQvData(const QvDataCopies &copies, bool parametersActive, UserPrompt &prompt,
                   CompareWith other = CompareWith::Controller);

// What became of a verification: done once the two sides were compared, then their verdict.
struct VerifyResult {
    OpResult result = OpResult::stopped();
    bool equal = false;
};

// Verification of the data on the screen against the controller or a QV data file. Nothing is
// adopted: the screen and the working copy stay as they were.
class Verification {
public:
    Verification(ControllerLink &link, ControllerTransfer &transfer, QvDataCopies &copies,
                 MainScreen &screen, UserPrompt &prompt, FileOperations &files,
                 FileDialogs &dialogs);

    // The buttons run these with the bracket (buttons and file menu disabled meanwhile), the
    // menu items without it. When the comparison did not happen, the user has been told why, if
    // there is anything to tell.
    VerifyResult PosiDataCtShogo(bool bracket);
    VerifyResult PosiDataFileShogo(bool bracket);

private:
    VerifyResult ctShogo();
    VerifyResult fileShogo();

    ControllerLink &m_link;
    ControllerTransfer &m_transfer;
    QvDataCopies &m_copies;
    MainScreen &m_screen;
    UserPrompt &m_prompt;
    FileOperations &m_files;
    FileDialogs &m_dialogs;
};
