#include "project/ProjectEntry.h"

#include <gtest/gtest.h>

TEST(ProjectEntry, TheDiskPathIsTheProjectFolderPlusTheNamePartAfterTheLastBackslash)
{
    const QString folder = QStringLiteral("/mods/Test/");
    EXPECT_EQ(ProjectEntry::NamePart(QStringLiteral("data\\global\\excel\\armor.txt")), QStringLiteral("armor.txt"));
    EXPECT_EQ(ProjectEntry::DiskPath(folder, QStringLiteral("data\\global\\excel\\armor.txt")),
              QStringLiteral("/mods/Test/armor.txt"));
    EXPECT_EQ(ProjectEntry::DiskPath(folder, QStringLiteral("..armor..txt")), QStringLiteral("/mods/Test/..armor..txt"));
}

TEST(ProjectEntry, ANamePartThatIsNoPlainFileNameNeverBecomesAPath)
{
    const QString folder = QStringLiteral("/mods/Test/");
    for (const char* entry : {"data\\", "", "data\\.", "..", "data\\..", "..\\..\\etc/passwd", "/etc/passwd",
                              "a/../../b"})
        EXPECT_TRUE(ProjectEntry::DiskPath(folder, QString::fromLatin1(entry)).isEmpty()) << entry;
    EXPECT_TRUE(ProjectEntry::DiskPath(QString(), QStringLiteral("armor.txt")).isEmpty())
        << "an untitled project has no folder for files";
}
