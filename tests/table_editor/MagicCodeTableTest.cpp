#include "table_editor/MagicCodeTable.h"

#include <QSet>

#include <gtest/gtest.h>

TEST(MagicCodeTableTest, KeepsTheGameOrderFromFirstToLastRow)
{
    EXPECT_EQ(MagicCodeTable::Count, 118);
    struct Row
    {
        int row;
        const char* code;
        const char* description;
    };
    for (const Row& r : {Row{0, "ac00", "Absorb Cold Damage"}, Row{16, "ar08", "Enhanced Defense vs Missles %"},
                         Row{47, "du01", "Increase Maximum Durablility %"}, Row{58, "ht01", "Increased Attack Rating %"},
                         Row{59, "hw00", "Hit Causes Monster To Flee"}, Row{117, "st00", "Add To Strength"}}) {
        EXPECT_EQ(MagicCodeTable::Code(r.row), QLatin1String(r.code)) << r.row;
        EXPECT_EQ(MagicCodeTable::Description(r.row), QLatin1String(r.description)) << r.row;
    }
}

TEST(MagicCodeTableTest, CodesAreUniqueAndDescriptionsUniqueWithoutCase)
{
    QSet<QString> codes;
    QSet<QString> descriptions;
    for (int row = 0; row < MagicCodeTable::Count; ++row) {
        EXPECT_EQ(MagicCodeTable::Code(row).size(), 4) << row;
        codes.insert(MagicCodeTable::Code(row));
        descriptions.insert(MagicCodeTable::Description(row).toLower());
    }
    EXPECT_EQ(codes.size(), MagicCodeTable::Count);
    EXPECT_EQ(descriptions.size(), MagicCodeTable::Count);
}

TEST(MagicCodeTableTest, FindsACodeOnlyWhenItMatchesExactly)
{
    EXPECT_EQ(MagicCodeTable::FindCode(QStringLiteral("ac00")), 0);
    EXPECT_EQ(MagicCodeTable::FindCode(QStringLiteral("st00")), 117);
    EXPECT_EQ(MagicCodeTable::FindCode(QStringLiteral("ar01")), 10);
    for (const char* missing : {"ST00", "st0", "st00 ", "", "xx99"})
        EXPECT_EQ(MagicCodeTable::FindCode(QString::fromLatin1(missing)), -1) << missing;
}
