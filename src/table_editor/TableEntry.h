#pragma once

#include <QString>

#include <memory>

class CGridCtrl;

// One open table: the file it came from, the name the project tree gave
// it (the tab's text without "*") and the grid that shows it.
struct TableEntry
{
    QString fullPath;
    QString name;
    std::unique_ptr<CGridCtrl> grid;
};
