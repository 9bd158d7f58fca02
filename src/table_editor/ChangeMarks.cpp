#include "ChangeMarks.h"

#include "TableGrid.h"
#include "grid/CGridCtrl.h"

#include <algorithm>

ChangeMarks::~ChangeMarks()
{
    if (grid.GetCellTint() == this)
        grid.SetCellTint(nullptr);
}

void ChangeMarks::SetOriginal(const QByteArray& bytes)
{
    TableFile parsed = TableFile::Parse(bytes);
    // An original that is no table says nothing of what changed in one:
    // the table shows as if it had none.
    if (!parsed.IsTabSeparated())
        return;
    original = std::move(parsed);
    Refresh();
    SetShown(true);
}

void ChangeMarks::SetShown(bool show)
{
    shown = show;
    colours = ChangeColours::For(grid.palette());
    grid.SetCellTint(IsShown() ? this : nullptr);
    grid.viewport()->update();
}

void ChangeMarks::Refresh()
{
    if (!original)
        return;
    diff = TableDiff::Compare(*original, TableFile::Parse(TableGrid::Bytes(grid)));
    // With no heading in common every cell would be "added": nothing can
    // be told, so nothing is marked (until a heading is named back).
    comparable = !diff.HeadingsUnrelated();
    if (!comparable)
        diff = TableDiff();
    PlaceStops();
    grid.SetCellTint(IsShown() ? this : nullptr);
    grid.viewport()->update();
}

// A row or column change stops on its first cell that can hold the focus
// (headings cannot); a removed one where it would stand.
void ChangeMarks::PlaceStops()
{
    stops.clear();
    const int lastRow = grid.GetRowCount() - 1;
    const int lastCol = grid.GetColumnCount() - 1;
    if (lastRow < 1 || lastCol < 1)
        return;
    for (const TableDiff::Item& item : diff.Items()) {
        const int row = item.row < 0 ? 1 : std::clamp(item.row, 1, lastRow);
        const int col = item.col < 0 ? 1 : std::clamp(item.col, 1, lastCol);
        stops.emplace_back(row, col);
    }
    std::sort(stops.begin(), stops.end());
    stops.erase(std::unique(stops.begin(), stops.end()), stops.end());
}

GridCellId ChangeMarks::NextChange(const GridCellId& from, bool forward) const
{
    if (stops.empty())
        return GridCellId(-1, -1);
    if (forward) {
        const auto next = std::upper_bound(stops.cbegin(), stops.cend(), from);
        return next == stops.cend() ? stops.front() : *next;
    }
    const auto next = std::lower_bound(stops.cbegin(), stops.cend(), from);
    return next == stops.cbegin() ? stops.back() : *std::prev(next);
}

std::optional<QString> ChangeMarks::GameValue(int row, int col) const
{
    if (!original || diff.MarkAt(row, col) != TableDiff::Mark::Changed)
        return std::nullopt;
    return original->Cell(diff.BaseRow(row), diff.BaseColumn(col));
}

QColor ChangeMarks::CellTint(int row, int col) const
{
    switch (diff.MarkAt(row, col)) {
    case TableDiff::Mark::Changed: return colours.changedCell;
    case TableDiff::Mark::AddedRow: return colours.addedRow;
    case TableDiff::Mark::AddedColumn: return colours.addedColumn;
    case TableDiff::Mark::None: break;
    }
    return {};
}

QString ChangeMarks::CellNote(int row, int col) const
{
    const std::optional<QString> game = GameValue(row, col);
    if (!game)
        return {};
    return grid.GetCellText(row, col)
        + (game->isEmpty() ? QStringLiteral("   (empty in the game)") : QStringLiteral("   (game: %1)").arg(*game));
}
