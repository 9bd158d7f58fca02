#include "FormulaApplier.h"

#include "grid/CGridCtrl.h"
#include "model/Formula.h"
#include "ui/TableViewPart.h"

void FormulaApplier::Apply(TableViewPart& view, const Formula& formula)
{
    CGridCtrl* grid = view.GetCurrentGrid();
    if (view.GetCurrentFileName().isEmpty() || !grid)
        return;
    const GridCellRange range = grid->GetSelectedRange();
    if (!range.IsValid())
        return;
    // One repaint after the walk instead of one per changed cell.
    const bool allowDraw = grid->GetRedraw();
    grid->SetRedraw(false);
    view.BeginUndoStep(QStringLiteral("Formula"));
    ApplyToSelection(*grid, formula);
    view.EndUndoStep();
    // Marked even when no cell changed, like every other editing command of
    // the table: the mark follows the command, not the cells it reached.
    view.MarkCurrentTableModified();
    grid->SetRedraw(allowDraw);
}

void FormulaApplier::ApplyToSelection(CGridCtrl& grid, const Formula& formula)
{
    const GridCellRange range = grid.GetSelectedRange();
    // The range is only the smallest rectangle around the selection: cells
    // inside it that a Ctrl+click left out stay as they are, and so do cells
    // the grid keeps from editing.
    for (int row = range.minRow; row <= range.maxRow; ++row) {
        for (int col = range.minCol; col <= range.maxCol; ++col) {
            if (!grid.IsCellSelected(row, col) || !grid.IsCellEditable(row, col))
                continue;
            if (const std::optional<QString> text = formula.Apply(grid.GetCellText(row, col)))
                grid.ModifyCellText(row, col, *text);
        }
    }
}
