#include "mainframe/CMainFrame.h"

#include "FakeTableView.h"
#include "ScriptedDialogs.h"
#include "TestFiles.h"
#include "browser/CLeftView.h"
#include "mainframe/CommandIds.h"
#include "mainframe/CommandTable.h"
#include "project/CCarvestoneDoc.h"
#include "resources/StringTable.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

using namespace CommandId;

QStringList Texts(const QList<QAction*>& actions)
{
    QStringList texts;
    for (const QAction* action : actions)
        texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

QList<QMenu*> MenuBarMenus(const CMainFrame& frame)
{
    QList<QMenu*> menus;
    for (QAction* action : frame.menuBar()->actions())
        menus.append(action->menu());
    return menus;
}

// The application's end of the route: handles what it is given, enabled
// or not as the test says, and records what reached it.
struct SwitchableTarget : CommandTarget
{
    bool OnCommand(int id) override
    {
        if (!enabled.contains(id) && !disabled.contains(id))
            return false;
        received.append(id);
        return true;
    }
    bool OnUpdateCommand(int id, CommandState& state) override
    {
        state.enabled = enabled.contains(id);
        return state.enabled || disabled.contains(id);
    }
    QList<int> enabled{About, FileNew, FileOpen, FileSave, Exit, Options};
    QList<int> disabled;
    QList<int> received;
};

// The shown and active main window with a saved project of one table, the
// project tree, a stand-in table view and an application at the route's end.
class MainWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        table = new FakeTableView;
        frame.SetTableViewPane(table, table);
        frame.SetApplicationTarget(&application);
        doc.SetFrame(&frame);
        frame.SetDocument(&doc);
        frame.show();
        QApplication::setActiveWindow(&frame);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
        const QString folder = dir.path() + QStringLiteral("/Mod/");
        QDir().mkpath(folder);
        TestFiles::Write(folder + "armor.txt", "a\tb\r\n");
        TestFiles::Write(folder + "Mod.mod", "Carvestone Project File Version 1.0\ndata\\armor.txt\n");
        ASSERT_EQ(doc.OpenProject(folder + "Mod.mod"), CCarvestoneDoc::OpenResult::Opened);
    }

    void FocusTreeOnArmor()
    {
        CLeftView* tree = frame.GetTreeView();
        tree->setCurrentItem(tree->findItems("armor.txt", Qt::MatchExactly | Qt::MatchRecursive).value(0));
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(tree->currentItem()).center());
    }

    QMap<int, bool> Enabling(const QList<int>& ids)
    {
        frame.UpdateCommandUi();
        QMap<int, bool> enabled;
        for (int id : ids)
            enabled.insert(id, frame.Action(id)->isEnabled());
        return enabled;
    }

    QToolButton* Button(int id) { return qobject_cast<QToolButton*>(frame.MainToolBar()->widgetForAction(frame.Action(id))); }

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    SwitchableTarget application;
    CMainFrame frame;
    CCarvestoneDoc doc;
    FakeTableView* table = nullptr;
};

TEST_F(MainWindow, EveryCommandOfTheTableHasItsMenuItemKeysAndPromptsAndTheMenusHoldNothingElse)
{
    EXPECT_EQ(Texts(frame.menuBar()->actions()), QStringList({"&File", "&Edit", "&View", "&Tools", "&Help"}));
    const QList<QStringList> expected = {
        {"&New", "&Open...", "&Save", "-", "&Add Files...\tIns", "&Remove File\tDel", "&Open File\tEnter",
         "C&lose File", "-", "Recent File", "-", "E&xit"},
        {"Cu&t", "&Copy", "&Paste", "-", "&Add Row...", "&Remove Row", "R&ename Row...", "Re&name Column...", "-",
         "&Find..."},
        {"&Toolbar", "&Status Bar"},
        {"&Build", "&Install", "-", "&Options..."},
        {"&Saltmarsh", "&About Carvestone..."},
    };
    const QList<QMenu*> menus = MenuBarMenus(frame);
    for (qsizetype index = 0; index < menus.size(); ++index)
        EXPECT_EQ(Texts(menus[index]->actions()), expected.value(index)) << index;
    EXPECT_EQ(frame.ProjectPopup()->title(), QStringLiteral("&Project"));
    EXPECT_EQ(Texts(frame.ProjectPopup()->actions()),
              QStringList({"&Add Files...\tIns", "&Remove File\tDel", "&Open File\tEnter"}));
    EXPECT_EQ(frame.TablePopup()->title(), QStringLiteral("&Table"));
    EXPECT_EQ(Texts(frame.TablePopup()->actions()), QStringList({"&Add Row...", "&Remove Row", "R&ename Row...",
                                                                 "Re&name Column...", "C&lose File", "-", "&Find..."}));

    QList<QAction*> menuActions;
    for (const QMenu* menu : menus)
        menuActions.append(menu->actions());
    for (const CommandDescriptor& command : CommandTable::All()) {
        QAction* action = frame.Action(command.id);
        EXPECT_EQ(action->shortcuts(), command.shortcuts) << command.id;
        if (command.id == NextTable || command.id == PreviousTable)
            continue; // keys only, with no text of their own
        EXPECT_FALSE(action->statusTip().isEmpty()) << command.id;
        EXPECT_FALSE(action->toolTip().isEmpty()) << command.id;
        if (command.menuText.isEmpty())
            continue;
        EXPECT_EQ(menuActions.count(action), 1) << command.id;
        // The keys the menu shows are the window's own keys, or the view's.
        const QString shownKey = command.menuText.section('\t', 1);
        if (command.shortcuts.isEmpty()) {
            EXPECT_EQ(action->text(), command.menuText) << command.id;
        } else {
            EXPECT_EQ(QKeySequence(shownKey), command.shortcuts.first()) << command.id;
        }
    }
}

