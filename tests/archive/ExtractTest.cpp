#include "ArchiveFixtures.h"
#include "FileSizeLimit.h"

#include "archive/MpqLibrary.h"

#include <QDir>
#include <QFileInfo>

namespace {

class ExtractTest : public SmpqTest
{
protected:
    void SetUp() override
    {
        SmpqTest::SetUp();
        if (IsSkipped())
            return;
        archive = fixtures.MakeGameArchive(QStringLiteral("game.mpq"), files);
        ASSERT_FALSE(archive.isEmpty());
        ASSERT_TRUE(QDir().mkpath(out));
    }

    // Around the chunk size: one chunk, one and a byte, several.
    const QMap<QString, QByteArray> files{{QStringLiteral("data\\one.bin"), ArchiveFixtures::Pattern(MpqLibrary::ChunkSize, 1)},
                                          {QStringLiteral("data\\two.bin"), ArchiveFixtures::Pattern(MpqLibrary::ChunkSize + 1, 2)},
                                          {QStringLiteral("data\\big.bin"), ArchiveFixtures::Pattern(3 * MpqLibrary::ChunkSize + 77, 4)},
                                          {QStringLiteral("data\\empty.txt"), QByteArray()},
                                          {QStringLiteral("top.txt"), "top"}};
    MpqLibrary library;
    QString archive;
    const QString out = fixtures.Path(QStringLiteral("out"));
};

} // namespace

TEST_F(ExtractTest, EveryFileComesOutWholeIntoAFolderOrUnderAChosenName)
{
    for (const QString& destination : {out, out + QLatin1Char('/')}) {
        for (const QString& name : {QStringLiteral("data\\one.bin"), QStringLiteral("data\\two.bin"),
                                    QStringLiteral("data\\big.bin"), QStringLiteral("top.txt")}) {
            SCOPED_TRACE((destination + QLatin1Char(' ') + name).toStdString());
            EXPECT_TRUE(library.ExtractFile(archive, name, destination, true));
            EXPECT_EQ(ArchiveFixtures::Read(out + QLatin1Char('/') + name.section(QLatin1Char('\\'), -1)),
                      files.value(name));
        }
    }
    // A chosen file name; an existing file is replaced without a question.
    const QString chosen = out + QLatin1String("/renamed.dat");
    for (const QString& name : {QStringLiteral("data\\two.bin"), QStringLiteral("top.txt")}) {
        EXPECT_TRUE(library.ExtractFile(archive, name, chosen, false));
        EXPECT_EQ(ArchiveFixtures::Read(chosen), files.value(name));
    }
    EXPECT_EQ(ArchiveFixtures::FilesIn(out).size(), 5);
    EXPECT_FALSE(library.IsLoaded());
}

TEST_F(ExtractTest, FailuresWriteNothingAndNamesNeverLeaveTheFolder)
{
    const QString inner = out + QLatin1String("/inner");
    const QString plainFile = fixtures.Write(QStringLiteral("plain-file"), "x");
    QByteArray spoiled = ArchiveFixtures::Read(archive);
    for (qsizetype i = 32; i < spoiled.size() / 2; ++i)   // the header stays, the file data is spoiled
        spoiled[i] = char(spoiled[i] ^ 0x5A);
    const QString damaged = fixtures.Write(QStringLiteral("spoiled.mpq"), spoiled);
    const QString truncated = fixtures.Write(QStringLiteral("truncated.mpq"), spoiled.left(100));
    ASSERT_TRUE(QDir().mkpath(inner));
    struct Case
    {
        QString archive;
        QString name;
        QString destination;
        bool isFolder;
    };
    for (const Case& c : {Case{archive, QStringLiteral("data\\empty.txt"), inner, true},
                          Case{archive, QStringLiteral("data\\absent.txt"), inner, true},
                          Case{archive, QString(), inner, true}, Case{QString(), QStringLiteral("top.txt"), inner, true},
                          Case{archive, QStringLiteral("top.txt"), QString(), true},
                          Case{archive, QStringLiteral("top.txt"), plainFile, true},   // no such folder
                          Case{archive, QStringLiteral("top.txt"), inner, false},      // a folder, not a file
                          Case{archive, QStringLiteral("data\\.."), inner, true}, Case{archive, QStringLiteral("data\\"), inner, true},
                          Case{archive, QStringLiteral(".."), inner, true},
                          Case{archive, QStringLiteral("x/../../top.txt"), inner, true},
                          Case{truncated, QStringLiteral("top.txt"), inner, true},
                          Case{damaged, QStringLiteral("data\\big.bin"), inner, true}}) {
        SCOPED_TRACE((c.archive + QLatin1Char(' ') + c.name + QLatin1Char(' ') + c.destination).toStdString());
        EXPECT_FALSE(library.ExtractFile(c.archive, c.name, c.destination, c.isFolder));
        EXPECT_FALSE(library.IsLoaded());
    }
    EXPECT_TRUE(QDir(inner).isEmpty());
    EXPECT_TRUE(ArchiveFixtures::FilesIn(out).isEmpty());
    EXPECT_EQ(ArchiveFixtures::Read(plainFile), "x");
}

TEST_F(ExtractTest, AWriteFailingHalfWayLeavesTheExistingFileWhole)
{
    const QString target = fixtures.Write(QStringLiteral("out/big.bin"), "precious");
    bool extracted = true;
    {
        FileSizeLimit limit(MpqLibrary::ChunkSize + 100);
        if (!limit.IsActive())
            GTEST_SKIP() << "cannot limit the file size of this process";
        extracted = library.ExtractFile(archive, QStringLiteral("data\\big.bin"), out, true);
    }
    EXPECT_FALSE(extracted);
    EXPECT_EQ(ArchiveFixtures::Read(target), "precious");
    EXPECT_EQ(ArchiveFixtures::FilesIn(out), QStringList{QStringLiteral("big.bin")});
}
