#include "browser/CLeftView.h"

#include "FakeTableView.h"
#include "ScriptedDialogs.h"
#include "TestFiles.h"
#include "browser/ArchiveTree.h"
#include "mainframe/CMainFrame.h"
#include "mainframe/CommandIds.h"
#include "project/CCarvestoneDoc.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace CommandId;

// A main window with a saved project on disk, its tree and a stand-in
// table view, shown and active as a person would find it.
class ProjectTree : public ::testing::Test
{
protected:
    void SetUp() override
    {
        table = new FakeTableView;
        frame.SetTableViewPane(table, table);
        doc.SetFrame(&frame);
        frame.SetDocument(&doc);
        frame.show();
        QApplication::setActiveWindow(&frame);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
        folder = dir.path() + QStringLiteral("/Mod/");
        QDir().mkpath(folder);
    }

    void OpenProject(const QStringList& entries)
    {
        QByteArray content = "Carvestone Project File Version 1.0\n";
        for (const QString& entry : entries) {
            content += entry.toLatin1() + '\n';
            TestFiles::Write(folder + entry.section(QLatin1Char('\\'), -1), "cells\r\n");
        }
        ASSERT_EQ(doc.OpenProject(TestFiles::Write(folder + "Mod.mod", content)), CCarvestoneDoc::OpenResult::Opened);
    }

    CLeftView* Tree() const { return frame.GetTreeView(); }

    void Select(const QString& text)
    {
        const QList<QTreeWidgetItem*> found = Tree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1) << text.toStdString();
        Tree()->setCurrentItem(found[0]);
    }

    // A key in the tree, and the command it posts run to its end.
    void Press(Qt::Key key)
    {
        Tree()->setFocus();
        QTest::keyClick(Tree(), key);
        QCoreApplication::processEvents();
    }

    bool Enabled(int id)
    {
        frame.UpdateCommandUi();
        return frame.Action(id)->isEnabled();
    }

    QStringList Outline() const
    {
        QStringList lines;
        for (QTreeWidgetItemIterator it(Tree()); *it; ++it)
            lines.append((*it)->text(0));
        return lines;
    }

    QTemporaryDir dir;
    QString folder;
    ScriptedDialogs dialogs;
    CMainFrame frame;
    CCarvestoneDoc doc;
    FakeTableView* table = nullptr;
};

TEST_F(ProjectTree, ShowsTheSavedProjectUnderItsTitleAndRebuildsOnEveryChange)
{
    doc.OnNewDocument();
    EXPECT_EQ(Tree()->topLevelItemCount(), 0) << "a project never saved has no folder to show";

    OpenProject({"data\\global\\excel\\weapons.txt", "data\\global\\excel\\armor.txt", "readme", "data\\x.dc6"});
    EXPECT_EQ(Outline(), QStringList({"Mod.mod", "data", "global", "excel", "weapons.txt", "armor.txt", "x.dc6",
                                      "readme"}));
    QTreeWidgetItem* root = Tree()->topLevelItem(0);
    EXPECT_EQ(Tree()->currentItem(), root);
    EXPECT_FALSE(root->icon(0).isNull());
    for (QTreeWidgetItemIterator it(Tree()); *it; ++it)
        EXPECT_TRUE((*it)->isExpanded() || (*it)->childCount() == 0);

    doc.OnNewDocument();
    EXPECT_EQ(Tree()->topLevelItemCount(), 0);
}

TEST_F(ProjectTree, TheSelectionDecidesWhichProjectCommandsAreOffered)
{
    OpenProject({"data\\armor.txt", "data\\Armor.TXT", "data\\patchstring.tbl", "noext"});
    QStringList seen;
    Tree()->SetAddFilesRunner([&](const QString&) { return QStringList(); });
    const struct { const char* item; bool add, remove, open; } cases[] = {
        {"Mod.mod", true, false, false},      {"data", true, false, false},
        {"armor.txt", true, true, true},      {"Armor.TXT", true, true, false},
        {"patchstring.tbl", true, true, false}, {"noext", true, true, false},
    };
    for (const auto& c : cases) {
        Select(QString::fromLatin1(c.item));
        EXPECT_EQ(Enabled(AddFiles), c.add) << c.item;
        EXPECT_EQ(Enabled(RemoveFile), c.remove) << c.item;
        EXPECT_EQ(Enabled(OpenFile), c.open) << c.item;
    }
    // While the table view is active, the tree's commands are not there.
    frame.ActivateTableView();
    EXPECT_FALSE(Enabled(RemoveFile));
    EXPECT_FALSE(Enabled(OpenFile));
}

