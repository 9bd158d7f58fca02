#include "CMainFrame.h"

#include "CommandTable.h"
#include "browser/CLeftView.h"
#include "core/MessageFormat.h"
#include "core/StringTable.h"
#include "project/CCarvestoneDoc.h"
#include "table_editor/CommandBar.h"
#include "ui/CommandIds.h"
#include "ui/MessageBoxes.h"
#include "ui/TableViewPart.h"
#include "ui/UserDialogs.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>
#include <QVBoxLayout>

#include <functional>

#ifndef CARVESTONE_COMMUNITY_URL
#define CARVESTONE_COMMUNITY_URL ""
#endif

namespace {

constexpr qsizetype MaxRecentTextLength = 60;
constexpr int Separator = 0;
// Set on an action while it is disabled and its prompt says why.
constexpr const char* SaysWhyProperty = "saysWhyDisabled";

QStringList LocalFiles(const QMimeData* data)
{
    QStringList paths;
    if (!data)
        return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    return paths;
}

// The toolbar's buttons in their order, and the picture of each.
const QList<int>& ToolBarCommands()
{
    using namespace CommandId;
    static const QList<int> commands = {FileNew,  FileOpen, FileSave,  Separator, EditCut,     EditCopy,
                                        EditPaste, EditUndo, EditRedo, Separator, Build,       Options,
                                        Separator, EditFind, ShowChanges, About};
    return commands;
}

QString ToolBarIconFile(int id)
{
    using namespace CommandId;
    static const QHash<int, QString> files = {
        {FileNew, "new"},     {FileOpen, "open"}, {FileSave, "save"},       {EditCut, "cut"},
        {EditCopy, "copy"},   {EditPaste, "paste"}, {Build, "build"},       {Options, "options"},
        {EditFind, "find"},   {About, "about"},     {EditUndo, "undo"},       {EditRedo, "redo"},
        {ShowChanges, "changes"},
    };
    const QString name = files.value(id);
    return name.isEmpty() ? QString() : QStringLiteral(":/icons/toolbar-%1.svg").arg(name);
}

void AddItems(QWidget* menuOrBar, const QList<int>& ids, const std::function<QAction*(int)>& action)
{
    for (int id : ids) {
        if (id == Separator) {
            auto* separator = new QAction(menuOrBar);
            separator->setSeparator(true);
            menuOrBar->addAction(separator);
        } else
            menuOrBar->addAction(action(id));
    }
}

// The right pane until the table view is placed there: the empty
// workspace, which can still take the focus so F6 behaves the same.
QWidget* NewWorkspacePane()
{
    auto* pane = new QWidget;
    pane->setBackgroundRole(QPalette::Dark);
    pane->setAutoFillBackground(true);
    pane->setFocusPolicy(Qt::StrongFocus);
    return pane;
}

bool Contains(const QWidget* pane, const QWidget* widget)
{
    return pane && widget && (pane == widget || pane->isAncestorOf(widget));
}

} // namespace

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent)
    , communityUrl(QString::fromUtf8(CARVESTONE_COMMUNITY_URL))
    , enablingTimer(new QTimer(this))
{
    setAcceptDrops(true);
    setWindowIcon(QIcon(QStringLiteral(":/icons/carvestone.svg")));
    UpdateTitle(StringTable::Get(StringId::Untitled));
    CreateMenus();
    CreatePopups();
    CreatePanes();
    CreateToolBars();
    CreateStatusBar();
    resize(900, 600);
    connect(enablingTimer, &QTimer::timeout, this, &CMainFrame::UpdateCommandUi);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        FollowFocus(now);
        UpdateCommandUi();
    });
    enablingTimer->start(EnablingIntervalMs);
}

CMainFrame::~CMainFrame()
{
    // Closing the window moves the focus once more, after the panes are gone.
    disconnect(qApp, nullptr, this, nullptr);
}

