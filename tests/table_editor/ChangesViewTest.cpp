#include "ViewTest.h"

#include "grid/CTitleTip.h"
#include "ui/ChangeColours.h"
#include "ui/ChangesLegend.h"
#include "ui/CommandIds.h"

#include <QDir>
#include <QSignalSpy>

namespace {

// The game's items; the MOD changed Bow's level, added the row Dirk and the column speed.
const QByteArray Game("name\tlevel\tcode\r\nAxe\t10\tax1\r\nBow\t20\tbow\r\nCap\t30\tcap\r\n");
const QByteArray Mine("name\tlevel\tcode\tspeed\r\nAxe\t10\tax1\t1\r\nBow\t25\tbow\t2\r\nDirk\t5\tdrk\t3\r\n"
                      "Cap\t30\tcap\t4\r\n");

} // namespace

class ChangesViewTest : public ViewTest
{
protected:
    void SetUp() override
    {
        QDir(folder.path()).mkpath(".carvestone/originals");
        TestFiles::Write(PathOf(".carvestone/originals/t.txt"), Game);
        Open("t.txt", Mine);
    }
    // Sampled inside the cell, away from its text and grid lines.
    QColor ColourAt(int row, int col)
    {
        QRect rect;
        EXPECT_TRUE(Grid().GetCellRect(row, col, &rect));
        return Grid().viewport()->grab().toImage().pixelColor(rect.bottomRight() - QPoint(3, 3));
    }
    GridCellId NextChange(bool forward = true)
    {
        Press(Qt::Key_F8, forward ? Qt::NoModifier : Qt::ShiftModifier);
        return view.GetFocusCell();
    }
    const ChangeColours colours = ChangeColours::For(QApplication::palette());
};

TEST_F(ChangesViewTest, ChangedCellsAddedRowsAndColumnsAreTintedCountedAndVisitedInReadingOrder)
{
    EXPECT_EQ(TabTexts(), QStringList{"t.txt (3)"});
    ASSERT_TRUE(view.Legend()->isVisible());
    EXPECT_EQ(view.Legend()->CountText(), "3 changes against the game");
    EXPECT_EQ(ColourAt(2, 1), colours.changedCell);
    EXPECT_EQ(ColourAt(3, 2), colours.addedRow);
    EXPECT_EQ(ColourAt(4, 3), colours.addedColumn);
    EXPECT_NE(ColourAt(4, 1), colours.changedCell);

    Click(1, 1);
    EXPECT_EQ(NextChange(), GridCellId(1, 3)) << "the added column, where its cells start";
    EXPECT_EQ(NextChange(), GridCellId(2, 1));
    EXPECT_EQ(NextChange(), GridCellId(3, 1));
    EXPECT_EQ(NextChange(), GridCellId(1, 3)) << "round past the end";
    EXPECT_EQ(NextChange(false), GridCellId(3, 1));
    EXPECT_TRUE(State(CommandId::ShowChanges).checked);

    // Typing the game's value back takes the change away; typing another makes one.
    Edit(2, 1, "20");
    EXPECT_EQ(TabTexts(), QStringList{"t.txt* (2)"});
    EXPECT_NE(ColourAt(2, 1), colours.changedCell);
    Edit(4, 2, "hat");
    EXPECT_EQ(TabTexts(), QStringList{"t.txt* (3)"});
    Click(1, 1);
    EXPECT_EQ(ColourAt(4, 2), colours.changedCell);
    EXPECT_EQ(view.Legend()->CountText(), "3 changes against the game");

    // Show Changes off: no tints, no legend, F8 still goes from change to change.
    view.OnCommand(CommandId::ShowChanges);
    EXPECT_FALSE(State(CommandId::ShowChanges).checked);
    EXPECT_FALSE(view.Legend()->isVisible());
    EXPECT_NE(ColourAt(4, 2), colours.changedCell);
    EXPECT_TRUE(State(CommandId::NextChange).enabled);
}