TEST_F(ProjectTree, KeysOfDisabledCommandsDoNothingAndAnUntitledProjectTakesNoFiles)
{
    int runs = 0;
    Tree()->SetAddFilesRunner([&](const QString&) {
        ++runs;
        return QStringList();
    });
    doc.OnNewDocument();
    Press(Qt::Key_Insert);
    EXPECT_EQ(runs, 0) << "no files are copied into a folder the project does not have";

    OpenProject({"data\\armor.txt"});
    Select("data");
    Press(Qt::Key_Delete); // ScriptedDialogs fails the test on any question
    Press(Qt::Key_Return);
    EXPECT_TRUE(table->opened.isEmpty());
    EXPECT_EQ(doc.FileList(), QStringList{"data\\armor.txt"});
}

TEST_F(ProjectTree, AddFilesShowsOnlyTheNamesTheProjectDidNotHold)
{
    OpenProject({"data\\global\\excel\\armor.txt"});
    QString askedFolder;
    Tree()->SetAddFilesRunner([&](const QString& projectFolder) {
        askedFolder = projectFolder;
        return QStringList({"data\\global\\excel\\weapons.txt", "data\\global\\excel\\armor.txt", "sounds\\a.wav"});
    });
    Press(Qt::Key_Insert);
    EXPECT_EQ(askedFolder, folder);
    EXPECT_EQ(Outline(), QStringList({"Mod.mod", "data", "global", "excel", "armor.txt", "weapons.txt", "sounds",
                                      "a.wav"}));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.FileList().size(), 3);
}

TEST_F(ProjectTree, OpenFileHandsTheNamePartToTheTableViewAndMakesItActive)
{
    OpenProject({"data\\global\\excel\\armor.txt", "data\\weapons.txt"});
    Select("armor.txt");
    Press(Qt::Key_Return);
    EXPECT_EQ(table->opened, QStringList{"armor.txt"});
    EXPECT_EQ(frame.GetActiveView(), static_cast<CommandTarget*>(table));

    Select("weapons.txt");
    const QRect itemRect = Tree()->visualItemRect(Tree()->currentItem());
    QTest::mouseDClick(Tree()->viewport(), Qt::LeftButton, {}, itemRect.center());
    QCoreApplication::processEvents();
    EXPECT_EQ(table->opened, QStringList({"armor.txt", "weapons.txt"}));
}

TEST_F(ProjectTree, RemoveFileKeepsOrDeletesTheDiskFileAsAnsweredAndCancelChangesNothing)
{
    OpenProject({"data\\armor.txt", "data\\weapons.txt", "data\\gone.txt"});
    QFile::remove(folder + "gone.txt");

    dialogs.AnswerMessage(UserDialogs::IdCancel);
    Select("armor.txt");
    Press(Qt::Key_Delete);
    EXPECT_EQ(doc.FileList().size(), 3);
    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_TRUE(dialogs.Messages()[0].text.startsWith("Do you wish to keep this file"));

    dialogs.AnswerMessage(UserDialogs::IdYes);
    Press(Qt::Key_Delete);
    EXPECT_TRUE(QFile::exists(folder + "armor.txt")) << "Yes keeps the file to add it again later";

    dialogs.AnswerMessage(UserDialogs::IdNo);
    Select("weapons.txt");
    Press(Qt::Key_Delete);
    EXPECT_FALSE(QFile::exists(folder + "weapons.txt"));

    dialogs.AnswerMessage(UserDialogs::IdNo);
    Select("gone.txt");
    Press(Qt::Key_Delete);
    EXPECT_EQ(doc.FileList(), QStringList());
    EXPECT_EQ(Outline(), QStringList({"Mod.mod", "data"}));
    EXPECT_EQ(dialogs.Messages().size(), 4) << "a file that was already gone is no failure";
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}

