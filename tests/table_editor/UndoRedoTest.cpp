#include "QStringPrinter.h"
#include "ScriptedDialogs.h"
#include "TestFiles.h"
#include "ViewHost.h"
#include "app/UserDialogs.h"
#include "grid/CGridCtrl.h"
#include "mainframe/CommandIds.h"
#include "table_editor/CellNameEdit.h"
#include "table_editor/CommandBar.h"
#include "table_editor/MagicCodeBox.h"
#include "table_editor/MagicCodeTable.h"
#include "table_editor/TableFile.h"
#include "table_editor/TableGrid.h"
#include "table_editor/TableHistory.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QBoxLayout>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include <functional>

namespace {

const QByteArray Table("name\tlevel\tcode\r\nAxe\t10\tax1\r\nBow\t100\tBOW\r\nCap\t10 \tcap\r\n");

class UndoRedoTest : public ::testing::Test
{
public:
    void SetUp() override
    {
        host.Open("t.txt", Table);
        // In the window, as the main window holds it: the window's keys
        // work while the bar has the focus.
        static_cast<QBoxLayout*>(host.layout())->insertWidget(0, &bar);
        bar.SetTableView(&view);
    }

    CGridCtrl& Grid() { return host.Grid(); }
    QByteArray Bytes() { return TableGrid::Bytes(Grid()); }

    void Click(int row, int col, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        // A click gives the grid the focus, as the window does for a person.
        Grid().setFocus();
        Grid().EnsureVisible(row, col);
        QRect rect;
        ASSERT_TRUE(Grid().GetCellRect(row, col, &rect));
        QTest::mouseClick(Grid().viewport(), Qt::LeftButton, modifiers, rect.center());
    }
    void Select(int row1, int col1, int row2, int col2)
    {
        Click(row1, col1);
        Click(row2, col2, Qt::ShiftModifier);
    }
    void Undo() { PressInWindow(Qt::Key_Z, Qt::ControlModifier); }
    void Redo() { PressInWindow(Qt::Key_Y, Qt::ControlModifier); }
    // A closed popup (the property code list) can leave no window active.
    void PressInWindow(int key, Qt::KeyboardModifiers modifiers)
    {
        QApplication::setActiveWindow(&host);
        host.Press(key, modifiers);
    }
    CommandState State(int id)
    {
        CommandState state;
        EXPECT_TRUE(view.OnUpdateCommand(id, state));
        return state;
    }
    void AnswerName(const QString& typed)
    {
        dialogs.AnswerDialog([=](QDialog& dialog) {
            auto* edit = dialog.findChild<CellNameEdit*>();
            EXPECT_NE(edit, nullptr);
            edit->clear();
            QTest::keyClicks(edit, typed);
            return int(QDialog::Accepted);
        });
    }
    void ApplyFormula(const QString& text)
    {
        auto* field = static_cast<QLineEdit*>(bar.Control(CommandBar::IDC_FORMULA_TEXT));
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, text);
        QTest::mouseClick(bar.Control(CommandBar::IDC_FORMULA), Qt::LeftButton);
    }
    void ChooseCode(int tableRow)
    {
        auto* codes = static_cast<MagicCodeBox*>(bar.Control(CommandBar::IDC_MAGIC_CODES));
        QTest::mouseClick(codes, Qt::LeftButton);
        QAbstractItemView* list = codes->view();
        const QModelIndex entry = list->model()->index(codes->findData(tableRow), 0);
        list->scrollTo(entry);
        list->setCurrentIndex(entry);
        QTest::keyClick(list, Qt::Key_Return);
        QCoreApplication::processEvents();
    }

    ScriptedDialogs dialogs;
    ViewHost host;
    CCarvestoneView& view = host.View();
    CommandBar bar;
};

struct StepCase
{
    const char* name;        // the step's name in the Undo item
    std::function<void(UndoRedoTest&)> act;
};

