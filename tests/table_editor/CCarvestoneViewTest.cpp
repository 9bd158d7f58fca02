#include "ViewTest.h"

#include "FileSizeLimit.h"
#include "mainframe/CMainFrame.h"
#include "core/StringTable.h"
#include "project/CCarvestoneDoc.h"
#include "table_editor/NameEntryDialog.h"
#include "ui/CommandIds.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

const QByteArray Small("a\tb\r\nr\t1\r\n");

class CCarvestoneViewTest : public ViewTest
{
protected:
    void OpenInTabOrder(const QStringList& names)
    {
        for (auto name = names.crbegin(); name != names.crend(); ++name)
            Open(*name, Small);
    }
    GridCellId FindNext(const QString& text, bool wholeWord = false, bool matchCase = false, bool down = true)
    {
        FindTextDialog* find = view.FindDialog();
        find->TextEdit()->clear();
        QTest::keyClicks(find->TextEdit(), text);
        find->WholeWordBox()->setChecked(wholeWord);
        find->MatchCaseBox()->setChecked(matchCase);
        QTest::mouseClick(down ? find->DownButton() : find->UpButton(), Qt::LeftButton);
        QTest::mouseClick(find->FindNextButton(), Qt::LeftButton);
        return view.GetFocusCell();
    }
};

TEST_F(CCarvestoneViewTest, NewTablesOpenLeftmostOnceSayWhatFailedOrWouldBeDroppedAndSaveByteForByte)
{
    QSignalSpy status(&view, &CCarvestoneView::StatusMessage);
    Open("a.txt", Small);
    EXPECT_EQ(status, (QList<QVariantList>{{"Loading file..."}, {"Ready"}}));
    Open("b.txt", "x\r\n");
    EXPECT_EQ(view.GetFocusCell(), GridCellId(-1, -1)) << "a one-cell table has no data cell";
    TestFiles::Write(PathOf("a.txt"), "changed\r\n");
    EXPECT_FALSE(view.OpenTable("a.txt"));
    EXPECT_EQ(TabTexts(), QStringList({"b.txt", "a.txt"}));
    EXPECT_EQ(view.TabBar()->currentIndex(), 1);
    EXPECT_EQ(Grid().GetCellText(0, 1), QStringLiteral("b")) << "the second open read the file again";
    EXPECT_EQ(view.RowColumnPaneText(), QStringLiteral("Row 1, Column 1"));
    EXPECT_TRUE(view.IsTableOpen("data\\global\\excel\\a.txt")) << "an entry opens by its file name";
    EXPECT_FALSE(view.GridAt(0)->isVisible());
    view.CloseAllTables();

    QDir(folder.path()).mkdir("folder.txt");
    static const char dropping[] = "a\tb\r\nr\t1\t2\r\nx\0y";
    TestFiles::Write(PathOf("n.txt"), QByteArray(dropping, sizeof dropping - 1));
    const struct { QString name, message; } cases[] = {
        {"..", "contains an invalid path."}, {"a/b.txt", "contains an invalid path."},
        {"missing.txt", "missing.txt was not found."}, {"folder.txt", "folder.txt contains an invalid path."},
        {"n.txt", QDir::toNativeSeparators(PathOf("n.txt")) + " holds data that a table cannot keep: fields beyond "
                  "the header dropped (first at line 2); data after a NUL dropped (first at line 3)."},
    };
    for (const auto& c : cases) {
        dialogs.AnswerMessage(UserDialogs::IdOk);
        EXPECT_EQ(view.OpenTable(c.name), c.name == "n.txt") << c.name.toStdString();
        EXPECT_TRUE(dialogs.Messages().last().text.contains(c.message)) << dialogs.Messages().last().text.toStdString();
    }
    EXPECT_FALSE(view.OpenTable(QString()));
    EXPECT_EQ(TabTexts(), QStringList({"n.txt"}));
    Open("t.txt", "a\tb\t\nr\t1\t\n");
    EXPECT_EQ(dialogs.Messages().size(), 5) << "line ends and empty TABs lose nothing";

    QList<std::pair<QString, QByteArray>> tables = {
        {"empty.txt", {}}, {"blank.txt", "\r\n\r\n"}, {"headings.txt", "only\theadings\r\n"}};
    const QDir games(QStringLiteral(CARVESTONE_GAME_TABLES));
    for (const QString& name : games.entryList({QStringLiteral("*.txt")}, QDir::Files))
        tables.append({name, TestFiles::Read(games.filePath(name))});
    for (const auto& [name, bytes] : tables) {
        SCOPED_TRACE(name.toStdString());
        Open(name, bytes);
        EXPECT_FALSE(view.IsAnyTableModified());
        EXPECT_TRUE(view.SaveTable(-1));
        EXPECT_TRUE(Saved(name) == bytes);
    }
}

