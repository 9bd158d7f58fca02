#include "HistoryStep.h"

#include "TableStep.h"

HistoryStep::HistoryStep(const QString& name, std::shared_ptr<const TableStep> step, CGridCtrl& grid,
                         const bool& silent)
    : QUndoCommand(name), step(std::move(step)), grid(grid), silent(silent)
{
}

void HistoryStep::undo()
{
    if (!silent)
        step->Undo(grid);
    applied = false;
}

void HistoryStep::redo()
{
    if (!applied && !silent)
        step->Redo(grid);
    applied = true;
}