void CMainFrame::CreatePanes()
{
    splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setChildrenCollapsible(false);
    treeView = new CLeftView(splitter);
    connect(treeView, &CLeftView::CommandPosted, this, &CMainFrame::PostCommand);
    connect(treeView, &CLeftView::TableOpened, this, &CMainFrame::ActivateTableView);
    connect(treeView, &CLeftView::ProjectMenuRequested, this, &CMainFrame::ShowProjectPopup);
    // The right pane holds the table view once it is placed; the holder
    // keeps the splitter's sizes when it is.
    auto* tablePaneHolder = new QWidget(splitter);
    auto* holderLayout = new QVBoxLayout(tablePaneHolder);
    holderLayout->setContentsMargins(0, 0, 0, 0);
    tablePane = NewWorkspacePane();
    holderLayout->addWidget(tablePane);
    splitter->addWidget(treeView);
    splitter->addWidget(tablePaneHolder);
    // Only the table view grows with the window; the tree keeps its width.
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({TreePaneWidth, 900 - TreePaneWidth});
    setCentralWidget(splitter);
    // Before any pane had the focus, the tree takes the commands.
    activeView = treeView;
}

void CMainFrame::SetDocument(CCarvestoneDoc* doc)
{
    document = doc;
    connect(document, &CCarvestoneDoc::TitleChanged, this, &CMainFrame::UpdateTitle);
    UpdateTitle(document->GetTitle());
    document->SetDialogOwner(this);
    document->SetTableView(tableView);
    treeView->SetDocument(doc);
}

void CMainFrame::SetTableViewPane(QWidget* pane, TableViewPart* part)
{
    const bool wasActive = activeView && activeView == tableTarget;
    QLayout* holderLayout = tablePane->parentWidget()->layout();
    delete tablePane;
    tablePane = pane;
    SetTableView(part);
    tableTarget = dynamic_cast<CommandTarget*>(pane);
    holderLayout->addWidget(pane);
    if (wasActive)
        activeView = tableTarget;
    ConnectTableViewSignals(pane);
}

// The table view is built on its own; its signals are found by name so the
// window needs nothing of it but the widget.
void CMainFrame::ConnectTableViewSignals(QWidget* pane)
{
    const QMetaObject* meta = pane->metaObject();
    if (meta->indexOfSignal("StatusMessage(QString)") >= 0)
        connect(pane, SIGNAL(StatusMessage(QString)), this, SLOT(ShowStatusMessage(QString)));
    if (meta->indexOfSignal("ContextMenuRequested(QPoint)") >= 0)
        connect(pane, SIGNAL(ContextMenuRequested(QPoint)), this, SLOT(ShowTablePopup(QPoint)));
    if (meta->indexOfSignal("TreeActivationRequested()") >= 0)
        connect(pane, SIGNAL(TreeActivationRequested()), this, SLOT(ActivateTreeView()));
}

void CMainFrame::SetTableView(TableViewPart* view)
{
    tableView = view;
    treeView->SetTableView(view);
    if (document)
        document->SetTableView(view);
}

void CMainFrame::ActivateTableView()
{
    if (!tablePane)
        return;
    tablePane->setFocus(Qt::OtherFocusReason);
    activeView = tableTarget;
}

void CMainFrame::ActivateTreeView()
{
    treeView->setFocus(Qt::OtherFocusReason);
    activeView = treeView;
}

void CMainFrame::SetCommandBar(CommandBar* bar)
{
    commandBar = bar;
    commandBand->clear();
    commandBand->addWidget(bar);
    commandBand->setVisible(true);
}

void CMainFrame::UpdateTitle(const QString& projectTitle)
{
    setWindowTitle(projectTitle + QStringLiteral(" - ") + StringTable::Get(StringId::AppTitle));
}

QAction* CMainFrame::Action(int id)
{
    if (QAction* existing = actions.value(id))
        return existing;
    const CommandDescriptor* descriptor = CommandTable::Find(id);
    auto* action = new QAction(this);
    if (descriptor) {
        // A key of the main window is shown by QAction itself; a key that a
        // view turns into the command (Ins, Del, Enter) only as text.
        action->setText(descriptor->shortcuts.isEmpty() ? descriptor->menuText
                                                        : descriptor->menuText.section(QLatin1Char('\t'), 0, 0));
        action->setShortcuts(descriptor->shortcuts);
    }
    const QString iconFile = ToolBarIconFile(id);
    if (!iconFile.isEmpty())
        action->setIcon(QIcon(iconFile));
    action->setCheckable(id == CommandId::ViewToolbar || id == CommandId::ViewStatusBar || id == CommandId::ShowChanges
                         || id == CommandId::ChangesList);
    action->setStatusTip(StringTable::Prompt(id));
    action->setToolTip(StringTable::Tooltip(id));
    connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });
    addAction(action);
    actions.insert(id, action);
    return action;
}

