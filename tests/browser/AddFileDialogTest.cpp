#include "ArchiveFixtures.h"
#include "ScriptedDialogs.h"

#include "archive/ArchiveJob.h"
#include "browser/AddFileDialog.h"
#include "browser/ProgressDialog.h"

#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {

const QString Weapons = QStringLiteral("data\\global\\excel\\weapons.txt");
const QString LocalX = QStringLiteral("data\\local\\x.txt");
const QString Hit = QStringLiteral("data\\global\\sfx\\hit.wav");

QStringList Texts(const QTreeWidgetItem* item)
{
    QStringList texts;
    for (int i = 0; item && i < item->childCount(); ++i)
        texts << item->child(i)->text(0);
    return texts;
}

// Add, Add Files..., Extract... as "111"; Close and Archive... must be enabled.
std::string Buttons(const AddFileDialog& dialog)
{
    EXPECT_TRUE(dialog.CloseButton()->isEnabled() && dialog.ArchiveButton()->isEnabled());
    std::string enabled;
    for (const QPushButton* button : {dialog.AddButton(), dialog.AddFilesButton(), dialog.ExtractButton()})
        enabled += button->isEnabled() ? '1' : '0';
    return enabled;
}

// A game archive made by smpq, its listing (out of order, naming a file it lacks) beside carvestone-cli, a MOD folder.
class AddFileDialogTest : public SmpqTest
{
protected:
    void SetUp() override
    {
        SmpqTest::SetUp();
        if (IsSkipped())
            return;
        const QStringList listing{Weapons, "data\\global\\excel\\absent.txt", "readme.tbl", LocalX,
                                  "data\\global\\excel\\armor.txt", Hit, "data\\global\\excel\\X.txt"};
        for (const QString& name : listing)
            gameFiles.insert(name, name == Weapons ? ArchiveFixtures::Pattern(70000, 1) : name.toLatin1());
        gameFiles.remove("data\\global\\excel\\absent.txt");
        // A fresh path each test, so the run's listing cache never answers for another test's archive.
        context.archivePath = fixtures.MakeGameArchive(QStringLiteral("Diablo II/patch_d2.mpq"), gameFiles);
        ASSERT_FALSE(context.archivePath.isEmpty());
        context.listingPath = fixtures.Write(QStringLiteral("Program/AllFiles.txt"), listing.join("\r\n").toLatin1());
        context.programFolder = fixtures.Path(QStringLiteral("Program/"));
        ASSERT_TRUE(QFile::link(QCoreApplication::applicationDirPath() + QLatin1String("/carvestone-cli"),
                                context.programFolder + QLatin1String("carvestone-cli")));
        context.modFolder = fixtures.Path(QStringLiteral("Mods/Weapons/"));
        QDir().mkpath(context.modFolder);
        context.isTableOpen = [this](const QString& name) { return openTables.contains(name); };
    }
    void TearDown() override { ArchiveJob::OverrideProgram({}); }   // whatever a test left

    void Open()
    {
        dialog = std::make_unique<AddFileDialog>(context, nullptr);
        dialog->show();
    }
    bool WaitIdle() { return QTest::qWaitFor([&] { return !dialog->IsWorking(); }, 30000); }
    // The root for "", else the item of this text (each text below is unique, case counts).
    QTreeWidgetItem* At(const QString& text) const
    {
        const QList<QTreeWidgetItem*> found = dialog->Tree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return text.isEmpty() ? dialog->Tree()->topLevelItem(0) : found.value(0);
    }
    void Click(const QString& path)
    {
        QTreeWidgetItem* item = At(path);
        ASSERT_NE(item, nullptr) << path.toStdString();
        QTreeWidget* tree = dialog->Tree();
        tree->scrollToItem(item);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
    }
    void Press(QPushButton* button)
    {
        ASSERT_TRUE(button->isEnabled()) << button->text().toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_TRUE(WaitIdle());
    }
    // The rename list answered OK, after the label of a row was typed over (row -1: none).
    void AnswerRename(int row = -1, const QString& label = QString())
    {
        dialogs.AnswerDialog([=](QDialog& shown) {
            if (row >= 0)
                dynamic_cast<RenameListDialog&>(shown).List()->item(row)->setText(label);
            shown.accept();
            return shown.result();
        });
    }
    QByteArray ModFile(const QString& name) const { return ArchiveFixtures::Read(context.modFolder + name); }
    QString Top() const { return dialog->TopText()->text(); }
    QString LastMessage() const { return dialogs.Messages().isEmpty() ? QString() : dialogs.Messages().last().text; }

    QMap<QString, QByteArray> gameFiles;
    AddFileContext context;
    QSet<QString> openTables;
    ScriptedDialogs dialogs;
    std::unique_ptr<AddFileDialog> dialog;
};

