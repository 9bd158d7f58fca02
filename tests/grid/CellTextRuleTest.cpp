#include "grid/CellTextRule.h"

#include <gtest/gtest.h>

namespace {

TEST(CellTextRule, RefusesSeparatorsNulAndCharactersWithoutAByte)
{
    for (char16_t code : {u'\t', u'\r', u'\n', char16_t(0), char16_t(0x100), char16_t(0x20AC)})
        EXPECT_FALSE(CellTextRule::IsAllowed(QChar(code))) << int(code);
    for (char16_t code : {u' ', u'(', u'!', u'~', char16_t(0x7F), char16_t(0xA0), char16_t(0xFF)})
        EXPECT_TRUE(CellTextRule::IsAllowed(QChar(code))) << int(code);
}

TEST(CellTextRule, FilterKeepsEverythingElseInOrder)
{
    const QString text = QStringLiteral("hpot,qty=3 \t\u00e9\r\n\u20acend ");
    EXPECT_EQ(CellTextRule::Filter(text), QStringLiteral("hpot,qty=3 \u00e9end "));
    EXPECT_EQ(CellTextRule::Filter(QString()), QString());
}

} // namespace
