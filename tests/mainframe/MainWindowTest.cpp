#include "ProjectWindow.h"
#include "QStringPrinter.h"
#include "mainframe/CommandTable.h"
#include "table_editor/CommandBar.h"
#include "ui/CommandIds.h"

#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSignalSpy>
#include <QStatusBar>
#include <QToolBar>
#include <QToolTip>

namespace {

using namespace CommandId;

QStringList Texts(const QList<QAction*>& actions)
{
    QStringList texts;
    for (const QAction* action : actions)
        texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

// A target on the command route that records what reaches it; a command in `refused` is its own but disabled.
struct Target : CommandTarget
{
    bool OnCommand(int id) override { return mine.contains(id) && (received.append(id), true); }
    bool OnUpdateCommand(int id, CommandState& state) override
    {
        state.enabled = mine.contains(id) && !refused.contains(id);
        if (!state.enabled)
            state.whyDisabled = why;
        return mine.contains(id);
    }
    QList<int> mine{About, FileNew, FileOpen, Exit, Options, Build};
    QList<int> refused, received;
    QString why;
};

class MainWindow : public ProjectWindow
{
protected:
    void SetUp() override
    {
        ProjectWindow::SetUp();
        frame.SetApplicationTarget(&application);
        OpenProject({"data\\armor.txt"});
    }
    QWidget* Button(int id) { return frame.MainToolBar()->widgetForAction(frame.Action(id)); }

    Target application;
};

TEST_F(MainWindow, TheMenusHoldTheCommandTableWithItsTextsKeysAndPromptsAndTheRecentFiles)
{
    const QList<QStringList> expected = {
        {"&New", "&Open...", "&Save", "-", "&Add Files...\tIns", "&Remove File\tDel", "&Open File\tEnter",
         "C&lose File", "-", "Recent File", "-", "E&xit"},
        {"&Undo", "&Redo", "-", "Cu&t", "&Copy", "&Paste", "-", "&Add Row...", "&Remove Row", "R&ename Row...",
         "Re&name Column...", "-", "&Find..."},
        {"&Toolbar", "&Status Bar", "-", "Show &Changes", "Changes &List", "-", "&Next Change", "&Previous Change"},
        {"&Build", "&Install", "-", "&Rebase onto New Game Data...", "-", "&Options..."},
        {"Carvestone &Help", "&Saltmarsh", "&About Carvestone..."},
        {"&Add Files...\tIns", "&Remove File\tDel", "&Open File\tEnter"},
        {"&Add Row...", "&Remove Row", "R&ename Row...", "Re&name Column...", "C&lose File", "-", "Revert to &Game Value",
         "-", "&Find..."},
    };
    EXPECT_EQ(Texts(frame.menuBar()->actions()), QStringList({"&File", "&Edit", "&View", "&Tools", "&Help"}));
    QList<QMenu*> menus;
    for (QAction* item : frame.menuBar()->actions())
        menus.append(item->menu());
    menus << frame.ProjectPopup() << frame.TablePopup();
    QList<QAction*> items;
    for (qsizetype index = 0; index < menus.size(); ++index) {
        EXPECT_EQ(Texts(menus[index]->actions()), expected[index]) << index;
        items.append(menus[index]->actions());
    }

    for (const CommandDescriptor& command : CommandTable::All()) {
        QAction* action = frame.Action(command.id);
        EXPECT_EQ(action->shortcuts(), command.shortcuts) << command.id;
        const bool hasTexts = command.id != NextTable && command.id != PreviousTable; // these are keys only
        EXPECT_EQ(!action->statusTip().isEmpty() && !action->toolTip().isEmpty(), hasTexts) << command.id;
        if (command.menuText.isEmpty())
            continue;
        EXPECT_TRUE(items.contains(action)) << command.id;
        // The key a menu item shows is the window's own key, or the view's as text.
        const QString shownKey = command.menuText.section('\t', 1);
        EXPECT_TRUE(command.shortcuts.isEmpty() ? action->text() == command.menuText
                                                : QKeySequence(shownKey) == command.shortcuts.first())
            << command.id;
    }

    frame.SetRecentFiles({"/mods/B/B.mod", "/mods/A&Co/A.mod"});
    EXPECT_EQ(Texts(frame.FileMenu()->actions()).mid(8, 4),
              QStringList({"-", "&1 " + QDir::toNativeSeparators("/mods/B/B.mod"),
                           "&2 " + QDir::toNativeSeparators("/mods/A&&Co/A.mod"), "-"}));
    frame.SetRecentFiles({});
    EXPECT_EQ(Texts(frame.FileMenu()->actions()).mid(8, 3), QStringList({"-", "Recent File", "-"}));
}

TEST_F(MainWindow, ToolbarButtonsComeInOrderWithPicturesAClickLeavesTheActiveViewAloneAndBarsShowAndHide)
{
    QWidget* statusBar = frame.statusBar();
    QStringList tips;
    for (QAction* action : frame.MainToolBar()->actions()) {
        tips.append(action->isSeparator() ? QStringLiteral("|") : action->toolTip());
        EXPECT_TRUE(action->isSeparator() || action->icon().pixmap(16, 16).size() == QSize(16, 16));
    }
    EXPECT_EQ(tips, QStringList({"New", "Open", "Save", "|", "Cut", "Copy", "Paste", "Undo", "Redo", "|", "Build",
                                 "Options", "|", "Find", "Show Changes", "About"}));
    Select("armor.txt");
    frame.UpdateCommandUi();
    QTest::mouseClick(Button(About), Qt::LeftButton);
    EXPECT_EQ(application.received, QList<int>{About});
    EXPECT_EQ(frame.GetActiveView(), static_cast<CommandTarget*>(Tree()));

    for (auto [id, bar] : {std::pair<int, QWidget*>{ViewToolbar, frame.MainToolBar()}, {ViewStatusBar, statusBar}}) {
        frame.Action(id)->trigger();
        EXPECT_TRUE(bar->isHidden() && !(Enabled(id) && frame.Action(id)->isChecked())) << id;
        frame.Action(id)->trigger();
        EXPECT_TRUE(bar->isVisible() && Enabled(id) && frame.Action(id)->isChecked()) << id;
    }
    auto* bar = new CommandBar;
    frame.SetCommandBar(bar);
    QCoreApplication::processEvents();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_GE(bar->mapTo(&frame, QPoint()).y(), frame.MainToolBar()->geometry().bottom());
    EXPECT_EQ(Tree()->width(), CMainFrame::TreePaneWidth);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Mod.mod - Carvestone"));
}

TEST_F(MainWindow, F6AndAClickChooseTheActivePaneWhichDecidesTheOfferedCommandsAndTheUndoText)
{
    table->open = {"armor.txt"};
    table->undoText = "&Undo Paste";
    Select("armor.txt");
    for (int id : FakeTableView::TableCommands())
        EXPECT_FALSE(Enabled(id)) << id << " with the tree active";
    EXPECT_TRUE(Enabled(FileSave));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
    EXPECT_EQ(QApplication::focusWidget(), table->FocusTarget());
    EXPECT_EQ(frame.GetActiveView(), static_cast<CommandTarget*>(table));
    for (int id : FakeTableView::TableCommands())
        EXPECT_TRUE(Enabled(id)) << id << " with the table view active";
    EXPECT_EQ(frame.Action(EditUndo)->text(), "&Undo Paste");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), Tree());
    EXPECT_EQ(frame.GetActiveView(), static_cast<CommandTarget*>(Tree()));
    EXPECT_FALSE(Enabled(EditUndo));
    EXPECT_EQ(frame.Action(EditUndo)->text(), "&Undo");

