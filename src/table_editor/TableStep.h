#pragma once

#include "GridMoment.h"

#include <QString>

class CGridCtrl;

// One change a user made to a table, able to put the table back as it was
// before (Undo) and to make the change again (Redo).  Both end with the
// user's selection and focus of that moment and the changed cell in view.
class TableStep
{
public:
    TableStep(const GridMoment& before, const GridMoment& after) : before(before), after(after) {}
    virtual ~TableStep() = default;
    TableStep(const TableStep&) = delete;
    TableStep& operator=(const TableStep&) = delete;

    void Undo(CGridCtrl& grid) const;
    void Redo(CGridCtrl& grid) const;
    // What the step keeps in memory, counted towards the history's bound.
    virtual qint64 Bytes() const = 0;
    // The heap a text takes: its characters, its header and the
    // allocator's share, so many short cells are not counted as free.
    static qint64 TextBytes(const QString& text);

protected:
    virtual void PutBack(CGridCtrl& grid) const = 0;
    virtual void DoAgain(CGridCtrl& grid) const = 0;
    // The cell the user is shown after Undo or Redo.
    virtual GridCellId ChangedCell() const = 0;

private:
    void Finish(CGridCtrl& grid, bool allowDraw, const GridMoment& moment) const;

    GridMoment before;
    GridMoment after;
};
