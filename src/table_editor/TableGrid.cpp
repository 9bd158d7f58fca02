#include "TableGrid.h"

#include "grid/CGridCtrl.h"
#include "model/TableFile.h"
#include "model/TableWriter.h"

void TableGrid::Fill(CGridCtrl& grid, const TableFile& table)
{
    const bool redraw = grid.GetRedraw();
    grid.SetRedraw(false);
    grid.DeleteAllItems();
    grid.SetRowCount(table.RowCount());
    grid.SetColumnCount(table.ColumnCount());
    for (int row = 0; row < table.RowCount(); ++row) {
        for (int col = 0; col < table.FieldCount(row); ++col) {
            const QByteArrayView field = table.Field(row, col);
            if (!field.isEmpty())
                grid.SetCellText(row, col, QString::fromLatin1(field));
        }
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
            writer.AddCell(grid.GetCellText(row, col));
        writer.EndRow();
    }
    return writer.Bytes();
}
