#pragma once

#include "grid/GridCellId.h"
#include "grid/GridCellTint.h"
#include "model/TableDiff.h"
#include "model/TableFile.h"
#include "ui/ChangeColours.h"

#include <QByteArray>

#include <optional>
#include <vector>

class CGridCtrl;

// What an open table changes against its original, laid on its grid: the
// tints of changed cells, added rows and added columns, the game's value in
// a changed cell's title tip, the way from change to change and the values
// a revert puts back.  The map is made anew from the grid's cells when the
// table moves through its history; no cell holds any of it.
class ChangeMarks : public GridCellTint
{
public:
    explicit ChangeMarks(CGridCtrl& grid) : grid(grid) {}
    ~ChangeMarks();
    ChangeMarks(const ChangeMarks&) = delete;
    ChangeMarks& operator=(const ChangeMarks&) = delete;

    // The bytes the table came with; the marks are shown from then on.
    void SetOriginal(const QByteArray& bytes);
    bool HasOriginal() const { return original.has_value(); }
    // Hidden marks leave the grid as it paints without them.
    void SetShown(bool shown);
    bool IsShown() const { return shown && comparable && original.has_value(); }
    // Compares the grid's cells with the original again.
    void Refresh();

    const TableDiff& Diff() const { return diff; }
    // How many changes the table holds; 0 without an original.
    int Count() const { return original ? diff.Count().Total() : 0; }
    // The change after (before) the cell in reading order, round past the
    // end; (-1, -1) when the table has none.
    GridCellId NextChange(const GridCellId& from, bool forward) const;
    // The original's value of a changed cell; none for any other cell.
    std::optional<QString> GameValue(int row, int col) const;

    QColor CellTint(int row, int col) const override;
    QString CellNote(int row, int col) const override;

private:
    void PlaceStops();

    CGridCtrl& grid;
    std::optional<TableFile> original;
    TableDiff diff;
    ChangeColours colours;
    bool shown = true;
    bool comparable = true; // the table and its original share a heading
    // Where F8 stops, in reading order: one cell a change.
    std::vector<GridCellId> stops;
};
