#include "grid/LogFont.h"

#include <QFontInfo>
#include <QFontMetrics>

#include <gtest/gtest.h>

namespace {

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
