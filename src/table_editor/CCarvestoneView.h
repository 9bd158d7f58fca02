#pragma once

#include "FindTextDialog.h"
#include "TableEntry.h"
#include "grid/GridCellId.h"
#include "grid/GridOwner.h"
#include "model/TableFile.h"
#include "ui/CommandTarget.h"
#include "ui/TableViewPart.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class CarvestoneSettings;
class ChangesLegend;
class QTabBar;

// The right pane of the main window: one tab along the bottom and one grid
// per open table, the grid of the selected tab shown above the tabs.  It
// loads and saves tables, asks before changes are lost, switches between
// tables, and handles the row and column commands and Find; every other
// command goes to the current grid first.
class CCarvestoneView : public QWidget, public TableViewPart, public CommandTarget, public GridOwner
{
    Q_OBJECT

public:
    static constexpr int TabStripId = 100;
    static constexpr int FirstGridId = 101;

    // projectFolder answers the open project's folder (ending with '/');
    // the grid font comes from the settings whenever ApplyGridFont runs.
    CCarvestoneView(std::function<QString()> projectFolder, const CarvestoneSettings& settings,
                    QWidget* parent = nullptr);
    ~CCarvestoneView() override;

    // Ends any edit in progress first: text still in an editor counts.
    bool IsAnyTableModified() const override;
    bool SaveAllModifiedTables() override;
    bool OpenTable(const QString& name) override;
    bool IsTableOpen(const QString& name) const override;
    bool CloseTable(const QString& name) override;
    void CloseAllTables() override;
    QString GetCurrentFileName() const override;
    GridCellId GetFocusCell() const override;
    CGridCtrl* GetCurrentGrid() const override;
    void MarkCurrentTableModified() override;
    void ApplyGridFont() override;
    void BeginUndoStep(const QString& name) override;
    void EndUndoStep() override;
    void SetTableOriginal(const QString& name, const QByteArray& bytes) override;
    void GoToCell(const QString& name, int row, int col) override;
    QList<TableState> TableStates() const override;
    QByteArray TableContent(const QString& name) const override;
    bool OpenRecoveredTable(const QString& name, const QByteArray& content, qint64 savedSize,
                            qint64 savedTime) override;

    // index -1 is the selected tab; false when nothing was written.
    bool SaveTable(int index);
    // Asks first when the table is modified; false when it stayed open.
    bool CloseCurrentTable();
    // Auto-sizes every column, then caps each at two thirds of the room
    // beside the row headings, so one long cell never hides the others.
    static void FitColumnWidths(CGridCtrl& grid);
    void LayoutTabs();

    // "Row 3, Column 5" for the status bar's row and column pane; empty
    // while the focus is on a heading or no table is open.
    QString RowColumnPaneText() const;

    QTabBar* TabBar() const { return tabs; }
    // The key under a table that shows its changes; hidden otherwise.
    ChangesLegend* Legend() const { return legend; }
    int TableCount() const { return int(entries.size()); }
    CGridCtrl* GridAt(int index) const;
    // The current table's undo history, or none.
    TableHistory* CurrentHistory() const;
    FindTextDialog* FindDialog() const { return findDialog; }

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandState& state) override;
    long OnGridNotify(const GridNotifyInfo& info) override;

Q_SIGNALS:
    // "Loading file...", "Saving file...", "Ready" for the status bar.
    void StatusMessage(const QString& text);
    // The main window shows its "&Table" popup there; the tab or cell under
    // the pointer has been selected already.
    void ContextMenuRequested(QPoint globalPos);
    // The last table was closed: the project tree takes over.
    void TreeActivationRequested();
    // The focus cell or the current table changed (the row and column pane).
    void FocusCellChanged();
    // A table without a kept original was opened: whoever can read the
    // game's archive may answer with SetTableOriginal.
    void OriginalWanted(const QString& name);
    // The table's count of changes against the game changed.
    void ChangesCounted(const QString& name, int changes);
    // The table's tab went away; its file holds what was last saved.
    void TableClosed(const QString& name);
    // A table opened or closed, or its content or modified state changed:
    // what the recovery record keeps.
    void TablesChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    QFont BuildGridFont() const;
    QRect GridArea() const;
    int IndexOfPath(const QString& fullPath) const;
    int IndexOfGrid(const CGridCtrl* grid) const;
    int CurrentIndex() const;
    std::unique_ptr<CGridCtrl> CreateGrid();
    // The path of a table about to open; empty when it cannot open (said)
    // or is open already (its tab is selected).
    QString PathToOpen(const QString& name);
    void AddTable(const QString& name, const QString& fullPath, const TableFile& table, FileStamp saved);
    void ReportDroppedData(const QString& fullPath, const TableFile& table);
    void ShowTable(int index, bool giveFocus);
    void OnUserSelectedTab(int index);
    void SelectNeighbour(int step);
    bool CloseTableAt(int index);
    void RemoveTableAt(int index);
    void DiscardEntry(int index);
    void MarkModified(int index);
    // The tab's text: the name, "*" while modified, the count of changes.
    void UpdateTabText(int index, bool modified);
    void FollowChanges(TableEntry& entry);
    void UpdateLegend();
    // The tab's "*" and the grid's modified flag from the history: clean
    // is the table as last saved.
    void FollowHistory(TableEntry& entry);
    TableHistory* HistoryOf(const CGridCtrl* grid) const;
    void OnUndoRedo(bool undo);
    void UpdateUndoRedo(bool undo, CommandState& state) const;
    void OnGridCommand(CGridCtrl& grid, int id);
    void EndAllEditing() const;
    void ShowError(const QString& text);
    void OnTabContextMenu(QPoint pos);

    void OnAddRow();
    void OnRemoveRow();
    void OnRenameHeading(bool column);
    void OnFind();
    void OnFindNext(const FindTextDialog::Request& request);
    void ForgetFindMatch();

    std::function<QString()> projectFolder;
    const CarvestoneSettings& settings;
    QTabBar* tabs;
    ChangesLegend* legend;
    std::vector<std::unique_ptr<TableEntry>> entries; // in tab order
    TableEntry* current = nullptr;
    QFont gridFont;

    QPointer<FindTextDialog> findDialog;
    bool firstFind = false;
    // The focus cannot rest on a heading, so a match there is remembered
    // and the next search continues from it while the focus is still where
    // that search put it.
    const CGridCtrl* matchGrid = nullptr;
    GridCellId lastMatch;
    GridCellId focusAfterMatch;
};
