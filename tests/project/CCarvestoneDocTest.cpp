#include "project/CCarvestoneDoc.h"

#include "FakeTableView.h"
#include "ScriptedDialogs.h"
#include "TestFiles.h"
#include "mainframe/CMainFrame.h"
#include "model/ProjectEntry.h"
#include "model/ProjectTarget.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QByteArray Header("Carvestone Project File Version 1.0\n");
using OpenResult = CCarvestoneDoc::OpenResult;

struct SavingTableView : FakeTableView
{
    bool SaveAllModifiedTables() override
    {
        if (saveSucceeds)
            modified.clear();
        return saveSucceeds;
    }

    bool saveSucceeds = true;
};

class CCarvestoneDocTest : public ::testing::Test
{
protected:
    CCarvestoneDocTest()
    {
        frame.SetTableView(&tables);
        frame.SetDocument(&doc);
    }

    QString Write(QString name, QByteArray bytes = Header) { return TestFiles::Write(folder.filePath(name), bytes); }

    void ExpectKeptOpening(const QString& other, const QString& kept)
    {
        EXPECT_EQ(doc.OpenProject(other), OpenResult::Kept);
        EXPECT_EQ(doc.GetPathName(), kept);
        EXPECT_TRUE(doc.IsModified());
    }

    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    SavingTableView tables;
    CMainFrame frame;
    CCarvestoneDoc doc;
};

TEST_F(CCarvestoneDocTest, TheSaveQuestionYesSavesNoDiscardsAndCancelOrAFailedSaveKeepsTheProject)
{
    const QString first = Write(QStringLiteral("A.mod"), Header + "a.txt\n");
    const QString second = Write(QStringLiteral("B.mod"), Header + "b.txt\n");
    ASSERT_EQ(doc.OpenProject(first), OpenResult::Opened);
    doc.RemoveFile(QStringLiteral("a.txt"));
    dialogs.AnswerMessage(UserDialogs::IdCancel);
    ExpectKeptOpening(second, first);
    EXPECT_EQ(dialogs.Messages()[0].text, QStringLiteral("Save changes to A.mod?"));
    EXPECT_EQ(dialogs.Messages()[0].type & 0x0F, UserDialogs::TypeYesNoCancel);

    dialogs.AnswerMessage(UserDialogs::IdNo);
    EXPECT_EQ(doc.OpenProject(second), OpenResult::Opened);
    EXPECT_EQ(TestFiles::Read(first), Header + "a.txt\n");
    EXPECT_EQ(doc.FileList(), QStringList({"b.txt"}));
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("B.mod - Carvestone"));

    doc.RemoveFile(QStringLiteral("b.txt"));
    dialogs.AnswerMessage(UserDialogs::IdYes);
    EXPECT_EQ(doc.OpenProject(first), OpenResult::Opened);
    EXPECT_EQ(TestFiles::Read(second), Header);

    doc.RemoveFile(QStringLiteral("a.txt"));
    tables.modified.insert(QStringLiteral("a.txt"));
    tables.saveSucceeds = false;
    dialogs.AnswerMessage(UserDialogs::IdYes);
    ExpectKeptOpening(second, first);
    EXPECT_FALSE(doc.Model().IsModified()) << "the project file itself was written";

    // The project file's place is taken by a folder, and the name chosen instead lies under a file.
    tables.saveSucceeds = true;
    doc.AddFile(QStringLiteral("x.txt"));
    QFile::remove(first);
    QDir(folder.path()).mkdir(QStringLiteral("A.mod"));
    const QString impossible = second + QStringLiteral("/Inner.mod");
    dialogs.AnswerMessage(UserDialogs::IdYes);
    dialogs.AnswerFile(impossible);
    dialogs.AnswerMessage(UserDialogs::IdOk);
    ExpectKeptOpening(second, first);
    EXPECT_TRUE(dialogs.Messages().last().text.contains(QDir::toNativeSeparators(impossible)));
    EXPECT_EQ(TestFiles::Read(second), Header) << "the old file stays whole";
}

