#include "TableDiff.h"

#include "KeyMatcher.h"
#include "TableFile.h"
#include "TableKeys.h"

#include <QHash>

#include <algorithm>

namespace {

quint64 CellKey(int row, int col)
{
    return quint64(quint32(row)) << 32 | quint32(col);
}

} // namespace

TableDiff TableDiff::Compare(const TableFile& base, const TableFile& mod)
{
    TableDiff diff;
    diff.baseRowOf.assign(size_t(mod.RowCount()), -1);
    diff.rowState.assign(size_t(mod.RowCount()), Added);
    if (mod.RowCount() > 0) {
        diff.baseRowOf[0] = 0;
        diff.rowState[0] = Unchanged;
    }
    diff.MatchColumns(base, mod);
    if (diff.unrelated)
        return diff;
    diff.AddColumnItems(base.ColumnCount());
    diff.MatchRows(base, mod);
    return diff;
}

void TableDiff::MatchColumns(const TableFile& base, const TableFile& mod)
{
    QHash<QByteArray, int> baseColumns;
    const std::vector<QByteArray> baseKeys = TableKeys::Columns(base);
    for (int col = 0; col < int(baseKeys.size()); ++col)
        baseColumns.insert(baseKeys[size_t(col)], col);
    const std::vector<QByteArray> modKeys = TableKeys::Columns(mod);
    baseColumnOf.assign(modKeys.size(), -1);
    for (size_t col = 0; col < modKeys.size(); ++col) {
        baseColumnOf[col] = baseColumns.value(modKeys[col], -1);
        if (baseColumnOf[col] >= 0)
            matchedColumns.push_back(int(col));
    }
    unrelated = matchedColumns.empty() && base.ColumnCount() > 0 && mod.ColumnCount() > 0;
    sameColumns = base.ColumnCount() == mod.ColumnCount()
        && std::all_of(matchedColumns.cbegin(), matchedColumns.cend(), [this](int col) {
               return baseColumnOf[size_t(col)] == col;
           })
        && int(matchedColumns.size()) == mod.ColumnCount();
}

// A removed column stands before the MOD column matched to the next
// original column after it.
void TableDiff::AddColumnItems(int baseColumns)
{
    std::vector<int> modColumnOf(size_t(baseColumns), -1);
    for (int col : matchedColumns)
        modColumnOf[size_t(baseColumnOf[size_t(col)])] = col;
    std::vector<Item> columnItems;
    int following = int(baseColumnOf.size());
    for (int baseCol = baseColumns - 1; baseCol >= 0; --baseCol) {
        if (modColumnOf[size_t(baseCol)] >= 0)
            following = modColumnOf[size_t(baseCol)];
        else
            columnItems.push_back({Kind::ColumnRemoved, -1, following, -1, baseCol});
    }
    for (int col = 0; col < int(baseColumnOf.size()); ++col) {
        if (baseColumnOf[size_t(col)] < 0)
            columnItems.push_back({Kind::ColumnAdded, -1, col, -1, -1});
    }
    // An added column is a MOD column of its own, so only removed columns
    // share a place; among them the original's order holds.
    std::stable_sort(columnItems.begin(), columnItems.end(), [](const Item& first, const Item& second) {
        if (first.col != second.col)
            return first.col < second.col;
        return first.baseCol < second.baseCol;
    });
    for (const Item& item : columnItems)
        AddItem(item.kind, item.row, item.col, item.baseRow, item.baseCol);
}

void TableDiff::MatchRows(const TableFile& base, const TableFile& mod)
{
    TableKeys keys;
    const std::vector<int> baseKeys = keys.Rows(base);
    const std::vector<int> modKeys = keys.Rows(mod);
    KeyMatcher::Pairs pairs = KeyMatcher::Match(baseKeys, modKeys);
    // Past the last pair the rest of both tables stand as removed and added.
    pairs.emplace_back(int(baseKeys.size()), int(modKeys.size()));
    int nextBase = 0;
    int nextMod = 0;
    for (const auto& [baseIndex, modIndex] : pairs) {
        for (; nextBase < baseIndex; ++nextBase)
            AddItem(Kind::RowRemoved, nextMod + 1, -1, nextBase + 1, -1);
        for (; nextMod < modIndex; ++nextMod)
            AddItem(Kind::RowAdded, nextMod + 1, -1, -1, -1);
        if (modIndex < int(modKeys.size())) {
            baseRowOf[size_t(modIndex + 1)] = baseIndex + 1;
            CompareCells(base, mod, baseIndex + 1, modIndex + 1);
        }
        nextBase = baseIndex + 1;
        nextMod = modIndex + 1;
    }
}

void TableDiff::CompareCells(const TableFile& base, const TableFile& mod, int baseRow, int row)
{
    rowState[size_t(row)] = Unchanged;
    // Most rows are untouched: one comparison of the whole line settles them.
    if (sameColumns && base.Line(baseRow) == mod.Line(row))
        return;
    for (int col : matchedColumns) {
        if (base.Field(baseRow, baseColumnOf[size_t(col)]) != mod.Field(row, col)) {
            AddItem(Kind::Cell, row, col, baseRow, baseColumnOf[size_t(col)]);
            changedCells.push_back(CellKey(row, col));
            rowState[size_t(row)] = CellsChanged;
        }
    }
}

void TableDiff::AddItem(Kind kind, int row, int col, int baseRow, int baseCol)
{
    items.push_back({kind, row, col, baseRow, baseCol});
    switch (kind) {
    case Kind::Cell: ++counts.cells; break;
    case Kind::RowAdded: ++counts.rowsAdded; break;
    case Kind::RowRemoved: ++counts.rowsRemoved; break;
    case Kind::ColumnAdded: ++counts.columnsAdded; break;
    case Kind::ColumnRemoved: ++counts.columnsRemoved; break;
    }
}

TableDiff::Mark TableDiff::MarkAt(int row, int col) const
{
    if (row < 0 || col < 0 || size_t(row) >= rowState.size() || size_t(col) >= baseColumnOf.size())
        return Mark::None;
    if (rowState[size_t(row)] == Added)
        return Mark::AddedRow;
    if (baseColumnOf[size_t(col)] < 0)
        return Mark::AddedColumn;
    if (rowState[size_t(row)] == Unchanged)
        return Mark::None;
    return std::binary_search(changedCells.cbegin(), changedCells.cend(), CellKey(row, col)) ? Mark::Changed
                                                                                            : Mark::None;
}

int TableDiff::BaseRow(int row) const
{
    return row >= 0 && size_t(row) < baseRowOf.size() ? baseRowOf[size_t(row)] : -1;
}

int TableDiff::BaseColumn(int col) const
{
    return col >= 0 && size_t(col) < baseColumnOf.size() ? baseColumnOf[size_t(col)] : -1;
}
