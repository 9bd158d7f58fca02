#include "ArchiveFixtures.h"
#include "FileSizeLimit.h"

#include "archive/MpqLibrary.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

namespace {

class ExtractTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!ArchiveFixtures::HasSmpq())
            GTEST_SKIP() << "smpq is not installed; it makes the archives these tests read";
        archive = fixtures.MakeGameArchive(QStringLiteral("game.mpq"),
                                           {{QStringLiteral("data\\one-chunk.bin"), oneChunk},
                                            {QStringLiteral("data\\two-chunks.bin"), twoChunks},
                                            {QStringLiteral("data\\big.bin"), big},
                                            {QStringLiteral("data\\empty.txt"), QByteArray()},
                                            {QStringLiteral("top.txt"), "top"}});
        ASSERT_FALSE(archive.isEmpty());
        destination = fixtures.Path(QStringLiteral("out"));
        ASSERT_TRUE(QDir().mkpath(destination));
    }

    const QByteArray oneChunk = ArchiveFixtures::Pattern(MpqLibrary::ChunkSize, 1);
    const QByteArray twoChunks = ArchiveFixtures::Pattern(MpqLibrary::ChunkSize + 1, 2);
    const QByteArray big = ArchiveFixtures::Pattern(3 * MpqLibrary::ChunkSize + 77, 4);
    ArchiveFixtures fixtures;
    MpqLibrary library;
    QString archive;
    QString destination;
};

} // namespace

TEST_F(ExtractTest, FilesAroundTheChunkSizeComeOutWhole)
{
    EXPECT_TRUE(library.ExtractFile(archive, QStringLiteral("data\\one-chunk.bin"), destination, true));
    EXPECT_TRUE(library.ExtractFile(archive, QStringLiteral("data\\two-chunks.bin"), destination, true));
    EXPECT_TRUE(library.ExtractFile(archive, QStringLiteral("data\\big.bin"), destination, true));
    EXPECT_EQ(ArchiveFixtures::Read(destination + QLatin1String("/one-chunk.bin")), oneChunk);
    EXPECT_EQ(ArchiveFixtures::Read(destination + QLatin1String("/two-chunks.bin")), twoChunks);
    EXPECT_EQ(ArchiveFixtures::Read(destination + QLatin1String("/big.bin")), big);
    EXPECT_FALSE(library.IsLoaded());
}

TEST_F(ExtractTest, FolderAndFileDestinationsAreWrittenAndExistingFilesReplaced)
{
    EXPECT_TRUE(library.ExtractFile(archive, QStringLiteral("top.txt"), destination + QLatin1Char('/'), true));
    EXPECT_EQ(ArchiveFixtures::Read(destination + QLatin1String("/top.txt")), "top");

    const QString chosen = fixtures.Path(QStringLiteral("out/renamed.dat"));
    EXPECT_TRUE(library.ExtractFile(archive, QStringLiteral("data\\two-chunks.bin"), chosen, false));
    EXPECT_EQ(ArchiveFixtures::Read(chosen), twoChunks);
    EXPECT_EQ(QDir(destination).entryList(QDir::Files).size(), 2);

    // An existing file is replaced without a question.
    EXPECT_TRUE(library.ExtractFile(archive, QStringLiteral("data\\one-chunk.bin"), chosen, false));
    EXPECT_EQ(ArchiveFixtures::Read(chosen), oneChunk);
}

TEST_F(ExtractTest, FailuresWriteNothing)
{
    const QString target = destination + QLatin1String("/empty.txt");
    EXPECT_FALSE(library.ExtractFile(archive, QStringLiteral("data\\empty.txt"), destination, true));
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_FALSE(library.ExtractFile(archive, QStringLiteral("data\\absent.txt"), destination, true));
    EXPECT_FALSE(library.ExtractFile(archive, QString(), destination, true));
    EXPECT_FALSE(library.ExtractFile(QString(), QStringLiteral("top.txt"), destination, true));
    EXPECT_FALSE(library.ExtractFile(archive, QStringLiteral("top.txt"), QString(), true));
    // A folder that does not exist, because a file stands in its place.
    const QString file = fixtures.Write(QStringLiteral("plain-file"), "x");
    EXPECT_FALSE(library.ExtractFile(archive, QStringLiteral("top.txt"), file, true));
    EXPECT_EQ(ArchiveFixtures::Read(file), "x");
    // A folder where the target file should go.
    EXPECT_FALSE(library.ExtractFile(archive, QStringLiteral("top.txt"), destination, false));
    EXPECT_TRUE(QFileInfo(destination).isDir());
    EXPECT_TRUE(QDir(destination).isEmpty());
    EXPECT_FALSE(library.IsLoaded());
}

TEST_F(ExtractTest, NamesNeverReachOutsideTheDestinationFolder)
{
    const QString inner = fixtures.Path(QStringLiteral("out/inner"));
    ASSERT_TRUE(QDir().mkpath(inner));
    for (const QString& name : {QStringLiteral("data\\.."), QStringLiteral("data\\"), QStringLiteral(".."),
                                QStringLiteral("x/../../top.txt"), QStringLiteral("../top.txt")}) {
        EXPECT_FALSE(library.ExtractFile(archive, name, inner, true)) << name.toStdString();
    }
    EXPECT_TRUE(QDir(inner).isEmpty());
    EXPECT_TRUE(QDir(destination).entryList(QDir::Files).isEmpty());
}

TEST_F(ExtractTest, AWriteFailingHalfWayLeavesTheExistingFileWhole)
{
    const QString target = fixtures.Write(QStringLiteral("out/big.bin"), "precious");
    bool extracted = true;
    {
        FileSizeLimit limit(MpqLibrary::ChunkSize + 100);
        if (!limit.IsActive())
            GTEST_SKIP() << "cannot limit the file size of this process";
        extracted = library.ExtractFile(archive, QStringLiteral("data\\big.bin"), destination, true);
    }
    EXPECT_FALSE(extracted);
    EXPECT_EQ(ArchiveFixtures::Read(target), "precious");
    EXPECT_EQ(QDir(destination).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("big.bin")});
}

TEST_F(ExtractTest, DamagedArchiveFailsQuietly)
{
    QByteArray damaged = ArchiveFixtures::Read(archive);
    // Keep the header and tables, spoil the file data.
    for (qsizetype i = 32; i < damaged.size() / 2; ++i)
        damaged[i] = char(damaged[i] ^ 0x5A);
    const QString spoiled = fixtures.Write(QStringLiteral("spoiled.mpq"), damaged);
    const QString truncated = fixtures.Write(QStringLiteral("truncated.mpq"), ArchiveFixtures::Read(archive).left(100));
    EXPECT_FALSE(library.ExtractFile(truncated, QStringLiteral("top.txt"), destination, true));
    EXPECT_FALSE(library.ExtractFile(spoiled, QStringLiteral("data\\big.bin"), destination, true));
    EXPECT_TRUE(QDir(destination).isEmpty());
    EXPECT_FALSE(library.IsLoaded());
}
