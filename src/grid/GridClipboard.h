#pragma once

#include "grid/GridCellId.h"

#include <QString>

class CGridCtrl;
class GridCellStore;
class GridSelection;

// The grid's side of copy, cut and paste: the selected cells as clipboard
// text, the emptying of the selected cells, and text laid into the cells from
// a start cell.  Cut and paste change cells one by one through the grid, so
// that the owner may veto and revert each of them, and repaint once at the
// end.  The commands go through the grid's overridable steps.
class GridClipboard
{
public:
    GridClipboard(CGridCtrl& grid, GridSelection& selection, const GridCellStore& store);

    void OnCopy();
    void OnCut();
    void OnPaste();

    bool CopySelection(QString* text) const;
    void ClearSelection();
    bool PasteText(const GridCellId& start, const QString& text);

private:
    // Answers whether drawing was allowed before.
    bool SuspendDrawing();

    CGridCtrl& m_grid;
    GridSelection& m_selection;
    const GridCellStore& m_store;
};