TEST_F(MainWindow, ToolbarButtonsComeInOrderWithPicturesAndAClickDoesNotMoveTheActiveView)
{
    QStringList tips;
    for (QAction* action : frame.MainToolBar()->actions()) {
        tips.append(action->isSeparator() ? QStringLiteral("|") : action->toolTip());
        if (!action->isSeparator()) {
            EXPECT_EQ(action->icon().pixmap(16, 16).size(), QSize(16, 16)) << action->toolTip().toStdString();
        }
    }
    EXPECT_EQ(tips, QStringList({"New", "Open", "Save", "|", "Cut", "Copy", "Paste", "|", "Build", "Options", "|",
                                 "Find", "About"}));

    FocusTreeOnArmor();
    ASSERT_EQ(frame.GetActiveView(), static_cast<CommandTarget*>(frame.GetTreeView()));
    frame.UpdateCommandUi();
    QTest::mouseClick(Button(About), Qt::LeftButton);
    EXPECT_EQ(application.received, QList<int>{About});
    EXPECT_EQ(frame.GetActiveView(), static_cast<CommandTarget*>(frame.GetTreeView()));
}

TEST_F(MainWindow, TheActivePaneDecidesWhichCommandsAreOffered)
{
    const QList<int> tableCommands = {AddRow, RemoveRow, RenameRow, RenameColumn, EditFind, EditCut, EditCopy,
                                      EditPaste, CloseFile};
    table->open = {"armor.txt"};
    FocusTreeOnArmor();
    for (auto [id, enabled] : Enabling(tableCommands).asKeyValueRange())
        EXPECT_FALSE(enabled) << id << " with the tree active";
    EXPECT_TRUE(Enabling({RemoveFile, OpenFile, FileSave}).values() == QList<bool>({true, true, true}));

    QTest::mouseClick(table->FocusTarget(), Qt::LeftButton);
    ASSERT_EQ(frame.GetActiveView(), static_cast<CommandTarget*>(table));
    for (auto [id, enabled] : Enabling(tableCommands).asKeyValueRange())
        EXPECT_TRUE(enabled) << id << " with the table view active";
    for (auto [id, enabled] : Enabling({AddFiles, RemoveFile, OpenFile}).asKeyValueRange())
        EXPECT_FALSE(enabled) << id << " with the table view active";
}

TEST_F(MainWindow, ACommandDisabledWhenItArrivesNeverRunsWhetherFromAKeyAMenuOrAPost)
{
    application.enabled.append(Build);
    frame.UpdateCommandUi();
    ASSERT_TRUE(frame.Action(Build)->isEnabled());
    // The enabling changes between the last refresh and the command.
    application.enabled.removeAll(Build);
    application.disabled.append(Build);
    frame.Action(Build)->trigger();
    QTest::keyClick(&frame, Qt::Key_F7);
    frame.PostCommand(Build);
    QCoreApplication::processEvents();
    EXPECT_TRUE(application.received.isEmpty());
    EXPECT_FALSE(frame.RouteCommand(Build));

    application.enabled.append(Build);
    frame.PostCommand(Build);
    QCoreApplication::processEvents();
    EXPECT_EQ(application.received, QList<int>{Build});
}

