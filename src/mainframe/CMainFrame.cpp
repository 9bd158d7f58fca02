#include "CMainFrame.h"

#include "CommandIds.h"
#include "CommandTable.h"
#include "project/CCarvestoneDoc.h"
#include "resources/StringTable.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTimer>

namespace {

constexpr qsizetype MaxRecentTextLength = 60;

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

} // namespace

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent)
    , enablingTimer(new QTimer(this))
{
    setAcceptDrops(true);
    UpdateTitle(StringTable::Get(StringId::Untitled));
    CreateMenus();
    CreateStatusBar();
    resize(900, 600);
    connect(enablingTimer, &QTimer::timeout, this, &CMainFrame::UpdateCommandUi);
    connect(qApp, &QApplication::focusChanged, this, &CMainFrame::UpdateCommandUi);
    enablingTimer->start(EnablingIntervalMs);
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::SetDocument(CCarvestoneDoc* doc)
{
    document = doc;
    connect(document, &CCarvestoneDoc::TitleChanged, this, &CMainFrame::UpdateTitle);
    UpdateTitle(document->GetTitle());
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
        // The text after the tab shows the key; QAction shows its own shortcut.
        action->setText(descriptor->menuText.section(QLatin1Char('\t'), 0, 0));
        action->setShortcuts(descriptor->shortcuts);
    }
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
    return menu;
}

void CMainFrame::CreateMenus()
{
    fileMenu = AddMenu(QStringLiteral("&File"));
    fileMenu->addAction(Action(CommandId::FileNew));
    fileMenu->addAction(Action(CommandId::FileOpen));
    fileMenu->addAction(Action(CommandId::FileSave));
    recentFilesStart = fileMenu->addSeparator();
    recentFilesEnd = fileMenu->addSeparator();
    fileMenu->addAction(Action(CommandId::Exit));
    RebuildRecentFileItems();

    QMenu* toolsMenu = AddMenu(QStringLiteral("&Tools"));
    toolsMenu->addAction(Action(CommandId::Build));
    toolsMenu->addAction(Action(CommandId::Install));
    QMenu* helpMenu = AddMenu(QStringLiteral("&Help"));
    helpMenu->addAction(Action(CommandId::About));
}

void CMainFrame::CreateStatusBar()
{
    const QString ready = StringTable::Get(StringId::Ready);
    connect(statusBar(), &QStatusBar::messageChanged, this, [this, ready](const QString& message) {
        if (message.isEmpty())
            statusBar()->showMessage(ready);
    });
    statusBar()->showMessage(ready);
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

bool CMainFrame::RouteCommand(int id)
{
    for (CommandTarget* target : Route()) {
        if (target->OnCommand(id))
            return true;
    }
    return false;
}

void CMainFrame::UpdateCommandUi()
{
    const QList<CommandTarget*> route = Route();
    for (auto it = actions.cbegin(); it != actions.cend(); ++it) {
        CommandState state;
        for (CommandTarget* target : route) {
            if (target->OnUpdateCommand(it.key(), state))
                break;
            state = CommandState();
        }
        it.value()->setEnabled(state.enabled);
        it.value()->setCheckable(state.checked || it.value()->isCheckable());
        it.value()->setChecked(state.checked);
    }
}

bool CMainFrame::OnCommand(int id)
{
    if (id != CommandId::ViewStatusBar)
        return false;
    statusBar()->setVisible(statusBar()->isHidden());
    return true;
}

bool CMainFrame::OnUpdateCommand(int id, CommandState& state)
{
    if (id != CommandId::ViewStatusBar)
        return false;
    state.enabled = true;
    state.checked = !statusBar()->isHidden();
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
