#include "TestFiles.h"
#include "ViewHost.h"
#include "grid/CGridCtrl.h"
#include "mainframe/CommandIds.h"
#include "table_editor/TableFile.h"
#include "table_editor/TableGrid.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include <functional>

namespace {

class UndoRedoTest : public BarTest
{
public:
    void SetUp() override { host.Open("t.txt", ItemTable); }
    CGridCtrl& Grid() { return host.Grid(); }
    QByteArray Bytes() { return TableGrid::Bytes(Grid()); }
    void Undo() { PressInWindow(Qt::Key_Z, Qt::ControlModifier); }
    void Redo() { PressInWindow(Qt::Key_Y, Qt::ControlModifier); }
    // A closed popup (the property code list) can leave no window active.
    void PressInWindow(int key, Qt::KeyboardModifiers modifiers)
    {
        QApplication::setActiveWindow(&host);
        host.Press(key, modifiers);
    }
    QString UndoText() { return host.State(CommandId::EditUndo).text; }
    void Paste(const QString& text, int row, int col)
    {
        QApplication::clipboard()->setText(text);
        host.Click(row, col);
        host.Press(Qt::Key_V, Qt::ControlModifier);
    }
    void Command(int id, int answer)
    {
        dialogs.AnswerMessage(answer);
        view.OnCommand(id);
    }
    void Rename(int id, int row, int col, const QString& name)
    {
        host.Click(row, col);
        AnswerName(name);
        view.OnCommand(id);
    }
};

// Each kind of step, done as a user does it, then undone and redone with
// the keys: the table's bytes, the focus and the tab's "*" come back each time.
TEST_F(UndoRedoTest, EachKindOfStepIsUndoneAndRedoneExactly)
{
    const std::vector<std::pair<QString, std::function<void()>>> steps = {
        {"Edit Cell", [this] { host.Edit(2, 1, "Sword"); }},
        {"Delete", [this] { host.Click(2, 2); host.Press(Qt::Key_Delete); }},
        {"Cut", [this] { host.Select(1, 1, 2, 2); host.Press(Qt::Key_X, Qt::ControlModifier); }},
        {"Paste", [this] { Paste("a\tb\nc\td\n", 2, 2); }},
        {"Formula", [this] { host.Select(1, 1, 3, 1); ApplyFormula("5"); }},
        {"Property Code", [this] { host.Click(3, 2); ChooseCode(5); }},
        {"Add Row", [this] { AnswerName("Dagger"); view.OnCommand(CommandId::AddRow); }},
        {"Remove Row", [this] { host.Click(2, 1); Command(CommandId::RemoveRow, UserDialogs::IdYes); }},
        {"Rename Row", [this] { Rename(CommandId::RenameRow, 3, 2, "Hat"); }},
        {"Rename Column", [this] { Rename(CommandId::RenameColumn, 1, 2, "lvl"); }},
    };
    for (const auto& [name, act] : steps) {
        SCOPED_TRACE(name.toStdString());
        view.CloseAllTables();
        host.Open("t.txt", ItemTable);
        host.Click(1, 2);
        const int rowsBefore = Grid().GetRowCount();
        act();
        const QByteArray after = Bytes();
        const GridCellId focusAfter = view.GetFocusCell();
        ASSERT_NE(after, ItemTable);
        EXPECT_EQ(host.TabTexts(), QStringList{"t.txt*"});
        EXPECT_EQ(UndoText(), "&Undo " + name);
        EXPECT_FALSE(host.State(CommandId::EditRedo).enabled);

        Grid().setFocus();
        Undo();
        EXPECT_EQ(Bytes(), ItemTable);
        EXPECT_EQ(Grid().GetRowCount(), rowsBefore);
        EXPECT_EQ(host.TabTexts(), QStringList{"t.txt"});
        EXPECT_FALSE(Grid().GetModified());
        EXPECT_FALSE(host.State(CommandId::EditUndo).enabled);
        EXPECT_EQ(host.State(CommandId::EditRedo).text, "&Redo " + name);
        Redo();
        EXPECT_EQ(Bytes(), after);
        EXPECT_EQ(view.GetFocusCell(), focusAfter);
        EXPECT_EQ(host.TabTexts(), QStringList{"t.txt*"});
        EXPECT_TRUE(Grid().GetModified());
    }
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}

TEST_F(UndoRedoTest, UndoPutsBackTheSelectionAndFocusOfTheMomentAndShowsTheCell)
{
    QByteArray large("name\tvalue\tmore\r\n");
    for (int row = 1; row <= 300; ++row)
        large += "row" + QByteArray::number(row) + "\t" + QByteArray::number(row) + "\tm\r\n";
    host.Open("large.txt", large);
    host.Select(2, 1, 3, 2);
    host.Press(Qt::Key_X, Qt::ControlModifier);
    host.Click(300, 1);
    ASSERT_FALSE(Grid().IsCellVisible(2, 1));
    Undo();
    EXPECT_TRUE(Grid().IsCellVisible(2, 1));
    EXPECT_EQ(Grid().GetSelectedRange(), GridCellRange(2, 1, 3, 2));
    EXPECT_EQ(Grid().GetFocusCell(), GridCellId(3, 2));
    EXPECT_EQ(Grid().GetCellText(2, 1), QStringLiteral("2"));
}

// Undo everything, save: the file on disk is the file that was opened.
TEST_F(UndoRedoTest, EverythingUndoneSavesTheOriginalBytes)
{
    QByteArray original;
    QString error;
    ASSERT_TRUE(TableFile::ReadFile(QStringLiteral(CARVESTONE_GAME_TABLES "/Weapons.txt"), &original, &error));
    ASSERT_TRUE(TableFile::Parse(original).Changes().isEmpty()) << "the sample must keep its bytes on a save";
    host.Open("Weapons.txt", original);
    host.Edit(5, 3, "edited");
    host.Select(2, 2, 9, 6);
    host.Press(Qt::Key_X, Qt::ControlModifier);
    host.Click(20, 4);
    host.Press(Qt::Key_V, Qt::ControlModifier);
    AnswerName(QStringLiteral("new row"));
    view.OnCommand(CommandId::AddRow);
    host.Click(12, 1);
    Command(CommandId::RemoveRow, UserDialogs::IdYes);
    ASSERT_TRUE(view.SaveTable(-1));
    ASSERT_NE(TestFiles::Read(host.PathOf("Weapons.txt")), original);

    while (host.State(CommandId::EditUndo).enabled)
        Undo();
    EXPECT_EQ(host.TabTexts().first(), QStringLiteral("Weapons.txt*")) << "the saved state is not the opened one";
    ASSERT_TRUE(view.SaveTable(-1));
    EXPECT_EQ(TestFiles::Read(host.PathOf("Weapons.txt")), original);
}

TEST_F(UndoRedoTest, TheModifiedMarkFollowsTheSavedState)
{
    host.Edit(1, 2, "11");
    ASSERT_TRUE(view.SaveTable(-1));
    EXPECT_EQ(host.TabTexts(), QStringList{"t.txt"});

    host.Click(2, 2);
    host.Press(Qt::Key_Delete);
    EXPECT_EQ(host.TabTexts(), QStringList{"t.txt*"});
    Undo();
    EXPECT_EQ(host.TabTexts(), QStringList{"t.txt"}) << "back at the saved state";
    EXPECT_FALSE(view.IsAnyTableModified());
    Undo();
    EXPECT_EQ(host.TabTexts(), QStringList{"t.txt*"}) << "before the saved state";
    EXPECT_TRUE(view.IsAnyTableModified());
    Redo();
    EXPECT_FALSE(view.IsAnyTableModified());
    Redo();
    EXPECT_EQ(host.TabTexts(), QStringList{"t.txt*"});
    // Closing asks only when the table differs from the file.
    Undo();
    EXPECT_TRUE(view.CloseCurrentTable());
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}

TEST_F(UndoRedoTest, EditsThatChangeNothingLeaveNoStepAndANewChangeClearsRedo)
{
    host.Edit(1, 1, "10");
    host.Click(3, 2);
    host.Type("cap");
    host.Press(Qt::Key_Escape);
    Paste("10\tax1", 1, 1);
    EXPECT_FALSE(host.State(CommandId::EditUndo).enabled);
    EXPECT_EQ(host.TabTexts(), QStringList{"t.txt"});

    host.Click(1, 2);
    host.Press(Qt::Key_Delete);
    Undo();
    ASSERT_TRUE(host.State(CommandId::EditRedo).enabled);
    host.Edit(2, 2, "5");
    EXPECT_FALSE(host.State(CommandId::EditRedo).enabled);
    EXPECT_EQ(host.State(CommandId::EditRedo).text, QStringLiteral("&Redo"));
    Redo();
    EXPECT_EQ(Grid().GetCellText(1, 2), QStringLiteral("ax1"));
    Undo();
    PressInWindow(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Grid().GetCellText(2, 2), QStringLiteral("5")) << "the other key for Redo";
}

// Undo while typing takes back the typed text; Paste while typing goes into the editor
// and becomes one Edit Cell step with the typed text.
TEST_F(UndoRedoTest, UndoAndPasteWhileTypingWorkOnTheEditor)
{
    host.Click(1, 1);
    host.Type("Hammer");
    view.OnCommand(CommandId::EditUndo);
    EXPECT_EQ(Grid().GetCellText(1, 1), QStringLiteral("10"));
    EXPECT_EQ(host.State(CommandId::EditRedo).text, QStringLiteral("&Redo Edit Cell"));

    view.CloseAllTables();
    host.Open("t.txt", ItemTable);
    QApplication::clipboard()->setText(QStringLiteral("ax"));
    host.Click(2, 2);
    host.Type("b");
    view.OnCommand(CommandId::EditPaste);
    host.Press(Qt::Key_Return);
    EXPECT_EQ(Grid().GetCellText(2, 2), QStringLiteral("bax"));
    EXPECT_EQ(UndoText(), QStringLiteral("&Undo Edit Cell"));
    Undo();
    EXPECT_EQ(Bytes(), ItemTable);
}

TEST_F(UndoRedoTest, EachTableHasItsOwnHistory)
{
    host.Click(2, 1);
    host.Press(Qt::Key_Delete);
    host.Open("u.txt", ItemTable);
    EXPECT_FALSE(host.State(CommandId::EditUndo).enabled);
    EXPECT_EQ(UndoText(), QStringLiteral("&Undo"));
    host.Edit(2, 2, "7");
    EXPECT_EQ(UndoText(), QStringLiteral("&Undo Edit Cell"));

    host.Press(Qt::Key_Tab, Qt::ControlModifier);
    ASSERT_EQ(view.GetCurrentFileName(), QStringLiteral("t.txt"));
    EXPECT_EQ(UndoText(), QStringLiteral("&Undo Delete"));
    Undo();
    EXPECT_EQ(Grid().GetCellText(2, 1), QStringLiteral("100"));
    EXPECT_EQ(view.GridAt(0)->GetCellText(2, 2), QStringLiteral("7")) << "undo reached the other table";
    EXPECT_EQ(host.TabTexts(), (QStringList{"u.txt*", "t.txt"}));

    view.CloseAllTables();
    EXPECT_FALSE(host.State(CommandId::EditUndo).enabled);
    EXPECT_FALSE(host.State(CommandId::EditRedo).enabled);
}

} // namespace