    QTest::mouseClick(table->FocusTarget(), Qt::LeftButton);
    EXPECT_EQ(frame.GetActiveView(), static_cast<CommandTarget*>(table));
    Q_EMIT table->TreeActivationRequested();
    EXPECT_EQ(frame.GetActiveView(), static_cast<CommandTarget*>(Tree()));
    Q_EMIT table->ContextMenuRequested(frame.mapToGlobal(QPoint(400, 300)));
    EXPECT_TRUE(frame.TablePopup()->isVisible());
    frame.TablePopup()->hide();
}

TEST_F(MainWindow, ACommandGoesToTheActiveViewFirstAndRunsOnlyIfEnabledWhenItArrives)
{
    frame.UpdateCommandUi();
    ASSERT_TRUE(frame.Action(Build)->isEnabled());
    application.refused.append(Build); // since the last refresh
    frame.Action(Build)->trigger();
    QTest::keyClick(&frame, Qt::Key_F7);
    frame.PostCommand(Build);
    QCoreApplication::processEvents();
    EXPECT_TRUE(application.received.isEmpty());
    application.refused.clear();
    frame.PostCommand(Build);
    QCoreApplication::processEvents();
    EXPECT_EQ(application.received, QList<int>{Build});

    Target view;
    view.mine = {Build};
    frame.SetActiveView(&view);
    frame.Action(Build)->trigger();
    frame.Action(About)->trigger();
    EXPECT_EQ(view.received, QList<int>{Build});
    EXPECT_EQ(application.received, (QList<int>{Build, About}));
    EXPECT_FALSE(Enabled(Install) || frame.RouteCommand(Install)) << "nobody's command";
}