QMenu* CMainFrame::AddMenu(const QString& title)
{
    QMenu* menu = menuBar()->addMenu(title);
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUi);
    menu->installEventFilter(this);
    return menu;
}

void CMainFrame::CreateMenus()
{
    using namespace CommandId;
    const auto action = [this](int id) { return Action(id); };
    fileMenu = AddMenu(QStringLiteral("&File"));
    AddItems(fileMenu, {FileNew, FileOpen, FileSave, Separator, AddFiles, RemoveFile, OpenFile, CloseFile}, action);
    recentFilesStart = fileMenu->addSeparator();
    recentFilesEnd = fileMenu->addSeparator();
    fileMenu->addAction(Action(Exit));
    RebuildRecentFileItems();

    AddItems(AddMenu(QStringLiteral("&Edit")),
             {EditUndo, EditRedo, Separator, EditCut, EditCopy, EditPaste, Separator, AddRow, RemoveRow, RenameRow, RenameColumn, Separator,
              EditFind},
             action);
    AddItems(AddMenu(QStringLiteral("&View")),
             {ViewToolbar, ViewStatusBar, Separator, ShowChanges, ChangesList, Separator, NextChange, PreviousChange},
             action);
    AddItems(AddMenu(QStringLiteral("&Tools")), {Build, Install, Separator, RebaseMod, Separator, Options}, action);
    AddItems(AddMenu(QStringLiteral("&Help")), {HelpReadme, Saltmarsh, About}, action);
    // Keys without a menu item still need their actions to be heard.
    for (int id : {NextTable, PreviousTable, NextPane, PreviousPane})
        Action(id);
}

void CMainFrame::CreatePopups()
{
    using namespace CommandId;
    const auto action = [this](int id) { return Action(id); };
    projectPopup = new QMenu(QStringLiteral("&Project"), this);
    AddItems(projectPopup, {AddFiles, RemoveFile, OpenFile}, action);
    tablePopup = new QMenu(QStringLiteral("&Table"), this);
    AddItems(tablePopup, {AddRow, RemoveRow, RenameRow, RenameColumn, CloseFile, Separator, RevertToGameValue,
                          Separator, EditFind},
             action);
    for (QMenu* popup : {projectPopup, tablePopup})
        connect(popup, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUi);
}

void CMainFrame::ShowTablePopup(const QPoint& globalPos)
{
    tablePopup->popup(globalPos);
}

// The tree's menu acts on the tree, whichever pane had the keyboard.
void CMainFrame::ShowProjectPopup(const QPoint& globalPos)
{
    activeView = treeView;
    projectPopup->popup(globalPos);
}

void CMainFrame::CreateToolBars()
{
    mainToolBar = addToolBar(QStringLiteral("Toolbar"));
    mainToolBar->setObjectName(QStringLiteral("MainToolBar"));
    mainToolBar->setFloatable(false);
    mainToolBar->setIconSize(QSize(16, 16));
    AddItems(mainToolBar, ToolBarCommands(), [this](int id) { return Action(id); });
    addToolBarBreak();
    commandBand = addToolBar(QStringLiteral("Command Bar"));
    commandBand->setObjectName(QStringLiteral("CommandBand"));
    commandBand->setFloatable(false);
    // Empty until the command bar is placed in it.
    commandBand->setVisible(false);
}

void CMainFrame::CreateStatusBar()
{
    rowColumnPane = new QLabel(this);
    rowColumnPane->setAlignment(Qt::AlignCenter);
    rowColumnPane->setMinimumWidth(MinimumRowColumnPaneWidth);
    statusBar()->addPermanentWidget(rowColumnPane);
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& message) {
        if (message.isEmpty())
            ShowStatusMessage({});
    });
    ShowStatusMessage({});
}

void CMainFrame::ShowStatusMessage(const QString& text)
{
    statusBar()->showMessage(text.isEmpty() ? StringTable::Get(StringId::Ready) : text);
}

void CMainFrame::UpdateRowColumnPane()
{
    const GridCellId cell = tableView ? tableView->GetFocusCell() : GridCellId{-1, -1};
    const QString text = cell.row >= 1 && cell.col >= 1
        ? MessageFormat::Format(StringTable::Get(StringId::RowColumnPane), {cell.row, cell.col})
        : QString();
    if (text == rowColumnPane->text())
        return;
    rowColumnPane->setText(text);
    const int textWidth = rowColumnPane->fontMetrics().horizontalAdvance(text) + 2 * rowColumnPane->margin() + 8;
    rowColumnPane->setFixedWidth(qMax(MinimumRowColumnPaneWidth, textWidth));
}

