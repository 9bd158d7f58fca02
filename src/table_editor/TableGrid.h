#pragma once

#include <QByteArray>

class CGridCtrl;
class TableFile;

// Moves a table between its file form and a grid: row 0 holds the column
// headings and column 0 the row headings, both fixed.
class TableGrid
{
public:
    // Replaces the grid's content with the table; the grid is unmodified after.
    static void Fill(CGridCtrl& grid, const TableFile& table);
    // The bytes of the grid's cells as a table file.
    static QByteArray Bytes(const CGridCtrl& grid);
};