TEST_F(MainWindow, TheStatusBarShowsPromptsMessagesAndTheFocusCell)
{
    const auto shown = [this] { return frame.statusBar()->currentMessage(); };
    EXPECT_EQ(shown(), QStringLiteral("Ready"));
    frame.UpdateCommandUi();
    QTest::mouseMove(Button(FileSave));
    EXPECT_EQ(shown(), QStringLiteral("Save the active document"));
    QTest::mouseMove(Tree()->viewport());
    EXPECT_EQ(shown(), QStringLiteral("Ready"));
    frame.FileMenu()->popup(frame.mapToGlobal(QPoint(100, 100)));
    frame.FileMenu()->setActiveAction(frame.Action(FileSave));
    EXPECT_EQ(shown(), QStringLiteral("Save the active document"));
    frame.FileMenu()->hide();
    EXPECT_EQ(shown(), "Ready");

    // Reported: Install was greyed with no word why.  A grey command that knows what it lacks says so under the
    // pointer, in the status bar and in its tooltip, and goes back to its own words once it can run.
    application.refused = {Build};
    application.why = QStringLiteral("the MOD has no files yet");
    frame.UpdateCommandUi();
    QTest::mouseMove(Button(Build));
    EXPECT_EQ(shown(), QStringLiteral("Build the MPQ for this MOD (not available: the MOD has no files yet)"));
    EXPECT_EQ(frame.Action(Build)->toolTip(), QStringLiteral("Build: not available, the MOD has no files yet"));
    QMenu* tools = frame.menuBar()->actions().value(3)->menu();
    tools->popup(frame.mapToGlobal(QPoint(100, 100)));
    QTest::mouseMove(tools, tools->actionGeometry(frame.Action(Build)).center());
    EXPECT_EQ(shown(), QStringLiteral("Build the MPQ for this MOD (not available: the MOD has no files yet)"));
    const QPoint overBuild = tools->actionGeometry(frame.Action(Build)).center();
    QHelpEvent hover(QEvent::ToolTip, overBuild, tools->mapToGlobal(overBuild));
    QCoreApplication::sendEvent(tools, &hover);
    EXPECT_TRUE(hover.isAccepted());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Build: not available, the MOD has no files yet"));
    // Off every item (the open menu still hears the pointer), then an item that can run: the menu's own words.
    const QPoint onNoItem(tools->width() / 2, tools->height() + 8);
    ASSERT_EQ(tools->actionAt(onNoItem), nullptr);
    QTest::mouseMove(tools, onNoItem);
    QHelpEvent hoverNoItem(QEvent::ToolTip, onNoItem, tools->mapToGlobal(onNoItem));
    QCoreApplication::sendEvent(tools, &hoverNoItem);
    QTest::mouseMove(tools, tools->actionGeometry(frame.Action(Options)).center());
    EXPECT_EQ(shown(), QStringLiteral("Configure the Carvestone options"));
    tools->hide();
    application.refused.clear();
    frame.UpdateCommandUi();
    EXPECT_EQ(frame.Action(Build)->statusTip(), QStringLiteral("Build the MPQ for this MOD"));
    EXPECT_EQ(frame.Action(Build)->toolTip(), QStringLiteral("Build"));
    QTest::mouseMove(Tree()->viewport());
    Q_EMIT table->StatusMessage("Loading file...");
    EXPECT_EQ(shown(), "Loading file...");
    Q_EMIT table->StatusMessage(QString());
    EXPECT_EQ(shown(), "Ready");

    const struct { GridCellId cell; bool open; const char* text; } cases[] = {
        {{3, 12}, true, "Row 3, Column 12"}, {{1, 1}, true, "Row 1, Column 1"}, {{0, 2}, true, ""},
        {{4, 0}, true, ""}, {{3, 2}, false, ""}};
    const QLabel* pane = frame.RowColumnPane();
    for (const auto& c : cases) {
        table->focusCell = c.cell;
        table->open = c.open ? QSet<QString>{"armor.txt"} : QSet<QString>{};
        frame.UpdateCommandUi();
        EXPECT_EQ(pane->text(), QString::fromLatin1(c.text));
        EXPECT_GE(pane->width(), qMax(CMainFrame::MinimumRowColumnPaneWidth,
                                      pane->fontMetrics().horizontalAdvance(pane->text())));
    }
}

