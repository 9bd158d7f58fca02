#include "ViewTest.h"

#include "mainframe/CommandIds.h"
#include "table_editor/FindTextDialog.h"

#include <QCheckBox>
#include <QClipboard>
#include <QPushButton>
#include <QRadioButton>

namespace {

class RowColumnCommandsTest : public ViewTest
{
protected:
    void SetUp() override { Open("t.txt", ItemTable); }
    bool Enabled(int id) { return State(id).enabled; }

    GridCellId FindNext(const QString& text, bool wholeWord = false, bool matchCase = false, bool down = true)
    {
        FindTextDialog* find = view.FindDialog();
        if (find->TextEdit()->text() != text) {
            find->TextEdit()->clear();
            QTest::keyClicks(find->TextEdit(), text);
        }
        find->WholeWordBox()->setChecked(wholeWord);
        find->MatchCaseBox()->setChecked(matchCase);
        QTest::mouseClick(down ? find->DownButton() : find->UpButton(), Qt::LeftButton);
        QTest::mouseClick(find->FindNextButton(), Qt::LeftButton);
        return view.GetFocusCell();
    }
};

TEST_F(RowColumnCommandsTest, AddRowAppendsTheFilteredNameAndRemoveRowAsksForTheGridRow)
{
    Grid().SetFocusCell(-1, -1);
    for (int command : {CommandId::RemoveRow, CommandId::RenameRow, CommandId::RenameColumn})
        EXPECT_FALSE(Enabled(command)) << command;
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
    EXPECT_TRUE(Enabled(CommandId::RemoveRow));
    dialogs.AnswerMessage(UserDialogs::IdNo);
    view.OnCommand(CommandId::RemoveRow);
    EXPECT_EQ(dialogs.Messages().last().text, QStringLiteral("Are you sure you wish to delete row 2 from this file?"));
    EXPECT_EQ(dialogs.Messages().last().type & 0x0F, UserDialogs::TypeYesNo);
    dialogs.AnswerMessage(UserDialogs::IdYes);
    view.OnCommand(CommandId::RemoveRow);
    EXPECT_TRUE(view.SaveTable(-1));
    EXPECT_EQ(Saved("t.txt"), "name\tlevel\tcode\r\nAxe\t10\tax1\r\nCap\t10 \tcap\r\nNew\t\t\r\nSplithere\t\t\r\n");
}

TEST_F(RowColumnCommandsTest, RenamesShowTheTitleAndNameKeepOnEmptyAndMark)
{
    const struct { int command; GridCellId focus, renamed; const char *caption, *before; } cases[] = {
        {CommandId::RenameColumn, {2, 2}, {0, 2}, "Enter New Name For Column 2", "code"},
        {CommandId::RenameColumn, {3, 1}, {0, 1}, "Enter New Name For Column 1", "level"},
        {CommandId::RenameRow, {3, 1}, {3, 0}, "Enter New Name For Row 3", "Cap"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        Grid().SetFocusCell(c.focus);
        EXPECT_TRUE(Enabled(c.command));
        QString caption;
        QString shown;
        AnswerName(QString(), &caption, &shown);
        view.OnCommand(c.command);
        EXPECT_EQ(caption, QString::fromLatin1(c.caption));
        EXPECT_EQ(shown, QString::fromLatin1(c.before));
        EXPECT_EQ(Grid().GetCellText(c.renamed.row, c.renamed.col), QString::fromLatin1(c.before)) << "kept";
        EXPECT_EQ(TabTexts(), QStringList({"t.txt"}));
        AnswerName("ren\tamed");
        view.OnCommand(c.command);
        ASSERT_TRUE(view.SaveTable(-1));
    }
    EXPECT_EQ(Saved("t.txt"),
              "name\trenamed\trenamed\r\nAxe\t10\tax1\r\nBow\t100\tBOW\r\nrenamed\t10 \tcap\r\n");
}

TEST_F(RowColumnCommandsTest, FindHonoursWholeWordCaseAndDirectionAndWalksThroughHeadings)
{
    Grid().SetFocusCell(1, 1);
    Press(Qt::Key_F3);
    ASSERT_NE(view.FindDialog(), nullptr);
    EXPECT_FALSE(Enabled(CommandId::EditFind)) << "one Find dialog at a time";

    EXPECT_EQ(FindNext("10", true), GridCellId(1, 1)) << "the first search may find the focus cell";
    EXPECT_EQ(FindNext("10", true), GridCellId(1, 1)) << "neither 100 nor \"10 \" is the whole word 10";
    EXPECT_EQ(FindNext("10"), GridCellId(2, 1));
    EXPECT_EQ(FindNext("10"), GridCellId(3, 1));
    EXPECT_EQ(FindNext("10"), GridCellId(3, 1)) << "no wrap-around at the end";
    EXPECT_EQ(FindNext("bow", false, true), GridCellId(3, 1)) << "case matters: nothing found";
    EXPECT_EQ(FindNext("bow", false, false, false), GridCellId(2, 2)) << "upwards, BOW without case";
    EXPECT_EQ(FindNext("bow", false, false, false), GridCellId(2, 1)) << "the heading Bow; the focus stays beside it";

    // The focus cannot rest on a heading, yet each search goes on from the one it found: up through "Axe",
    // "code", "level", "name", then nothing more; down from "name": "level", then "code".
    Grid().SetFocusCell(1, 1);
    QList<GridCellId> walk;
    for (int search = 0; search < 5; ++search)
        walk.append(FindNext("e", false, false, false));
    walk.append(FindNext("e"));
    walk.append(FindNext("e"));
    EXPECT_EQ(walk, QList<GridCellId>({{1, 1}, {1, 2}, {1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 2}}));

    view.FindDialog()->close();
    QCoreApplication::processEvents();
    EXPECT_EQ(view.FindDialog(), nullptr);
    EXPECT_TRUE(Enabled(CommandId::EditFind));
}

} // namespace
