#include "project/CCarvestoneDoc.h"

#include "ScriptedDialogs.h"
#include "SmallDisk.h"
#include "TestFiles.h"
#include "mainframe/CMainFrame.h"
#include "project/ProjectEntry.h"
#include "project/TableViewPart.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QByteArray Header("Carvestone Project File Version 1.0\n");
using OpenResult = CCarvestoneDoc::OpenResult;

struct FakeTableView : TableViewPart
{
    bool IsAnyTableModified() const override { return modified; }
    bool SaveAllModifiedTables() override
    {
        ++saves;
        modified = modified && !saveSucceeds;
        return saveSucceeds;
    }
    bool OpenTable(const QString&) override { return false; }
    bool IsTableOpen(const QString&) const override { return false; }
    bool CloseTable(const QString&) override { return true; }
    void CloseAllTables() override {}
    QString GetCurrentFileName() const override { return {}; }
    GridCellId GetFocusCell() const override { return {}; }
    CGridCtrl* GetCurrentGrid() const override { return nullptr; }
    void MarkCurrentTableModified() override {}
    void ApplyGridFont() override {}

    bool modified = false, saveSucceeds = true;
    int saves = 0;
};

class CCarvestoneDocTest : public ::testing::Test
{
protected:
    CCarvestoneDocTest()
    {
        frame.SetTableView(&tables);
        frame.SetDocument(&doc);
        doc.SetFrame(&frame);
    }

    QString Write(const QString& name, const QByteArray& bytes = Header)
    {
        return TestFiles::Write(folder.filePath(name), bytes);
    }

    // A project A.mod with one entry, opened and then changed.
    QString OpenChangedProject()
    {
        const QString path = Write(QStringLiteral("A.mod"), Header + "a.txt\n");
        EXPECT_EQ(doc.OpenProject(path), OpenResult::Opened);
        doc.RemoveFile(QStringLiteral("a.txt"));
        return path;
    }

    // Opening `other` is refused and the changed project stays open.
    void ExpectKeptOpening(const QString& other, const QString& kept)
    {
        EXPECT_EQ(doc.OpenProject(other), OpenResult::Kept);
        EXPECT_EQ(doc.GetPathName(), kept);
        EXPECT_TRUE(doc.IsModified());
    }

    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    FakeTableView tables;
    CMainFrame frame;
    CCarvestoneDoc doc;
};

TEST_F(CCarvestoneDocTest, TheSaveQuestionYesSavesNoDiscardsAndCancelKeepsTheProject)
{
    const QString first = OpenChangedProject();
    const QString second = Write(QStringLiteral("B.mod"), Header + "b.txt\n");
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
}

TEST_F(CCarvestoneDocTest, AFailedSaveAbandonsTheOpening)
{
    const QString first = OpenChangedProject();
    // The project file's place is taken by a folder: it cannot be written.
    QFile::remove(first);
    QDir(folder.path()).mkdir(QStringLiteral("A.mod"));
    const QString second = Write(QStringLiteral("B.mod"));
    const QString impossible = folder.filePath(QStringLiteral("B.mod/Inner.mod"));
    dialogs.AnswerMessage(UserDialogs::IdYes);
    dialogs.AnswerFile(impossible); // the save dialog, since the file is missing
    dialogs.AnswerMessage(UserDialogs::IdOk);
    ExpectKeptOpening(second, first);
    EXPECT_TRUE(dialogs.Messages().last().text.contains(QDir::toNativeSeparators(impossible)));
    EXPECT_EQ(TestFiles::Read(second), Header) << "the old file stays whole";
}

TEST_F(CCarvestoneDocTest, ATableThatCannotBeSavedFailsTheSaveAndKeepsTheProject)
{
    const QString first = OpenChangedProject();
    tables.modified = true;
    tables.saveSucceeds = false;
    EXPECT_FALSE(doc.OnSaveDocument(first));
    EXPECT_FALSE(doc.Model().IsModified()) << "the project file itself was written";

    dialogs.AnswerMessage(UserDialogs::IdYes);
    ExpectKeptOpening(Write(QStringLiteral("B.mod")), first);
}

TEST_F(CCarvestoneDocTest, ASaveThatDoesNotFitKeepsTheProjectModifiedAndSaysWhy)
{
    SmallDisk disk(128);
    if (!disk.IsReady())
        GTEST_SKIP() << disk.Why().toStdString();
    const QString path = TestFiles::Write(disk.Path() + QStringLiteral("/Big.mod"), Header);
    ASSERT_EQ(doc.OpenProject(path), OpenResult::Opened);
    for (int i = 0; i < 800; ++i)
        doc.AddFile(QStringLiteral("data\\global\\excel\\table%1.txt").arg(i));
    ASSERT_TRUE(disk.LeaveFree(8192));
    dialogs.AnswerMessage(UserDialogs::IdOk);
    EXPECT_FALSE(doc.DoFileSave());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(TestFiles::Read(path), Header);
    ASSERT_FALSE(dialogs.Messages().isEmpty());
    EXPECT_EQ(dialogs.Messages().last().text, QStringLiteral("Disk full while accessing %1.").arg(QDir::toNativeSeparators(path)));
}

TEST_F(CCarvestoneDocTest, AnUnchangedProjectWithAChangedTableSavesOnlyTheTable)
{
    const QByteArray bytes("Carvestone Project File Version 1.0\r\n;note\nc.txt");
    const QString path = Write(QStringLiteral("C.mod"), bytes);
    ASSERT_EQ(doc.OpenProject(path), OpenResult::Opened);
    tables.modified = true;
    EXPECT_TRUE(doc.DoFileSave());
    EXPECT_EQ(tables.saves, 1);
    EXPECT_EQ(TestFiles::Read(path), bytes);
}

TEST_F(CCarvestoneDocTest, SavingAnUntitledProjectAsksForANameAndAddsTheExtension)
{
    doc.OnNewDocument();
    dialogs.AnswerFile(QString());
    EXPECT_FALSE(doc.DoFileSave()) << "cancelling the save dialog abandons the save";

    dialogs.AnswerFile(folder.filePath(QStringLiteral("Named")));
    EXPECT_TRUE(doc.DoFileSave());
    const QString path = folder.filePath(QStringLiteral("Named.mod"));
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Named.mod - Carvestone"));
    EXPECT_EQ(TestFiles::Read(path), Header);
    // From now on its files are looked for beside the project file, where
    // Build and the table view find them.
    EXPECT_EQ(ProjectEntry::DiskPath(doc.ProjectFolder(), QStringLiteral("data\\global\\a.txt")).toStdString(),
              folder.filePath(QStringLiteral("a.txt")).toStdString());
}

TEST_F(CCarvestoneDocTest, EntriesWithoutADiskFileAreKeptAndReported)
{
    dialogs.AnswerMessage(UserDialogs::IdOk);
    ASSERT_EQ(doc.OpenProject(Write(QStringLiteral("Odd.mod"), Header + "data\\..\nok.txt\n")), OpenResult::Opened);
    EXPECT_EQ(doc.FileList(), QStringList({"data\\..", "ok.txt"}));
    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_TRUE(dialogs.Messages()[0].text.contains(QStringLiteral("data\\..")));
}

} // namespace
