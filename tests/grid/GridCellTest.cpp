#include "GridTestSupport.h"

#include "grid/CGridCell.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

TEST(GridCell, WithoutAGridUseDefaultValuesReadAsZeroAndNothingIsPainted)
{
    CGridCell cell;
    cell.SetText("text");
    EXPECT_EQ(cell.GetFormat(), 0u);
    EXPECT_EQ(cell.GetMargin(), 0u);
    EXPECT_EQ(cell.GetDefaultCell(), nullptr);
    QImage image(50, 20, QImage::Format_RGB32);
    QPainter painter(&image);
    EXPECT_FALSE(cell.Draw(&painter, 1, 1, QRect(0, 0, 50, 20)));
}

TEST(GridCell, DefaultCellIsReadOnlyAndIgnoresStateAndData)
{
    CGridCtrl grid(2, 2);
    CGridDefaultCell* defaultCell = grid.GetDefaultCell(false, false);
    defaultCell->SetState(CellStateSelected);
    defaultCell->SetData(42);
    EXPECT_EQ(defaultCell->GetState(), CellStateReadOnly);
    EXPECT_EQ(defaultCell->GetData(), 0);
    EXPECT_EQ(defaultCell->GetFormat(), DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

TEST(GridCell, DefaultCellMeasuresItsFont)
{
    CGridCtrl grid;
    CGridDefaultCell* defaultCell = grid.GetDefaultCell(false, false);
    LogFont font;
    font.lfFaceName = QStringLiteral("Liberation Sans");
    font.lfHeight = -20;
    defaultCell->SetFont(&font);
    const QFontMetrics metrics(font.ToQFont());
    EXPECT_EQ(defaultCell->GetMargin(), quint32(metrics.horizontalAdvance(' ')));
    EXPECT_EQ(defaultCell->GetWidth(), metrics.horizontalAdvance(QStringLiteral(" XXXXXXXXXXXX ")));
    EXPECT_EQ(defaultCell->GetHeight(), metrics.height() * 3 / 2);
    EXPECT_EQ(*defaultCell->GetFont(), font);
}

TEST(GridCell, ResetKeepsTheItemDataButForgetsTheGrid)
{
    CGridCtrl grid(2, 2);
    CGridCellBase* cell = grid.GetCell(1, 1);
    cell->SetText("x");
    cell->SetData(7);
    cell->SetBackClr(RGB(1, 2, 3));
    cell->Reset();
    EXPECT_EQ(cell->GetData(), 7);
    EXPECT_EQ(cell->GetGrid(), nullptr);
    EXPECT_EQ(cell->GetText(), QString());
    EXPECT_EQ(cell->GetBackClr(), CLR_DEFAULT);
    EXPECT_EQ(cell->GetState(), 0u);
}

TEST(GridCell, CopyTakesResolvedDefaultsAsValues)
{
    CGridCtrl grid(2, 2);
    CGridCellBase* source = grid.GetCell(1, 1);
    source->SetText("copied");
    source->SetFormat(UseDefaultFormat);
    source->SetData(9);
    CGridCell target;
    target.CopyFrom(*source);
    EXPECT_EQ(target.GetText(), "copied");
    EXPECT_EQ(target.GetData(), 9);
    EXPECT_EQ(target.GetGrid(), &grid);
    target.SetGrid(nullptr);
    EXPECT_EQ(target.GetFormat(), grid.GetDefaultCell(false, false)->GetFormat())
        << "the format arrives as a value, not as the use-default marker";
    EXPECT_EQ(target.GetMargin(), grid.GetDefaultCell(false, false)->GetMargin());
    EXPECT_TRUE(target.IsDefaultFont());
}

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
    EXPECT_EQ(cell->GetFontObject()->pixelSize(), 30);
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
