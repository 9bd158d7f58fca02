#pragma once

#include "TableHistory.h"
#include "model/FileStamp.h"

#include <QString>

#include <memory>

class CGridCtrl;

// One open table: the file it came from, the name the project tree gave
// it (the tab's text without "*"), the grid that shows it and the undo
// history of its changes (destroyed before the grid its steps name); for
// the recovery record, its file as last read or saved and a revision that
// moves with every change.
struct TableEntry
{
    QString fullPath;
    QString name;
    std::unique_ptr<CGridCtrl> grid;
    std::unique_ptr<TableHistory> history;
    FileStamp saved;
    quint64 revision = 0;
};
