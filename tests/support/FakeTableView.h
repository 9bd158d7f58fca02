#pragma once

#include "mainframe/CommandIds.h"
#include "mainframe/CommandTarget.h"
#include "project/TableViewPart.h"

#include <QLineEdit>
#include <QSet>
#include <QStringList>
#include <QVBoxLayout>
#include <QWidget>

// Stands in the main window's right pane for the table view: it keeps a set
// of open table names, takes the focus through a child edit as a grid
// would, handles the table commands while a table is open, and records
// what the rest of the program asked of it.
class FakeTableView : public QWidget, public TableViewPart, public CommandTarget
{
    Q_OBJECT

public:
    FakeTableView()
        : focusTarget(new QLineEdit(this))
    {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(focusTarget);
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
    bool CloseTable(const QString& name) override
    {
        closeRequests.append(name);
        if (modified.contains(name) && cancelCloseOfModified)
            return false;
        open.remove(name);
        modified.remove(name);
        return true;
    }
    void CloseAllTables() override { open.clear(); }
    QString GetCurrentFileName() const override { return open.isEmpty() ? QString() : *open.begin(); }
    GridCellId GetFocusCell() const override { return open.isEmpty() ? GridCellId{-1, -1} : focusCell; }
    CGridCtrl* GetCurrentGrid() const override { return nullptr; }
    void MarkCurrentTableModified() override {}
    void ApplyGridFont() override {}

    bool OnCommand(int id) override
    {
        if (!IsTableCommand(id))
            return false;
        received.append(id);
        return true;
    }
    bool OnUpdateCommand(int id, CommandState& state) override
    {
        if (!IsTableCommand(id))
            return false;
        state.enabled = !open.isEmpty();
        return true;
    }

    // The answer to the save question of a modified table: Cancel keeps it open.
    bool cancelCloseOfModified = false;
    QSet<QString> open;
    QSet<QString> modified;
    QStringList opened;
    QStringList closeRequests;
    QList<int> received;
    GridCellId focusCell{1, 1};

Q_SIGNALS:
    void StatusMessage(const QString& text);
    void ContextMenuRequested(const QPoint& globalPos);
    void TreeActivationRequested();

private:
    static bool IsTableCommand(int id)
    {
        using namespace CommandId;
        return QList<int>{AddRow, RemoveRow, RenameRow, RenameColumn, CloseFile, EditFind, EditCut, EditCopy,
                          EditPaste}
            .contains(id);
    }

    QLineEdit* focusTarget;
};
