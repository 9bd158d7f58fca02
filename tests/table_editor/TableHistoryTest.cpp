#include "QStringPrinter.h"
#include "grid/CGridCtrl.h"
#include "table_editor/TableHistory.h"

#include <gtest/gtest.h>

namespace {

// A grid and its history, told of each edit of cell (1, 1) as the table view tells it.
struct EditedGrid
{
    explicit EditedGrid(qint64 byteLimit) : history(grid, byteLimit) {}
    void Edit(const QString& text)
    {
        history.NoteBeginEdit(1, 1);
        grid.SetCellText(1, 1, text);
        history.NoteEndEdit(1, 1, QStringLiteral("Edit Cell"));
    }
    int UndoAll()
    {
        int steps = 0;
        for (; history.CanUndo(); ++steps)
            history.Undo();
        return steps;
    }
    QString Text() const { return grid.GetCellText(1, 1); }

    CGridCtrl grid{3, 3, 1, 1};
    TableHistory history;
};

TEST(TableHistoryTest, KeepsAtMostAThousandStepsDroppingTheOldest)
{
    EditedGrid edited(TableHistory::ByteLimit);
    for (int n = 1; n <= TableHistory::StepLimit + 5; ++n)
        edited.Edit(QString::number(n));
    EXPECT_EQ(edited.UndoAll(), TableHistory::StepLimit);
    EXPECT_EQ(edited.Text(), QStringLiteral("5")) << "the oldest steps were not the ones dropped";
    EXPECT_FALSE(edited.history.IsClean()) << "the opened state was dropped, it cannot come back";
}

// Each step holds about 40 KB (the text before and after): with a 140 KB
// bound the oldest go, and the saved state survives while its step is kept.
TEST(TableHistoryTest, KeepsWithinItsBytesDroppingTheOldestButNeverTheNewest)
{
    constexpr qint64 limit = 140 * 1024;
    EditedGrid edited(limit);
    const auto big = [](int n) { return QString(10000, QChar(u'a' + n)); };
    for (int n = 0; n < 6; ++n) {
        edited.Edit(big(n));
        if (n == 2)
            edited.history.SetClean();
    }
    EXPECT_LE(edited.history.Bytes(), limit);
    const int kept = edited.history.StepCount();
    EXPECT_LT(kept, 6);
    int undone = 0;
    for (; edited.history.CanUndo() && !edited.history.IsClean(); ++undone)
        edited.history.Undo();
    EXPECT_EQ(undone, 3) << "the saved state moved";
    EXPECT_EQ(edited.Text(), big(2));
    edited.history.Redo();
    EXPECT_EQ(edited.Text(), big(3));
    edited.history.Undo();
    EXPECT_EQ(edited.UndoAll(), kept - 3);
    EXPECT_EQ(edited.Text(), big(6 - kept - 1)) << "the text before the oldest kept step";

    EditedGrid small(1024);
    small.Edit(QStringLiteral("small"));
    small.Edit(QString(5000, u'x'));
    EXPECT_EQ(small.UndoAll(), 1) << "only the newest step, beyond the bound, stays";
    EXPECT_EQ(small.Text(), QStringLiteral("small"));
    EXPECT_FALSE(small.history.IsClean()) << "the opened state was dropped";
}

} // namespace