// Each kind of step, done as a user does it, then undone and redone with
// the keys: the table's bytes, the focus and the tab's "*" come back each time.
TEST_F(UndoRedoTest, EachKindOfStepIsUndoneAndRedoneExactly)
{
    const std::vector<StepCase> cases = {
        {"Edit Cell", [](UndoRedoTest& t) { t.Click(2, 1); t.host.Type("Sword"); t.host.Press(Qt::Key_Return); }},
        {"Delete", [](UndoRedoTest& t) { t.Click(2, 2); t.host.Press(Qt::Key_Delete); }},
        {"Cut", [](UndoRedoTest& t) { t.Select(1, 1, 2, 2); t.host.Press(Qt::Key_X, Qt::ControlModifier); }},
        {"Paste",
         [](UndoRedoTest& t) {
             QApplication::clipboard()->setText(QStringLiteral("a\tb\nc\td\n"));
             t.Click(2, 2);
             t.host.Press(Qt::Key_V, Qt::ControlModifier);
         }},
        {"Formula", [](UndoRedoTest& t) { t.Select(1, 1, 3, 1); t.ApplyFormula(QStringLiteral("5")); }},
        {"Property Code", [](UndoRedoTest& t) { t.Click(3, 2); t.ChooseCode(5); }},
        {"Add Row",
         [](UndoRedoTest& t) {
             t.AnswerName(QStringLiteral("Dagger"));
             t.view.OnCommand(CommandId::AddRow);
         }},
        {"Remove Row",
         [](UndoRedoTest& t) {
             t.Click(2, 1);
             t.dialogs.AnswerMessage(UserDialogs::IdYes);
             t.view.OnCommand(CommandId::RemoveRow);
         }},
        {"Rename Row",
         [](UndoRedoTest& t) {
             t.Click(3, 2);
             t.AnswerName(QStringLiteral("Hat"));
             t.view.OnCommand(CommandId::RenameRow);
         }},
        {"Rename Column",
         [](UndoRedoTest& t) {
             t.Click(1, 2);
             t.AnswerName(QStringLiteral("lvl"));
             t.view.OnCommand(CommandId::RenameColumn);
         }},
    };
    for (const StepCase& step : cases) {
        SCOPED_TRACE(step.name);
        view.CloseAllTables();
        host.Open("t.txt", Table);
        Click(1, 2);
        const int rowsBefore = Grid().GetRowCount();
        step.act(*this);
        const QByteArray after = Bytes();
        const GridCellId focusAfter = view.GetFocusCell();
        ASSERT_NE(after, Table);
        EXPECT_EQ(host.TabTexts(), QStringList{"t.txt*"});
        EXPECT_EQ(State(CommandId::EditUndo).text, QStringLiteral("&Undo ") + step.name);
        EXPECT_TRUE(State(CommandId::EditUndo).enabled);
        EXPECT_FALSE(State(CommandId::EditRedo).enabled);

        Grid().setFocus();
        Undo();
        EXPECT_EQ(Bytes(), Table);
        EXPECT_EQ(Grid().GetRowCount(), rowsBefore);
        EXPECT_EQ(host.TabTexts(), QStringList{"t.txt"});
        EXPECT_FALSE(Grid().GetModified());
        EXPECT_FALSE(State(CommandId::EditUndo).enabled);
        EXPECT_EQ(State(CommandId::EditRedo).text, QStringLiteral("&Redo ") + step.name);
        Redo();
        EXPECT_EQ(Bytes(), after);
        EXPECT_EQ(view.GetFocusCell(), focusAfter);
        EXPECT_EQ(host.TabTexts(), QStringList{"t.txt*"});
        EXPECT_TRUE(Grid().GetModified());
    }
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}

TEST_F(UndoRedoTest, UndoPutsBackTheSelectionAndFocusOfTheMoment)
{
    Select(1, 1, 2, 2);
    host.Press(Qt::Key_X, Qt::ControlModifier);
    Click(3, 2);
    Undo();
    EXPECT_EQ(Grid().GetSelectedRange(), GridCellRange(1, 1, 2, 2));
    EXPECT_EQ(Grid().GetFocusCell(), GridCellId(2, 2));
    EXPECT_EQ(Grid().GetCellText(1, 1), QStringLiteral("10"));
}

