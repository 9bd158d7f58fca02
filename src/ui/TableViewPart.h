#pragma once

#include "grid/GridCellId.h"

#include <QByteArray>
#include <QList>
#include <QString>

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
    // Opens the table if needed and puts the focus on the cell.
    virtual void GoToCell(const QString& name, int row, int col) { Q_UNUSED(name) Q_UNUSED(row) Q_UNUSED(col) }

    // An open table as the recovery record keeps it.  revision changes with
    // every change of the table's content or modified state, so a record
    // can reuse the content it took at an unchanged revision.
    struct TableState
    {
        QString name;
        bool modified = false;
        quint64 revision = 0;
        qint64 savedSize = -1; // its file when last read or saved; -1: none yet
        qint64 savedTime = 0;  // that file's last change, ms since 1970 (UTC)
    };
    // The open tables, left to right, as their finished edits left them: a
    // cell still being typed in stays open, since ending its edit would
    // interrupt the typing.
    virtual QList<TableState> TableStates() const { return {}; }
    // The bytes a save of that open table would write now; empty when it
    // is not open.
    virtual QByteArray TableContent(const QString& name) const
    {
        Q_UNUSED(name)
        return {};
    }
    // Opens a table showing content instead of its file, in a new leftmost
    // tab marked modified: nothing is written until the person saves.  The
    // saved size and time describe the file that content was edited from.
    virtual bool OpenRecoveredTable(const QString& name, const QByteArray& content, qint64 savedSize,
                                    qint64 savedTime)
    {
        Q_UNUSED(name) Q_UNUSED(content) Q_UNUSED(savedSize) Q_UNUSED(savedTime)
        return false;
    }

protected:
    ~TableViewPart() = default;
};