TEST_F(MainWindow, F6AndShiftF6MoveBetweenThePanesAndTheViewsCanHandTheFocusBack)
{
    FocusTreeOnArmor();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
    EXPECT_EQ(QApplication::focusWidget(), table->FocusTarget());
    EXPECT_EQ(frame.GetActiveView(), static_cast<CommandTarget*>(table));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), frame.GetTreeView());
    EXPECT_EQ(frame.GetActiveView(), static_cast<CommandTarget*>(frame.GetTreeView()));

    frame.ActivateTableView();
    Q_EMIT table->TreeActivationRequested();
    EXPECT_EQ(frame.GetActiveView(), static_cast<CommandTarget*>(frame.GetTreeView()));
    Q_EMIT table->ContextMenuRequested(frame.mapToGlobal(QPoint(400, 300)));
    EXPECT_TRUE(frame.TablePopup()->isVisible());
    frame.TablePopup()->hide();
}

TEST_F(MainWindow, TheStatusBarShowsPromptsMessagesAndTheFocusCell)
{
    EXPECT_EQ(frame.statusBar()->currentMessage(), QStringLiteral("Ready"));
    frame.UpdateCommandUi();
    QTest::mouseMove(Button(FileSave));
    EXPECT_EQ(frame.statusBar()->currentMessage(), QStringLiteral("Save the active document"));
    QTest::mouseMove(frame.GetTreeView()->viewport());
    EXPECT_EQ(frame.statusBar()->currentMessage(), QStringLiteral("Ready"));
    Q_EMIT table->StatusMessage(QStringLiteral("Loading file..."));
    EXPECT_EQ(frame.statusBar()->currentMessage(), QStringLiteral("Loading file..."));
    Q_EMIT table->StatusMessage(QString());
    EXPECT_EQ(frame.statusBar()->currentMessage(), QStringLiteral("Ready"));

    const struct { GridCellId cell; bool open; const char* text; } cases[] = {
        {{3, 12}, true, "Row 3, Column 12"}, {{1, 1}, true, "Row 1, Column 1"},
        {{0, 2}, true, ""},                  {{4, 0}, true, ""},
        {{3, 2}, false, ""},
    };
    for (const auto& c : cases) {
        table->focusCell = c.cell;
        table->open = c.open ? QSet<QString>{"armor.txt"} : QSet<QString>{};
        frame.UpdateCommandUi();
        EXPECT_EQ(frame.RowColumnPane()->text(), QString::fromLatin1(c.text));
        EXPECT_GE(frame.RowColumnPane()->width(), CMainFrame::MinimumRowColumnPaneWidth);
        EXPECT_GE(frame.RowColumnPane()->width(),
                  frame.RowColumnPane()->fontMetrics().horizontalAdvance(frame.RowColumnPane()->text()));
    }
}

TEST_F(MainWindow, TheViewMenuShowsAndHidesTheBarsAndTicksWhatIsShown)
{
    for (auto [id, bar] : {std::pair<int, QWidget*>{ViewToolbar, frame.MainToolBar()},
                           std::pair<int, QWidget*>{ViewStatusBar, frame.statusBar()}}) {
        frame.UpdateCommandUi();
        EXPECT_TRUE(frame.Action(id)->isChecked());
        frame.Action(id)->trigger();
        frame.UpdateCommandUi();
        EXPECT_TRUE(bar->isHidden());
        EXPECT_FALSE(frame.Action(id)->isChecked());
        frame.Action(id)->trigger();
        EXPECT_FALSE(bar->isHidden());
    }
}

TEST_F(MainWindow, TheCommunitySiteOpensOnlyForAnHttpsAddress)
{
    const struct { const char* url; bool opens; } cases[] = {
        {"", false}, {"http://example.org/", false}, {"https://", false}, {"https://example.org/mods", true},
    };
    for (const auto& c : cases) {
        frame.SetCommunityUrl(QUrl(QString::fromLatin1(c.url)));
        frame.UpdateCommandUi();
        EXPECT_EQ(frame.Action(Saltmarsh)->isEnabled(), c.opens) << c.url;
        EXPECT_EQ(frame.RouteCommand(Saltmarsh), c.opens) << c.url;
    }
    EXPECT_EQ(dialogs.OpenedUrls(), QList<QUrl>{QUrl("https://example.org/mods")});
}

TEST_F(MainWindow, TheCommandBarSitsInItsOwnBandUnderTheToolbarAndTheTitleNamesTheProject)
{
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Mod.mod - Carvestone"));
    EXPECT_FALSE(frame.windowIcon().isNull());
    auto* bar = new QLabel(QStringLiteral("formula"));
    frame.SetCommandBar(bar);
    QCoreApplication::processEvents();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_GE(bar->mapTo(&frame, QPoint()).y(),
              frame.MainToolBar()->mapTo(&frame, QPoint()).y() + frame.MainToolBar()->height());
    EXPECT_EQ(frame.GetTreeView()->width(), CMainFrame::TreePaneWidth);
}

} // namespace
