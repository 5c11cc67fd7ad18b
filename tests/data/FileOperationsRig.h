#pragma once

// What the tests of the file operations share: an example file, the brackets around an
// operation, the texts of saving, and one main window's worth of file operations.
#include "data/FileOperations.h"
#include "support/ScriptedFileDialogs.h"
#include "support/ScriptedPrompt.h"
#include "support/StandInScreen.h"

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>

inline const QByteArray Example =
    "QV-R7\r\n12,3,3,250,10\r\n12,3,3,10\r\n20,5,4,100,0\r\n20,5,4,0\r\n"
    "5,300,3,50\r\n10,20,30,0\r\n40,50,60,0\r\n";
inline const QStringList Brackets = {"CMDBTN_Muko", "Menyu_Muko", "CMDBTN_Yuko", "Menyu_Yuko"};
inline const QString SavingStopped = QString::fromUtf8("データの保存を中止しました。");
inline const QString SaveQuestion =
    QString::fromUtf8("データが変更されています。ファイルに保存しますか？");

// The calls with those inside inserted at the given place.
inline QStringList withInside(QStringList calls, int at, const QStringList &inside) {
    for (const QString &c : inside)
        calls.insert(at++, c);
    return calls;
}

// One main window's worth of file operations with scripted answers.
struct Rig {
    QvDataCopies copies;
    StandInScreen screen;
    ScriptedPrompt prompt;
    ScriptedFileDialogs dialogs;
    FileOperations ops{copies, screen, prompt, dialogs};
};

// A folder of the test's own for the files the operations open and save.
class ExampleFolder {
protected:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};
