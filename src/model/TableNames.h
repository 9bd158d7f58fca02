#pragma once

#include <QStringList>

class TableFile;

// How a change names its row and column, the same way in every report:
// a row by its first cell, a column by its heading.  Where several share
// that text, "#" and the occurrence counted from 1 follow it ("Expansion#2");
// an empty first cell is "#" and the row's line number in its file, an
// empty heading "#" and the column's number, both counted from 1.
class TableNames
{
public:
    // One name a row, the heading row's (index 0) empty.
    static QStringList RowNames(const TableFile& table);
    // One name a column.
    static QStringList ColumnNames(const TableFile& table);
};
