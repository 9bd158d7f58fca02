#include "browser/ArchiveNameRule.h"

#include <gtest/gtest.h>

TEST(ArchiveNameRuleTest, OnlyNamesThatCanBeEntriesAndDiskFilesPass)
{
    const struct
    {
        QString name;
        const char* problem;   // nullptr: the name passes
    } cases[] = {
        {QStringLiteral("data\\global\\excel\\armor.txt"), nullptr},
        {QStringLiteral("armor.txt"), nullptr},
        {QString::fromLatin1("data\\caf\xe9.txt"), nullptr},   // every Latin-1 character is a byte of the archive
        {QStringLiteral("name with spaces.txt"), nullptr},
        {QString(), "is empty"},
        {QStringLiteral("data\\"), "does not end in a file name"},
        {QStringLiteral("data\\."), "does not end in a file name"},
        {QStringLiteral("data\\.."), "does not end in a file name"},
        {QStringLiteral("data/armor.txt"), "'/'"},
        {QStringLiteral("data\\\\armor.txt"), "empty folder name"},
        {QStringLiteral("\\armor.txt"), "empty folder name"},
        {QStringLiteral("arm\tor.txt"), "control character"},
        {QStringLiteral("armor\x7f.txt"), "control character"},
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
    EXPECT_TRUE(ArchiveNameRule::SameNamePart(QStringLiteral("data\\local\\X.txt"), QStringLiteral("data\\global\\excel\\x.TXT")));
    EXPECT_TRUE(ArchiveNameRule::SameNamePart(QStringLiteral("x.txt"), QStringLiteral("a\\x.txt")));
    EXPECT_FALSE(ArchiveNameRule::SameNamePart(QStringLiteral("x\\a.txt"), QStringLiteral("a\\x.txt")));
    EXPECT_FALSE(ArchiveNameRule::SameNamePart(QStringLiteral("a.txt"), QStringLiteral("a.txt.bak")));
}
