#pragma once

// Qt's headers first: they bring what the grid's cell id needs for <=>.
#include <QLineEdit>
#include <QSet>
#include <QStringList>
#include <QVBoxLayout>

#include "ui/CommandIds.h"
#include "ui/CommandTarget.h"
#include "ui/TableViewPart.h"

// Stands in the main window's right pane for the table view: a set of open
// table names, a child edit that takes the focus as a grid would, the table
// commands while a table is open, and a record of what was asked of it.
class FakeTableView : public QWidget, public TableViewPart, public CommandTarget
{
    Q_OBJECT

public:
    FakeTableView() : focusTarget(new QLineEdit(this))
    {
        (new QVBoxLayout(this))->addWidget(focusTarget);
        setFocusProxy(focusTarget);
    }
    QLineEdit* FocusTarget() const { return focusTarget; }

    bool IsAnyTableModified() const override { return !modified.isEmpty(); }
    bool SaveAllModifiedTables() override { return true; }
    bool OpenTable(const QString& name) override
    {
        opened.append(name);
        open.insert(name);
        return true;
    }
    bool IsTableOpen(const QString& name) const override { return open.contains(name); }
    // A modified table asks first; cancelCloseOfModified answers Cancel.
    bool CloseTable(const QString& name) override
    {
        closeRequests.append(name);
        if (modified.contains(name) && cancelCloseOfModified)
            return false;
        modified.remove(name);
        open.remove(name);
        return true;
    }
    void CloseAllTables() override { open.clear(); }
    QString GetCurrentFileName() const override { return open.isEmpty() ? QString() : *open.begin(); }
    GridCellId GetFocusCell() const override { return open.isEmpty() ? GridCellId{-1, -1} : focusCell; }
    CGridCtrl* GetCurrentGrid() const override { return nullptr; }
    void MarkCurrentTableModified() override {}
    void ApplyGridFont() override {}

    bool OnCommand(int id) override { return TableCommands().contains(id); }
    bool OnUpdateCommand(int id, CommandState& state) override
    {
        state.enabled = !open.isEmpty();
        if (id == CommandId::EditUndo)
            state.text = undoText;
        return TableCommands().contains(id);
    }
    static QList<int> TableCommands()
    {
        using namespace CommandId;
        return {AddRow, RemoveRow, RenameRow, RenameColumn, CloseFile, EditFind, EditCut, EditCopy, EditPaste,
                EditUndo, EditRedo};
    }

    bool cancelCloseOfModified = false;
    QSet<QString> open, modified;
    QStringList opened, closeRequests;
    GridCellId focusCell{1, 1};
    QString undoText; // the Undo item's text while a table is open

Q_SIGNALS:
    void StatusMessage(const QString& text);
    void ContextMenuRequested(const QPoint& globalPos);
    void TreeActivationRequested();

private:
    QLineEdit* focusTarget;
};
