#include "core/SafeFileWriter.h"

#include "FileSizeLimit.h"
#include "SmallDisk.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

const QByteArray OldContent = QByteArray("the modder's table\r\n").repeated(200);

// Sizes below and above the 16 KB write buffer of QFileDevice, and with a last piece below it.
TEST(SafeFileWriter, AWriteThatDoesNotFitFailsNamesTheFileAndKeepsTheOldBytes)
{
    for (const qint64 size : {6000, 40000, 16384 * 2 + 100}) {
        SCOPED_TRACE(size);
        QTemporaryDir folder;
        const QString limited = TestFiles::Write(folder.filePath(QStringLiteral("Armor.txt")), OldContent);
        QString error;
        {
            FileSizeLimit limit(size - 10);
            ASSERT_TRUE(limit.IsActive());
            EXPECT_FALSE(SafeFileWriter::WriteFile(limited, QByteArray(size, 'y'), &error));
        }
        EXPECT_EQ(TestFiles::Read(limited), OldContent);
        EXPECT_EQ(error, QStringLiteral("Disk full while accessing %1.").arg(QDir::toNativeSeparators(limited)));
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no temporary file is left";

        SmallDisk disk(256);
        if (!disk.IsReady())
            GTEST_SKIP() << disk.Why().toStdString();
        const QString full = TestFiles::Write(disk.Path() + QStringLiteral("/Weapons.txt"), OldContent);
        ASSERT_TRUE(disk.LeaveFree(4096));
        EXPECT_FALSE(SafeFileWriter::WriteFile(full, QByteArray(size, 'x'), &error));
        EXPECT_EQ(TestFiles::Read(full), OldContent);
        EXPECT_EQ(error, QStringLiteral("Disk full while accessing %1.").arg(QDir::toNativeSeparators(full)));
        EXPECT_EQ(QDir(disk.Path()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "no temporary file is left";
    }
}

TEST(SafeFileWriter, ASuccessfulWriteReplacesTheFileAndRefusalsNameTheTarget)
{
    QTemporaryDir folder;
    const QString target = TestFiles::Write(folder.filePath(QStringLiteral("Misc.txt")), OldContent);
    ASSERT_TRUE(SafeFileWriter::WriteFile(target, "new", nullptr));
    EXPECT_EQ(TestFiles::Read(target), QByteArray("new"));

    for (const QString& path : {folder.path(), target + QStringLiteral("/inside.txt")}) {
        QString error;
        EXPECT_FALSE(SafeFileWriter::WriteFile(path, "x", &error));
        EXPECT_EQ(error, QStringLiteral("%1 contains an invalid path.").arg(QDir::toNativeSeparators(path)));
    }
}
