#include "project/CCarvestoneDoc.h"

#include "ScriptedDialogs.h"
#include "TestFiles.h"
#include "mainframe/CMainFrame.h"
#include "project/TableViewPart.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QByteArray Header("Carvestone Project File Version 1.0\n");

class FakeTableView : public TableViewPart
{
public:
    bool IsAnyTableModified() const override { return modified; }
    bool SaveAllModifiedTables() override
    {
        ++saves;
        modified = modified && !saveSucceeds;
        return saveSucceeds;
    }

    bool modified = false;
    bool saveSucceeds = true;
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

    QString Write(const QString& name, const QByteArray& bytes) { return TestFiles::Write(folder.filePath(name), bytes); }

    // A project A.mod with one entry, opened and then changed.
    QString OpenChangedProject()
    {
        const QString path = Write(QStringLiteral("A.mod"), Header + "a.txt\n");
        EXPECT_EQ(doc.OpenProject(path), CCarvestoneDoc::OpenResult::Opened);
        doc.RemoveFile(QStringLiteral("a.txt"));
        return path;
    }

    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    FakeTableView tables;
    CMainFrame frame;
    CCarvestoneDoc doc;
};

TEST_F(CCarvestoneDocTest, ModifiedWhileItsOwnFlagOrAnOpenTableSaysSo)
{
    EXPECT_FALSE(doc.IsModified());
    tables.modified = true;
    EXPECT_TRUE(doc.IsModified());
    tables.modified = false;
    doc.AddFile(QStringLiteral("x.txt"));
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(CCarvestoneDocTest, TheSaveQuestionYesSavesNoDiscardsAndCancelKeepsTheProject)
{
    const QString first = OpenChangedProject();
    const QString second = Write(QStringLiteral("B.mod"), Header + "b.txt\n");
    dialogs.AnswerMessage(UserDialogs::IdCancel);
    EXPECT_EQ(doc.OpenProject(second), CCarvestoneDoc::OpenResult::Kept);
    EXPECT_EQ(doc.GetPathName(), first);
    EXPECT_TRUE(doc.IsModified());
    const auto& question = dialogs.Messages()[0];
    EXPECT_EQ(question.text, QStringLiteral("Save changes to A.mod?"));
    EXPECT_EQ(question.caption, QStringLiteral("Carvestone"));
    EXPECT_EQ(question.type & 0x0F, UserDialogs::TypeYesNoCancel);

    dialogs.AnswerMessage(UserDialogs::IdNo);
    EXPECT_EQ(doc.OpenProject(second), CCarvestoneDoc::OpenResult::Opened);
    EXPECT_EQ(TestFiles::Read(first), Header + "a.txt\n");
    EXPECT_EQ(doc.FileList(), QStringList({"b.txt"}));
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("B.mod - Carvestone"));

    doc.RemoveFile(QStringLiteral("b.txt"));
    dialogs.AnswerMessage(UserDialogs::IdYes);
    EXPECT_EQ(doc.OpenProject(first), CCarvestoneDoc::OpenResult::Opened);
    EXPECT_EQ(TestFiles::Read(second), Header);
}

TEST_F(CCarvestoneDocTest, AFailedSaveAbandonsTheOpening)
{
    const QString first = OpenChangedProject();
    // The project file's place is taken by a folder: it cannot be written.
    QFile::remove(first);
    QDir(folder.path()).mkdir(QStringLiteral("A.mod"));
    const QString second = Write(QStringLiteral("B.mod"), Header);
    const QString impossible = folder.filePath(QStringLiteral("B.mod/Inner.mod"));
    dialogs.AnswerMessage(UserDialogs::IdYes);
    dialogs.AnswerFile(impossible); // the save dialog, since the file is missing
    dialogs.AnswerMessage(UserDialogs::IdOk);
    EXPECT_EQ(doc.OpenProject(second), CCarvestoneDoc::OpenResult::Kept);
    EXPECT_EQ(doc.GetPathName(), first);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(dialogs.Messages().last().text.contains(QDir::toNativeSeparators(impossible)));
    EXPECT_EQ(TestFiles::Read(second), Header) << "the old file stays whole";
}