TEST_F(AddFileDialogTest, TheTreeAndButtonsFollowTheListingAddsAskOrRefuseBeforeReplacingExtractSavesAndReopensCached)
{
    context.projectEntries = {"sfx\\HIT.WAV"};
    context.projectFilePath = context.modFolder + "README.TBL";
    openTables = {"armor.txt"};
    Open();
    EXPECT_TRUE(WaitIdle());
    EXPECT_EQ(At("")->text(0), QStringLiteral("patch_d2.mpq"));
    EXPECT_EQ(Texts(At("")), (QStringList{"data", "readme.tbl"}));
    // Files in listing order, and names differing only in case are two files.
    EXPECT_EQ(Texts(At("excel")), (QStringList{"weapons.txt", "armor.txt", "X.txt"}));
    const struct { const char* item; const char* buttons; } clicks[] = {
        {"armor.txt", "111"}, {"", "000"}, {"global", "010"}, {"x.txt", "111"}};
    for (const auto& click : clicks) {
        Click(click.item);
        EXPECT_EQ(Buttons(*dialog), click.buttons) << click.item;
    }

    Press(dialog->AddButton());
    Click("weapons.txt");
    Press(dialog->AddButton());
    fixtures.Write(QStringLiteral("Mods/Weapons/weapons.txt"), "a day of edits");
    for (const auto& [answer, kept] : {std::pair{UserDialogs::IdNo, QByteArray("a day of edits")},
                                       {UserDialogs::IdYes, gameFiles.value(Weapons)}}) {
        dialogs.AnswerMessage(answer);
        Press(dialog->AddButton());
        EXPECT_EQ(ModFile("weapons.txt"), kept) << answer;
        EXPECT_EQ(ModFile(".carvestone/originals/weapons.txt"), gameFiles.value(Weapons)) << "kept as extracted";
    }
    EXPECT_TRUE(LastMessage().contains("weapons.txt already exists")) << LastMessage().toStdString();
    // The dialog's own adds count as entries too.
    const struct { const char* item; const char* fragment; } refusals[] = {
        {"X.txt", "is the file of data\\local\\x.txt"}, {"armor.txt", "armor.txt is open in a tab"},
        {"readme.tbl", "would replace"}, {"hit.wav", "is the file of sfx\\HIT.WAV"},
    };
    for (const auto& r : refusals) {
        Click(r.item);
        dialogs.AnswerMessage(UserDialogs::IdOk);
        Press(dialog->AddButton());
        EXPECT_TRUE(LastMessage().contains(QLatin1String(r.fragment))) << r.item << ": " << LastMessage().toStdString();
    }
    EXPECT_EQ(ArchiveFixtures::FilesIn(context.modFolder), (QStringList{"weapons.txt", "x.txt"}));

    const QString target = fixtures.Path(QStringLiteral("saved.wav"));
    dialogs.AnswerFile(target);
    Press(dialog->ExtractButton());
    EXPECT_EQ(ArchiveFixtures::Read(target), gameFiles.value(Hit));
    // Sorted, once each, and an extracted file is no entry.
    EXPECT_EQ(dialog->ResultList(), (QStringList{Weapons, LocalX}));

    const QString nowhere = target + "/inside.wav";   // its folder is a file
    dialogs.AnswerFile(nowhere);
    dialogs.AnswerMessage(UserDialogs::IdOk);
    Press(dialog->ExtractButton());
    EXPECT_TRUE(LastMessage().startsWith(Hit + " could not be extracted from ")) << LastMessage().toStdString();
    EXPECT_TRUE(LastMessage().contains(QDir::toNativeSeparators(nowhere)));

    Click("armor.txt");   // a file as target means the folder that holds it
    dialogs.AnswerFiles({fixtures.Write("Disk/b.txt", "bee"), fixtures.Write("Disk/a.txt", "ay")});
    AnswerRename(1, "data\\global\\0.txt");   // the list shows a.txt, b.txt
    Press(dialog->AddFilesButton());
    EXPECT_EQ(dialog->ResultList(),
              (QStringList{"data\\global\\0.txt", "data\\global\\excel\\a.txt", Weapons, LocalX}));
    EXPECT_EQ(ModFile("0.txt") + ModFile("a.txt"), "beeay");
    EXPECT_FALSE(QFile::exists(context.modFolder + "b.txt"));

    // A root-level target puts the copies at the top; a file already in the MOD folder needs no copy or question.
    Click("readme.tbl");
    dialogs.AnswerFiles({fixtures.Write("Mods/Weapons/c.txt", "sea")});
    AnswerRename();
    Press(dialog->AddFilesButton());
    EXPECT_TRUE(dialog->ResultList().contains("c.txt"));
    EXPECT_EQ(ModFile("c.txt"), "sea");

    // A file from disk brings nothing of the game's: the original kept for its name goes.
    EXPECT_EQ(ModFile(".carvestone/originals/x.txt"), gameFiles.value(LocalX));
    dialogs.AnswerFiles({fixtures.Write("Disk/x.txt", "mine")});
    AnswerRename(0, LocalX);
    dialogs.AnswerMessage(UserDialogs::IdYes);
    Press(dialog->AddFilesButton());
    EXPECT_EQ(ModFile("x.txt"), "mine");
    EXPECT_FALSE(QFile::exists(context.modFolder + ".carvestone/originals/x.txt"));

    // Names differing only in case are two files: the other one is not replaced silently.
    fixtures.Write(QStringLiteral("Mods/Weapons/notes.txt"), "lower");
    dialogs.AnswerFiles({fixtures.Write("Mods/Weapons/Notes.txt", "upper")});
    AnswerRename(0, "notes.txt");
    dialogs.AnswerMessage(UserDialogs::IdNo);
    Press(dialog->AddFilesButton());
    EXPECT_TRUE(LastMessage().contains(QLatin1String("notes.txt already exists")));
    EXPECT_EQ(ModFile("Notes.txt") + ModFile("notes.txt"), "upperlower");
    EXPECT_FALSE(dialog->ResultList().contains("notes.txt"));

    // The second opening comes from the listing cache: no child is started.
    ArchiveJob::OverrideProgram(QStringLiteral("/nonexistent/carvestone-cli"));
    Open();
    EXPECT_EQ(Texts(At("")), (QStringList{"data", "readme.tbl"}));
}

