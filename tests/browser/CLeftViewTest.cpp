#include "ProjectWindow.h"
#include "mainframe/CommandIds.h"

#include <QContextMenuEvent>
#include <QMenu>

namespace {

using namespace CommandId;
using ProjectTree = ProjectWindow;

QStringList Outline(const QTreeWidget* tree)
{
    QStringList lines;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(tree)); *it; ++it)
        lines.append((*it)->text(0) + ((*it)->isExpanded() || (*it)->childCount() == 0 ? "" : " (closed)"));
    return lines;
}

TEST_F(ProjectTree, ShowsASavedProjectUnderItsTitleTakesNoFilesWhileUntitledAndRebuildsOnEveryChange)
{
    int runs = 0;
    Tree()->SetAddFilesRunner([&](const QString&) { return ++runs, QStringList(); });
    doc.OnNewDocument();
    EXPECT_EQ(Tree()->topLevelItemCount(), 0);
    Press(Qt::Key_Insert);
    EXPECT_EQ(runs, 0) << "no files are copied into a folder the project does not have";

    OpenProject({"data\\global\\excel\\weapons.txt", "data\\global\\excel\\armor.txt", "readme", "data\\x.dc6"});
    EXPECT_EQ(Outline(Tree()), QStringList({"Mod.mod", "data", "global", "excel", "weapons.txt", "armor.txt",
                                            "x.dc6", "readme"}));
    EXPECT_EQ(Tree()->currentItem(), Tree()->topLevelItem(0));
    EXPECT_FALSE(Tree()->topLevelItem(0)->icon(0).isNull());
    doc.OnNewDocument();
    EXPECT_EQ(Tree()->topLevelItemCount(), 0);
}

TEST_F(ProjectTree, TheSelectionOrARightClickDecidesTheOfferedCommandsAndKeysOfDisabledOnesDoNothing)
{
    OpenProject({"data\\armor.txt", "data\\Armor.TXT", "data\\patchstring.tbl", "noext"});
    Tree()->SetAddFilesRunner([](const QString&) { return QStringList(); });
    const struct { const char* item; bool remove, open; } cases[] = {
        {"Mod.mod", false, false},  {"data", false, false},           {"armor.txt", true, true},
        {"Armor.TXT", true, false}, {"patchstring.tbl", true, false}, {"noext", true, false},
    };
    for (const auto& c : cases) {
        Select(c.item);
        EXPECT_TRUE(Enabled(AddFiles)) << c.item;
        EXPECT_EQ(Enabled(RemoveFile), c.remove) << c.item;
        EXPECT_EQ(Enabled(OpenFile), c.open) << c.item;
    }
    Select("data");
    Press(Qt::Key_Delete); // a question here would fail the test
    Press(Qt::Key_Return);
    EXPECT_TRUE(table->opened.isEmpty());
    // A right click selects the item under it and offers the project menu for it.
    const QPoint at = Tree()->visualItemRect(Item("armor.txt")).center();
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, Tree()->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(Tree()->viewport(), &click);
    EXPECT_EQ(Tree()->currentItem(), Item("armor.txt"));
    EXPECT_TRUE(frame.ProjectPopup()->isVisible() && frame.Action(RemoveFile)->isEnabled());
    frame.ProjectPopup()->hide();
    frame.ActivateTableView();
    EXPECT_FALSE(Enabled(RemoveFile)) << "the tree's commands are not there while the table view is active";
}

TEST_F(ProjectTree, AddFilesShowsOnlyNewNamesAndOpenFileHandsTheNamePartToTheTableView)
{
    OpenProject({"data\\global\\excel\\armor.txt"});
    QString askedFolder;
    Tree()->SetAddFilesRunner([&](const QString& projectFolder) {
        askedFolder = projectFolder;
        return QStringList({"data\\global\\excel\\weapons.txt", "data\\global\\excel\\armor.txt", "sfx\\a.wav"});
    });
    Select("Mod.mod");
    Press(Qt::Key_Insert);
    EXPECT_EQ(askedFolder, folder);
    EXPECT_EQ(Outline(Tree()), QStringList({"Mod.mod", "data", "global", "excel", "armor.txt", "weapons.txt", "sfx",
                                            "a.wav"}));
    EXPECT_TRUE(doc.IsModified());

    Select("armor.txt");
    Press(Qt::Key_Return);
    EXPECT_EQ(frame.GetActiveView(), static_cast<CommandTarget*>(table));
    QTest::mouseDClick(Tree()->viewport(), Qt::LeftButton, {}, Tree()->visualItemRect(Item("weapons.txt")).center());
    QCoreApplication::processEvents();
    EXPECT_EQ(table->opened, QStringList({"armor.txt", "weapons.txt"}));
}

