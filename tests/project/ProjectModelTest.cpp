#include "project/ProjectModel.h"

#include "FileSizeLimit.h"
#include "SmallDisk.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QByteArray Header("Carvestone Project File Version 1.0");

class ProjectModelTest : public ::testing::Test
{
protected:
    QString Write(const QString& name, const QByteArray& bytes) { return TestFiles::Write(folder.filePath(name), bytes); }

    QTemporaryDir folder;
    ProjectModel project;
    QString error;
};

TEST_F(ProjectModelTest, ANewProjectFileIsTheHeaderWithCrLfAndAnEmptyFileOpensEmptyInItsOwnFolder)
{
    const QString path = folder.filePath(QStringLiteral("New.mod"));
    ASSERT_TRUE(ProjectModel::CreateNewFile(path, error));
    EXPECT_EQ(TestFiles::Read(path), Header + "\r\n");
    EXPECT_FALSE(ProjectModel::CreateNewFile(path, error)) << "an existing file is never replaced";

    project.AddFile(QStringLiteral("previous.txt"));
    QDir(folder.path()).mkdir(QStringLiteral("Empty"));
    ASSERT_TRUE(project.Load(Write(QStringLiteral("Empty/Empty.mod"), {}), error));
    EXPECT_TRUE(project.FileList().isEmpty());
    EXPECT_EQ(project.ProjectFolder(), folder.path() + QStringLiteral("/Empty/"));
    EXPECT_FALSE(project.IsModified());
}

TEST_F(ProjectModelTest, AddKeepsAscendingCaseSensitiveOrderAndRefusesWhatTheFileCouldNotGiveBack)
{
    for (const char* entry : {"b.txt", "a.txt", "c.txt"})
        EXPECT_TRUE(project.AddFile(QString::fromLatin1(entry)));
    project.SetModifiedFlag(false);
    for (const QString& entry : {QStringLiteral("b.txt"), QString(), QStringLiteral(";old.txt"),
                                 QStringLiteral("a\nb.txt"), QStringLiteral("a\rb.txt"), QStringLiteral("\u4e00.txt")})
        EXPECT_FALSE(project.AddFile(entry)) << entry.toStdString();
    EXPECT_FALSE(project.RemoveFile(QStringLiteral("B.txt")));
    EXPECT_FALSE(project.IsModified()) << "a refused add or remove changes nothing";
    EXPECT_TRUE(project.AddFile(QStringLiteral("data\\a;b \xe9.txt")));
    EXPECT_TRUE(project.AddFile(QStringLiteral("A.txt")));
    EXPECT_TRUE(project.RemoveFile(QStringLiteral("b.txt")));
    EXPECT_TRUE(project.IsModified());
    EXPECT_EQ(project.FileList(), QStringList({"A.txt", "a.txt", "c.txt", QStringLiteral("data\\a;b \xe9.txt")}));
}

TEST_F(ProjectModelTest, ReadingAcceptsEveryLineEndSkipsCommentsKeepsFileOrderAndEveryByte)
{
    QStringList entries;
    ASSERT_TRUE(ProjectModel::Parse(Header + "\r\ndata\\global\\excel\\weapons.txt\r\n;old\r\n\r\n"
                                             "data\\global\\excel\\armor.txt\r\rz.txt\nlast.txt",
                                    entries));
    EXPECT_EQ(entries, QStringList({"data\\global\\excel\\weapons.txt", "data\\global\\excel\\armor.txt", "z.txt",
                                    "last.txt"}));
    // A lone CR ends a line and takes nothing of the next one.
    for (const QByteArray& ends : {QByteArray("\r"), QByteArray("\n"), QByteArray("\r\n")}) {
        ASSERT_TRUE(ProjectModel::Parse(Header + ends + "Xa.txt" + ends + "data\\b.txt" + ends, entries));
        EXPECT_EQ(entries, QStringList({"Xa.txt", "data\\b.txt"})) << ends.toHex().toStdString();
    }
    // Every byte of an entry survives loading and saving.
    const QByteArray bytes = Header + "\n\xe9t\xe9 \x01.txt\n";
    ASSERT_TRUE(project.Load(Write(QStringLiteral("Bytes.mod"), bytes), error));
    EXPECT_EQ(project.Serialize(), bytes);
}

