#include "project/CCarvestoneDoc.h"

#include "ScriptedDialogs.h"
#include "mainframe/CMainFrame.h"
#include "project/TableViewPart.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class FakeTableView : public TableViewPart
{
public:
    bool IsAnyTableModified() const override { return modified; }
    bool SaveAllModifiedTables() override
    {
        ++saves;
        if (saveSucceeds)
            modified = false;
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

    QString WriteProject(const QString& name, const QByteArray& bytes)
    {
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    static QByteArray Read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // A project A.mod with one entry, opened and then changed.
    QString OpenChangedProject()
    {
        const QString path = WriteProject(QStringLiteral("A.mod"), "Carvestone Project File Version 1.0\na.txt\n");
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

TEST_F(CCarvestoneDocTest, AnUntitledProjectIsCalledUntitledAndHasNoFolder)
{
    doc.OnNewDocument();
    EXPECT_EQ(doc.GetTitle(), QStringLiteral("Untitled"));
    EXPECT_TRUE(doc.ProjectFolder().isEmpty());
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Untitled - Carvestone"));
}

TEST_F(CCarvestoneDocTest, ModifiedWhileItsOwnFlagOrAnOpenTableSaysSo)
{
    EXPECT_FALSE(doc.IsModified());
    tables.modified = true;
    EXPECT_TRUE(doc.IsModified());
    tables.modified = false;
    doc.AddFile(QStringLiteral("x.txt"));
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(CCarvestoneDocTest, YesSavesTheChangedProjectBeforeTheNextOpens)
{
    const QString first = OpenChangedProject();
    const QString second = WriteProject(QStringLiteral("B.mod"), "Carvestone Project File Version 1.0\nb.txt\n");
    dialogs.AnswerMessage(UserDialogs::IdYes);
    EXPECT_EQ(doc.OpenProject(second), CCarvestoneDoc::OpenResult::Opened);
    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_EQ(dialogs.Messages()[0].text, QStringLiteral("Save changes to A.mod?"));
    EXPECT_EQ(dialogs.Messages()[0].caption, QStringLiteral("Carvestone"));
    EXPECT_EQ(dialogs.Messages()[0].type & 0x0F, UserDialogs::TypeYesNoCancel);
    EXPECT_EQ(Read(first), QByteArray("Carvestone Project File Version 1.0\n"));
    EXPECT_EQ(doc.FileList(), QStringList({"b.txt"}));
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("B.mod - Carvestone"));
}

TEST_F(CCarvestoneDocTest, NoOpensWithoutSavingAndCancelKeepsTheProject)
{
    const QString first = OpenChangedProject();
    const QString second = WriteProject(QStringLiteral("B.mod"), "Carvestone Project File Version 1.0\n");

    dialogs.AnswerMessage(UserDialogs::IdCancel);
    EXPECT_EQ(doc.OpenProject(second), CCarvestoneDoc::OpenResult::Kept);
    EXPECT_EQ(doc.GetPathName(), first);
    EXPECT_TRUE(doc.IsModified());

    dialogs.AnswerMessage(UserDialogs::IdNo);
    EXPECT_EQ(doc.OpenProject(second), CCarvestoneDoc::OpenResult::Opened);
    EXPECT_EQ(Read(first), QByteArray("Carvestone Project File Version 1.0\na.txt\n"));
}

TEST_F(CCarvestoneDocTest, AFailedSaveAbandonsTheOpening)
{
    const QString first = OpenChangedProject();
    // The project file's place is taken by a folder: it cannot be written.
    QFile::remove(first);
    QDir(folder.path()).mkdir(QStringLiteral("A.mod"));
    const QString second = WriteProject(QStringLiteral("B.mod"), "Carvestone Project File Version 1.0\n");
    const QString impossible = folder.filePath(QStringLiteral("B.mod/Inner.mod"));
    dialogs.AnswerMessage(UserDialogs::IdYes);
    dialogs.AnswerFile(impossible); // the save dialog, since the file is missing
    dialogs.AnswerMessage(UserDialogs::IdOk);
    EXPECT_EQ(doc.OpenProject(second), CCarvestoneDoc::OpenResult::Kept);
    EXPECT_EQ(doc.GetPathName(), first);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(dialogs.Messages().last().text.contains(QDir::toNativeSeparators(impossible)));
    EXPECT_EQ(Read(second), QByteArray("Carvestone Project File Version 1.0\n")) << "the old file stays whole";
}

TEST_F(CCarvestoneDocTest, ATableThatCannotBeSavedFailsTheSaveAndKeepsTheProject)
{
    const QString first = OpenChangedProject();
    tables.modified = true;
    tables.saveSucceeds = false;
    EXPECT_FALSE(doc.OnSaveDocument(first));
    EXPECT_EQ(tables.saves, 1);
    EXPECT_FALSE(doc.Model().IsModified()) << "the project file itself was written";

    const QString second = WriteProject(QStringLiteral("B.mod"), "Carvestone Project File Version 1.0\n");
    dialogs.AnswerMessage(UserDialogs::IdYes);
    EXPECT_EQ(doc.OpenProject(second), CCarvestoneDoc::OpenResult::Kept);
    EXPECT_EQ(doc.GetPathName(), first);
}

TEST_F(CCarvestoneDocTest, AnUnchangedProjectWithAChangedTableSavesOnlyTheTable)
{
    const QString path = WriteProject(QStringLiteral("C.mod"), "Carvestone Project File Version 1.0\r\n;note\nc.txt");
    ASSERT_EQ(doc.OpenProject(path), CCarvestoneDoc::OpenResult::Opened);
    tables.modified = true;
    EXPECT_TRUE(doc.DoFileSave());
    EXPECT_EQ(tables.saves, 1);
    EXPECT_EQ(Read(path), QByteArray("Carvestone Project File Version 1.0\r\n;note\nc.txt"));
}

TEST_F(CCarvestoneDocTest, SavingAnUntitledProjectAsksForANameAndWritesTheFile)
{
    doc.OnNewDocument();
    QSignalSpy pathChanged(&doc, &CCarvestoneDoc::PathChanged);
    const QString chosen = folder.filePath(QStringLiteral("Named"));
    dialogs.AnswerFile(chosen);
    EXPECT_TRUE(doc.DoFileSave());
    const QString path = chosen + QStringLiteral(".mod");
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_EQ(doc.GetTitle(), QStringLiteral("Named.mod"));
    EXPECT_EQ(doc.ProjectFolder(), folder.path() + QLatin1Char('/'));
    EXPECT_EQ(Read(path), QByteArray("Carvestone Project File Version 1.0\n"));
    ASSERT_EQ(pathChanged.size(), 1);

    dialogs.AnswerFile(QString());
    doc.OnNewDocument();
    EXPECT_FALSE(doc.DoFileSave()) << "cancelling the save dialog abandons the save";
}

TEST_F(CCarvestoneDocTest, ABadFormatIsReportedAndTheCurrentProjectStays)
{
    const QString good = WriteProject(QStringLiteral("Good.mod"), "Carvestone Project File Version 1.0\ng.txt\n");
    ASSERT_EQ(doc.OpenProject(good), CCarvestoneDoc::OpenResult::Opened);
    const QString table = WriteProject(QStringLiteral("weapons.txt"), "name\tcode\r\nAxe\taxe\r\n");
    dialogs.AnswerMessage(UserDialogs::IdOk);
    EXPECT_EQ(doc.OpenProject(table), CCarvestoneDoc::OpenResult::Failed);
    EXPECT_EQ(dialogs.Messages().last().text, QStringLiteral("weapons.txt has a bad format."));
    EXPECT_EQ(doc.GetPathName(), good);
    EXPECT_EQ(doc.FileList(), QStringList({"g.txt"}));
    EXPECT_EQ(Read(table), QByteArray("name\tcode\r\nAxe\taxe\r\n"));
}

TEST_F(CCarvestoneDocTest, EntriesWithoutADiskFileAreKeptAndReported)
{
    const QString path =
        WriteProject(QStringLiteral("Odd.mod"), "Carvestone Project File Version 1.0\ndata\\..\nok.txt\n");
    dialogs.AnswerMessage(UserDialogs::IdOk);
    ASSERT_EQ(doc.OpenProject(path), CCarvestoneDoc::OpenResult::Opened);
    EXPECT_EQ(doc.FileList(), QStringList({"data\\..", "ok.txt"}));
    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_TRUE(dialogs.Messages()[0].text.contains(QStringLiteral("data\\..")));
}

} // namespace
