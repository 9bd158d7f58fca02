#include "TableGrid.h"

#include "grid/CGridCtrl.h"
#include "model/TableFile.h"
#include "model/TableWriter.h"

#include <vector>

// The fields go into the grid a row at a time as the bytes they are: no
// string and no object per cell.
void TableGrid::Fill(CGridCtrl& grid, const TableFile& table)
{
    const bool redraw = grid.GetRedraw();
    grid.SetRedraw(false);
    grid.DeleteAllItems();
    grid.SetRowCount(table.RowCount());
    grid.SetColumnCount(table.ColumnCount());
    std::vector<QByteArrayView> fields;
    for (int row = 0; row < table.RowCount(); ++row) {
        fields.clear();
        for (int col = 0; col < table.FieldCount(row); ++col)
            fields.push_back(table.Field(row, col));
        grid.SetRowTexts(row, fields);
    }
    grid.SetFixedColumnCount(qMin(1, table.ColumnCount()));
    grid.SetFixedRowCount(qMin(1, table.RowCount()));
    for (int col = 1; col < table.ColumnCount(); ++col)
        grid.SetCellFormat(0, col, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    grid.SetModified(false);
    grid.SetRedraw(redraw, true);
}

QByteArray TableGrid::Bytes(const CGridCtrl& grid)
{
    TableWriter writer;
    const int rows = grid.GetRowCount();
    const int columns = grid.GetColumnCount();
    for (int row = 0; row < rows; ++row) {
        for (int col = 0; col < columns; ++col)
            grid.VisitCellText(row, col, [&writer](auto text) { writer.AddCell(text); });
        writer.EndRow();
    }
    return writer.Bytes();
}
