#include "RebasePreviewTint.h"

#include "table_editor/ChangeMarks.h"

RebasePreviewTint::RebasePreviewTint(const ChangeMarks& marks, const std::vector<TableMerge::Conflict>& conflicts,
                                     const ChangeColours& colours)
    : marks(marks)
    , conflicts(conflicts)
    , colours(colours)
{
}

// A kept row or column is a conflict along its whole length.
const TableMerge::Conflict* RebasePreviewTint::ConflictAt(int row, int col) const
{
    for (const TableMerge::Conflict& conflict : conflicts) {
        const bool rowMatches = conflict.row == row || (conflict.row < 0 && conflict.col >= 0);
        const bool colMatches = conflict.col == col || (conflict.col < 0 && conflict.row >= 0);
        if (rowMatches && colMatches)
            return &conflict;
    }
    return nullptr;
}

QColor RebasePreviewTint::CellTint(int row, int col) const
{
    return ConflictAt(row, col) ? colours.conflict : marks.CellTint(row, col);
}

QString RebasePreviewTint::CellNote(int row, int col) const
{
    const TableMerge::Conflict* conflict = ConflictAt(row, col);
    if (!conflict || conflict->kind != TableMerge::ConflictKind::Cell)
        return marks.CellNote(row, col);
    return QStringLiteral("MOD \"%1\"   (game had \"%2\", new data has \"%3\")")
        .arg(QString::fromLatin1(conflict->ours), QString::fromLatin1(conflict->base),
             QString::fromLatin1(conflict->theirs));
}
