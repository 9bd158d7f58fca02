#pragma once

#include <QUndoCommand>

#include <memory>

class CGridCtrl;
class TableStep;

// A table step as the undo stack holds it.  The step is recorded after the
// user's action already changed the grid, so the stack's first redo (on
// push) does nothing; while the history rebuilds itself nothing runs at all.
class HistoryStep : public QUndoCommand
{
public:
    HistoryStep(const QString& name, std::shared_ptr<const TableStep> step, CGridCtrl& grid, const bool& silent);

    void undo() override;
    void redo() override;
    const std::shared_ptr<const TableStep>& Step() const { return step; }

private:
    std::shared_ptr<const TableStep> step;
    CGridCtrl& grid;
    const bool& silent;
    bool applied = true;
};
