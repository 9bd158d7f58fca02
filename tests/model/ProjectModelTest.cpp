#include "model/ProjectModel.h"

#include "FileSizeLimit.h"
#include "TestFiles.h"
#include "model/ProjectCreation.h"
#include "model/ProjectEntry.h"
#include "model/ProjectTarget.h"

#include <QDir>
#include <QFileInfo>
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

    // A whole archive name as a path under a folder: every part a plain file name, or nothing.
    EXPECT_EQ(ProjectEntry::RelativeDiskPath("data\\global\\excel\\armor.txt"), "data/global/excel/armor.txt");
    EXPECT_EQ(ProjectEntry::RelativeDiskPath("armor.txt"), "armor.txt");
    for (const char* entry : {"data\\..\\..\\armor.txt", "data\\\\armor.txt", ".\\armor.txt", "data\\", "a/b\\c.txt", ""})
        EXPECT_TRUE(ProjectEntry::RelativeDiskPath(QString::fromLatin1(entry)).isEmpty()) << entry;
}

// The target lives beside the project file, so the file an older Carvestone reads and rewrites stays as it was.
TEST_F(ProjectModelTest, TheTargetIsKeptBesideTheProjectFileAndWhatCannotBeReadCountsAsClassicAndIsSaid)
{
    const QString path = Write(QStringLiteral("Sharp.mod"), Header + "\ndata\\global\\excel\\weapons.txt\n");
    const QString side = folder.filePath(QStringLiteral("Sharp.target"));
    EXPECT_EQ(ProjectTarget::SideFilePath(path), side);
    EXPECT_EQ(ProjectTarget::SideFilePath(folder.filePath(QStringLiteral("Plain"))), folder.filePath("Plain.target"));
    ASSERT_TRUE(project.Load(path, error));
    EXPECT_EQ(project.Target(), BuildTarget::ClassicPatchArchive) << "every project made before knew no other";

    ASSERT_TRUE(ProjectTarget::Write(path, BuildTarget::RemasterModFolder, &error));
    EXPECT_TRUE(TestFiles::Read(side).endsWith("\nremaster\n"));
    ASSERT_TRUE(project.Load(path, error));
    EXPECT_EQ(project.Target(), BuildTarget::RemasterModFolder);
    EXPECT_TRUE(project.TargetProblem().isEmpty());
    EXPECT_EQ(TestFiles::Read(path), Header + "\ndata\\global\\excel\\weapons.txt\n");
    ASSERT_TRUE(project.Write(path, error));
    EXPECT_EQ(TestFiles::Read(path), Header + "\ndata\\global\\excel\\weapons.txt\n") << "saved as before";

    // A hand-written word in any case and with comments reads; anything else is classic, and said.
    const struct { QByteArray content; bool remaster; const char* problem; } sides[] = {
        {"; mine\r\n  REMASTER \r\n", true, ""},
        {"classic\n", false, ""},
        {"remastered\n", false, "does not say \"classic\" or \"remaster\"."},
        {"remaster\nclassic\n", false, "holds more than one word."},
        {"", false, "does not say \"classic\" or \"remaster\"."},
    };
    for (const auto& c : sides) {
        SCOPED_TRACE(c.content.toStdString());
        TestFiles::Write(side, c.content);
        ASSERT_TRUE(project.Load(path, error));
        EXPECT_EQ(project.Target() == BuildTarget::RemasterModFolder, c.remaster);
        EXPECT_EQ(project.TargetProblem(), *c.problem ? QDir::toNativeSeparators(side) + " " + c.problem : QString());
    }
    project.SetTarget(BuildTarget::RemasterModFolder);
    EXPECT_TRUE(project.TargetProblem().isEmpty()) << "a target set is no longer in doubt";

    // Classic needs no file: one there goes, and a folder in its place is refused, named.
    ASSERT_TRUE(ProjectTarget::Write(path, BuildTarget::ClassicPatchArchive, &error));
    EXPECT_FALSE(QFileInfo::exists(side));
    EXPECT_TRUE(ProjectTarget::Write(path, BuildTarget::ClassicPatchArchive, &error)) << "nothing to remove";
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("Sharp.target")));
    EXPECT_EQ(ProjectTarget::Read(path, &error), BuildTarget::ClassicPatchArchive);
    EXPECT_EQ(error, QDir::toNativeSeparators(side) + " contains an invalid path.");
    EXPECT_FALSE(ProjectTarget::Write(path, BuildTarget::ClassicPatchArchive, &error));
    EXPECT_FALSE(ProjectTarget::Write(path, BuildTarget::RemasterModFolder, &error));
    EXPECT_TRUE(QFileInfo(side).isDir());

    BuildTarget word = BuildTarget::ClassicPatchArchive;
    EXPECT_TRUE(ProjectTarget::FromWord("Remaster", word));
    EXPECT_EQ(word, BuildTarget::RemasterModFolder);
    EXPECT_FALSE(ProjectTarget::FromWord("d2r", word));
    EXPECT_EQ(ProjectTarget::Word(word), "remaster");
}

// A remaster project is the same 37-byte project file with its target beside it; one that cannot be recorded leaves nothing.
TEST_F(ProjectModelTest, ANewRemasterProjectIsAClassicProjectFileWithItsTargetBesideItOrNothingAtAll)
{
    const QString mods = folder.path() + QLatin1Char('/');
    const ProjectCreation::Result made = ProjectCreation::Create(mods, "Sharp", BuildTarget::RemasterModFolder);
    ASSERT_EQ(made.outcome, ProjectCreation::Outcome::Created);
    EXPECT_EQ(TestFiles::Read(made.projectFile), Header + "\r\n");
    ASSERT_TRUE(project.Load(made.projectFile, error));
    EXPECT_EQ(project.Target(), BuildTarget::RemasterModFolder);
    EXPECT_EQ(ProjectCreation::Create(mods, "Plain").outcome, ProjectCreation::Outcome::Created);
    EXPECT_EQ(QDir(mods + "Plain").entryList(QDir::Files), QStringList({"Plain.mod"}));
    {
        // Room for the project file's 37 bytes, not for the target's line.
        FileSizeLimit limit(60);
        if (!limit.IsActive())
            GTEST_SKIP() << "cannot limit the file size of this process";
        const ProjectCreation::Result failed = ProjectCreation::Create(mods, "Full", BuildTarget::RemasterModFolder);
        EXPECT_EQ(failed.outcome, ProjectCreation::Outcome::FileFailed);
        EXPECT_EQ(failed.fileError, "Disk full while accessing " + QDir::toNativeSeparators(mods + "Full/Full.target") + ".");
    }
    EXPECT_FALSE(QFileInfo::exists(mods + "Full")) << "the same name can be tried again";
    EXPECT_EQ(ProjectCreation::Create(mods, "Full", BuildTarget::RemasterModFolder).outcome,
              ProjectCreation::Outcome::Created);
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