TEST_F(ProjectModelTest, AFileWithoutTheExactHeaderIsRefusedAndTheModelKept)
{
    project.AddFile(QStringLiteral("keep.txt"));
    for (const QByteArray& bytes : {Header + " \na.txt\n", Header.toLower() + "\na.txt\n",
                                    QByteArray("Name\tCode\r\nSword\t1\r\n")}) {
        SCOPED_TRACE(bytes.toStdString());
        EXPECT_FALSE(project.Load(Write(QStringLiteral("Bad.mod"), bytes), error));
        EXPECT_EQ(error, QStringLiteral("Bad.mod has a bad format."));
        EXPECT_EQ(project.FileList(), QStringList({"keep.txt"}));
        EXPECT_TRUE(project.Path().isEmpty());
    }
}

TEST_F(ProjectModelTest, FilesThatCannotBeReadOrWrittenAreReportedByNameAndCause)
{
    // A folder in the file's place is refused, not taken for a missing file.
    const QString folderPath = folder.filePath(QStringLiteral("Folder.mod"));
    QDir(folder.path()).mkdir(QStringLiteral("Folder.mod"));
    const QString invalid = QStringLiteral("%1 contains an invalid path.").arg(QDir::toNativeSeparators(folderPath));
    EXPECT_FALSE(project.Load(folderPath, error));
    EXPECT_EQ(error, invalid);
    EXPECT_FALSE(project.Write(folderPath, error));
    EXPECT_EQ(error, QStringLiteral("Access to %1 was denied.").arg(QDir::toNativeSeparators(folderPath)));
}

TEST_F(ProjectModelTest, AFailedWriteLeavesTheOldFileWholeAndNamesTheFile)
{
    const QByteArray old = Header + "\nold.txt\n";
    const QString path = Write(QStringLiteral("Keep.mod"), old);
    ASSERT_TRUE(project.Load(path, error));
    project.AddFile(QStringLiteral("new.txt"));
    // A path whose parent is a file cannot be written, even by root.
    const QString impossible = path + QStringLiteral("/Inner.mod");
    EXPECT_FALSE(project.Write(impossible, error));
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(impossible))) << error.toStdString();
    EXPECT_EQ(TestFiles::Read(path), old);
}

// Sizes below and above the 16 KB write buffer, and one whose last piece is
// smaller than it.
TEST_F(ProjectModelTest, ASaveThatRunsOutOfRoomFailsNamesTheCauseAndKeepsTheOldFile)
{
    for (const int entries : {40, 700, 16384 * 2 / 30 + 3}) {
        SCOPED_TRACE(entries);
        SmallDisk disk(256);
        if (!disk.IsReady())
            GTEST_SKIP() << disk.Why().toStdString();
        const QByteArray old = Header + "\nold.txt\n";
        const QString path = TestFiles::Write(disk.Path() + QStringLiteral("/Weapons.mod"), old);
        ProjectModel big;
        for (int i = 0; i < entries; ++i)
            big.AddFile(QStringLiteral("data\\global\\excel\\table%1.txt").arg(i, 4, 10, QLatin1Char('0')));
        ASSERT_TRUE(disk.LeaveFree(big.Serialize().size() / 2));
        EXPECT_FALSE(big.Write(path, error));
        EXPECT_EQ(error, QStringLiteral("Disk full while accessing %1.").arg(QDir::toNativeSeparators(path)));
        EXPECT_EQ(TestFiles::Read(path), old);
    }
    const QString path = Write(QStringLiteral("Limited.mod"), Header + "\n");
    for (int i = 0; i < 3000; ++i)
        project.AddFile(QStringLiteral("data\\table%1.txt").arg(i));
    {
        FileSizeLimit limit(20000);
        ASSERT_TRUE(limit.IsActive());
        EXPECT_FALSE(project.Write(path, error));
    }
    EXPECT_EQ(TestFiles::Read(path), Header + "\n");
}

} // namespace
