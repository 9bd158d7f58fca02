#include "project/CCarvestoneDoc.h"

#include "FakeTableView.h"
#include "ScriptedDialogs.h"
#include "TestFiles.h"
#include "mainframe/CMainFrame.h"
#include "model/ProjectEntry.h"

#include <QDir>
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

} // namespace