TEST_F(ProjectTree, AFileAnotherEntryStillNamesOrThatCannotBeDeletedStaysWithAReason)
{
    OpenProject({"a\\x.txt", "b\\x.txt", "c\\stuck.txt"});
    dialogs.AnswerMessage(UserDialogs::IdNo);
    dialogs.AnswerMessage(UserDialogs::IdOk);
    Select("a");
    Tree()->setCurrentItem(Tree()->currentItem()->child(0));
    Press(Qt::Key_Delete);
    EXPECT_TRUE(QFile::exists(folder + "x.txt"));
    EXPECT_EQ(doc.FileList(), QStringList({"b\\x.txt", "c\\stuck.txt"}));
    ASSERT_EQ(dialogs.Messages().size(), 2);
    EXPECT_TRUE(dialogs.Messages()[1].text.contains(QDir::toNativeSeparators(folder + "x.txt")));
    EXPECT_TRUE(dialogs.Messages()[1].text.contains("another entry")) << dialogs.Messages()[1].text.toStdString();

    // A folder in the file's place cannot be removed as a file, even by root.
    QFile::remove(folder + "stuck.txt");
    QDir().mkpath(folder + "stuck.txt/inside");
    dialogs.AnswerMessage(UserDialogs::IdNo);
    dialogs.AnswerMessage(UserDialogs::IdOk);
    Select("stuck.txt");
    Press(Qt::Key_Delete);
    ASSERT_EQ(dialogs.Messages().size(), 4);
    EXPECT_TRUE(dialogs.Messages()[3].text.contains(QDir::toNativeSeparators(folder + "stuck.txt")))
        << dialogs.Messages()[3].text.toStdString();
    EXPECT_TRUE(doc.FileList().contains("c\\stuck.txt")) << "the entry stays with its file";
    EXPECT_EQ(Tree()->findItems("stuck.txt", Qt::MatchExactly | Qt::MatchRecursive).size(), 1);
}

TEST_F(ProjectTree, AnOpenTableIsClosedBeforeItsEntryGoesAndCancellingTheCloseKeepsBoth)
{
    OpenProject({"data\\armor.txt"});
    table->open = {"armor.txt"};
    table->modified = {"armor.txt"};
    table->cancelCloseOfModified = true;
    dialogs.AnswerMessage(UserDialogs::IdNo);
    Select("armor.txt");
    Press(Qt::Key_Delete);
    EXPECT_EQ(table->closeRequests, QStringList{"armor.txt"});
    EXPECT_TRUE(QFile::exists(folder + "armor.txt"));
    EXPECT_EQ(doc.FileList(), QStringList{"data\\armor.txt"});

    table->cancelCloseOfModified = false;
    dialogs.AnswerMessage(UserDialogs::IdNo);
    Press(Qt::Key_Delete);
    EXPECT_FALSE(table->IsTableOpen("armor.txt"));
    EXPECT_FALSE(QFile::exists(folder + "armor.txt")) << "no open table is left to write it back";
    EXPECT_EQ(doc.FileList(), QStringList());
}

TEST_F(ProjectTree, ARightClickSelectsTheItemAndShowsTheProjectMenu)
{
    OpenProject({"data\\armor.txt"});
    const QTreeWidgetItem* armor = Tree()->findItems("armor.txt", Qt::MatchExactly | Qt::MatchRecursive).value(0);
    const QPoint at = Tree()->visualItemRect(armor).center();
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, Tree()->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(Tree()->viewport(), &click);
    EXPECT_EQ(Tree()->currentItem(), armor);
    ASSERT_TRUE(frame.ProjectPopup()->isVisible());
    EXPECT_TRUE(frame.Action(RemoveFile)->isEnabled());
    frame.ProjectPopup()->hide();
}

} // namespace
