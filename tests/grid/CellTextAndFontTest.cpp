#include "GridTestSupport.h"

#include "grid/CGridCell.h"
#include "grid/CellTextRule.h"
#include "grid/GridClipboardText.h"
#include "grid/LogFont.h"

#include <QFontInfo>
#include <QFontMetrics>

#include <gtest/gtest.h>

namespace {

TEST(CellText, HoldsNoSeparatorNulOrCharacterWithoutAByteAndKeepsTheRestInOrder)
{
    for (char16_t code : {u'\t', u'\r', u'\n', char16_t(0), char16_t(0x100), char16_t(0x20AC)})
        EXPECT_FALSE(CellTextRule::IsAllowed(QChar(code))) << int(code);
    for (char16_t code : {u' ', u'(', u'!', u'~', char16_t(0x7F), char16_t(0xA0), char16_t(0xFF)})
        EXPECT_TRUE(CellTextRule::IsAllowed(QChar(code))) << int(code);
    CGridCtrl grid(2, 2);
    grid.SetCellText(1, 1, QStringLiteral("hpot,qty=3 \t\u00e9\r\n") + QChar(0) + QStringLiteral("\u20acend "));
    EXPECT_EQ(grid.GetCellText(1, 1), QStringLiteral("hpot,qty=3 \u00e9end "));
}

TEST(CellText, ClipboardTextSplitsAtTabsAndLineEndsOnlyKeepingEmptyFieldsAndLoneCarriageReturns)
{
    const GridClipboardText::Table table =
        GridClipboardText::Decode(QStringLiteral("hpot,qty=3\t  x \t\n\tend \r\n\r\na\rb\r\r\nlast\r\0ignored"));
    ASSERT_EQ(table.size(), 5);
    EXPECT_EQ(table[0], QStringList({"hpot,qty=3", "  x ", ""}));
    EXPECT_EQ(table[1], QStringList({"", "end "}));
    EXPECT_EQ(table[2], QStringList({""}));
    EXPECT_EQ(table[3], QStringList({"a\rb\r"}));
    EXPECT_EQ(table[4], QStringList({"last"}));
}

TEST(CellFont, HeightsMeanCharacterOrLineHeightsInPixels)
{
    LogFont font;
    font.lfFaceName = QStringLiteral("Liberation Sans");
    font.lfHeight = -17; // negative: the character height
    font.lfWeight = LogFont::FW_BOLD;
    font.lfItalic = true;
    const QFont qtFont = font.ToQFont();
    EXPECT_EQ(qtFont.pixelSize(), 17);
    EXPECT_TRUE(qtFont.bold() && qtFont.italic());
    EXPECT_EQ(LogFont::FromQFont(qtFont), font);

    font.lfHeight = 30; // positive: the whole line
    const int line = QFontMetrics(font.ToQFont()).height();
    EXPECT_TRUE(line >= 27 && line <= 30) << line;

    QFont pointSized(QStringLiteral("Liberation Sans"));
    pointSized.setPointSize(12);
    EXPECT_EQ(LogFont::FromQFont(pointSized).lfHeight, -QFontInfo(pointSized).pixelSize());
}

TEST(CellFont, AFontOfItsOwnReplacesTheDefaultAndAVerticalOneTurnsTheExtent)
{
    CGridCtrl grid(2, 2);
    CGridCellBase* cell = grid.GetCell(1, 1);
    LogFont font;
    font.lfFaceName = QStringLiteral("Liberation Serif");
    font.lfHeight = -30;
    cell->SetFont(&font);
    EXPECT_EQ(*cell->GetFont(), font);
    const QSize flat = cell->GetTextExtent(QStringLiteral("Vertical"));
    font.lfEscapement = 900;
    cell->SetFont(&font);
    const QSize turned = cell->GetTextExtent(QStringLiteral("Vertical"));
    EXPECT_EQ(turned, QSize(flat.height(), flat.width() + 4 * int(cell->GetMargin())));
    cell->SetFont(nullptr);
    EXPECT_TRUE(cell->IsDefaultFont());
    EXPECT_EQ(cell->GetFont(), grid.GetDefaultCell(false, false)->GetFont());
}

} // namespace
