#include "ViewTest.h"
#include "table_editor/TableGrid.h"
#include "table_editor/TableHistory.h"
#include "ui/CommandIds.h"

#include <QClipboard>

#include <functional>

class UndoRedoTest : public ViewTest
{
public:
    void SetUp() override { Open("t.txt", ItemTable); }
    void Undo() { Press(Qt::Key_Z, Qt::ControlModifier); }
};

TEST_F(UndoRedoTest, EachKindOfStepIsUndoneAndRedoneExactly)
{
    // For the paste before the cut: Latin-1 beyond ASCII and a text longer
    // than a step's one-byte length.
    QApplication::clipboard()->setText(QString::fromLatin1("\xC9p\xE9" "e \xFF\tb\n") + QString(300, u'c') + "\td\n");
    const std::vector<std::pair<QString, std::function<void()>>> steps = {
        {"Edit Cell", [this] { Edit(2, 1, "Sword"); }},
        {"Delete", [this] { Click(2, 2); Press(Qt::Key_Delete); }},
        {"Paste", [this] { Click(2, 2); Press(Qt::Key_V, Qt::ControlModifier); }},
        {"Cut", [this] { Click(1, 1); Click(2, 2, Qt::ShiftModifier); Press(Qt::Key_X, Qt::ControlModifier); }},
        {"Formula", [this] { Click(1, 1); Click(3, 1, Qt::ShiftModifier); ApplyFormula("5"); }},
        {"Property Code", [this] { Click(3, 2); ChooseCode(5); }},
        {"Add Row", [this] { AnswerName("Dagger"); view.OnCommand(CommandId::AddRow); }},
        {"Remove Row",
         [this] { Click(2, 1); dialogs.AnswerMessage(UserDialogs::IdYes); view.OnCommand(CommandId::RemoveRow); }},
        {"Rename Row", [this] { Click(3, 2); AnswerName("Hat"); view.OnCommand(CommandId::RenameRow); }},
        {"Rename Column", [this] { Click(1, 2); AnswerName("lvl"); view.OnCommand(CommandId::RenameColumn); }},
    };
    for (const auto& [name, act] : steps) {
        SCOPED_TRACE(name.toStdString());
        view.CloseAllTables();
        Open("t.txt", ItemTable);
        Click(1, 2);
        act();
        const QByteArray after = TableGrid::Bytes(Grid());
        const GridCellId focusAfter = view.GetFocusCell();
        ASSERT_NE(after, ItemTable);
        EXPECT_EQ(TabTexts(), QStringList{"t.txt*"});
        EXPECT_EQ(State(CommandId::EditUndo).text, "&Undo " + name);

        Undo();
        EXPECT_EQ(TableGrid::Bytes(Grid()), ItemTable);
        EXPECT_EQ(TabTexts(), QStringList{"t.txt"});
        EXPECT_FALSE(State(CommandId::EditUndo).enabled);
        EXPECT_EQ(State(CommandId::EditRedo).text, "&Redo " + name);
        Press(Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(TableGrid::Bytes(Grid()), after);
        EXPECT_EQ(view.GetFocusCell(), focusAfter);
        EXPECT_EQ(TabTexts(), QStringList{"t.txt*"});
    }
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}

TEST_F(UndoRedoTest, UndoShowsTheMomentAndTheMarkFollowsTheSavedStateAndEverythingUndoneSavesTheOriginal)
{
    QByteArray original = TestFiles::Read(QStringLiteral(CARVESTONE_GAME_TABLES "/Weapons.txt"));
    // Rows enough to scroll the first ones out of sight, also with the demo's short table.
    const QByteArray emptyFields(original.left(original.indexOf('\n')).count('\t'), '\t');
    for (int row = int(original.count('\n')); row <= 301; ++row)
        original += "extra" + QByteArray::number(row) + emptyFields + "\r\n";
    Open("Weapons.txt", original);
    Edit(5, 3, "edited");
    const QByteArray beforeCut = TableGrid::Bytes(Grid());
    Click(2, 2);
    Click(9, 6, Qt::ShiftModifier);
    Press(Qt::Key_X, Qt::ControlModifier);
    Click(300, 1);
    ASSERT_FALSE(Grid().IsCellVisible(2, 2));
    Undo();
    EXPECT_TRUE(Grid().IsCellVisible(2, 2));
    EXPECT_EQ(Grid().GetSelectedRange(), GridCellRange(2, 2, 9, 6));
    EXPECT_EQ(Grid().GetFocusCell(), GridCellId(9, 6));
    EXPECT_EQ(TableGrid::Bytes(Grid()), beforeCut);
    Press(Qt::Key_Y, Qt::ControlModifier);
    Click(20, 4);
    Press(Qt::Key_V, Qt::ControlModifier);
    AnswerName(QStringLiteral("new row"));
    view.OnCommand(CommandId::AddRow);
    Click(12, 1);
    dialogs.AnswerMessage(UserDialogs::IdYes);
    view.OnCommand(CommandId::RemoveRow);
    ASSERT_TRUE(view.SaveTable(-1));
    ASSERT_NE(Saved("Weapons.txt"), original);

    Edit(1, 1, "changed");
    Undo();
    EXPECT_EQ(TabTexts().first(), QStringLiteral("Weapons.txt")) << "back at the saved state";
    EXPECT_FALSE(view.IsAnyTableModified());
    Undo();
    EXPECT_EQ(TabTexts().first(), QStringLiteral("Weapons.txt*")) << "before the saved state";
    EXPECT_TRUE(view.IsAnyTableModified());
    Press(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_FALSE(view.IsAnyTableModified());
    while (State(CommandId::EditUndo).enabled)
        Undo();
    EXPECT_EQ(TabTexts().first(), QStringLiteral("Weapons.txt*")) << "the saved state is not the opened one";
    ASSERT_TRUE(view.SaveTable(-1));
    EXPECT_EQ(Saved("Weapons.txt"), original);
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}

// Undo while typing takes back the typed text; Paste while typing goes into the editor, in its one step.
TEST_F(UndoRedoTest, EditsThatChangeNothingLeaveNoStepTypingIsOneStepAndEachTableHasItsOwnHistory)
{
    Edit(1, 1, "10");
    Click(3, 2);
    Type("cap");
    Press(Qt::Key_Escape);
    QApplication::clipboard()->setText(QStringLiteral("10\tax1"));
    Click(1, 1);
    Press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_FALSE(State(CommandId::EditUndo).enabled);
    EXPECT_EQ(TabTexts(), QStringList{"t.txt"});

    Click(1, 2);
    Type("Hammer");
    view.OnCommand(CommandId::EditUndo);
    EXPECT_EQ(Grid().GetCellText(1, 2), QStringLiteral("ax1"));
    EXPECT_EQ(State(CommandId::EditRedo).text, QStringLiteral("&Redo Edit Cell"));
    Edit(2, 2, "5");
    EXPECT_FALSE(State(CommandId::EditRedo).enabled);
    EXPECT_EQ(State(CommandId::EditRedo).text, QStringLiteral("&Redo"));
    Undo();
    Press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Grid().GetCellText(2, 2), QStringLiteral("5")) << "the other key for Redo";

    QApplication::clipboard()->setText(QStringLiteral("ax"));
    Click(3, 2);
    Type("b");
    view.OnCommand(CommandId::EditPaste);
    Press(Qt::Key_Return);
    EXPECT_EQ(Grid().GetCellText(3, 2), QStringLiteral("bax"));
    EXPECT_EQ(State(CommandId::EditUndo).text, QStringLiteral("&Undo Edit Cell"));
    Undo();
    EXPECT_EQ(Grid().GetCellText(3, 2), QStringLiteral("cap"));

    Click(2, 1);
    Press(Qt::Key_Delete);
    Open("u.txt", ItemTable);
    EXPECT_FALSE(State(CommandId::EditUndo).enabled);
    EXPECT_EQ(State(CommandId::EditUndo).text, QStringLiteral("&Undo"));
    Edit(2, 2, "7");
    EXPECT_EQ(State(CommandId::EditUndo).text, QStringLiteral("&Undo Edit Cell"));

    Press(Qt::Key_Tab, Qt::ControlModifier);
    ASSERT_EQ(view.GetCurrentFileName(), QStringLiteral("t.txt"));
    EXPECT_EQ(State(CommandId::EditUndo).text, QStringLiteral("&Undo Delete"));
    Undo();
    EXPECT_EQ(Grid().GetCellText(2, 1), QStringLiteral("100"));
    EXPECT_EQ(view.GridAt(0)->GetCellText(2, 2), QStringLiteral("7")) << "undo reached the other table";
    EXPECT_EQ(TabTexts(), (QStringList{"u.txt*", "t.txt*"}));

    view.CloseAllTables();
    EXPECT_FALSE(State(CommandId::EditUndo).enabled);
    EXPECT_FALSE(State(CommandId::EditRedo).enabled);
}

// Each big step holds about 40 KB (the text before and after): with a 140 KB bound the oldest go, and the
// saved state survives while its step is kept.
TEST(TableHistoryTest, KeepsAtMostAThousandStepsAndItsBytesDroppingTheOldestButNeverTheNewest)
{
    CGridCtrl grid(3, 3, 1, 1);
    // Each edit of cell (1, 1) is told to the history as the table view tells it.
    const auto edit = [&grid](TableHistory& history, const QString& text) {
        history.NoteBeginEdit(1, 1);
        grid.SetCellText(1, 1, text);
        history.NoteEndEdit(1, 1, QStringLiteral("Edit Cell"));
    };
    TableHistory many(grid);
    for (int n = 1; n <= TableHistory::StepLimit + 5; ++n)
        edit(many, QString::number(n));
    EXPECT_EQ(many.StepCount(), TableHistory::StepLimit);
    while (many.CanUndo())
        many.Undo();
    EXPECT_EQ(grid.GetCellText(1, 1), QStringLiteral("5")) << "the oldest steps were not the ones dropped";
    EXPECT_FALSE(many.IsClean()) << "the opened state was dropped, it cannot come back";

    constexpr qint64 limit = 70 * 1024; // a step keeps 20,000 bytes: three fit
    TableHistory edited(grid, limit);
    const auto big = [](int n) { return QString(10000, QChar(u'a' + n)); };
    for (int n = 0; n < 6; ++n) {
        edit(edited, big(n));
        if (n == 3)
            edited.SetClean();
    }
    EXPECT_LE(edited.Bytes(), limit);
    const int kept = edited.StepCount();
    EXPECT_LT(kept, 6);
    int undone = 0;
    for (; edited.CanUndo() && !edited.IsClean(); ++undone)
        edited.Undo();
    EXPECT_EQ(undone, 2) << "the saved state moved";
    while (edited.CanUndo())
        edited.Undo();
    EXPECT_EQ(grid.GetCellText(1, 1), big(6 - kept - 1)) << "the text before the oldest kept step";

    TableHistory small(grid, 1024);
    edit(small, QStringLiteral("small"));
    edit(small, QString(5000, u'x'));
    EXPECT_EQ(small.StepCount(), 1) << "only the newest step, beyond the bound, stays";
    small.Undo();
    EXPECT_EQ(grid.GetCellText(1, 1), QStringLiteral("small"));
    EXPECT_FALSE(small.IsClean()) << "the opened state was dropped";
}
