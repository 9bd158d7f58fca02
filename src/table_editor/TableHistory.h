#pragma once

#include "CellEditStep.h"
#include "GridMoment.h"

#include <QHash>
#include <QObject>
#include <QUndoStack>

#include <memory>
#include <optional>
#include <vector>

class CGridCtrl;
class TableStep;

// The undo history of one open table.  Cell changes reported by the grid
// are gathered into the step that is open (BeginStep ... EndStep); one
// outside any step becomes a step of its own.  The history is bounded by
// steps and by bytes, dropping its oldest steps first, and its clean state
// is the table as last saved.
class TableHistory : public QObject
{
    Q_OBJECT

public:
    static constexpr int StepLimit = 1000;
    static constexpr qint64 ByteLimit = qint64(64) << 20;

    explicit TableHistory(CGridCtrl& grid, qint64 byteLimit = ByteLimit);
    ~TableHistory() override;

    // Steps nest: only the outermost one becomes a step, named by it.
    void BeginStep(const QString& name);
    void EndStep();
    // The grid's begin-edit and accepted end-edit reports of a cell.  An
    // end outside any step makes a step named loneName.
    void NoteBeginEdit(int row, int col);
    void NoteEndEdit(int row, int col, const QString& loneName);
    // A step the caller already carried out (rows added or removed).
    void Record(const QString& name, std::shared_ptr<const TableStep> step);

    bool CanUndo() const { return stack->canUndo(); }
    bool CanRedo() const { return stack->canRedo(); }
    QString UndoName() const { return stack->undoText(); }
    QString RedoName() const { return stack->redoText(); }
    void Undo() { stack->undo(); }
    void Redo() { stack->redo(); }
    bool IsClean() const { return stack->isClean(); }
    // The table now is the table on disk.
    void SetClean();
    // No state of the history is the table on disk (a table brought back
    // from a recovery record): only a save makes it clean.
    void ForgetSavedState();
    int StepCount() const { return stack->count(); }
    qint64 Bytes() const;

Q_SIGNALS:
    // The table moved through its history (a step, an undo, a redo, a save).
    void Changed();

private:
    std::optional<QString> TakeTextAtBegin(int row, int col);
    void Push(const QString& name, std::shared_ptr<const TableStep> step);
    void KeepWithinBytes();
    void DropOldest(int count);
    std::unique_ptr<QUndoStack> NewStack();

    CGridCtrl& grid;
    qint64 byteLimit;
    std::unique_ptr<QUndoStack> stack;
    // True while the stack is rebuilt: its steps replay nothing.
    bool silent = false;

    int depth = 0;
    QString openName;
    GridMoment openMoment;
    std::vector<CellEditStep::Change> openChanges;
    // The text of each cell when its edit began within the open step, until
    // the edit ends; forgotten with the step, since edits that changed
    // nothing never end.
    QHash<quint64, QString> textAtBegin;
    // The same for the one edit outside a step (typing in a cell), which
    // may stay open across a step (a paste into its editor).
    GridCellId loneCell;
    QString loneText;
    GridMoment loneMoment;
};
