#include "model/ArchiveNameRule.h"

#include <gtest/gtest.h>

TEST(ArchiveNameRuleTest, OnlyNamesThatCanBeEntriesAndDiskFilesPassAndNamePartsCompareWithoutCase)
{
    const struct { QString name; const char* problem; } cases[] = {   // problem nullptr: the name passes
        {"data\\global\\excel\\armor.txt", nullptr}, {"name with spaces.txt", nullptr}, {QString(), "is empty"},
        {QString::fromLatin1("data\\caf\xe9.txt"), nullptr},   // every Latin-1 character is a byte of the archive
        {"data/armor.txt", "'/'"}, {"data\\", "not end in a file"}, {"data\\..", "not end in a file"},
        {"data\\.", "not end in a file"}, {"data\\\\armor.txt", "empty folder"}, {"\\armor.txt", "empty folder"},
        {"arm\tor.txt", "control character"}, {"armor\x7f.txt", "control character"},
        {QString::fromUtf8("\xc4\x80rmor.txt"), "cannot store"},
    };
    for (const auto& c : cases) {
        const QString problem = ArchiveNameRule::Problem(c.name);
        EXPECT_TRUE(c.problem ? problem.contains(QLatin1String(c.problem)) : problem.isEmpty())
            << c.name.toStdString() << ": " << problem.toStdString();
    }
    const struct { const char *first, *second; bool same; } pairs[] = {
        {"data\\local\\X.txt", "data\\global\\excel\\x.TXT", true}, {"x.txt", "a\\x.txt", true},
        {"x\\a.txt", "a\\x.txt", false},                           {"a.txt", "a.txt.bak", false},
    };
    for (const auto& p : pairs)
        EXPECT_EQ(ArchiveNameRule::SameNamePart(p.first, p.second), p.same) << p.first << " " << p.second;
}
