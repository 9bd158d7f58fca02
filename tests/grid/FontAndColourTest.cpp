#include "grid/ColorRef.h"
#include "grid/LogFont.h"

#include <QFontInfo>
#include <QFontMetrics>

#include <gtest/gtest.h>

namespace {

TEST(ColourRef, KeepsRedInTheLowByte)
{
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), 0x00563412u);
    EXPECT_EQ(ColorRefToQColor(0x00563412u), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(QColorToColorRef(QColor(0xC0, 0x80, 0x01)), RGB(0xC0, 0x80, 0x01));
    EXPECT_NE(GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT));
}

TEST(LogFontConversion, HeightsMeanCharacterOrLineHeightsInPixels)
{
    LogFont font;
    font.lfFaceName = QStringLiteral("Liberation Sans");
    font.lfHeight = -17; // negative: the character height
    font.lfWeight = LogFont::FW_BOLD;
    font.lfItalic = true;
    const QFont qtFont = font.ToQFont();
    EXPECT_EQ(qtFont.pixelSize(), 17);
    EXPECT_TRUE(qtFont.bold());
    EXPECT_TRUE(qtFont.italic());
    EXPECT_EQ(LogFont::FromQFont(qtFont), font);

    font.lfHeight = 30; // positive: the whole line
    const int line = QFontMetrics(font.ToQFont()).height();
    EXPECT_LE(line, 30);
    EXPECT_GE(line, 27);

    QFont pointSized(QStringLiteral("Liberation Sans"));
    pointSized.setPointSize(12);
    EXPECT_EQ(LogFont::FromQFont(pointSized).lfHeight, -QFontInfo(pointSized).pixelSize());
}

} // namespace
