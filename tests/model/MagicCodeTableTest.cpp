#include "model/MagicCodeTable.h"

#include <QSet>

#include <gtest/gtest.h>

#include <tuple>

TEST(MagicCodeTableTest, KeepsTheGameOrderAndSpellingsAndFindsCodesOnlyExactly)
{
    for (auto [row, code, description] : {std::tuple{0, "ac00", "Absorb Cold Damage"},
                                          {16, "ar08", "Enhanced Defense vs Missles %"},
                                          {47, "du01", "Increase Maximum Durablility %"},
                                          {59, "hw00", "Hit Causes Monster To Flee"},
                                          {117, "st00", "Add To Strength"}}) {
        EXPECT_EQ(MagicCodeTable::Code(row), QLatin1String(code)) << row;
        EXPECT_EQ(MagicCodeTable::Description(row), QLatin1String(description)) << row;
    }
    QSet<QString> descriptions;
    for (int row = 0; row < MagicCodeTable::Count; ++row) {
        descriptions.insert(MagicCodeTable::Description(row).toLower());
        EXPECT_EQ(MagicCodeTable::FindCode(MagicCodeTable::Code(row)), row) << "codes are unique";
    }
    EXPECT_EQ(MagicCodeTable::Count, 118);
    EXPECT_EQ(descriptions.size(), 118);
    for (const char* missing : {"ST00", "st0", "st00 ", "", "xx99"})
        EXPECT_EQ(MagicCodeTable::FindCode(QString::fromLatin1(missing)), -1) << missing;
}
