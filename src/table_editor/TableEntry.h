#pragma once

#include "ChangeMarks.h"
#include "TableHistory.h"
#include "model/FileStamp.h"

#include <QString>

#include <memory>

class CGridCtrl;

// One open table: the file it came from, the name the project tree gave
// it (the tab's text without "*" and count), the grid that shows it, the
// undo history of its changes and what it changes against the game (both
// destroyed before the grid they name); for the recovery record, its file
// as last read or saved and a revision that moves with every change.
struct TableEntry
{
    QString fullPath;
    QString name;
    std::unique_ptr<CGridCtrl> grid;
    std::unique_ptr<ChangeMarks> marks;
    std::unique_ptr<TableHistory> history;
    FileStamp saved;
    quint64 revision = 0;
};