TEST_F(CCarvestoneViewTest, EditsCountAndMarkTheirOwnTabAndNoFailedSaveOrCloseQuestionLosesThem)
{
    const QString project = TestFiles::Write(PathOf("P.mod"), "Carvestone Project File Version 1.0\r\na.txt\n");
    CMainFrame frame;
    CCarvestoneDoc doc;
    frame.SetTableView(&view);
    frame.SetDocument(&doc);
    ASSERT_EQ(doc.OpenProject(project), CCarvestoneDoc::OpenResult::Opened);
    OpenInTabOrder({"a.txt", "b.txt"});
    EXPECT_FALSE(doc.IsModified());
    Type("typed");
    EXPECT_TRUE(doc.IsModified()) << "the editor's text counts";
    EXPECT_EQ(TabTexts(), QStringList({"a.txt*", "b.txt"}));
    {
        FileSizeLimit limit(Small.size());
        ASSERT_TRUE(limit.IsActive());
        dialogs.AnswerMessage(UserDialogs::IdOk);
        EXPECT_FALSE(view.SaveTable(-1));
        dialogs.AnswerMessage(UserDialogs::IdYes);
        dialogs.AnswerMessage(UserDialogs::IdOk);
        EXPECT_FALSE(doc.SaveModified()) << "a failed table save fails the project's";
        dialogs.AnswerMessage(UserDialogs::IdYes);
        dialogs.AnswerMessage(UserDialogs::IdOk);
        Press(Qt::Key_F4, Qt::ControlModifier);
    }
    EXPECT_EQ(dialogs.Messages().first().text,
              QStringLiteral("Disk full while accessing %1.").arg(QDir::toNativeSeparators(PathOf("a.txt"))));
    EXPECT_EQ(Saved("a.txt"), Small);
    EXPECT_EQ(TabTexts(), QStringList({"a.txt*", "b.txt"})) << "the failed saves kept a.txt open";
    EXPECT_TRUE(doc.IsModified());

    Type("kept");
    QTest::mouseClick(view.TabBar(), Qt::LeftButton, {}, view.TabBar()->tabRect(1).center());
    EXPECT_EQ(TabTexts(), QStringList({"a.txt*", "b.txt"})) << "the edit marks a.txt, not the new tab";
    Type("discarded");
    dialogs.AnswerMessage(UserDialogs::IdCancel);
    Press(Qt::Key_F4, Qt::ControlModifier);
    EXPECT_EQ(dialogs.Messages().last().text, QStringLiteral("Do you wish to save changes to b.txt?"));
    EXPECT_EQ(dialogs.Messages().last().type & 0x0F, UserDialogs::TypeYesNoCancel);
    Press(Qt::Key_Tab, Qt::ControlModifier);
    dialogs.AnswerMessage(UserDialogs::IdNo);
    EXPECT_TRUE(view.CloseTable("b.txt")) << "a table behind another tab closes too";
    EXPECT_EQ(Saved("b.txt"), Small);
    dialogs.AnswerMessage(UserDialogs::IdYes);
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_EQ(Saved("a.txt"), "a\tb\r\nr\tkept\r\n");
    EXPECT_EQ(TabTexts(), QStringList({"a.txt"}));
    EXPECT_FALSE(doc.IsModified());
    Type("typed last");
    EXPECT_TRUE(view.SaveTable(-1));
    EXPECT_EQ(Saved("a.txt"), "a\tb\r\nr\ttyped last\r\n") << "Ctrl+S saves what is still typed";
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}