TEST_F(CCarvestoneDocTest, ATableThatCannotBeSavedFailsTheSaveAndKeepsTheProject)
{
    const QString first = OpenChangedProject();
    tables.modified = true;
    tables.saveSucceeds = false;
    EXPECT_FALSE(doc.OnSaveDocument(first));
    EXPECT_EQ(tables.saves, 1);
    EXPECT_FALSE(doc.Model().IsModified()) << "the project file itself was written";

    dialogs.AnswerMessage(UserDialogs::IdYes);
    EXPECT_EQ(doc.OpenProject(Write(QStringLiteral("B.mod"), Header)), CCarvestoneDoc::OpenResult::Kept);
    EXPECT_EQ(doc.GetPathName(), first);
}

TEST_F(CCarvestoneDocTest, AnUnchangedProjectWithAChangedTableSavesOnlyTheTable)
{
    const QByteArray bytes("Carvestone Project File Version 1.0\r\n;note\nc.txt");
    const QString path = Write(QStringLiteral("C.mod"), bytes);
    ASSERT_EQ(doc.OpenProject(path), CCarvestoneDoc::OpenResult::Opened);
    tables.modified = true;
    EXPECT_TRUE(doc.DoFileSave());
    EXPECT_EQ(tables.saves, 1);
    EXPECT_EQ(TestFiles::Read(path), bytes);
}

TEST_F(CCarvestoneDocTest, AnUntitledProjectHasNoFolderAndSavingItAsksForAName)
{
    doc.OnNewDocument();
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Untitled - Carvestone"));
    EXPECT_TRUE(doc.ProjectFolder().isEmpty());
    QSignalSpy pathChanged(&doc, &CCarvestoneDoc::PathChanged);
    dialogs.AnswerFile(QString());
    EXPECT_FALSE(doc.DoFileSave()) << "cancelling the save dialog abandons the save";

    dialogs.AnswerFile(folder.filePath(QStringLiteral("Named")));
    EXPECT_TRUE(doc.DoFileSave());
    const QString path = folder.filePath(QStringLiteral("Named.mod"));
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_EQ(doc.GetTitle(), QStringLiteral("Named.mod"));
    EXPECT_EQ(doc.ProjectFolder(), folder.path() + QLatin1Char('/'));
    EXPECT_EQ(TestFiles::Read(path), Header);
    EXPECT_EQ(pathChanged.size(), 1);
}

TEST_F(CCarvestoneDocTest, ABadFormatIsReportedAndTheCurrentProjectStays)
{
    const QString good = Write(QStringLiteral("Good.mod"), Header + "g.txt\n");
    ASSERT_EQ(doc.OpenProject(good), CCarvestoneDoc::OpenResult::Opened);
    const QByteArray tableBytes("name\tcode\r\nAxe\taxe\r\n");
    const QString table = Write(QStringLiteral("weapons.txt"), tableBytes);
    dialogs.AnswerMessage(UserDialogs::IdOk);
    EXPECT_EQ(doc.OpenProject(table), CCarvestoneDoc::OpenResult::Failed);
    EXPECT_EQ(dialogs.Messages().last().text, QStringLiteral("weapons.txt has a bad format."));
    EXPECT_EQ(doc.GetPathName(), good);
    EXPECT_EQ(doc.FileList(), QStringList({"g.txt"}));
    EXPECT_EQ(TestFiles::Read(table), tableBytes);
}

TEST_F(CCarvestoneDocTest, EntriesWithoutADiskFileAreKeptAndReported)
{
    dialogs.AnswerMessage(UserDialogs::IdOk);
    ASSERT_EQ(doc.OpenProject(Write(QStringLiteral("Odd.mod"), Header + "data\\..\nok.txt\n")),
              CCarvestoneDoc::OpenResult::Opened);
    EXPECT_EQ(doc.FileList(), QStringList({"data\\..", "ok.txt"}));
    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_TRUE(dialogs.Messages()[0].text.contains(QStringLiteral("data\\..")));
}

} // namespace
