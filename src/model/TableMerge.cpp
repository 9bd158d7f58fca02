#include "TableMerge.h"

#include "KeyMatcher.h"
#include "TableFile.h"
#include "TableKeys.h"
#include "TableNames.h"

#include <QHash>

#include <deque>
#include <map>

namespace {

// One row or column of the result and where it comes from in each version
// (-1 where that version has none).
struct Source
{
    int base = -1;
    int theirs = -1;
    int ours = -1;
};

// Rows of the original matched with rows of another version, both ways;
// the heading rows match each other.
struct RowMatch
{
    std::vector<int> toOther;
    std::vector<int> toBase;
};

RowMatch MatchRows(const std::vector<int>& baseKeys, const std::vector<int>& otherKeys)
{
    RowMatch match{std::vector<int>(baseKeys.size() + 1, -1), std::vector<int>(otherKeys.size() + 1, -1)};
    match.toOther[0] = 0;
    match.toBase[0] = 0;
    for (const auto& [baseIndex, otherIndex] : KeyMatcher::Match(baseKeys, otherKeys)) {
        match.toOther[size_t(baseIndex + 1)] = otherIndex + 1;
        match.toBase[size_t(otherIndex + 1)] = baseIndex + 1;
    }
    return match;
}

// For each column of `of`, the column of `in` with the same key, or -1.
std::vector<int> MatchColumns(const std::vector<QByteArray>& of, const std::vector<QByteArray>& in)
{
    QHash<QByteArray, int> index;
    for (int col = 0; col < int(in.size()); ++col)
        index.insert(in[size_t(col)], col);
    std::vector<int> match;
    match.reserve(of.size());
    for (const QByteArray& key : of)
        match.push_back(index.value(key, -1));
    return match;
}

QByteArrayView LineEnd(QByteArrayView line)
{
    if (line.endsWith("\r\n"))
        return line.last(2);
    if (line.endsWith('\n') || line.endsWith('\r'))
        return line.last(1);
    return {};
}

// The merge of one table, step by step: columns, rows, then the bytes.
class Merger
{
public:
    Merger(const TableFile& base, const TableFile& theirs, const TableFile& ours);
    TableMerge::Result Run();

private:
    bool RowChanged(const TableFile& other, int otherRow, int baseRow, const std::vector<int>& baseColumnOf) const;
    bool ColumnChanged(const TableFile& other, int otherCol, int baseCol, const RowMatch& rows) const;
    void PlaceColumns();
    void PlaceRows();
    std::map<int, std::vector<int>> OursRowGroups();
    void PairAddedRows();
    void AddOursRows(const std::vector<int>& group);
    QByteArray Cell(const Source& row, const Source& col, int resultRow, int resultCol);
    void Write();
    void AppendLine(const QByteArray& content, QByteArrayView end);
    void NameConflicts();
    void AddConflict(TableMerge::ConflictKind kind, int row, int col, int theirsRow = -1, int theirsCol = -1);