void CMainFrame::SetRecentFiles(const QStringList& paths)
{
    recentFiles = paths.mid(0, CommandId::RecentFileLast - CommandId::RecentFileFirst + 1);
    RebuildRecentFileItems();
}

QString CMainFrame::RecentFileMenuText(int number, const QString& path)
{
    QString shown = QDir::toNativeSeparators(path);
    const QString home = QDir::toNativeSeparators(QDir::homePath());
    if (!home.isEmpty() && shown.startsWith(home + QDir::separator()))
        shown = QLatin1Char('~') + shown.mid(home.size());
    if (shown.size() > MaxRecentTextLength)
        shown = QStringLiteral("...") + shown.right(MaxRecentTextLength - 3);
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(number).arg(shown);
}

void CMainFrame::RebuildRecentFileItems()
{
    for (int id = CommandId::RecentFileFirst; id <= CommandId::RecentFileLast; ++id)
        delete actions.take(id);
    for (QAction* action : fileMenu->actions()) {
        if (action->property("recentPlaceholder").toBool())
            delete action;
    }
    if (recentFiles.isEmpty()) {
        auto* placeholder = new QAction(StringTable::Get(StringId::RecentFilePlaceholder), fileMenu);
        placeholder->setEnabled(false);
        placeholder->setProperty("recentPlaceholder", true);
        fileMenu->insertAction(recentFilesEnd, placeholder);
        return;
    }
    for (int index = 0; index < recentFiles.size(); ++index) {
        const int id = CommandId::RecentFileFirst + index;
        QAction* action = Action(id);
        action->setText(RecentFileMenuText(index + 1, recentFiles[index]));
        fileMenu->insertAction(recentFilesEnd, action);
    }
}

QList<QWidget*> CMainFrame::Panes() const
{
    return {treeView, tablePane.data()};
}

// Clicks on the bars and the menus leave the active view as it was: only
// a pane that takes the focus becomes the active view.
void CMainFrame::FollowFocus(QWidget* focused)
{
    if (Contains(treeView, focused))
        activeView = treeView;
    else if (Contains(tablePane, focused))
        activeView = tableTarget;
}

void CMainFrame::MoveFocusToPane(int step)
{
    const QList<QWidget*> panes = Panes();
    qsizetype current = 0;
    for (qsizetype index = 0; index < panes.size(); ++index) {
        if (Contains(panes[index], focusWidget()))
            current = index;
    }
    QWidget* next = panes[(current + step + panes.size()) % panes.size()];
    if (next == treeView)
        ActivateTreeView();
    else
        ActivateTableView();
}

QList<CommandTarget*> CMainFrame::Route() const
{
    QList<CommandTarget*> route;
    for (CommandTarget* target : {activeView, static_cast<CommandTarget*>(document.data()),
                                  static_cast<CommandTarget*>(const_cast<CMainFrame*>(this)), applicationTarget}) {
        if (target)
            route.append(target);
    }
    return route;
}

CommandState CMainFrame::QueryCommand(int id) const
{
    for (CommandTarget* target : Route()) {
        CommandState state;
        if (target->OnUpdateCommand(id, state))
            return state;
    }
    return CommandState();
}

bool CMainFrame::RouteCommand(int id)
{
    // The menus' enabling can be a moment old, and keys and posted
    // commands never see it: ask again before anything runs.
    if (!QueryCommand(id).enabled)
        return false;
    for (CommandTarget* target : Route()) {
        if (target->OnCommand(id))
            return true;
    }
    return false;
}

void CMainFrame::PostCommand(int id)
{
    QMetaObject::invokeMethod(this, [this, id] { RouteCommand(id); }, Qt::QueuedConnection);
}

void CMainFrame::UpdateCommandUi()
{
    for (auto it = actions.cbegin(); it != actions.cend(); ++it) {
        const CommandState state = QueryCommand(it.key());
        it.value()->setEnabled(state.enabled);
        ShowWhyDisabled(it.key(), *it.value(), state);
        if (!state.text.isEmpty())
            it.value()->setText(state.text);
        if (it.value()->isCheckable())
            it.value()->setChecked(state.checked);
    }
    UpdateRowColumnPane();
    if (commandBar)
        commandBar->UpdateCommandUi();
}