TEST_F(UndoRedoTest, UndoShowsTheCellItChangedInAScrolledTable)
{
    QByteArray large("name\tvalue\r\n");
    for (int row = 1; row <= 300; ++row)
        large += "row" + QByteArray::number(row) + "\t" + QByteArray::number(row) + "\r\n";
    host.Open("large.txt", large);
    Click(1, 1);
    host.Type("changed");
    host.Press(Qt::Key_Return);
    Grid().EnsureVisible(300, 1);
    ASSERT_FALSE(Grid().IsCellVisible(1, 1));
    Undo();
    EXPECT_TRUE(Grid().IsCellVisible(1, 1));
    EXPECT_EQ(Grid().GetCellText(1, 1), QStringLiteral("1"));
}

TEST_F(UndoRedoTest, SevenHundredCellsPastedAreOneStep)
{
    QByteArray wide("name");
    for (int col = 1; col <= 25; ++col)
        wide += "\tc" + QByteArray::number(col);
    wide += "\r\n";
    for (int row = 1; row <= 30; ++row) {
        wide += "r" + QByteArray::number(row);
        for (int col = 1; col <= 25; ++col)
            wide += "\t" + QByteArray::number(row * 100 + col);
        wide += "\r\n";
    }
    host.Open("wide.txt", wide);
    QStringList lines;
    for (int row = 0; row < 28; ++row)
        lines.append(QStringList(25, QStringLiteral("x")).join(QLatin1Char('\t')));
    QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
    // (1, 1) has the focus already: a click there would open its editor.
    Click(2, 1);
    host.Press(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(Grid().GetCellText(29, 25), QStringLiteral("x"));

    Undo();
    EXPECT_EQ(TableGrid::Bytes(Grid()), wide);
    EXPECT_FALSE(State(CommandId::EditUndo).enabled) << "the paste was more than one step";
    Redo();
    EXPECT_EQ(Grid().GetCellText(2, 1), QStringLiteral("x"));
    EXPECT_EQ(Grid().GetCellText(29, 25), QStringLiteral("x"));
    EXPECT_EQ(Grid().GetCellText(30, 1), QStringLiteral("3001"));
    EXPECT_EQ(Grid().GetCellText(1, 1), QStringLiteral("101"));
}

// Undo everything, save: the file on disk is the file that was opened.
TEST_F(UndoRedoTest, EverythingUndoneSavesTheOriginalBytes)
{
    QByteArray original;
    QString error;
    ASSERT_TRUE(TableFile::ReadFile(QStringLiteral(CARVESTONE_GAME_TABLES "/Weapons.txt"), &original, &error));
    ASSERT_TRUE(TableFile::Parse(original).Changes().isEmpty()) << "the sample must keep its bytes on a save";
    host.Open("Weapons.txt", original);
    Click(5, 3);
    host.Type("edited");
    host.Press(Qt::Key_Return);
    Select(2, 2, 9, 6);
    host.Press(Qt::Key_X, Qt::ControlModifier);
    Click(20, 4);
    host.Press(Qt::Key_V, Qt::ControlModifier);
    AnswerName(QStringLiteral("new row"));
    view.OnCommand(CommandId::AddRow);
    Click(12, 1);
    dialogs.AnswerMessage(UserDialogs::IdYes);
    view.OnCommand(CommandId::RemoveRow);
    ASSERT_TRUE(view.SaveTable(-1));
    ASSERT_NE(TestFiles::Read(host.PathOf("Weapons.txt")), original);

    while (State(CommandId::EditUndo).enabled)
        Undo();
    EXPECT_EQ(host.TabTexts().first(), QStringLiteral("Weapons.txt*")) << "the saved state is not the opened one";
    ASSERT_TRUE(view.SaveTable(-1));
    EXPECT_EQ(TestFiles::Read(host.PathOf("Weapons.txt")), original);
}

TEST_F(UndoRedoTest, TheModifiedMarkFollowsTheSavedState)
{
    Click(1, 2);
    host.Type("11");
    host.Press(Qt::Key_Return);
    ASSERT_TRUE(view.SaveTable(-1));
    EXPECT_EQ(host.TabTexts(), QStringList{"t.txt"});

    Click(2, 2);
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

TEST_F(UndoRedoTest, ANewChangeClearsWhatCouldBeRedone)
{
    Click(1, 2);
    host.Press(Qt::Key_Delete);
    Undo();
    ASSERT_TRUE(State(CommandId::EditRedo).enabled);
    Click(2, 2);
    host.Type("5");
    host.Press(Qt::Key_Return);
    EXPECT_FALSE(State(CommandId::EditRedo).enabled);
    EXPECT_EQ(State(CommandId::EditRedo).text, QStringLiteral("&Redo"));
    Redo();
    EXPECT_EQ(Grid().GetCellText(1, 2), QStringLiteral("ax1"));

    // The other key for Redo.
    Undo();
    PressInWindow(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Grid().GetCellText(2, 2), QStringLiteral("5"));
}

TEST_F(UndoRedoTest, AnEditThatChangesNothingLeavesNoStep)
{
    Click(1, 1);
    host.Type("10");
    host.Press(Qt::Key_Return);
    Click(3, 2);
    host.Type("cap");
    host.Press(Qt::Key_Escape);
    QApplication::clipboard()->setText(QStringLiteral("10\tax1"));
    Click(1, 1);
    host.Press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_FALSE(State(CommandId::EditUndo).enabled);
    EXPECT_EQ(host.TabTexts(), QStringList{"t.txt"});
}

// Undo also takes back what is still typed in the editor.
TEST_F(UndoRedoTest, UndoWhileTypingTakesBackTheTypedText)
{
    Click(1, 1);
    host.Type("Hammer");
    view.OnCommand(CommandId::EditUndo);
    EXPECT_EQ(Grid().GetCellText(1, 1), QStringLiteral("10"));
    EXPECT_EQ(State(CommandId::EditRedo).text, QStringLiteral("&Redo Edit Cell"));
}

// The Paste command while typing pastes into the editor: the typed text
// and the pasted text become one Edit Cell step when the edit ends.
TEST_F(UndoRedoTest, PasteWhileTypingGoesIntoTheEditor)
{
    QApplication::clipboard()->setText(QStringLiteral("ax"));
    Click(2, 2);
    host.Type("b");
    view.OnCommand(CommandId::EditPaste);
    host.Press(Qt::Key_Return);
    EXPECT_EQ(Grid().GetCellText(2, 2), QStringLiteral("bax"));
    EXPECT_EQ(State(CommandId::EditUndo).text, QStringLiteral("&Undo Edit Cell"));
    Undo();
    EXPECT_EQ(Bytes(), Table);
}

TEST_F(UndoRedoTest, EachTableHasItsOwnHistory)
{
    Click(2, 1);
    host.Press(Qt::Key_Delete);
    host.Open("u.txt", Table);
    EXPECT_FALSE(State(CommandId::EditUndo).enabled);
    EXPECT_EQ(State(CommandId::EditUndo).text, QStringLiteral("&Undo"));
    Click(2, 2);
    host.Type("7");
    host.Press(Qt::Key_Return);
    EXPECT_EQ(State(CommandId::EditUndo).text, QStringLiteral("&Undo Edit Cell"));

    host.Press(Qt::Key_Tab, Qt::ControlModifier);
    ASSERT_EQ(view.GetCurrentFileName(), QStringLiteral("t.txt"));
    EXPECT_EQ(State(CommandId::EditUndo).text, QStringLiteral("&Undo Delete"));
    Undo();
    EXPECT_EQ(Grid().GetCellText(2, 1), QStringLiteral("100"));
    EXPECT_EQ(view.GridAt(0)->GetCellText(2, 2), QStringLiteral("7")) << "undo reached the other table";
    EXPECT_EQ(host.TabTexts(), (QStringList{"u.txt*", "t.txt"}));

    view.CloseAllTables();
    EXPECT_FALSE(State(CommandId::EditUndo).enabled);
    EXPECT_FALSE(State(CommandId::EditRedo).enabled);
}

} // namespace
