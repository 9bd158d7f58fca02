#pragma once

#include "CommandTarget.h"

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

class CCarvestoneDoc;
class QAction;
class QMenu;
class QTimer;
class TableViewPart;

// The program's one main window: its title follows the open project, its
// menus are made from the command table, and every command is routed to
// the active view, the document, the main window and the application, in
// that order.  A command that no target handles is disabled.
class CMainFrame : public QMainWindow, public CommandTarget
{
    Q_OBJECT

public:
    static constexpr int EnablingIntervalMs = 250;

    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    void SetDocument(CCarvestoneDoc* document);
    void SetApplicationTarget(CommandTarget* target) { applicationTarget = target; }
    // The pane that was last clicked or focused: first in line for commands.
    void SetActiveView(CommandTarget* view) { activeView = view; }
    CommandTarget* GetActiveView() const { return activeView; }

    // The table view, once the window has one; none until then.
    TableViewPart* GetTableView() const { return tableView; }
    void SetTableView(TableViewPart* view) { tableView = view; }

    // The action of a command, made from the command table on first use.
    QAction* Action(int id);
    QMenu* FileMenu() const { return fileMenu; }
    // A pop-up of the menu bar whose items are enabled afresh before it shows.
    QMenu* AddMenu(const QString& title);

    // The recent-file entries of the File menu, newest first.
    void SetRecentFiles(const QStringList& paths);
    static QString RecentFileMenuText(int number, const QString& path);

    // Sends a command along the route; false when nobody handled it.
    bool RouteCommand(int id);
    // Asks the route about every action and enables and checks them.
    void UpdateCommandUi();

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandState& state) override;

Q_SIGNALS:
    // Files dropped on the window, in the order they came.
    void FilesDropped(const QStringList& paths);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateMenus();
    void CreateStatusBar();
    void RebuildRecentFileItems();
    void UpdateTitle(const QString& projectTitle);
    QList<CommandTarget*> Route() const;

    QPointer<CCarvestoneDoc> document;
    CommandTarget* applicationTarget = nullptr;
    CommandTarget* activeView = nullptr;
    TableViewPart* tableView = nullptr;
    QHash<int, QAction*> actions;
    QMenu* fileMenu = nullptr;
    QAction* recentFilesStart = nullptr;
    QAction* recentFilesEnd = nullptr;
    QStringList recentFiles;
    QTimer* enablingTimer = nullptr;
};
