#pragma once

#include <QString>

class CGridCtrl;
class TableViewPart;

// Applies the command bar's formula to the cells selected in the current
// table.  Each change goes through the grid as an edit would, so the table
// view hears of every changed cell and may refuse it.
class FormulaApplier
{
public:
    static void Apply(TableViewPart& view, const QString& formulaText);

private:
    static void ApplyToSelection(CGridCtrl& grid, const QString& formulaText);
};
