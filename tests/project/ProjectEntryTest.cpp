#include "project/ProjectEntry.h"

#include <gtest/gtest.h>

TEST(ProjectEntry, TheDiskPathIsTheNamePartInTheProjectFolderAndNeverAnythingElse)
{
    const QString folder = QStringLiteral("/mods/Test/");
    EXPECT_EQ(ProjectEntry::DiskPath(folder, QStringLiteral("data\\global\\excel\\armor.txt")),
              QStringLiteral("/mods/Test/armor.txt"));
    EXPECT_EQ(ProjectEntry::DiskPath(folder, QStringLiteral("..armor..txt")), QStringLiteral("/mods/Test/..armor..txt"));
    for (const char* entry : {"data\\", "", "data\\.", "..", "data\\..", "..\\..\\etc/passwd", "/etc/passwd"})
        EXPECT_TRUE(ProjectEntry::DiskPath(folder, QString::fromLatin1(entry)).isEmpty()) << entry;
    EXPECT_TRUE(ProjectEntry::DiskPath(QString(), QStringLiteral("armor.txt")).isEmpty()) << "untitled: no folder";
}
