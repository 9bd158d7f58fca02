#include "browser/ArchiveNameRule.h"

#include <gtest/gtest.h>

TEST(ArchiveNameRuleTest, OnlyNamesThatCanBeEntriesAndDiskFilesPass)
{
    const struct
    {
        QString name;
        const char* problem;   // nullptr: the name passes
    } cases[] = {
        {QStringLiteral("data\\global\\excel\\armor.txt"), nullptr}, {QStringLiteral("name with spaces.txt"), nullptr},
        {QString::fromLatin1("data\\caf\xe9.txt"), nullptr},   // every Latin-1 character is a byte of the archive
        {QString(), "is empty"},                    {QStringLiteral("data/armor.txt"), "'/'"},
        {QStringLiteral("data\\"), "does not end in a file name"}, {QStringLiteral("data\\.."), "does not end in a file name"},
        {QStringLiteral("data\\."), "does not end in a file name"},
        {QStringLiteral("data\\\\armor.txt"), "empty folder name"}, {QStringLiteral("\\armor.txt"), "empty folder name"},
        {QStringLiteral("arm\tor.txt"), "control character"},  {QStringLiteral("armor\x7f.txt"), "control character"},
        {QString::fromUtf8("\xc4\x80rmor.txt"), "cannot store"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const QString problem = ArchiveNameRule::Problem(c.name);
        if (c.problem)
            EXPECT_TRUE(problem.contains(QLatin1String(c.problem))) << problem.toStdString();
        else
            EXPECT_TRUE(problem.isEmpty()) << problem.toStdString();
    }
}

TEST(ArchiveNameRuleTest, NamePartsAreComparedWithoutCaseAndWithoutTheirFolders)
{
    const struct { const char *first, *second; bool same; } cases[] = {
        {"data\\local\\X.txt", "data\\global\\excel\\x.TXT", true}, {"x.txt", "a\\x.txt", true},
        {"x\\a.txt", "a\\x.txt", false},                           {"a.txt", "a.txt.bak", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ArchiveNameRule::SameNamePart(c.first, c.second), c.same) << c.first << " " << c.second;
}
