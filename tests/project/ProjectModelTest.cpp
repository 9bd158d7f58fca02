#include "project/ProjectModel.h"

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
    // After a CR the next byte belongs to the line end, whatever it is.
    ASSERT_TRUE(ProjectModel::Parse(Header + "\rXa.txt\n", entries));
    EXPECT_EQ(entries, QStringList({"a.txt"}));
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

} // namespace
