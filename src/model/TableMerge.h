#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

class TableFile;

// Carries a MOD's changes of a table over to new game data: a three-way
// merge of the original the MOD started from (base), the new game data's
// table (theirs) and the MOD's table (ours).  The result is the new table
// with the MOD's cell, row and column changes applied; rows and columns
// match as in TableDiff.  Where both sides changed one thing the MOD's
// version wins and the merge reports a conflict, so nothing is lost
// without a word.  Lines the merge leaves as the new data has them are
// copied byte for byte, their line ends included.
class TableMerge
{
public:
    enum class ConflictKind {
        Cell,          // both changed the cell, to different values: the MOD's value stays
        RowKept,       // the new data removed a row the MOD changed: the row stays
        RowDropped,    // the MOD removed a row the new data changed: the row goes
        ColumnKept,    // the new data removed a column the MOD changed: the column stays
        ColumnDropped, // the MOD removed a column the new data changed: the column goes
    };
    struct Conflict
    {
        ConflictKind kind;
        int row = -1; // in the result; -1 for a row that is not there
        int col = -1; // in the result; -1 for a column that is not there
        QString rowName;
        QString columnName;
        QByteArray base;   // the cell as the MOD's original had it
        QByteArray theirs; // ... as the new data has it
        QByteArray ours;   // ... as the MOD has it
    };
    struct Result
    {
        QByteArray bytes;
        std::vector<Conflict> conflicts;
    };

    static Result Merge(const TableFile& base, const TableFile& theirs, const TableFile& ours);

    // "cell", "row-kept", "row-dropped", "col-kept", "col-dropped".
    static QString KindName(ConflictKind kind);
};
