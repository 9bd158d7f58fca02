#include "QStringPrinter.h"
#include "grid/CGridCtrl.h"
#include "table_editor/TableHistory.h"

#include <gtest/gtest.h>

namespace {

// A grid whose edit reports reach a history, as the table view routes them.
class HistoryOwner : public GridOwner
{
public:
    explicit HistoryOwner(qint64 byteLimit) : grid(3, 3, 1, 1), history(grid, byteLimit) { grid.SetOwner(this); }

    long OnGridNotify(const GridNotifyInfo& info) override
    {
        if (info.code == GridNotifyBeginEdit)
            history.NoteBeginEdit(info.row, info.column);
        else if (info.code == GridNotifyEndEdit)
            history.NoteEndEdit(info.row, info.column, QStringLiteral("Edit Cell"));
        return 0;
    }
    void Edit(const QString& text) { grid.ModifyCellText(1, 1, text); }
    int UndoAll()
    {
        int steps = 0;
        for (; history.CanUndo(); ++steps)
            history.Undo();
        return steps;
    }

    CGridCtrl grid;
    TableHistory history;
};

TEST(TableHistoryTest, KeepsAtMostAThousandStepsDroppingTheOldest)
{
    HistoryOwner owner(TableHistory::ByteLimit);
    for (int n = 1; n <= TableHistory::StepLimit + 5; ++n)
        owner.Edit(QString::number(n));
    EXPECT_EQ(owner.history.StepCount(), TableHistory::StepLimit);
    EXPECT_EQ(owner.UndoAll(), TableHistory::StepLimit);
    EXPECT_EQ(owner.grid.GetCellText(1, 1), QStringLiteral("5")) << "the oldest steps were not the ones dropped";
    EXPECT_FALSE(owner.history.IsClean()) << "the opened state was dropped, it cannot come back";
}

// Each step holds about 40 KB (the text before and after): with a 140 KB
// bound the oldest go, and the saved state survives while its step is kept.
TEST(TableHistoryTest, KeepsWithinItsBytesDroppingTheOldestButNeverTheNewest)
{
    constexpr qint64 limit = 140 * 1024;
    HistoryOwner owner(limit);
    const auto big = [](int n) { return QString(10000, QChar(u'a' + n)); };
    for (int n = 0; n < 3; ++n)
        owner.Edit(big(n));
    owner.history.SetClean();
    for (int n = 3; n < 6; ++n)
        owner.Edit(big(n));
    EXPECT_LE(owner.history.Bytes(), limit);
    const int kept = owner.history.StepCount();
    EXPECT_LT(kept, 6);
    int undone = 0;
    for (; owner.history.CanUndo() && !owner.history.IsClean(); ++undone)
        owner.history.Undo();
    EXPECT_EQ(undone, 3) << "the saved state moved";
    EXPECT_EQ(owner.grid.GetCellText(1, 1), big(2));
    owner.history.Redo();
    EXPECT_EQ(owner.grid.GetCellText(1, 1), big(3));
    owner.history.Undo();
    EXPECT_EQ(owner.UndoAll(), kept - 3);
    EXPECT_EQ(owner.grid.GetCellText(1, 1), big(6 - kept - 1)) << "the text before the oldest kept step";

    HistoryOwner small(1024);
    small.Edit(QStringLiteral("small"));
    small.Edit(QString(5000, u'x'));
    EXPECT_EQ(small.history.StepCount(), 1);
    EXPECT_FALSE(small.history.IsClean()) << "the opened state was dropped";
    small.history.Undo();
    EXPECT_EQ(small.grid.GetCellText(1, 1), QStringLiteral("small"));
}

TEST(TableHistoryTest, NestedStepsMakeOneStepNamedByTheOutermost)
{
    HistoryOwner owner(TableHistory::ByteLimit);
    owner.history.BeginStep(QStringLiteral("Formula"));
    owner.history.BeginStep(QStringLiteral("Inner"));
    owner.grid.ModifyCellText(1, 1, QStringLiteral("a"));
    owner.history.EndStep();
    owner.grid.ModifyCellText(2, 2, QStringLiteral("b"));
    owner.grid.ModifyCellText(1, 1, QStringLiteral("c"));
    owner.history.EndStep();
    EXPECT_EQ(owner.history.StepCount(), 1);
    EXPECT_EQ(owner.history.UndoName(), QStringLiteral("Formula"));
    owner.history.Undo();
    EXPECT_EQ(owner.grid.GetCellText(1, 1), QString()) << "a cell changed twice got its middle text back";
    EXPECT_EQ(owner.grid.GetCellText(2, 2), QString());
    owner.history.Redo();
    EXPECT_EQ(owner.grid.GetCellText(1, 1), QStringLiteral("c"));
}

} // namespace