// A menu shows no prompt for a grey item and no tooltip at all; a grey item
// that knows what it lacks says so all the same, in the status bar and in a
// tooltip, so the person learns why it cannot be chosen.
bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    auto* menu = qobject_cast<QMenu*>(watched);
    if (!menu || (event->type() != QEvent::MouseMove && event->type() != QEvent::ToolTip))
        return QMainWindow::eventFilter(watched, event);
    const QPoint at = event->type() == QEvent::ToolTip ? static_cast<QHelpEvent*>(event)->pos()
                                                       : static_cast<QMouseEvent*>(event)->position().toPoint();
    const QAction* action = menu->actionAt(at);
    const bool saysWhy = action && !action->isEnabled() && action->property(SaysWhyProperty).toBool();
    if (event->type() == QEvent::MouseMove && action && !action->isEnabled())
        ShowStatusMessage(saysWhy ? action->statusTip() : QString());
    if (event->type() == QEvent::ToolTip && saysWhy) {
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), action->toolTip(), menu);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool CMainFrame::HasCommunitySite() const
{
    // Never an address nobody here chose, nor one sent in the clear.
    return communityUrl.isValid() && communityUrl.scheme() == QLatin1String("https") && !communityUrl.host().isEmpty();
}

void CMainFrame::OpenHelpFile()
{
    if (!helpFile.isEmpty() && QFileInfo(helpFile).isFile()) {
        UserDialogs::Current().OpenUrl(QUrl::fromLocalFile(helpFile));
        return;
    }
    MessageBoxes::ShowMessage(this, UserDialogs::TypeOk | UserDialogs::IconError,
                              QStringLiteral("Carvestone's guide %s was not found: it is installed with the program "
                                             "(the package puts it in /usr/share/doc/carvestone)."),
                              {QDir::toNativeSeparators(helpFile.isEmpty() ? QStringLiteral("README.md") : helpFile)});
}

void CMainFrame::ShowWhyDisabled(int id, QAction& action, const CommandState& state)
{
    const bool saysWhy = !state.enabled && !state.whyDisabled.isEmpty();
    const QString prompt = StringTable::Prompt(id);
    const QString tooltip = StringTable::Tooltip(id);
    action.setStatusTip(saysWhy ? QStringLiteral("%1 (not available: %2)").arg(prompt, state.whyDisabled) : prompt);
    action.setToolTip(saysWhy ? QStringLiteral("%1: not available, %2").arg(tooltip, state.whyDisabled) : tooltip);
    action.setProperty(SaysWhyProperty, saysWhy);
}

bool CMainFrame::OnCommand(int id)
{
    switch (id) {
    case CommandId::ViewToolbar:
        mainToolBar->setVisible(mainToolBar->isHidden());
        return true;
    case CommandId::ViewStatusBar:
        statusBar()->setVisible(statusBar()->isHidden());
        return true;
    case CommandId::NextPane:
        MoveFocusToPane(1);
        return true;
    case CommandId::PreviousPane:
        MoveFocusToPane(-1);
        return true;
    case CommandId::Saltmarsh:
        // Without a web site of its own the item leads to the program's help.
        if (HasCommunitySite())
            UserDialogs::Current().OpenUrl(communityUrl);
        else
            OpenHelpFile();
        return true;
    case CommandId::HelpReadme:
        OpenHelpFile();
        return true;
    default:
        return false;
    }
}

bool CMainFrame::OnUpdateCommand(int id, CommandState& state)
{
    switch (id) {
    case CommandId::ViewToolbar:
        state.checked = !mainToolBar->isHidden();
        break;
    case CommandId::ViewStatusBar:
        state.checked = !statusBar()->isHidden();
        break;
    case CommandId::NextPane:
    case CommandId::PreviousPane:
    case CommandId::Saltmarsh:
    case CommandId::HelpReadme:
        break;
    case CommandId::EditUndo:
    case CommandId::EditRedo:
        // Only a table has a history: elsewhere the items say what they are.
        state.text = CommandTable::Find(id)->menuText.section(QLatin1Char('\t'), 0, 0);
        return true;
    default:
        return false;
    }
    state.enabled = true;
    return true;
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (document && !document->SaveModified()) {
        event->ignore();
        return;
    }
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (!LocalFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    const QStringList paths = LocalFiles(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    Q_EMIT FilesDropped(paths);
}
