#include "ArchiveFixtures.h"
#include "FileSizeLimit.h"

#include "archive/MpqLibrary.h"

#include <QDir>

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
    QString Out(const QString& name) const { return out + QLatin1Char('/') + name; }

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

TEST_F(ExtractTest, EveryFileComesOutWholeIntoAFolderOrUnderAChosenNameOrNotAtAll)
{
    for (const QString& name : {QStringLiteral("data\\one.bin"), QStringLiteral("data\\two.bin"),
                                QStringLiteral("data\\big.bin"), QStringLiteral("top.txt")}) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_TRUE(library.ExtractFile(archive, name, out + QLatin1Char('/'), true));
        EXPECT_EQ(ArchiveFixtures::Read(Out(name.section(QLatin1Char('\\'), -1))), files.value(name));
        // An existing file is replaced without a question.
        EXPECT_TRUE(library.ExtractFile(archive, name, Out(QStringLiteral("renamed.dat")), false));
        EXPECT_EQ(ArchiveFixtures::Read(Out(QStringLiteral("renamed.dat"))), files.value(name));
    }
    EXPECT_EQ(ArchiveFixtures::FilesIn(out).size(), 5);

    // A write failing half way leaves the existing file whole.
    fixtures.Write(QStringLiteral("out/big.bin"), "precious");
    {
        FileSizeLimit limit(MpqLibrary::ChunkSize + 100);
        if (!limit.IsActive())
            GTEST_SKIP() << "cannot limit the file size of this process";
        EXPECT_FALSE(library.ExtractFile(archive, QStringLiteral("data\\big.bin"), out, true));
    }
    EXPECT_EQ(ArchiveFixtures::Read(Out(QStringLiteral("big.bin"))), "precious");
    EXPECT_EQ(ArchiveFixtures::FilesIn(out).size(), 5);
}

TEST_F(ExtractTest, FailuresWriteNothingAndNamesNeverLeaveTheFolder)
{
    const QString inner = Out(QStringLiteral("inner")), plainFile = fixtures.Write(QStringLiteral("plain"), "x");
    QByteArray spoiled = ArchiveFixtures::Read(archive);
    for (qsizetype i = 32; i < spoiled.size() / 2; ++i)   // the header stays, the file data is spoiled
        spoiled[i] = char(spoiled[i] ^ 0x5A);
    const QString damaged = fixtures.Write(QStringLiteral("spoiled.mpq"), spoiled);
    const QString truncated = fixtures.Write(QStringLiteral("truncated.mpq"), spoiled.left(100));
    ASSERT_TRUE(QDir().mkpath(inner));
    struct Case { QString archive, name, destination; bool isFolder = true; };
    const QString top = QStringLiteral("top.txt");
    for (const Case& c : {Case{archive, QStringLiteral("data\\empty.txt"), inner},
                          Case{archive, QStringLiteral("absent"), inner}, Case{archive, QString(), inner},
                          Case{QString(), top, inner}, Case{archive, top, QString()},
                          Case{archive, top, plainFile},      // no such folder
                          Case{archive, top, inner, false},   // a folder, not a file
                          Case{archive, QStringLiteral("data\\.."), inner}, Case{archive, QStringLiteral(".."), inner},
                          Case{archive, QStringLiteral("data\\"), inner}, Case{truncated, top, inner},
                          Case{archive, QStringLiteral("x/../../top.txt"), inner},
                          Case{damaged, QStringLiteral("data\\big.bin"), inner}}) {
        SCOPED_TRACE((c.archive + QLatin1Char(' ') + c.name + QLatin1Char(' ') + c.destination).toStdString());
        EXPECT_FALSE(library.ExtractFile(c.archive, c.name, c.destination, c.isFolder));
        EXPECT_FALSE(library.IsLoaded());
    }
    EXPECT_TRUE(QDir(inner).isEmpty());
    EXPECT_TRUE(ArchiveFixtures::FilesIn(out).isEmpty());
    EXPECT_EQ(ArchiveFixtures::Read(plainFile), "x");
}
