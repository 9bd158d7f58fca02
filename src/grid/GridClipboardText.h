#pragma once

#include "grid/GridAxis.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The plain text that the grid exchanges with the clipboard: cells separated
// by TAB, rows by LF.  Cells of the game's tables may hold commas, leading or
// trailing spaces and nothing at all, so decoding splits at TAB only, strips
// only the CR of a CR LF and keeps every empty field and empty line: pasting
// what was copied reproduces the cells exactly.
class GridClipboardText
{
public:
    using Table = QList<QStringList>;
    // Appends the text of a cell to the copy (nothing for a cell that is not
    // copied).
    using AppendCell = std::function<void(int row, int column, QString& text)>;
    using CellWrite = std::function<void(int row, int column, const QString& text)>;

    // The rectangle rows [firstRow, lastRow] by columns [firstColumn,
    // lastColumn], hidden rows and columns left out.
    static QString Encode(const GridAxis& rows, const GridAxis& columns, int firstRow, int firstColumn,
                          int lastRow, int lastColumn, const AppendCell& appendCell);

    // Text up to the first NUL, split into lines and fields.
    static Table Decode(const QString& text);

    // Lays the table out from (startRow, startColumn) over the shown rows
    // and columns; fields that fall outside the grid are dropped.
    static void Place(const Table& table, const GridAxis& rows, const GridAxis& columns, int startRow,
                      int startColumn, const CellWrite& write);

private:
    static int ShownFrom(const GridAxis& axis, int index);
};
