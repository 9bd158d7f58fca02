#pragma once

#include <QtGlobal>

#include <vector>

class TableFile;

// What a MOD's table changes against its original: the map of changes
// that the table view draws, the changes list shows and carvestone-cli
// diff prints.  Columns are matched by heading (the n-th column of a
// heading with the n-th of the same heading), rows by their first cell in
// order, as a line diff matches lines; matched cells compare byte for byte.
class TableDiff
{
public:
    enum class Kind { Cell, RowAdded, RowRemoved, ColumnAdded, ColumnRemoved };
    // One change.  row and col are the MOD table's, baseRow and baseCol the
    // original's, -1 where one does not apply.  A removed row or column has
    // no place in the MOD's table: its row (col) is where it would stand,
    // the MOD row (column) that follows it.
    struct Item
    {
        Kind kind;
        int row;
        int col;
        int baseRow;
        int baseCol;
    };
    struct Counts
    {
        int cells = 0;
        int rowsAdded = 0;
        int rowsRemoved = 0;
        int columnsAdded = 0;
        int columnsRemoved = 0;
        int Total() const { return cells + rowsAdded + rowsRemoved + columnsAdded + columnsRemoved; }
    };
    // What a cell of the MOD's table shows.
    enum class Mark : quint8 { None, Changed, AddedRow, AddedColumn };

    static TableDiff Compare(const TableFile& base, const TableFile& mod);

    // The column changes in column order, then the rows in the MOD table's
    // order, each row's cells in column order; a removed row or column
    // before the one that follows it.
    const std::vector<Item>& Items() const { return items; }
    const Counts& Count() const { return counts; }
    bool IsEmpty() const { return items.empty(); }
    // True when the two tables share no heading at all: nothing of one can
    // be found in the other.
    bool HeadingsUnrelated() const { return unrelated; }

    // Asked for every cell painted, so it answers without searching for
    // the rows and columns that hold no change.
    Mark MarkAt(int row, int col) const;
    // The original's row (column) of the MOD's row (column); -1 for an
    // added one or one outside the table.
    int BaseRow(int row) const;
    int BaseColumn(int col) const;

private:
    enum RowState : quint8 { Unchanged, CellsChanged, Added };

    void MatchColumns(const TableFile& base, const TableFile& mod);
    void AddColumnItems(int baseColumns);
    void MatchRows(const TableFile& base, const TableFile& mod);
    void CompareCells(const TableFile& base, const TableFile& mod, int baseRow, int row);
    void AddItem(Kind kind, int row, int col, int baseRow, int baseCol);

    std::vector<Item> items;
    Counts counts;
    bool unrelated = false;
    bool sameColumns = false;
    std::vector<int> baseRowOf;    // a MOD row's
    std::vector<int> baseColumnOf; // a MOD column's
    std::vector<quint8> rowState;  // a MOD row's
    std::vector<int> matchedColumns; // MOD columns with an original, in order
    std::vector<quint64> changedCells; // row << 32 | col, ascending
};