// Reported: the dialog opened with the focus on Close, so the arrows and "*" did nothing until the tree was clicked.
TEST_F(AddFileDialogTest, TheFilledTreeHasTheFocusSoKeysWalkTheArchiveAtOnce)
{
    Open();
    ASSERT_TRUE(WaitIdle());
    QWidget* focused = dialog->focusWidget();
    EXPECT_EQ(focused, dialog->Tree());
    ASSERT_NE(focused, nullptr);
    QTest::keyClick(focused, Qt::Key_Asterisk);
    EXPECT_TRUE(At("excel")->isExpanded() && At("sfx")->isExpanded()) << "\"*\" opened every folder";
    QTest::keyClick(focused, Qt::Key_Down);
    EXPECT_EQ(dialog->Tree()->currentItem(), At("data"));
    EXPECT_EQ(Buttons(*dialog), "010") << "a folder of files is chosen";
    EXPECT_TRUE(dialogs.Messages().isEmpty());
}

TEST_F(AddFileDialogTest, WhileTheChildListsNothingCanStartAgainAndADeathOrAnyOtherFailureSaysWhyInTheTopText)
{
    ArchiveJob::OverrideProgram("sh", {"-c", "echo 'range 0 100'; echo 'progress 50'; sleep 1; kill -SEGV $$"});
    Open();
    ProgressDialog* progress = dialog->findChild<ProgressDialog*>();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->windowTitle(), QStringLiteral("Reading Archive"));
    EXPECT_FALSE(progress->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(QTest::qWaitFor([&] { return progress->Bar()->value() == 50; }, 5000));
    for (QPushButton* button : {dialog->CloseButton(), dialog->ArchiveButton(), dialog->AddButton()})
        EXPECT_FALSE(button->isEnabled()) << button->text().toStdString();
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    dialog->close();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(WaitIdle());
    ArchiveJob::OverrideProgram({});
    EXPECT_TRUE(Top().contains(ArchiveJob::DiedMessage())) << Top().toStdString();
    EXPECT_EQ(dialog->Tree()->topLevelItemCount(), 0);
    EXPECT_EQ(dialog->findChild<ProgressDialog*>(), nullptr);
    EXPECT_EQ(ArchiveJob::Listings().Find(context.archivePath), nullptr);

    const struct { QString archive; const char* fragment; } failures[] = {
        {context.archivePath, "/nonexistent/libstorm.so.9 cannot be loaded"},
        {fixtures.Path(QStringLiteral("nowhere.mpq")), "the file does not exist"},
        {fixtures.Write(QStringLiteral("damaged.mpq"), ArchiveFixtures::Pattern(8192, 7)), "MPQ archive"},
        {context.archivePath, "AllFiles.txt, which names the game's files, is missing"},
    };
    qputenv("CARVESTONE_MPQ_LIBRARY", "/nonexistent/libstorm.so.9");
    for (const auto& f : failures) {
        SCOPED_TRACE(f.fragment);
        if (&f == &failures[3])
            QFile::rename(context.listingPath, context.listingPath + "~");
        dialogs.AnswerFile(f.archive);
        Press(dialog->ArchiveButton());
        qunsetenv("CARVESTONE_MPQ_LIBRARY");
        EXPECT_TRUE(Top().contains(QLatin1String(f.fragment))) << Top().toStdString();
        EXPECT_EQ(dialog->Tree()->topLevelItemCount(), 0);
        EXPECT_EQ(Buttons(*dialog), "000");
    }
    QFile::rename(context.listingPath + "~", context.listingPath);
    dialogs.AnswerFile(context.archivePath);
    Press(dialog->ArchiveButton());
    ASSERT_EQ(dialog->Tree()->topLevelItemCount(), 1);
    EXPECT_EQ(Top(), QDir::toNativeSeparators(context.archivePath));
}

