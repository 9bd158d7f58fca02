#include "app/SafeFileWriter.h"

#include "FileSizeLimit.h"
#include "SmallDisk.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QByteArray OldContent = QByteArray("the modder's table\r\n").repeated(200);

// Sizes below and above the 16 KB write buffer of QFileDevice, and one whose
// last piece is smaller than that buffer.
const qint64 NewSizes[] = {6000, 40000, 16384 * 2 + 100};

} // namespace

TEST(SafeFileWriter, ANearlyFullDiskFailsTheWriteNamesTheFileAndKeepsTheOldBytes)
{
    for (const qint64 size : NewSizes) {
        SmallDisk disk(256);
        if (!disk.IsReady())
            GTEST_SKIP() << disk.Why().toStdString();
        const QString target = TestFiles::Write(disk.Path() + QStringLiteral("/Weapons.txt"), OldContent);
        ASSERT_TRUE(disk.LeaveFree(4096));

        QString error;
        EXPECT_FALSE(SafeFileWriter::WriteFile(target, QByteArray(size, 'x'), &error)) << size;
        EXPECT_EQ(TestFiles::Read(target), OldContent) << size;
        EXPECT_EQ(error, QStringLiteral("Disk full while accessing %1.").arg(QDir::toNativeSeparators(target)));
        EXPECT_EQ(QDir(disk.Path()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "no temporary file is left";
    }
}

TEST(SafeFileWriter, AFileSizeLimitFailsTheWriteAtEverySizeAndKeepsTheOldBytes)
{
    QTemporaryDir folder;
    const QString target = TestFiles::Write(folder.filePath(QStringLiteral("Armor.txt")), OldContent);
    for (const qint64 size : NewSizes) {
        QString error;
        {
            FileSizeLimit limit(size - 10);
            ASSERT_TRUE(limit.IsActive());
            EXPECT_FALSE(SafeFileWriter::WriteFile(target, QByteArray(size, 'y'), &error)) << size;
        }
        EXPECT_EQ(TestFiles::Read(target), OldContent) << size;
        EXPECT_TRUE(error.startsWith(QStringLiteral("Disk full while accessing "))) << error.toStdString();
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(SafeFileWriter, ASuccessfulWriteReplacesTheFileAndRefusalsNameTheTarget)
{
    QTemporaryDir folder;
    const QString target = TestFiles::Write(folder.filePath(QStringLiteral("Misc.txt")), OldContent);
    ASSERT_TRUE(SafeFileWriter::WriteFile(target, "new", nullptr));
    EXPECT_EQ(TestFiles::Read(target), QByteArray("new"));

    QString error;
    EXPECT_FALSE(SafeFileWriter::WriteFile(folder.path(), "x", &error));
    EXPECT_EQ(error, QStringLiteral("%1 contains an invalid path.").arg(QDir::toNativeSeparators(folder.path())));
    const QString underAFile = target + QStringLiteral("/inside.txt");
    EXPECT_FALSE(SafeFileWriter::WriteFile(underAFile, "x", &error));
    EXPECT_EQ(error, QStringLiteral("%1 contains an invalid path.").arg(QDir::toNativeSeparators(underAFile)));
}