TEST_F(CCarvestoneDocTest, EntriesWithoutADiskFileAreReportedAndAChangedTableSavesWithoutRewritingTheProject)
{
    const QByteArray bytes("Carvestone Project File Version 1.0\r\n;note\ndata\\..\nc.txt");
    const QString path = Write(QStringLiteral("C.mod"), bytes);
    dialogs.AnswerMessage(UserDialogs::IdOk);
    ASSERT_EQ(doc.OpenProject(path), OpenResult::Opened);
    EXPECT_EQ(doc.FileList(), QStringList({"data\\..", "c.txt"}));
    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_TRUE(dialogs.Messages()[0].text.contains(QStringLiteral("data\\..")));
    tables.modified.insert(QStringLiteral("c.txt"));
    EXPECT_TRUE(doc.DoFileSave());
    EXPECT_FALSE(tables.IsAnyTableModified()) << "the table was saved";
    EXPECT_EQ(TestFiles::Read(path), bytes);
}

TEST_F(CCarvestoneDocTest, SavingAnUntitledProjectAsksForANameAddsTheExtensionAndGivesItAFolder)
{
    doc.OnNewDocument();
    dialogs.AnswerFile(QString());
    EXPECT_FALSE(doc.DoFileSave()) << "cancelling the save dialog abandons the save";

    dialogs.AnswerFile(folder.filePath(QStringLiteral("Named")));
    EXPECT_TRUE(doc.DoFileSave());
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Named.mod - Carvestone"));
    EXPECT_EQ(TestFiles::Read(folder.filePath(QStringLiteral("Named.mod"))), Header);
    // Its files are now looked for beside it, where Build and the table view find them.
    EXPECT_EQ(ProjectEntry::DiskPath(doc.ProjectFolder(), "data\\global\\a.txt"), folder.filePath("a.txt"));
}

// The target is written beside the project file when it changes, goes along with Save As, and a bad one is said.
TEST_F(CCarvestoneDocTest, TheTargetIsRecordedAtOnceFollowsSaveAsAndOneThatCannotBeReadIsSaidOnOpening)
{
    const QString path = Write(QStringLiteral("Sharp.mod"));
    ASSERT_EQ(doc.OpenProject(path), OpenResult::Opened);
    EXPECT_EQ(doc.Target(), BuildTarget::ClassicPatchArchive);
    EXPECT_TRUE(doc.SetTarget(BuildTarget::RemasterModFolder));
    EXPECT_EQ(ProjectTarget::Read(path), BuildTarget::RemasterModFolder);
    EXPECT_FALSE(doc.IsModified()) << "recorded, nothing left to save";

    // Save As (the project file went missing): the new file's target beside it.
    QFile::remove(path);
    dialogs.AnswerFile(folder.filePath(QStringLiteral("Copy.mod")));
    ASSERT_TRUE(doc.DoFileSave());
    EXPECT_EQ(ProjectTarget::Read(folder.filePath(QStringLiteral("Copy.mod"))), BuildTarget::RemasterModFolder);

    // A folder where the record goes: the change is refused, said, and the target stays.
    QFile::remove(folder.filePath(QStringLiteral("Copy.target")));
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("Copy.target")));
    dialogs.AnswerMessage(UserDialogs::IdOk);
    EXPECT_FALSE(doc.SetTarget(BuildTarget::ClassicPatchArchive));
    EXPECT_EQ(doc.Target(), BuildTarget::RemasterModFolder);
    EXPECT_TRUE(dialogs.Messages().last().text.contains("Copy.target contains an invalid path."));

    const QString odd = Write(QStringLiteral("Odd.mod"));
    Write(QStringLiteral("Odd.target"), "d2r\n");
    dialogs.AnswerMessage(UserDialogs::IdOk);
    ASSERT_EQ(doc.OpenProject(odd), OpenResult::Opened);
    EXPECT_EQ(doc.Target(), BuildTarget::ClassicPatchArchive);
    EXPECT_TRUE(dialogs.Messages().last().text.endsWith("until you choose its game in Tools > Options."));
    EXPECT_TRUE(doc.SetTarget(BuildTarget::ClassicPatchArchive)) << "choosing it again puts the record right";
    EXPECT_FALSE(QFileInfo::exists(folder.filePath(QStringLiteral("Odd.target"))));
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}

} // namespace
