#include "ChangeCommands.h"

#include "ChangeMarks.h"
#include "TableEntry.h"
#include "grid/CGridCtrl.h"
#include "ui/CommandIds.h"

bool ChangeCommands::Handles(int id)
{
    return id == CommandId::ShowChanges || id == CommandId::NextChange || id == CommandId::PreviousChange
        || id == CommandId::RevertToGameValue;
}

void ChangeCommands::Update(int id, const TableEntry* entry, CommandState& state)
{
    const ChangeMarks* marks = entry ? entry->marks.get() : nullptr;
    switch (id) {
    case CommandId::ShowChanges:
        state.whyDisabled = !marks           ? QStringLiteral("no table is open")
            : !marks->HasOriginal()          ? QStringLiteral("the game's version of this table is not known")
                                             : QString();
        state.checked = marks && marks->IsShown();
        break;
    // A table without an original counts no changes.
    case CommandId::NextChange:
    case CommandId::PreviousChange:
        state.whyDisabled = marks && marks->Count() > 0 ? QString() : QStringLiteral("the table holds no changes");
        break;
    case CommandId::RevertToGameValue:
        state.whyDisabled = marks && SelectionHoldsAChange(*entry) ? QString()
                                                                   : QStringLiteral("no changed cell is selected");
        break;
    default: break;
    }
    state.enabled = state.whyDisabled.isEmpty();
}

void ChangeCommands::Run(int id, TableEntry& entry)
{
    switch (id) {
    case CommandId::ShowChanges:
        if (entry.marks->HasOriginal())
            entry.marks->SetShown(!entry.marks->IsShown());
        break;
    case CommandId::NextChange: GoToNext(entry, true); break;
    case CommandId::PreviousChange: GoToNext(entry, false); break;
    case CommandId::RevertToGameValue: Revert(entry); break;
    default: break;
    }
}

void ChangeCommands::GoToNext(TableEntry& entry, bool forward)
{
    CGridCtrl& grid = *entry.grid;
    // What is still typed in the editor is a change the next stop must know.
    grid.EndEditing();
    const GridCellId next = entry.marks->NextChange(grid.GetFocusCell(), forward);
    if (!grid.IsValid(next))
        return;
    grid.SetSelectedRange(next.row, next.col, next.row, next.col);
    grid.SetFocusCell(next);
    grid.EnsureVisible(next);
    grid.Refresh();
}

bool ChangeCommands::SelectionHoldsAChange(const TableEntry& entry)
{
    const CGridCtrl& grid = *entry.grid;
    for (const TableDiff::Item& item : entry.marks->Diff().Items()) {
        if (item.kind == TableDiff::Kind::Cell && grid.IsCellSelected(item.row, item.col))
            return true;
    }
    return false;
}

void ChangeCommands::Revert(TableEntry& entry)
{
    CGridCtrl& grid = *entry.grid;
    grid.EndEditing();
    // The values are read before any cell changes, then put back as one step.
    std::vector<std::pair<GridCellId, QString>> values;
    for (const TableDiff::Item& item : entry.marks->Diff().Items()) {
        if (item.kind == TableDiff::Kind::Cell && grid.IsCellSelected(item.row, item.col))
            values.emplace_back(GridCellId(item.row, item.col), *entry.marks->GameValue(item.row, item.col));
    }
    entry.history->BeginStep(QStringLiteral("Revert to Game Value"));
    for (const auto& [cell, value] : values)
        grid.ModifyCellText(cell.row, cell.col, value);
    entry.history->EndStep();
}
