#include "model/ProjectModel.h"

#include "TestFiles.h"
#include "model/ProjectEntry.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QByteArray Header("Carvestone Project File Version 1.0");

class ProjectModelTest : public ::testing::Test
{
protected:
    QString Write(QString name, QByteArray bytes) { return TestFiles::Write(folder.filePath(name), bytes); }

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

TEST_F(ProjectModelTest, ReadingTakesEveryLineEndSkipsCommentsKeepsFileOrderAndEveryByte)
{
    QStringList entries;
    for (const QByteArray& end : {QByteArray("\r"), QByteArray("\n"), QByteArray("\r\n")}) {
        // A lone CR ends a line and takes nothing of the next one.
        const QByteArray bytes = Header + end + "z.txt" + end + ";old" + end + end + "Xa.txt" + end + "data\\b.txt";
        ASSERT_TRUE(ProjectModel::Parse(bytes, entries));
        EXPECT_EQ(entries, QStringList({"z.txt", "Xa.txt", "data\\b.txt"})) << end.toHex().toStdString();
    }
    const QByteArray bytes = Header + "\n\xe9t\xe9 \x01.txt\n";
    ASSERT_TRUE(project.Load(Write(QStringLiteral("Bytes.mod"), bytes), error));
    EXPECT_EQ(project.Serialize(), bytes);
}

TEST_F(ProjectModelTest, AFileWithoutTheExactHeaderOrInAFoldersPlaceIsRefusedAndTheModelKept)
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
    // A folder in the file's place is refused, not taken for a missing file.
    const QString inPlace = folder.filePath(QStringLiteral("Folder.mod"));
    QDir(folder.path()).mkdir(QStringLiteral("Folder.mod"));
    EXPECT_FALSE(project.Load(inPlace, error));
    EXPECT_EQ(error, QStringLiteral("%1 contains an invalid path.").arg(QDir::toNativeSeparators(inPlace)));
    EXPECT_FALSE(project.Write(inPlace, error));
    EXPECT_EQ(error, QStringLiteral("Access to %1 was denied.").arg(QDir::toNativeSeparators(inPlace)));
}

TEST(ProjectEntry, TheDiskPathIsTheNamePartInTheProjectFolderAndNeverAnythingElse)
{
    const QString folder = QStringLiteral("/mods/Test/");
    EXPECT_EQ(ProjectEntry::DiskPath(folder, "data\\global\\excel\\armor.txt"), QStringLiteral("/mods/Test/armor.txt"));
    EXPECT_EQ(ProjectEntry::DiskPath(folder, QStringLiteral("..a..txt")), QStringLiteral("/mods/Test/..a..txt"));
    for (const char* entry : {"data\\", "", "data\\.", "..", "data\\..", "..\\..\\etc/passwd", "/etc/passwd"})
        EXPECT_TRUE(ProjectEntry::DiskPath(folder, QString::fromLatin1(entry)).isEmpty()) << entry;
    EXPECT_TRUE(ProjectEntry::DiskPath(QString(), QStringLiteral("armor.txt")).isEmpty()) << "untitled: no folder";
}

} // namespace

namespace {

TEST(ProjectModelRecoveredList, ARecoveredListKeepsItsOrderOnceEachAndOnlyWhatTheFileCanHold)
{
    ProjectModel project;
    project.AddFile(QStringLiteral("gone.txt"));
    project.SetModifiedFlag(false);
    project.ReplaceFileList({QStringLiteral("z.txt"), QStringLiteral("a.txt"), QStringLiteral("z.txt"), QString(),
                             QStringLiteral(";comment"), QStringLiteral("b\n.txt"), QStringLiteral("B.txt")});
    EXPECT_EQ(project.FileList(), QStringList({QStringLiteral("z.txt"), QStringLiteral("a.txt"), QStringLiteral("B.txt")}));
    EXPECT_TRUE(project.IsModified());
}

} // namespace