TEST_F(ChangesViewTest, RevertPutsTheGameValuesOfTheSelectedCellsBackAsOneStepThatUndoTakesBack)
{
    Edit(1, 2, "zz1");
    Click(1, 1);
    Click(2, 2, Qt::ShiftModifier);
    EXPECT_TRUE(State(CommandId::RevertToGameValue).enabled);
    view.OnCommand(CommandId::RevertToGameValue);
    EXPECT_EQ(Grid().GetCellText(1, 2), "ax1");
    EXPECT_EQ(Grid().GetCellText(2, 1), "20");
    EXPECT_EQ(TabTexts(), QStringList{"t.txt* (2)"});
    EXPECT_EQ(State(CommandId::EditUndo).text, "&Undo Revert to Game Value");
    EXPECT_FALSE(State(CommandId::RevertToGameValue).enabled) << "nothing selected is changed any more";
    EXPECT_EQ(State(CommandId::RevertToGameValue).whyDisabled, "no changed cell is selected");

    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Grid().GetCellText(1, 2), "zz1");
    EXPECT_EQ(Grid().GetCellText(2, 1), "25");
    EXPECT_EQ(TabTexts(), QStringList{"t.txt* (4)"});
    Click(4, 1);
    EXPECT_EQ(ColourAt(1, 2), colours.changedCell);

    // The title tip of a changed cell says what the game has there.
    QApplication::setActiveWindow(&window);
    QRect rect;
    ASSERT_TRUE(Grid().GetCellRect(2, 1, &rect));
    Grid().UpdateTitleTip(rect.center());
    ASSERT_TRUE(Grid().GetTitleTip()->isVisible());
    EXPECT_EQ(Grid().GetTitleTip()->Text(), " 25   (game: 20) ");
}

TEST_F(ChangesViewTest, ATableWithoutAKeptOriginalAsksForOneAndShowsNothingUntilItComes)
{
    QSignalSpy wanted(&view, &CCarvestoneView::OriginalWanted);
    QSignalSpy counted(&view, &CCarvestoneView::ChangesCounted);
    Open("u.txt", Mine);
    EXPECT_EQ(wanted, QList<QVariantList>{{"u.txt"}});
    EXPECT_EQ(TabTexts(), QStringList({"u.txt", "t.txt (3)"}));
    EXPECT_FALSE(view.Legend()->isVisible());
    EXPECT_EQ(State(CommandId::ShowChanges).whyDisabled, "the game's version of this table is not known");
    EXPECT_EQ(State(CommandId::NextChange).whyDisabled, "the table holds no changes");

    view.SetTableOriginal("data\\global\\excel\\u.txt", Game);
    EXPECT_EQ(TabTexts(), QStringList({"u.txt (3)", "t.txt (3)"}));
    EXPECT_EQ(counted.last(), (QVariantList{"u.txt", 3}));
    EXPECT_TRUE(view.Legend()->isVisible());
    EXPECT_EQ(view.TableContent("u.txt"), Mine);
    EXPECT_EQ(view.TableContent("closed.txt"), QByteArray());

    // An original that is no table is not taken; one that shares no heading with the table marks nothing.
    view.SetTableOriginal("u.txt", "just words\r\n");
    EXPECT_EQ(TabTexts(), QStringList({"u.txt (3)", "t.txt (3)"}));
    view.SetTableOriginal("u.txt", "x\ty\r\nAxe\t1\r\n");
    EXPECT_EQ(TabTexts(), QStringList({"u.txt", "t.txt (3)"}));
    EXPECT_EQ(Grid().GetCellTint(), nullptr);
    EXPECT_FALSE(view.Legend()->isVisible());
    EXPECT_FALSE(State(CommandId::NextChange).enabled);

    view.GoToCell("t.txt", 3, 2);
    EXPECT_EQ(view.GetCurrentFileName(), "t.txt");
    EXPECT_EQ(view.GetFocusCell(), GridCellId(3, 2));
    view.CloseAllTables();
    EXPECT_FALSE(view.Legend()->isVisible());
}
