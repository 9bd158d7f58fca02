#pragma once

#include "grid/GridCellId.h"

#include <QByteArray>
#include <QString>

#include <optional>

class CGridCtrl;

// What the rest of the program needs from the table view (the right pane,
// one tab and one grid per open table): the document asks whether an open
// table has unsaved changes and saves them; the project tree opens and
// closes tables; the main window and its command bar read the current
// table.  Table names are file names: the name part of a project entry.
class TableViewPart
{
public:
    virtual bool IsAnyTableModified() const = 0;
    // True when every modified table was written.
    virtual bool SaveAllModifiedTables() = 0;

    // Opens the table in a new leftmost tab, or selects its tab when it is
    // open already; false when nothing new was opened.
    virtual bool OpenTable(const QString& name) = 0;
    virtual bool IsTableOpen(const QString& name) const = 0;
    // Closes that table if it is open, asking first when it is modified;
    // false when the person kept it open (Cancel, or a failed save).
    virtual bool CloseTable(const QString& name) = 0;
    // Closes every table without a question (another project was opened).
    virtual void CloseAllTables() = 0;
    // The current table's file name; empty when no table is current.
    virtual QString GetCurrentFileName() const = 0;
    // The current grid's focus cell, (-1, -1) without a current table.
    virtual GridCellId GetFocusCell() const = 0;
    // The grid of the current table, or none.
    virtual CGridCtrl* GetCurrentGrid() const = 0;
    // Adds "*" to the current table's tab.
    virtual void MarkCurrentTableModified() = 0;
    // Rebuilds the grid font from the settings and applies it to every table.
    virtual void ApplyGridFont() = 0;
    // The cells changed until EndUndoStep form one step of the current
    // table's undo history, named by name ("Formula"); a view without a
    // history ignores both.
    virtual void BeginUndoStep(const QString& name) { Q_UNUSED(name) }
    virtual void EndUndoStep() {}

    // What the open table came from (the game's version of the file), so
    // the view can show what the MOD changed; an open table without one
    // shows nothing.
    virtual void SetTableOriginal(const QString& name, const QByteArray& bytes) { Q_UNUSED(name) Q_UNUSED(bytes) }
    // The bytes a save of the open table would write; none when the table
    // is not open.
    virtual std::optional<QByteArray> OpenTableBytes(const QString& name) const
    {
        Q_UNUSED(name)
        return std::nullopt;
    }
    // Opens the table if needed and puts the focus on the cell.
    virtual void GoToCell(const QString& name, int row, int col) { Q_UNUSED(name) Q_UNUSED(row) Q_UNUSED(col) }

protected:
    ~TableViewPart() = default;
};
