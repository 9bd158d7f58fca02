#pragma once

#include "grid/GridCellTint.h"
#include "model/TableMerge.h"
#include "ui/ChangeColours.h"

#include <vector>

class ChangeMarks;

// The tints of a merged table in the rebase preview: what the MOD changes
// on top of the new game data (its ChangeMarks), and over them the
// conflicts, whose title tip gives both sides.
class RebasePreviewTint : public GridCellTint
{
public:
    RebasePreviewTint(const ChangeMarks& marks, const std::vector<TableMerge::Conflict>& conflicts,
                      const ChangeColours& colours);

    QColor CellTint(int row, int col) const override;
    QString CellNote(int row, int col) const override;

private:
    const TableMerge::Conflict* ConflictAt(int row, int col) const;

    const ChangeMarks& marks;
    const std::vector<TableMerge::Conflict>& conflicts;
    ChangeColours colours;
};
