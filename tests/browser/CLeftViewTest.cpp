#include "ProjectWindow.h"
#include "ui/CommandIds.h"

#include <QContextMenuEvent>
#include <QMenu>

namespace {

using namespace CommandId;

QStringList Outline(const QTreeWidget* tree)
{
    QStringList lines;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(tree)); *it; ++it)
        lines.append((*it)->text(0) + ((*it)->isExpanded() || (*it)->childCount() == 0 ? "" : " (closed)"));
    return lines;
}

TEST_F(ProjectWindow, TheSelectionDecidesTheCommandsInsAddsOnlyNewNamesAndNothingRunsWhileUntitledOrDisabled)
{
    QStringList offered;
    QString askedFolder = "never asked";
    Tree()->SetAddFilesRunner([&](const QString& projectFolder) { return askedFolder = projectFolder, offered; });
    doc.OnNewDocument();
    Press(Qt::Key_Insert);
    EXPECT_EQ(askedFolder, "never asked") << "no files are copied into a folder the project does not have";

    // A folder goes before a file of the same text, and folder names differ by case.
    OpenProject({"data\\global\\excel\\armor.txt", "readme", "data\\x.dc6", "readme\\r.txt", "Data\\E.TXT"});
    EXPECT_EQ(Tree()->currentItem(), Tree()->topLevelItem(0));
    EXPECT_FALSE(Tree()->topLevelItem(0)->icon(0).isNull());
    const struct { const char* item; bool remove, open; } cases[] = {
        {"Mod.mod", false, false}, {"data", false, false}, {"armor.txt", true, true}, {"r.txt", true, true},
        {"E.TXT", true, false},    {"x.dc6", true, false},
    };
    for (const auto& c : cases) {
        Select(c.item);
        EXPECT_TRUE(Enabled(AddFiles)) << c.item;
        EXPECT_EQ(std::pair(Enabled(RemoveFile), Enabled(OpenFile)), std::pair(c.remove, c.open)) << c.item;
    }
    Select("data");
    Press(Qt::Key_Delete); // a question here would fail the test
    Press(Qt::Key_Return);
    EXPECT_TRUE(table->opened.isEmpty());
    const QPoint at = Tree()->visualItemRect(Item("armor.txt")).center();
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, Tree()->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(Tree()->viewport(), &click);
    EXPECT_EQ(Tree()->currentItem(), Item("armor.txt"));
    EXPECT_TRUE(frame.ProjectPopup()->isVisible() && frame.Action(RemoveFile)->isEnabled());
    frame.ProjectPopup()->hide();

    offered = {"data\\global\\excel\\weapons.txt", "data\\global\\excel\\armor.txt", "sfx\\a.wav"};
    Press(Qt::Key_Insert);
    EXPECT_EQ(askedFolder, folder);
    EXPECT_EQ(Outline(Tree()), QStringList({"Mod.mod", "data", "global", "excel", "armor.txt", "weapons.txt", "x.dc6",
                                            "readme", "r.txt", "Data", "E.TXT", "sfx", "a.wav", "readme"}));
    EXPECT_TRUE(doc.IsModified());
    // Counts of changes stand beside their files, and stay when the tree is built again.
    Tree()->SetChangeCounts({{"data\\global\\excel\\weapons.txt", 3}, {"data\\x.dc6", 0}});
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_EQ(Item("weapons.txt")->text(1), "3");
        EXPECT_EQ(Item("weapons.txt")->toolTip(1), "3 changes against the game");
        EXPECT_EQ(Item("armor.txt")->text(1) + Item("x.dc6")->text(1), "");
        Tree()->OnInitialUpdate();
    }
    QTest::mouseDClick(Tree()->viewport(), Qt::LeftButton, {}, Tree()->visualItemRect(Item("weapons.txt")).center());
    QCoreApplication::processEvents();
    EXPECT_EQ(table->opened, QStringList({"weapons.txt"}));
    EXPECT_EQ(frame.GetActiveView(), static_cast<CommandTarget*>(table));
}

TEST_F(ProjectWindow, RemoveFileKeepsOrDeletesTheDiskFileAsAnsweredClosingItsTableFirstAndSaysWhyAFileMustStay)
{
    OpenProject({"data\\armor.txt", "data\\weapons.txt", "data\\gone.txt", "a\\x.txt", "b\\x.txt", "c\\stuck.txt",
                 "data\\open.txt"});
    QFile::remove(folder + "gone.txt");
    QFile::remove(folder + "stuck.txt");
    QDir().mkpath(folder + "stuck.txt/inside"); // no file removal takes a folder, not even root's
    table->open = table->modified = {"open.txt"};
    const struct { const char* entry; int answer; bool entryStays, fileStays; const char* cause; } cases[] = {
        {"data\\armor.txt", UserDialogs::IdCancel, true, true, nullptr},
        {"data\\armor.txt", UserDialogs::IdYes, false, true, nullptr},
        {"data\\weapons.txt", UserDialogs::IdNo, false, false, nullptr},
        {"data\\gone.txt", UserDialogs::IdNo, false, false, nullptr}, // a file already gone is no failure
        {"a\\x.txt", UserDialogs::IdNo, false, true, "another entry"},
        {"c\\stuck.txt", UserDialogs::IdNo, true, true, "invalid path"}, // the entry stays with its file
        {"data\\open.txt", UserDialogs::IdNo, true, true, nullptr}, // its modified table refuses the first close
        {"data\\open.txt", UserDialogs::IdNo, false, false, nullptr},
    };
    for (const auto& c : cases) {
        const QString file = QString::fromLatin1(c.entry).section('\\', -1);
        const qsizetype shown = dialogs.Messages().size();
        table->cancelCloseOfModified = table->closeRequests.isEmpty();
        dialogs.AnswerMessage(c.answer);
        if (c.cause)
            dialogs.AnswerMessage(UserDialogs::IdOk);
        Select(file);
        Press(Qt::Key_Delete);
        EXPECT_EQ(doc.FileList().contains(c.entry), c.entryStays) << c.entry;
        EXPECT_EQ(QFile::exists(folder + file), c.fileStays) << c.entry;
        EXPECT_TRUE(dialogs.Messages().value(shown).text.startsWith("Do you wish to keep this file")) << c.entry;
        const QString text = dialogs.Messages().value(shown + 1).text;
        EXPECT_TRUE(!c.cause || (text.contains(QDir::toNativeSeparators(folder + file)) && text.contains(c.cause)))
            << text.toStdString();
    }
    EXPECT_FALSE(table->IsTableOpen("open.txt")) << "no open table is left to write the file back";
    EXPECT_EQ(Outline(Tree()).filter(".txt"), QStringList({"x.txt", "stuck.txt"})) << "removed entries leave the tree";
}

} // namespace