TEST_F(CCarvestoneViewTest, TabsSwitchByKeyAndMouseRightClicksSelectFirstAndClosingShowsTheLeftNeighbour)
{
    OpenInTabOrder({"a.txt", "b.txt", "c.txt"});
    const struct { int key; Qt::KeyboardModifiers modifiers; QString expected; } presses[] = {
        {Qt::Key_Tab, Qt::ControlModifier, "b.txt"}, {Qt::Key_Tab, Qt::ControlModifier, "c.txt"},
        {Qt::Key_Tab, Qt::ControlModifier, "a.txt"},
        {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, "c.txt"},
        {Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier, "b.txt"},
    };
    for (const auto& press : presses) {
        Press(press.key, press.modifiers);
        EXPECT_EQ(view.GetCurrentFileName(), press.expected);
        EXPECT_EQ(view.TabBar()->tabText(view.TabBar()->currentIndex()), press.expected);
        EXPECT_TRUE(Grid().hasFocus());
    }
    QTest::mouseClick(view.TabBar(), Qt::LeftButton, {}, view.TabBar()->tabRect(0).center());
    EXPECT_EQ(view.GetCurrentFileName(), QStringLiteral("a.txt"));
    EXPECT_FALSE(Grid().hasFocus());
    EXPECT_EQ(view.GridAt(0)->geometry(), view.GridAt(1)->geometry());

    QSignalSpy menu(&view, &CCarvestoneView::ContextMenuRequested);
    const QPoint onTab = view.TabBar()->tabRect(1).center();
    QContextMenuEvent tabClick(QContextMenuEvent::Mouse, onTab, view.TabBar()->mapToGlobal(onTab));
    QCoreApplication::sendEvent(view.TabBar(), &tabClick);
    EXPECT_EQ(view.GetCurrentFileName(), QStringLiteral("b.txt"));
    ASSERT_EQ(menu.size(), 1);
    EXPECT_EQ(menu.first().first().toPoint(), view.TabBar()->mapToGlobal(onTab));
    Open("big.txt", "h\tc1\tc2\r\nr1\t1\t2\r\nr2\t3\t4\r\n");
    Click(2, 2, {}, Qt::RightButton);
    EXPECT_EQ(view.GetFocusCell(), GridCellId(2, 2));
    EXPECT_EQ(menu.size(), 2);

    QSignalSpy treeActivation(&view, &CCarvestoneView::TreeActivationRequested);
    const struct { int closed; QStringList left; QString current; } cases[] = {
        {0, {"b.txt", "c.txt"}, "b.txt"}, {1, {"a.txt", "c.txt"}, "a.txt"}, {2, {"a.txt", "b.txt"}, "b.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.closed);
        view.CloseAllTables();
        OpenInTabOrder({"a.txt", "b.txt", "c.txt"});
        view.TabBar()->setCurrentIndex(c.closed);
        Press(Qt::Key_F4, Qt::ControlModifier);
        EXPECT_EQ(TabTexts(), c.left);
        EXPECT_EQ(view.GetCurrentFileName(), c.current);
        EXPECT_TRUE(Grid().hasFocus()) << "the keys go on to the table now shown";
    }
    EXPECT_EQ(treeActivation.size(), 0);
    view.CloseAllTables();
    Open("a.txt", Small);
    Press(Qt::Key_F4, Qt::ControlModifier);
    EXPECT_EQ(view.GetCurrentGrid(), nullptr);
    EXPECT_EQ(treeActivation.size(), 1);

    Open("wide.txt", "h\t" + QByteArray(400, 'w') + "\tlong heading text\r\nr\t1\t2\r\n");
    const CGridCtrl& grid = Grid();
    const int room = grid.ClientRect().width() - grid.GetColumnWidth(0);
    ASSERT_GT(room, 300) << "the grid has the view's size, not a hidden child's";
    EXPECT_EQ(grid.GetColumnWidth(1), room * 2 / 3);
    const int before = grid.GetColumnWidth(2);
    EXPECT_LT(before, room * 2 / 3);
    settings.GridFontSize = 18;
    settings.GridFontBold = true;
    view.ApplyGridFont();
    EXPECT_TRUE(grid.font().bold());
    EXPECT_GT(grid.GetColumnWidth(2), before);
    EXPECT_EQ(view.TabBar()->font(), grid.font());

    QRect heading;
    ASSERT_TRUE(Grid().GetCellRect(1, 0, &heading));
    const QPoint border(heading.left() + 5, heading.bottom()), above = border - QPoint(0, 60);
    QTest::mouseMove(Grid().viewport(), border);
    QTest::mousePress(Grid().viewport(), Qt::LeftButton, {}, border);
    QTest::mouseMove(Grid().viewport(), above);
    QTest::mouseRelease(Grid().viewport(), Qt::LeftButton, {}, above);
    EXPECT_GT(grid.GetRowHeight(1), 0) << "a row dragged to nothing stays in sight: the game numbers rows";
}

TEST_F(CCarvestoneViewTest, RowAndColumnCommandsNameTheirCellAndAskAndFindHonoursWholeWordCaseAndDirection)
{
    Open("t.txt", ItemTable);
    Grid().SetFocusCell(-1, -1);
    for (int command : {CommandId::RemoveRow, CommandId::RenameRow, CommandId::RenameColumn})
        EXPECT_FALSE(State(command).enabled) << command;
    const struct { int command; GridCellId focus, renamed; const char *caption, *before; } cases[] = {
        {CommandId::RenameColumn, {2, 2}, {0, 2}, "Enter New Name For Column 2", "code"},
        {CommandId::RenameColumn, {3, 1}, {0, 1}, "Enter New Name For Column 1", "level"},
        {CommandId::RenameRow, {3, 1}, {3, 0}, "Enter New Name For Row 3", "Cap"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        Grid().SetFocusCell(c.focus);
        EXPECT_TRUE(State(c.command).enabled);
        AnswerName(QString());
        view.OnCommand(c.command);
        EXPECT_EQ(asked, QStringList({c.caption, c.before}));
        EXPECT_EQ(Grid().GetCellText(c.renamed.row, c.renamed.col), QString::fromLatin1(c.before)) << "kept";
        EXPECT_EQ(TabTexts(), QStringList({"t.txt"}));
        AnswerName("ren\tamed");
        view.OnCommand(c.command);
        ASSERT_TRUE(view.SaveTable(-1));
    }

    Grid().SetFocusCell(2, 2);
    AnswerName("New");
    ASSERT_TRUE(view.OnCommand(CommandId::AddRow));
    EXPECT_EQ(view.GetFocusCell(), GridCellId(4, 1)) << "at the bottom, never in the middle";
    // A pasted TAB would split the heading into two columns on the next load.
    QApplication::clipboard()->setText(QStringLiteral("Split\there\u0100"));
    dialogs.AnswerDialog([](QDialog& dialog) {
        QTest::keyClick(dialog.findChild<CellNameEdit*>(), Qt::Key_V, Qt::ControlModifier);
        return int(QDialog::Accepted);
    });
    view.OnCommand(CommandId::AddRow);
    dialogs.AnswerDialog([](QDialog&) { return int(QDialog::Rejected); });
    view.OnCommand(CommandId::AddRow);
    Grid().SetFocusCell(2, 1);
    EXPECT_TRUE(State(CommandId::RemoveRow).enabled);
    dialogs.AnswerMessage(UserDialogs::IdNo);
    view.OnCommand(CommandId::RemoveRow);
    EXPECT_EQ(dialogs.Messages().last().text, QStringLiteral("Are you sure you wish to delete row 2 from this file?"));
    EXPECT_EQ(dialogs.Messages().last().type & 0x0F, UserDialogs::TypeYesNo);
    dialogs.AnswerMessage(UserDialogs::IdYes);
    view.OnCommand(CommandId::RemoveRow);
    EXPECT_TRUE(view.SaveTable(-1));
    EXPECT_EQ(Saved("t.txt"),
              "name\trenamed\trenamed\r\nAxe\t10\tax1\r\nrenamed\t10 \tcap\r\nNew\t\t\r\nSplithere\t\t\r\n");

    Open("f.txt", ItemTable);
    Grid().SetFocusCell(1, 1);
    Press(Qt::Key_F3);
    ASSERT_NE(view.FindDialog(), nullptr);
    EXPECT_FALSE(State(CommandId::EditFind).enabled) << "one Find dialog at a time";

    EXPECT_EQ(FindNext("10", true), GridCellId(1, 1)) << "the first search may find the focus cell";
    EXPECT_EQ(FindNext("10", true), GridCellId(1, 1)) << "neither 100 nor \"10 \" is the whole word 10";
    EXPECT_EQ(FindNext("10"), GridCellId(2, 1));
    EXPECT_EQ(FindNext("10"), GridCellId(3, 1));
    EXPECT_EQ(FindNext("10"), GridCellId(3, 1)) << "no wrap-around at the end";
    EXPECT_EQ(FindNext("bow", false, true), GridCellId(3, 1)) << "case matters: nothing found";
    EXPECT_EQ(FindNext("bow", false, false, false), GridCellId(2, 2)) << "upwards, BOW without case";
    EXPECT_EQ(FindNext("bow", false, false, false), GridCellId(2, 1)) << "the heading Bow; the focus stays beside it";

    // The focus cannot rest on a heading, yet each search goes on from the one it found: up through "Axe", "code",
    // "level", "name", then nothing more; down from "name": "level", then "code".
    Grid().SetFocusCell(1, 1);
    QList<GridCellId> walk;
    for (int search = 0; search < 5; ++search)
        walk.append(FindNext("e", false, false, false));
    walk.append(FindNext("e"));
    walk.append(FindNext("e"));
    EXPECT_EQ(walk, QList<GridCellId>({{1, 1}, {1, 2}, {1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 2}}));

    view.FindDialog()->close();
    QCoreApplication::processEvents();
    EXPECT_TRUE(State(CommandId::EditFind).enabled);
}

// Reported: after a larger font in Options the cell being worked on had scrolled out of sight.  Every open table
// keeps its focus cell in view when the font changes, larger or smaller.
TEST_F(CCarvestoneViewTest, AFontChangeKeepsEachTablesFocusCellInSight)
{
    QByteArray table = "name";
    for (int col = 1; col < 30; ++col)
        table += "\tcolumn " + QByteArray::number(col);
    for (int row = 1; row < 80; ++row) {
        table += "\r\nrow " + QByteArray::number(row);
        for (int col = 1; col < 30; ++col)
            table += '\t' + QByteArray::number(row * col);
    }
    Open("b.txt", table);
    Open("a.txt", table);
    for (const char* shown : {"a.txt", "b.txt"}) {
        Click(1, 1);
        Press(Qt::Key_End, Qt::ControlModifier);
        EXPECT_EQ(view.GetFocusCell(), GridCellId(79, 29)) << shown;
        Press(Qt::Key_Tab, Qt::ControlModifier);
    }
    for (int size : {28, 6, 20}) {
        settings.GridFontSize = size;
        view.ApplyGridFont();
        for (int tab = 0; tab < 2; ++tab) {
            EXPECT_TRUE(Grid().IsCellVisible(Grid().GetFocusCell())) << size << " " << tab;
            Press(Qt::Key_Tab, Qt::ControlModifier);
        }
    }
}

// Reported: the right pane was an empty grey box on the first day.  Without a table it says what to do next; the
// first table covers the words and they come back when the last one closes.
TEST_F(CCarvestoneViewTest, TheEmptyPaneSaysHowToAddAndOpenATable)
{
    // Pixels other than the pane's background above the tab strip.
    const auto ink = [this] {
        const QImage image = view.grab().toImage();
        const QRgb background = view.palette().color(QPalette::Dark).rgb();
        int count = 0;
        for (int y = 0; y < view.height() - view.TabBar()->height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += image.pixel(x, y) != background;
        return count;
    };
    EXPECT_GT(ink(), 500) << "the hint is drawn";
    const QString hint = StringTable::Get(StringId::EmptyTableViewHint);
    EXPECT_TRUE(hint.contains("press Ins") && hint.contains("press Enter")) << hint.toStdString();
    Open("t.txt", Small);
    EXPECT_TRUE(Grid().isVisible() && Grid().geometry().contains(QRect(0, 0, view.width(), 10))) << "covered";
    Press(Qt::Key_F4, Qt::ControlModifier);
    EXPECT_EQ(view.TableCount(), 0);
    EXPECT_GT(ink(), 500) << "the words are back";
}

// Reported: "Specify N…ow Name" and "Enter Ne… Column 1" in the title bars, and a field with no label.  The name
// dialogs are wide enough for their titles, their field has a label, and Find opens with Ctrl+F as well as F3.
TEST_F(CCarvestoneViewTest, NameDialogsFitTheirTitlesAndLabelTheirFieldAndCtrlFFinds)
{
    Open("t.txt", ItemTable);
    QStringList seen;
    const auto check = [&seen](QDialog& shown) {
        auto& dialog = dynamic_cast<NameEntryDialog&>(shown);
        dialog.show();
        seen.append(dialog.windowTitle() + " | " + dialog.NameLabel()->text());
        EXPECT_EQ(dialog.NameLabel()->buddy(), dialog.NameEdit());
        EXPECT_TRUE(dialog.NameLabel()->isVisible());
        EXPECT_GE(dialog.width(), dialog.TitleBarWidth(dialog.windowTitle())) << dialog.windowTitle().toStdString();
        EXPECT_GE(dialog.TitleBarWidth(dialog.windowTitle()), QFontMetrics(dialog.font()).horizontalAdvance(dialog.windowTitle()) + 80);
        return int(QDialog::Rejected);
    };
    Click(1, 1);
    dialogs.AnswerDialog(check);
    view.OnCommand(CommandId::AddRow);
    dialogs.AnswerDialog(check);
    view.OnCommand(CommandId::RenameColumn);
    EXPECT_EQ(seen, QStringList({"Specify New Row Name | Row &name:", "Enter New Name For Column 1 | New &name:"}));

    Press(Qt::Key_F, Qt::ControlModifier);
    ASSERT_NE(view.FindDialog(), nullptr) << "Ctrl+F opens Find";
    view.FindDialog()->close();
}
