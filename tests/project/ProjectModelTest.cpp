#include "project/ProjectModel.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ProjectModelTest : public ::testing::Test
{
protected:
    QString WriteFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    static QByteArray ReadFile(const QString& path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    QTemporaryDir folder;
};

TEST_F(ProjectModelTest, NewProjectFileIsTheHeaderWithCrLfIn37Bytes)
{
    const QByteArray bytes = ProjectModel::NewProjectFileBytes();
    EXPECT_EQ(bytes.size(), 37);
    EXPECT_EQ(bytes, QByteArray("Carvestone Project File Version 1.0\r\n"));

    const QString path = folder.filePath(QStringLiteral("New.mod"));
    QString error;
    ASSERT_TRUE(ProjectModel::CreateNewFile(path, error));
    EXPECT_EQ(ReadFile(path), bytes);
    EXPECT_FALSE(ProjectModel::CreateNewFile(path, error)) << "an existing file is never replaced";

    ProjectModel project;
    ASSERT_TRUE(project.Load(path, error));
    EXPECT_TRUE(project.FileList().isEmpty());
    EXPECT_FALSE(project.IsModified());
    EXPECT_EQ(project.Title(), QStringLiteral("New.mod"));
    EXPECT_EQ(project.ProjectFolder(), folder.path() + QLatin1Char('/'));
}

TEST_F(ProjectModelTest, AddFileKeepsAscendingCaseSensitiveOrderWithoutDuplicates)
{
    ProjectModel project;
    EXPECT_TRUE(project.AddFile(QStringLiteral("b.txt")));
    EXPECT_TRUE(project.AddFile(QStringLiteral("a.txt")));
    EXPECT_TRUE(project.AddFile(QStringLiteral("c.txt")));
    project.SetModifiedFlag(false);
    EXPECT_FALSE(project.AddFile(QStringLiteral("b.txt")));
    EXPECT_FALSE(project.IsModified()) << "adding a present entry changes nothing";
    EXPECT_TRUE(project.AddFile(QStringLiteral("A.txt")));
    EXPECT_EQ(project.FileList(), QStringList({"A.txt", "a.txt", "b.txt", "c.txt"}));
    EXPECT_TRUE(project.IsModified());
}

TEST_F(ProjectModelTest, RemoveFileTakesOnlyAnEqualEntry)
{
    ProjectModel project;
    project.AddFile(QStringLiteral("a.txt"));
    project.SetModifiedFlag(false);
    EXPECT_FALSE(project.RemoveFile(QStringLiteral("A.txt")));
    EXPECT_FALSE(project.IsModified());
    EXPECT_TRUE(project.RemoveFile(QStringLiteral("a.txt")));
    EXPECT_TRUE(project.IsModified());
    EXPECT_TRUE(project.FileList().isEmpty());
}

TEST_F(ProjectModelTest, SavedFileHasHeaderAndEntriesEachEndedByOneLf)
{
    ProjectModel project;
    project.AddFile(QStringLiteral("b.txt"));
    project.AddFile(QStringLiteral("data\\global\\excel\\c.txt"));
    project.AddFile(QStringLiteral("a.txt"));
    const QByteArray expected("Carvestone Project File Version 1.0\na.txt\nb.txt\ndata\\global\\excel\\c.txt\n");
    EXPECT_EQ(project.Serialize(), expected);
    EXPECT_EQ(expected.size(), 36 + 5 + 5 + 23 + 3);

    const QString path = folder.filePath(QStringLiteral("Saved.mod"));
    QString error;
    ASSERT_TRUE(project.Write(path, error)) << error.toStdString();
    EXPECT_EQ(ReadFile(path), expected);
}

TEST_F(ProjectModelTest, ReadingAcceptsEveryLineEndSkipsCommentsAndKeepsFileOrder)
{
    QStringList entries;
    ASSERT_TRUE(ProjectModel::Parse("Carvestone Project File Version 1.0\r\n"
                                    "data\\global\\excel\\weapons.txt\r\n;old\r\n\r\n"
                                    "data\\global\\excel\\armor.txt\r\rz.txt\nlast.txt",
                                    entries));
    EXPECT_EQ(entries, QStringList({"data\\global\\excel\\weapons.txt", "data\\global\\excel\\armor.txt", "z.txt",
                                    "last.txt"}));

    // After a CR the next byte belongs to the line end, whatever it is.
    ASSERT_TRUE(ProjectModel::Parse("Carvestone Project File Version 1.0\rXa.txt\n", entries));
    EXPECT_EQ(entries, QStringList({"a.txt"}));
}

TEST_F(ProjectModelTest, EveryByteOfAnEntrySurvivesLoadAndSave)
{
    const QByteArray bytes("Carvestone Project File Version 1.0\n\xe9t\xe9 \x01.txt\n");
    const QString path = WriteFile(QStringLiteral("Bytes.mod"), bytes);
    ProjectModel project;
    QString error;
    ASSERT_TRUE(project.Load(path, error));
    ASSERT_EQ(project.FileList().size(), 1);
    EXPECT_EQ(project.Serialize(), bytes);
}

TEST_F(ProjectModelTest, AFileWithoutTheExactHeaderIsRefusedAndTheModelKept)
{
    ProjectModel project;
    project.AddFile(QStringLiteral("keep.txt"));
    QString error;
    for (const QByteArray& header : {QByteArray("Carvestone Project File Version 1.0 \na.txt\n"),
                                     QByteArray("carvestone project file version 1.0\na.txt\n"),
                                     QByteArray("Name\tCode\r\nSword\t1\r\n")}) {
        const QString path = WriteFile(QStringLiteral("Bad.mod"), header);
        EXPECT_FALSE(project.Load(path, error));
        EXPECT_EQ(error, QStringLiteral("Bad.mod has a bad format."));
        EXPECT_EQ(project.FileList(), QStringList({"keep.txt"}));
        EXPECT_TRUE(project.Path().isEmpty());
    }
}

TEST_F(ProjectModelTest, AnEmptyFileOpensAsAnEmptyProjectInItsOwnFolder)
{
    ProjectModel project;
    project.AddFile(QStringLiteral("previous.txt"));
    QDir(folder.path()).mkdir(QStringLiteral("Empty"));
    const QString path = WriteFile(QStringLiteral("Empty/Empty.mod"), {});
    QString error;
    ASSERT_TRUE(project.Load(path, error));
    EXPECT_TRUE(project.FileList().isEmpty());
    EXPECT_EQ(project.ProjectFolder(), folder.path() + QStringLiteral("/Empty/"));
    EXPECT_FALSE(project.IsModified());
}

TEST_F(ProjectModelTest, AMissingFileIsReportedByNameAndCause)
{
    ProjectModel project;
    QString error;
    const QString path = folder.filePath(QStringLiteral("Missing.mod"));
    EXPECT_FALSE(project.Load(path, error));
    EXPECT_EQ(error, QDir::toNativeSeparators(path) + QStringLiteral(" was not found."));
}

TEST_F(ProjectModelTest, AFolderInPlaceOfTheProjectFileIsRefusedNotMissing)
{
    ProjectModel project;
    QString error;
    QDir(folder.path()).mkdir(QStringLiteral("Folder.mod"));
    const QString path = folder.filePath(QStringLiteral("Folder.mod"));
    EXPECT_FALSE(project.Load(path, error));
    EXPECT_EQ(error, QStringLiteral("Access to %1 was denied.").arg(QDir::toNativeSeparators(path)));
    EXPECT_FALSE(project.Write(path, error));
    EXPECT_EQ(error, QStringLiteral("Access to %1 was denied.").arg(QDir::toNativeSeparators(path)));
    EXPECT_TRUE(QFileInfo(path).isDir());
}

TEST_F(ProjectModelTest, AFailedWriteLeavesTheOldFileWholeAndNamesTheFile)
{
    const QByteArray old("Carvestone Project File Version 1.0\nold.txt\n");
    const QString path = WriteFile(QStringLiteral("Keep.mod"), old);
    ProjectModel project;
    QString error;
    ASSERT_TRUE(project.Load(path, error));
    project.AddFile(QStringLiteral("new.txt"));

    // A path whose parent is a file cannot be written, even by root.
    const QString impossible = path + QStringLiteral("/Inner.mod");
    EXPECT_FALSE(project.Write(impossible, error));
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(impossible))) << error.toStdString();
    EXPECT_EQ(ReadFile(path), old);
}

TEST_F(ProjectModelTest, EntriesWhoseNamePartCannotBeAFileAreFound)
{
    const QString path = WriteFile(QStringLiteral("Odd.mod"), "Carvestone Project File Version 1.0\n"
                                                              "data\\ok.txt\ndata\\..\n..\\..\\x/y\ndata\\\n.\n");
    ProjectModel project;
    QString error;
    ASSERT_TRUE(project.Load(path, error));
    EXPECT_EQ(project.FileList().size(), 5) << "such entries stay in the project";
    EXPECT_EQ(project.EntriesWithoutDiskFile(), QStringList({"data\\..", "..\\..\\x/y", "data\\", "."}));
}

} // namespace
