#pragma once

class CGridCtrl;
class Formula;
class TableViewPart;

// Applies the command bar's formula to the cells selected in the current
// table.  Each change goes through the grid as an edit would, so the table
// view hears of every changed cell and may refuse it.
class FormulaApplier
{
public:
    static void Apply(TableViewPart& view, const Formula& formula);

private:
    static void ApplyToSelection(CGridCtrl& grid, const Formula& formula);
};