// Data Folder... shows extracted game data where the archive was, and a file comes from it by the same road.
TEST_F(AddFileDialogTest, ExtractedDataShowsAsTheArchiveDoesAndItsFilesComeInByTheSameAddAndItsRules)
{
    for (const char* name : {"data/global/excel/weapons.txt", "data/global/excel/Armor.txt", "data/hd/x.txt"})
        fixtures.Write(QStringLiteral("D2R data/%1").arg(name), QByteArray("extracted ") + name);
    const QString folder = fixtures.Path(QStringLiteral("D2R data"));
    context.projectEntries = {"data\\local\\X.TXT"};
    Open();
    EXPECT_TRUE(WaitIdle());
    dialogs.AnswerFile(folder);
    Press(dialog->DataFolderButton());
    EXPECT_EQ(Top(), QDir::toNativeSeparators(folder));
    EXPECT_EQ(At("")->text(0), QStringLiteral("D2R data"));
    EXPECT_EQ(Texts(At("excel")), (QStringList{"Armor.txt", "weapons.txt"}));
    EXPECT_EQ(ArchiveJob::Listings().Find(folder)->size(), 3) << "cached as an archive's listing is";

    Click("weapons.txt");
    EXPECT_EQ(Buttons(*dialog), "111");
    Press(dialog->AddButton());
    EXPECT_EQ(ModFile("weapons.txt"), "extracted data/global/excel/weapons.txt");
    fixtures.Write(QStringLiteral("Mods/Weapons/weapons.txt"), "a day of edits");
    dialogs.AnswerMessage(UserDialogs::IdNo);
    Press(dialog->AddButton());
    EXPECT_EQ(ModFile("weapons.txt"), "a day of edits") << "asked before replacing, as from an archive";
    Click("x.txt");
    dialogs.AnswerMessage(UserDialogs::IdOk);
    Press(dialog->AddButton());
    EXPECT_TRUE(LastMessage().contains("is the file of data\\local\\X.TXT")) << LastMessage().toStdString();
    // A file gone since the listing fails with the cause, and nothing is recorded for it.
    QFile::remove(folder + "/data/global/excel/Armor.txt");
    Click("Armor.txt");
    dialogs.AnswerMessage(UserDialogs::IdOk);
    Press(dialog->AddButton());
    EXPECT_TRUE(LastMessage().endsWith("data\\global\\excel\\Armor.txt is not in " + QDir::toNativeSeparators(folder)))
        << LastMessage().toStdString();
    EXPECT_EQ(dialog->ResultList(), QStringList({Weapons}));
    EXPECT_EQ(ArchiveFixtures::FilesIn(context.modFolder), QStringList({"weapons.txt"}));

    // Folders that are not extracted game data say why; an empty one, that it holds nothing.
    ASSERT_TRUE(QDir().mkpath(fixtures.Path(QStringLiteral("Empty/data/global"))));
    const struct { QString folder; QString fragment; } refusals[] = {
        {fixtures.Path(QStringLiteral("Mods")), "is not a folder of extracted game data"},
        {fixtures.Path(QStringLiteral("Empty")), "holds no files under its data folder"},
    };
    for (const auto& r : refusals) {
        dialogs.AnswerFile(r.folder);
        Press(dialog->DataFolderButton());
        EXPECT_TRUE(Top().contains(r.fragment)) << Top().toStdString();
        EXPECT_EQ(dialog->Tree()->topLevelItemCount(), 0);
        EXPECT_EQ(Buttons(*dialog), "000");
    }
    dialogs.AnswerFile({});
    Press(dialog->DataFolderButton());
    EXPECT_TRUE(Top().contains("holds no files")) << "a cancelled choice changes nothing";

    // A remaster project's dialog opens on its extracted data, from the cache.
    ArchiveJob::OverrideProgram(QStringLiteral("/nonexistent/carvestone-cli"));
    context.archivePath = folder;
    Open();
    EXPECT_EQ(Texts(At("excel")), (QStringList{"Armor.txt", "weapons.txt"}));
}

} // namespace
