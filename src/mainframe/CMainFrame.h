#pragma once

#include "ui/CommandTarget.h"

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <QUrl>

class CCarvestoneDoc;
class CommandBar;
class CLeftView;
class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QTimer;
class QToolBar;
class TableViewPart;

// The program's one main window: the project tree on the left and the
// table view on the right, the toolbar and the command bar above, the
// status bar below.  Its menus are made from the command table, and every
// command is routed to the active view, the document, the main window and
// the application, in that order.  A command that no target handles is
// disabled, and a command that is disabled when it arrives (from a key, a
// posted command or a menu) is dropped.
class CMainFrame : public QMainWindow, public CommandTarget
{
    Q_OBJECT

public:
    static constexpr int EnablingIntervalMs = 250;
    static constexpr int TreePaneWidth = 250;
    static constexpr int MinimumRowColumnPaneWidth = 25;

    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    void SetDocument(CCarvestoneDoc* document);
    void SetApplicationTarget(CommandTarget* target) { applicationTarget = target; }
    // The pane that last had the keyboard focus: first in line for commands.
    void SetActiveView(CommandTarget* view) { activeView = view; }
    CommandTarget* GetActiveView() const { return activeView; }

    // Places the table view in the right pane; the part is what the rest
    // of the program reads, the pane (when it is a CommandTarget) takes
    // commands while it is active.
    void SetTableViewPane(QWidget* pane, TableViewPart* part);
    // The table view, once the window has one; none until then.
    TableViewPart* GetTableView() const { return tableView; }
    // The part alone, for a window whose right pane shows no table view.
    void SetTableView(TableViewPart* view);
    CLeftView* GetTreeView() const { return treeView; }
    // Gives the table view the focus and makes it the active view.
    void ActivateTableView();
    // Puts the command bar into its band under the toolbar.
    void SetCommandBar(CommandBar* bar);

    // The action of a command, made from the command table on first use.
    QAction* Action(int id);
    QMenu* FileMenu() const { return fileMenu; }
    // The right-click menus of the tree and of the table view.
    QMenu* ProjectPopup() const { return projectPopup; }
    QMenu* TablePopup() const { return tablePopup; }
    QToolBar* MainToolBar() const { return mainToolBar; }
    QLabel* RowColumnPane() const { return rowColumnPane; }
    // A pop-up of the menu bar whose items are enabled afresh before it shows.
    QMenu* AddMenu(const QString& title);

    // The recent-file entries of the File menu, newest first.
    void SetRecentFiles(const QStringList& paths);
    static QString RecentFileMenuText(int number, const QString& path);

    // The community web site; the command is offered only for an https
    // address.  The build setting CARVESTONE_COMMUNITY_URL gives the default.
    // Without one, Help > Saltmarsh opens the help file, as Help > Carvestone
    // Help always does: the README beside the program or in its package.
    void SetCommunityUrl(const QUrl& url) { communityUrl = url; }
    void SetHelpFile(const QString& path) { helpFile = path; }

    // Sends a command along the route if it is enabled now; false when it
    // is disabled or nobody handled it.
    bool RouteCommand(int id);
    // Routes the command after the current event has been handled.
    void PostCommand(int id);
    // Asks the route about every action and enables and checks them.
    void UpdateCommandUi();

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandState& state) override;

Q_SIGNALS:
    // Files dropped on the window, in the order they came.
    void FilesDropped(const QStringList& paths);

public Q_SLOTS:
    // A message for the message pane; an empty text brings back "Ready".
    void ShowStatusMessage(const QString& text);

private Q_SLOTS:
    void ShowTablePopup(const QPoint& globalPos);
    void ShowProjectPopup(const QPoint& globalPos);
    void ActivateTreeView();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreatePanes();
    void CreateMenus();
    void CreatePopups();
    void CreateToolBars();
    void CreateStatusBar();
    void ConnectTableViewSignals(QWidget* pane);
    void RebuildRecentFileItems();
    void UpdateTitle(const QString& projectTitle);
    void UpdateRowColumnPane();
    void FollowFocus(QWidget* focused);
    void MoveFocusToPane(int step);
    QList<QWidget*> Panes() const;
    CommandState QueryCommand(int id) const;
    bool HasCommunitySite() const;
    void OpenHelpFile();
    // A disabled command that knows what it lacks says so in its prompt and tooltip.
    static void ShowWhyDisabled(int id, QAction& action, const CommandState& state);
    QList<CommandTarget*> Route() const;

    QPointer<CCarvestoneDoc> document;
    CommandTarget* applicationTarget = nullptr;
    CommandTarget* activeView = nullptr;
    TableViewPart* tableView = nullptr;
    CommandTarget* tableTarget = nullptr;
    QSplitter* splitter = nullptr;
    CLeftView* treeView = nullptr;
    QPointer<QWidget> tablePane;
    QToolBar* mainToolBar = nullptr;
    QToolBar* commandBand = nullptr;
    CommandBar* commandBar = nullptr;
    QLabel* rowColumnPane = nullptr;
    QHash<int, QAction*> actions;
    QMenu* fileMenu = nullptr;
    QMenu* projectPopup = nullptr;
    QMenu* tablePopup = nullptr;
    QAction* recentFilesStart = nullptr;
    QAction* recentFilesEnd = nullptr;
    QStringList recentFiles;
    QUrl communityUrl;
    QString helpFile;
    QTimer* enablingTimer = nullptr;
};