TEST_F(MainWindow, DroppedLocalFilesAreHandedOnAndOnlyAnHttpsCommunitySiteOpensElseTheGuide)
{
    QSignalSpy dropped(&frame, &CMainFrame::FilesDropped);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/mods/A/A.mod"), QUrl("https://example.org/x.mod"),
                  QUrl::fromLocalFile("/mods/B/B.mod")});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&frame, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&frame, &drop);
    ASSERT_EQ(dropped.size(), 1);
    EXPECT_EQ(dropped[0][0].toStringList(), QStringList({"/mods/A/A.mod", "/mods/B/B.mod"}));

    // Reported: Help > Saltmarsh was greyed and nothing led to the program's own help.  The item is always offered:
    // without a web site it opens the guide, which Help > Carvestone Help (F1) always opens.
    const QUrl guide = QUrl::fromLocalFile(TestFiles::Write(dir.filePath("README.md"), "# Carvestone\n"));
    frame.SetHelpFile(guide.toLocalFile());
    const struct { const char* url; bool opens; } cases[] = {
        {"", false}, {"http://example.org/", false}, {"https://", false}, {"https://example.org/mods", true}};
    QList<QUrl> expected;
    for (const auto& c : cases) {
        frame.SetCommunityUrl(QUrl(QString::fromLatin1(c.url)));
        EXPECT_TRUE(Enabled(Saltmarsh)) << c.url;
        EXPECT_TRUE(frame.RouteCommand(Saltmarsh)) << c.url;
        expected.append(c.opens ? QUrl(QString::fromLatin1(c.url)) : guide);
    }
    QTest::keyClick(&frame, Qt::Key_F1);
    expected.append(guide);
    EXPECT_EQ(dialogs.OpenedUrls(), expected);

    frame.SetHelpFile(dir.filePath("gone/README.md"));
    dialogs.AnswerMessage(UserDialogs::IdOk);
    QTest::keyClick(&frame, Qt::Key_F1);
    EXPECT_EQ(dialogs.OpenedUrls().size(), expected.size());
    ASSERT_FALSE(dialogs.Messages().isEmpty());
    EXPECT_TRUE(dialogs.Messages().last().text.startsWith("Carvestone's guide " + dir.filePath("gone/README.md")
                                                          + " was not found"))
        << dialogs.Messages().last().text.toStdString();
}

} // namespace