TEST_F(ProjectTree, RemoveFileKeepsOrDeletesTheDiskFileAsAnsweredAndCancelChangesNothing)
{
    OpenProject({"data\\armor.txt", "data\\weapons.txt", "data\\gone.txt"});
    QFile::remove(folder + "gone.txt");
    const struct { const char* item; int answer; QStringList left; bool fileStays; } cases[] = {
        {"armor.txt", UserDialogs::IdCancel, {"data\\armor.txt", "data\\weapons.txt", "data\\gone.txt"}, true},
        {"armor.txt", UserDialogs::IdYes, {"data\\weapons.txt", "data\\gone.txt"}, true},
        {"weapons.txt", UserDialogs::IdNo, {"data\\gone.txt"}, false},
        {"gone.txt", UserDialogs::IdNo, {}, false}, // a file already gone is no failure
    };
    for (const auto& c : cases) {
        dialogs.AnswerMessage(c.answer);
        Select(c.item);
        Press(Qt::Key_Delete);
        EXPECT_EQ(doc.FileList(), c.left) << c.item;
        EXPECT_EQ(QFile::exists(folder + c.item), c.fileStays) << c.item;
        EXPECT_EQ(Item(c.item) != nullptr, c.answer == UserDialogs::IdCancel) << c.item;
    }
    EXPECT_TRUE(dialogs.Messages()[0].text.startsWith("Do you wish to keep this file"));
    EXPECT_EQ(dialogs.Messages().size(), 4);
}

TEST_F(ProjectTree, AFileAnotherEntryNamesOrThatCannotBeDeletedStaysWithAReason)
{
    OpenProject({"a\\x.txt", "b\\x.txt", "c\\stuck.txt"});
    QFile::remove(folder + "stuck.txt");
    QDir().mkpath(folder + "stuck.txt/inside"); // no file removal takes a folder, not even root's
    for (int i = 0; i < 2; ++i) {
        dialogs.AnswerMessage(UserDialogs::IdNo);
        dialogs.AnswerMessage(UserDialogs::IdOk);
    }
    Tree()->setCurrentItem(Item("a")->child(0));
    Press(Qt::Key_Delete);
    Select("stuck.txt");
    Press(Qt::Key_Delete);

    EXPECT_TRUE(QFile::exists(folder + "x.txt"));
    EXPECT_EQ(doc.FileList(), QStringList({"b\\x.txt", "c\\stuck.txt"})) << "the entry stays with a file that stays";
    EXPECT_NE(Item("stuck.txt"), nullptr);
    ASSERT_EQ(dialogs.Messages().size(), 4);
    for (const auto& [index, file, cause] : {std::tuple{1, "x.txt", "another entry"}, {3, "stuck.txt", "invalid path"}}) {
        const QString text = dialogs.Messages()[index].text;
        EXPECT_TRUE(text.contains(QDir::toNativeSeparators(folder + file)) && text.contains(cause))
            << text.toStdString();
    }
}

TEST_F(ProjectTree, AnOpenTableIsClosedBeforeItsEntryGoesAndCancellingTheCloseKeepsBoth)
{
    OpenProject({"data\\armor.txt"});
    table->open = table->modified = {"armor.txt"};
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
    EXPECT_FALSE(table->IsTableOpen("armor.txt")) << "no open table is left to write the file back";
    EXPECT_FALSE(QFile::exists(folder + "armor.txt"));
    EXPECT_EQ(doc.FileList(), QStringList());
}

} // namespace
