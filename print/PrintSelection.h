#pragma once

#include <QString>

// What the print selection dialog publishes: which data the report prints. Lives as long as the
// program; a new dialog starts from it.
struct PrintSelection {
    bool PrintCancel = false;   // the dialog was left without a choice
    bool GridPosiPrint = false; // print the data shown on the screen
    bool FilePosiPrint = false; // print the data of the chosen file
    QString PrintPosiFileName;  // full path of the chosen file
    QString PrintFileTitle;     // the chosen file's name without its folder
};
