#include "GridTestSupport.h"

#include "grid/CGridCell.h"

#include <gtest/gtest.h>

namespace {

TEST(GridCell, AFontOfItsOwnReplacesTheDefaultAndAVerticalOneTurnsTheExtent)
{
    CGridCtrl grid(2, 2);
    CGridCellBase* cell = grid.GetCell(1, 1);
    LogFont font;
    font.lfFaceName = QStringLiteral("Liberation Serif");
    font.lfHeight = -30;
    cell->SetFont(&font);
    EXPECT_FALSE(cell->IsDefaultFont());
    EXPECT_EQ(*cell->GetFont(), font);
    const QSize flat = cell->GetTextExtent(QStringLiteral("Vertical"));
    font.lfEscapement = 900;
    cell->SetFont(&font);
    const QSize turned = cell->GetTextExtent(QStringLiteral("Vertical"));
    EXPECT_EQ(turned.width(), flat.height());
    EXPECT_EQ(turned.height(), flat.width() + 4 * int(cell->GetMargin()));
    cell->SetFont(nullptr);
    EXPECT_TRUE(cell->IsDefaultFont());
    EXPECT_EQ(cell->GetFont(), grid.GetDefaultCell(false, false)->GetFont());
}

} // namespace
