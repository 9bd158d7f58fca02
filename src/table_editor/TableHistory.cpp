#include "TableHistory.h"

#include "HistoryStep.h"
#include "grid/CGridCtrl.h"

TableHistory::TableHistory(CGridCtrl& grid, qint64 byteLimit)
    : grid(grid), byteLimit(byteLimit), stack(NewStack())
{
}

// A stack that goes away clears itself and reports that as a move through
// the history, which no longer exists for whoever listens.
TableHistory::~TableHistory()
{
    stack->disconnect(this);
}

std::unique_ptr<QUndoStack> TableHistory::NewStack()
{
    auto fresh = std::make_unique<QUndoStack>();
    // Qt drops the oldest steps beyond this count itself; the limit can
    // only be set while the stack is empty.
    fresh->setUndoLimit(StepLimit);
    connect(fresh.get(), &QUndoStack::indexChanged, this, &TableHistory::Changed);
    return fresh;
}

void TableHistory::BeginStep(const QString& name)
{
    if (depth++ > 0)
        return;
    openName = name;
    openMoment = GridMoment::Capture(grid);
    openChanges.clear();
}

void TableHistory::EndStep()
{
    if (depth == 0 || --depth > 0)
        return;
    textAtBegin.clear();
    if (openChanges.empty())
        return;
    auto step = std::make_shared<CellEditStep>(std::move(openChanges), openMoment, GridMoment::Capture(grid));
    openChanges = {};
    Push(openName, std::move(step));
}

void TableHistory::NoteBeginEdit(int row, int col)
{
    if (depth > 0) {
        textAtBegin.insert(CGridCtrl::CellKey(row, col), grid.GetCellText(row, col));
        return;
    }
    loneMoment = GridMoment::Capture(grid);
    loneCell = GridCellId(row, col);
    loneText = grid.GetCellText(row, col);
}

std::optional<QString> TableHistory::TakeTextAtBegin(int row, int col)
{
    if (const auto found = textAtBegin.constFind(CGridCtrl::CellKey(row, col)); found != textAtBegin.cend()) {
        QString text = *found;
        textAtBegin.erase(found);
        return text;
    }
    if (loneCell != GridCellId(row, col))
        return std::nullopt;
    loneCell = GridCellId();
    return std::move(loneText);
}

void TableHistory::NoteEndEdit(int row, int col, const QString& loneName)
{
    std::optional<QString> before = TakeTextAtBegin(row, col);
    // Every change the grid reports began with its begin-edit report.
    if (!before)
        return;
    CellEditStep::Change change{row, col, std::move(*before), grid.GetCellText(row, col)};
    if (depth > 0) {
        openChanges.push_back(std::move(change));
        return;
    }
    std::vector<CellEditStep::Change> changes;
    changes.push_back(std::move(change));
    Push(loneName, std::make_shared<CellEditStep>(std::move(changes), loneMoment, GridMoment::Capture(grid)));
}

void TableHistory::Record(const QString& name, std::shared_ptr<const TableStep> step)
{
    Push(name, std::move(step));
}

void TableHistory::Push(const QString& name, std::shared_ptr<const TableStep> step)
{
    stack->push(new HistoryStep(name, std::move(step), grid, silent));
    KeepWithinBytes();
}

void TableHistory::SetClean()
{
    stack->setClean();
    Q_EMIT Changed();
}

void TableHistory::ForgetSavedState()
{
    stack->resetClean();
    Q_EMIT Changed();
}

qint64 TableHistory::Bytes() const
{
    qint64 bytes = 0;
    for (int index = 0; index < stack->count(); ++index)
        bytes += static_cast<const HistoryStep*>(stack->command(index))->Step()->Bytes();
    return bytes;
}

void TableHistory::KeepWithinBytes()
{
    qint64 bytes = Bytes();
    int drop = 0;
    // The newest step always stays: a paste too large for the bound is
    // exactly the one the user wants to take back.
    while (bytes > byteLimit && drop < stack->count() - 1) {
        bytes -= static_cast<const HistoryStep*>(stack->command(drop))->Step()->Bytes();
        ++drop;
    }
    if (drop > 0)
        DropOldest(drop);
}

// QUndoStack cannot forget its oldest steps on demand, so the history
// moves the steps it keeps into a fresh stack.  The steps only share their
// data, and nothing is replayed while they are pushed and the clean state
// is placed again.
void TableHistory::DropOldest(int count)
{
    const int total = stack->count();
    const int clean = stack->cleanIndex();
    std::unique_ptr<QUndoStack> fresh = NewStack();
    const QSignalBlocker blocker(fresh.get());
    silent = true;
    for (int index = count; index < total; ++index) {
        const auto* kept = static_cast<const HistoryStep*>(stack->command(index));
        fresh->push(new HistoryStep(kept->text(), kept->Step(), grid, silent));
    }
    if (clean < count) {
        fresh->resetClean();
    } else if (clean > count) {
        fresh->setIndex(clean - count);
        fresh->setClean();
        fresh->setIndex(total - count);
    }
    silent = false;
    stack->disconnect(this);
    stack = std::move(fresh);
}