    const TableFile& base;
    const TableFile& theirs;
    const TableFile& ours;
    RowMatch baseOurs;
    RowMatch baseTheirs;
    std::vector<int> baseColumnOfTheirs;
    std::vector<int> baseColumnOfOurs;
    std::vector<int> oursColumnOfTheirs;
    std::vector<int> theirsColumnOfOurs;
    std::vector<int> rowKeysOfTheirs;
    std::vector<int> rowKeysOfOurs;
    std::vector<int> oursPairedWithTheirs; // an added row of theirs with the MOD's added row of its key
    std::vector<Source> columns;
    std::vector<Source> rows;
    QByteArray out;
    QByteArrayView defaultEnd;
    std::vector<TableMerge::Conflict> conflicts;
    // Where a conflict about a dropped row or column names it in theirs.
    std::vector<std::pair<int, int>> droppedAt;
};

Merger::Merger(const TableFile& base, const TableFile& theirs, const TableFile& ours)
    : base(base)
    , theirs(theirs)
    , ours(ours)
{
    TableKeys keys;
    const std::vector<int> baseRows = keys.Rows(base);
    rowKeysOfTheirs = keys.Rows(theirs);
    rowKeysOfOurs = keys.Rows(ours);
    baseOurs = MatchRows(baseRows, rowKeysOfOurs);
    baseTheirs = MatchRows(baseRows, rowKeysOfTheirs);
    const std::vector<QByteArray> baseColumns = TableKeys::Columns(base);
    const std::vector<QByteArray> theirsColumns = TableKeys::Columns(theirs);
    const std::vector<QByteArray> oursColumns = TableKeys::Columns(ours);
    baseColumnOfTheirs = MatchColumns(theirsColumns, baseColumns);
    baseColumnOfOurs = MatchColumns(oursColumns, baseColumns);
    oursColumnOfTheirs = MatchColumns(theirsColumns, oursColumns);
    theirsColumnOfOurs = MatchColumns(oursColumns, theirsColumns);
    const QByteArrayView header = theirs.RowCount() > 0 ? theirs.Line(0) : QByteArrayView();
    defaultEnd = LineEnd(header).isEmpty() ? QByteArrayView("\r\n") : LineEnd(header);
}

TableMerge::Result Merger::Run()
{
    PlaceColumns();
    PlaceRows();
    Write();
    NameConflicts();
    return {std::move(out), std::move(conflicts)};
}

bool Merger::RowChanged(const TableFile& other, int otherRow, int baseRow, const std::vector<int>& baseColumnOf) const
{
    for (int col = 0; col < int(baseColumnOf.size()); ++col) {
        const int baseCol = baseColumnOf[size_t(col)];
        if (baseCol >= 0 && other.Field(otherRow, col) != base.Field(baseRow, baseCol))
            return true;
    }
    return false;
}

bool Merger::ColumnChanged(const TableFile& other, int otherCol, int baseCol, const RowMatch& match) const
{
    for (int row = 1; row < other.RowCount(); ++row) {
        const int baseRow = match.toBase[size_t(row)];
        if (baseRow > 0 && other.Field(row, otherCol) != base.Field(baseRow, baseCol))
            return true;
    }
    return false;
}

// The new data's columns in its order, less those the MOD removed; the
// MOD's own columns (and those it changed that the new data removed)
// after the column that comes before them in the MOD's table.
void Merger::PlaceColumns()
{
    std::map<int, std::vector<int>> oursAfter;
    int anchor = -1;
    for (int col = 0; col < int(theirsColumnOfOurs.size()); ++col) {
        if (theirsColumnOfOurs[size_t(col)] >= 0) {
            anchor = theirsColumnOfOurs[size_t(col)];
            continue;
        }
        const int baseCol = baseColumnOfOurs[size_t(col)];
        if (baseCol < 0 || ColumnChanged(ours, col, baseCol, baseOurs))
            oursAfter[anchor].push_back(col);
    }
    const auto addOurs = [this](const std::vector<int>& group) {
        for (int col : group) {
            const int baseCol = baseColumnOfOurs[size_t(col)];
            columns.push_back({baseCol, -1, col});
            if (baseCol >= 0)
                AddConflict(TableMerge::ConflictKind::ColumnKept, -1, int(columns.size()) - 1);
        }
    };
    addOurs(oursAfter[-1]);
    for (int col = 0; col < int(oursColumnOfTheirs.size()); ++col) {
        const int baseCol = baseColumnOfTheirs[size_t(col)];
        const int oursCol = oursColumnOfTheirs[size_t(col)];
        if (oursCol < 0 && baseCol >= 0) {
            if (ColumnChanged(theirs, col, baseCol, baseTheirs))
                AddConflict(TableMerge::ConflictKind::ColumnDropped, -1, -1, -1, col);
            continue;
        }
        columns.push_back({baseCol, col, oursCol});
        addOurs(oursAfter[col]);
    }
}

void Merger::PairAddedRows()
{
    std::map<int, std::deque<int>> theirsAdded;
    for (int row = 1; row < theirs.RowCount(); ++row) {
        if (baseTheirs.toBase[size_t(row)] < 0)
            theirsAdded[rowKeysOfTheirs[size_t(row - 1)]].push_back(row);
    }
    oursPairedWithTheirs.assign(size_t(theirs.RowCount()), -1);
    for (int row = 1; row < ours.RowCount(); ++row) {
        if (baseOurs.toBase[size_t(row)] >= 0)
            continue;
        std::deque<int>& same = theirsAdded[rowKeysOfOurs[size_t(row - 1)]];
        if (!same.empty()) {
            oursPairedWithTheirs[size_t(same.front())] = row;
            same.pop_front();
        }
    }
}

// The MOD's rows that do not come with a row of the new data, each after
// the last row before it that both keep (the key is that row in theirs).
std::map<int, std::vector<int>> Merger::OursRowGroups()
{
    std::vector<bool> paired(size_t(ours.RowCount()), false);
    for (int row : oursPairedWithTheirs) {
        if (row > 0)
            paired[size_t(row)] = true;
    }
    std::map<int, std::vector<int>> groups;
    int anchor = 0;
    for (int row = 1; row < ours.RowCount(); ++row) {
        const int baseRow = baseOurs.toBase[size_t(row)];
        const int theirsRow = baseRow > 0 ? baseTheirs.toOther[size_t(baseRow)] : -1;
        if (theirsRow > 0)
            anchor = theirsRow;
        else if (baseRow < 0 ? !paired[size_t(row)] : RowChanged(ours, row, baseRow, baseColumnOfOurs))
            groups[anchor].push_back(row);
    }
    return groups;
}

void Merger::AddOursRows(const std::vector<int>& group)
{
    for (int row : group) {
        const int baseRow = baseOurs.toBase[size_t(row)];
        rows.push_back({baseRow, -1, row});
        if (baseRow > 0)
            AddConflict(TableMerge::ConflictKind::RowKept, int(rows.size()) - 1, -1);
    }
}

// The new data's rows in its order, less those the MOD removed; the MOD's
// rows of a place after the new data's rows added there.
void Merger::PlaceRows()
{
    PairAddedRows();
    std::map<int, std::vector<int>> groups = OursRowGroups();
    rows.push_back({0, 0, 0});
    std::vector<int> pending = groups[0];
    for (int row = 1; row < theirs.RowCount(); ++row) {
        const int baseRow = baseTheirs.toBase[size_t(row)];
        if (baseRow < 0) {
            rows.push_back({-1, row, oursPairedWithTheirs[size_t(row)]});
            continue;
        }
        AddOursRows(pending);
        pending.clear();
        const int oursRow = baseOurs.toOther[size_t(baseRow)];
        if (oursRow < 0) {
            if (RowChanged(theirs, row, baseRow, baseColumnOfTheirs))
                AddConflict(TableMerge::ConflictKind::RowDropped, -1, -1, row, -1);
            continue;
        }
        rows.push_back({baseRow, row, oursRow});
        pending = groups[row];
    }
    AddOursRows(pending);
}

QByteArray Merger::Cell(const Source& row, const Source& col, int resultRow, int resultCol)
{
    const bool hasTheirs = row.theirs >= 0 && col.theirs >= 0;
    const bool hasOurs = row.ours >= 0 && col.ours >= 0;
    const QByteArrayView theirsCell = hasTheirs ? theirs.Field(row.theirs, col.theirs) : QByteArrayView();
    const QByteArrayView oursCell = hasOurs ? ours.Field(row.ours, col.ours) : QByteArrayView();
    if (!hasOurs || (hasTheirs && theirsCell == oursCell))
        return theirsCell.toByteArray();
    if (!hasTheirs)
        return oursCell.toByteArray();
    const bool hasBase = row.base >= 0 && col.base >= 0;
    const QByteArrayView baseCell = hasBase ? base.Field(row.base, col.base) : QByteArrayView();
    if (hasBase && oursCell == baseCell)
        return theirsCell.toByteArray();
    if (!hasBase || theirsCell != baseCell) {
        AddConflict(TableMerge::ConflictKind::Cell, resultRow, resultCol);
        conflicts.back().base = baseCell.toByteArray();
        conflicts.back().theirs = theirsCell.toByteArray();
        conflicts.back().ours = oursCell.toByteArray();
    }
    return oursCell.toByteArray();
}

void Merger::AppendLine(const QByteArray& content, QByteArrayView end)
{
    // A copied last line may have had no end; a line after it needs one.
    if (!out.isEmpty() && !out.endsWith('\n') && !out.endsWith('\r'))
        out.append(defaultEnd);
    out.append(content);
    out.append(end);
}

void Merger::Write()
{
    bool sameColumns = int(columns.size()) == theirs.ColumnCount();
    for (int col = 0; sameColumns && col < int(columns.size()); ++col)
        sameColumns = columns[size_t(col)].theirs == col;
    for (int resultRow = 0; resultRow < int(rows.size()); ++resultRow) {
        const Source& row = rows[size_t(resultRow)];
        QList<QByteArray> cells;
        bool asTheirs = sameColumns && row.theirs >= 0;
        for (int resultCol = 0; resultCol < int(columns.size()); ++resultCol) {
            const Source& col = columns[size_t(resultCol)];
            cells.append(resultRow == 0 ? (col.theirs >= 0 ? theirs.Field(0, col.theirs) : ours.Field(0, col.ours))
                                              .toByteArray()
                                        : Cell(row, col, resultRow, resultCol));
            asTheirs = asTheirs && cells.back() == theirs.Field(row.theirs, resultCol);
        }
        if (asTheirs) {
            AppendLine({}, theirs.Line(row.theirs));
            continue;
        }
        AppendLine(cells.join('\t'), row.theirs >= 0 ? LineEnd(theirs.Line(row.theirs)) : defaultEnd);
    }
}

void Merger::AddConflict(TableMerge::ConflictKind kind, int row, int col, int theirsRow, int theirsCol)
{
    conflicts.push_back({kind, row, col, {}, {}, {}, {}, {}});
    droppedAt.emplace_back(theirsRow, theirsCol);
}

void Merger::NameConflicts()
{
    const TableFile result = TableFile::Parse(out);
    const QStringList rowNames = TableNames::RowNames(result);
    const QStringList columnNames = TableNames::ColumnNames(result);
    const QStringList theirsRowNames = TableNames::RowNames(theirs);
    const QStringList theirsColumnNames = TableNames::ColumnNames(theirs);
    for (size_t index = 0; index < conflicts.size(); ++index) {
        TableMerge::Conflict& conflict = conflicts[index];
        const auto [theirsRow, theirsCol] = droppedAt[index];
        conflict.rowName = conflict.row > 0 ? rowNames.value(conflict.row) : theirsRowNames.value(theirsRow);
        conflict.columnName = conflict.col >= 0 ? columnNames.value(conflict.col) : theirsColumnNames.value(theirsCol);
    }
}

} // namespace

TableMerge::Result TableMerge::Merge(const TableFile& base, const TableFile& theirs, const TableFile& ours)
{
    return Merger(base, theirs, ours).Run();
}

QString TableMerge::KindName(ConflictKind kind)
{
    switch (kind) {
    case ConflictKind::Cell: return QStringLiteral("cell");
    case ConflictKind::RowKept: return QStringLiteral("row-kept");
    case ConflictKind::RowDropped: return QStringLiteral("row-dropped");
    case ConflictKind::ColumnKept: return QStringLiteral("col-kept");
    case ConflictKind::ColumnDropped: return QStringLiteral("col-dropped");
    }
    return {};
}
