#pragma once

#include "grid/GridCellId.h"
#include "grid/GridCellRange.h"
#include "grid/GridCellStore.h"

#include <QString>

class CGridCtrl;
class GridGeometry;

// Changes of the grid's shape: the row and column counts, the fixed counts,
// and rows and columns inserted or deleted.  Each change keeps the rest of
// the grid in step with it: the focus follows its cell or goes with it, and
// the scroll bars fit the new content.  New cells take the state and format
// of their area.
class GridStructure
{
public:
    GridStructure(CGridCtrl& grid, GridCellStore& store, GridGeometry& geometry);

    bool SetCount(bool rows, int count);
    bool SetFixedCount(bool rows, int fixedCount);
    int InsertRow(const QString& heading, int row);
    int InsertColumn(const QString& heading, quint32 format, int col);
    bool DeleteRow(int row);
    bool DeleteColumn(int col);
    void DeleteAll();

private:
    // Cells about to leave the storage lose their state first, which takes
    // them out of the selection.
    void ClearCellStates(const GridCellRange& cells);
    bool Resize(bool rows, int count);
    GridCellId BeginInsert();
    void FinishInsert(bool rows, int index, GridCellId focus);
    void FinishDelete(bool rows, int index, GridCellId focus);
    void ReportOutOfMemory();

    CGridCtrl& m_grid;
    GridCellStore& m_store;
    GridGeometry& m_geometry;
};
