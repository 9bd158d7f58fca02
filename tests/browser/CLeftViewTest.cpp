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

TEST_F(ProjectTree, RemoveFileKeepsOrDeletesTheDiskFileAsAnsweredAndAFileThatMustStaySaysWhy)
{
    OpenProject({"data\\armor.txt", "data\\weapons.txt", "data\\gone.txt", "a\\x.txt", "b\\x.txt", "c\\stuck.txt"});
    QFile::remove(folder + "gone.txt");
    QFile::remove(folder + "stuck.txt");
    QDir().mkpath(folder + "stuck.txt/inside"); // no file removal takes a folder, not even root's
    const struct { const char* entry; int answer; bool entryStays, fileStays; const char* cause; } cases[] = {
        {"data\\armor.txt", UserDialogs::IdCancel, true, true, nullptr},
        {"data\\armor.txt", UserDialogs::IdYes, false, true, nullptr},
        {"data\\weapons.txt", UserDialogs::IdNo, false, false, nullptr},
        {"data\\gone.txt", UserDialogs::IdNo, false, false, nullptr}, // a file already gone is no failure
        {"a\\x.txt", UserDialogs::IdNo, false, true, "another entry"},
        {"c\\stuck.txt", UserDialogs::IdNo, true, true, "invalid path"}, // the entry stays with a file that stays
    };
    for (const auto& c : cases) {
        const QString file = QString::fromLatin1(c.entry).section('\\', -1);
        const qsizetype shown = dialogs.Messages().size();
        dialogs.AnswerMessage(c.answer);
        if (c.cause)
            dialogs.AnswerMessage(UserDialogs::IdOk);
        Select(file);
        Press(Qt::Key_Delete);
        EXPECT_EQ(doc.FileList().contains(c.entry), c.entryStays) << c.entry;
        EXPECT_EQ(QFile::exists(folder + file), c.fileStays) << c.entry;
        EXPECT_TRUE(dialogs.Messages()[shown].text.startsWith("Do you wish to keep this file")) << c.entry;
        const QString text = dialogs.Messages().value(shown + 1).text;
        EXPECT_TRUE(!c.cause || (text.contains(QDir::toNativeSeparators(folder + file)) && text.contains(c.cause)))
            << text.toStdString();
    }
    EXPECT_EQ(dialogs.Messages().size(), 8);
    EXPECT_EQ(Outline(Tree()).filter(".txt"), QStringList({"x.txt", "stuck.txt"})) << "the removed entries leave the tree";
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
