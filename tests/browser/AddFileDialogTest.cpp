#include "AddFileDialogFixture.h"

#include "archive/ArchiveJob.h"
#include "browser/ProgressDialog.h"
#include "browser/RenameListDialog.h"
#include "resources/StringTable.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {

QStringList Texts(const QTreeWidgetItem* item)
{
    QStringList texts;
    for (int i = 0; item && i < item->childCount(); ++i)
        texts << item->child(i)->text(0);
    return texts;
}

struct Enabling
{
    bool add, addFiles, extract;
    bool operator==(const Enabling&) const = default;
};

Enabling ButtonsOf(const AddFileDialog& dialog)
{
    return {dialog.AddButton()->isEnabled(), dialog.AddFilesButton()->isEnabled(), dialog.ExtractButton()->isEnabled()};
}

} // namespace

TEST_F(AddFileDialogTest, TheTreeKeepsFoldersAheadOfFilesInListingOrderAndTheButtonsFollowTheSelection)
{
    auto dialog = Open();
    EXPECT_EQ(dialog->TopText()->text(), QDir::toNativeSeparators(context.archivePath));
    QTreeWidget* tree = dialog->Tree();
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    QTreeWidgetItem* root = tree->topLevelItem(0);
    EXPECT_EQ(root->text(0), QStringLiteral("patch_d2.mpq"));
    EXPECT_EQ(Texts(root), (QStringList{QStringLiteral("data"), Readme}));
    EXPECT_EQ(Texts(Item(*dialog, {QStringLiteral("data")})), (QStringList{QStringLiteral("global"), QStringLiteral("local")}));
    EXPECT_EQ(Texts(Item(*dialog, {QStringLiteral("data"), QStringLiteral("global")})),
              (QStringList{QStringLiteral("excel"), QStringLiteral("sfx")}));
    // Files in listing order, and names differing only in case are two files.
    EXPECT_EQ(Texts(Item(*dialog, {QStringLiteral("data"), QStringLiteral("global"), QStringLiteral("excel")})),
              (QStringList{QStringLiteral("weapons.txt"), QStringLiteral("armor.txt"), QStringLiteral("X.txt")}));
    EXPECT_EQ(AddFileDialog::ArchiveName(Item(*dialog, {QStringLiteral("data"), QStringLiteral("local"), QStringLiteral("x.txt")})),
              LocalX);

    EXPECT_EQ(ButtonsOf(*dialog), (Enabling{false, false, false}));
    const struct
    {
        QStringList path;
        Enabling expected;
    } clicks[] = {
        {{QStringLiteral("data"), QStringLiteral("global"), QStringLiteral("excel"), QStringLiteral("armor.txt")}, {true, true, true}},
        {{}, {false, false, false}},   // the root
        {{QStringLiteral("data"), QStringLiteral("global")}, {false, true, false}},
        {{Readme}, {true, true, true}},
    };
    for (const auto& click : clicks) {
        SCOPED_TRACE(click.path.join(QLatin1Char('/')).toStdString());
        Click(*dialog, Item(*dialog, click.path));
        EXPECT_EQ(ButtonsOf(*dialog), click.expected);
        EXPECT_TRUE(dialog->CloseButton()->isEnabled() && dialog->ArchiveButton()->isEnabled());
    }

    // The second opening comes from the listing cache: no child, no wait.
    dialog.reset();
    ArchiveJob::OverrideProgram(QStringLiteral("/nonexistent/carvestone-cli"));
    AddFileDialog again(context, nullptr);
    again.show();
    EXPECT_FALSE(again.IsWorking());
    EXPECT_EQ(Texts(again.Tree()->topLevelItem(0)), (QStringList{QStringLiteral("data"), Readme}));
    ArchiveJob::OverrideProgram({});
}

TEST_F(AddFileDialogTest, AddExtractsANewFileAndAsksBeforeReplacingOneThatIsThere)
{
    auto dialog = Open();
    Click(*dialog, Item(*dialog, {QStringLiteral("data"), QStringLiteral("global"), QStringLiteral("excel"), QStringLiteral("weapons.txt")}));
    Press(*dialog, dialog->AddButton());
    EXPECT_EQ(ArchiveFixtures::Read(ModFile(QStringLiteral("weapons.txt"))), gameFiles.value(Weapons));
    EXPECT_EQ(dialog->ResultList(), QStringList{Weapons});
    EXPECT_TRUE(dialogs.Messages().isEmpty());

    fixtures.Write(QStringLiteral("Mods/Weapons/weapons.txt"), "a day of edits");
    dialogs.AnswerMessage(UserDialogs::IdNo);
    Press(*dialog, dialog->AddButton());
    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_EQ(dialogs.Messages()[0].text,
              StringTable::Get(StringId::OverwriteModFile).replace(QLatin1String("%s"), QLatin1String("weapons.txt")));
    EXPECT_EQ(dialogs.Messages()[0].owner, dialog.get());
    EXPECT_EQ(ArchiveFixtures::Read(ModFile(QStringLiteral("weapons.txt"))), "a day of edits");

    dialogs.AnswerMessage(UserDialogs::IdYes);
    Press(*dialog, dialog->AddButton());
    EXPECT_EQ(ArchiveFixtures::Read(ModFile(QStringLiteral("weapons.txt"))), gameFiles.value(Weapons));
    Click(*dialog, Item(*dialog, {QStringLiteral("data"), QStringLiteral("global"), QStringLiteral("excel"), QStringLiteral("armor.txt")}));
    Press(*dialog, dialog->AddButton());
    EXPECT_EQ(dialog->ResultList(), (QStringList{Armor, Weapons}));   // sorted, once each
    EXPECT_EQ(ArchiveFixtures::FilesIn(context.modFolder), (QStringList{QStringLiteral("armor.txt"), QStringLiteral("weapons.txt")}));
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}

TEST_F(AddFileDialogTest, AddRefusesFilesThatBelongToAnotherEntryAnOpenTabOrTheProject)
{
    const struct
    {
        const char* what;
        QString name;
        std::function<void()> arrange;
        const char* fragment;
    } cases[] = {
        {"another entry's file", ExcelX, [&] { context.projectEntries = {LocalX}; }, "is the file of data\\local\\x.txt"},
        {"a name of this dialog's earlier adds", ExcelX, [&] { context.projectEntries.clear(); }, "is the file of data\\local\\x.txt"},
        {"a table open in a tab", Armor, [&] { openTables = {QStringLiteral("armor.txt")}; }, "armor.txt is open in a tab"},
        {"the project file", Readme, [&] { context.projectFilePath = context.modFolder + QLatin1String("README.TBL"); }, "would replace"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.arrange();
        auto dialog = Open();
        if (QLatin1String(c.what) == QLatin1String("a name of this dialog's earlier adds")) {
            Click(*dialog, Item(*dialog, {QStringLiteral("data"), QStringLiteral("local"), QStringLiteral("x.txt")}));
            Press(*dialog, dialog->AddButton());
        }
        const QStringList before = ArchiveFixtures::FilesIn(context.modFolder);
        const qsizetype shown = dialogs.Messages().size();
        QTreeWidgetItem* item = nullptr;
        for (QTreeWidgetItemIterator it(dialog->Tree()); *it && !item; ++it)
            item = AddFileDialog::ArchiveName(*it) == c.name ? *it : nullptr;
        Click(*dialog, item);
        dialogs.AnswerMessage(UserDialogs::IdOk);
        Press(*dialog, dialog->AddButton());
        ASSERT_EQ(dialogs.Messages().size(), shown + 1);
        EXPECT_TRUE(dialogs.Messages().last().text.contains(QLatin1String(c.fragment))) << dialogs.Messages().last().text.toStdString();
        EXPECT_EQ(ArchiveFixtures::FilesIn(context.modFolder), before);
        EXPECT_FALSE(dialog->ResultList().contains(c.name));
    }
}

TEST_F(AddFileDialogTest, AddFilesKeepsEachChosenFileUnderTheNameTheUserGaveIt)
{
    const QString b = fixtures.Write(QStringLiteral("Disk/b.txt"), "bee"), a = fixtures.Write(QStringLiteral("Disk/a.txt"), "ay");
    auto dialog = Open();
    // A file item as target means the folder that holds it.
    Click(*dialog, Item(*dialog, {QStringLiteral("data"), QStringLiteral("global"), QStringLiteral("excel"), QStringLiteral("armor.txt")}));
    dialogs.AnswerFiles({b, a});
    dialogs.AnswerDialog([](QDialog& shown) {
        auto& rename = dynamic_cast<RenameListDialog&>(shown);
        rename.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&rename));
        QListWidget* list = rename.List();
        EXPECT_EQ(list->item(0)->text(), QStringLiteral("data\\global\\excel\\a.txt"));   // sorted
        // The user renames b.txt, which the list now shows after a.txt.
        list->setCurrentRow(1);
        QTest::keyClick(list, Qt::Key_F2);
        auto* editor = list->viewport()->findChild<QLineEdit*>();
        EXPECT_NE(editor, nullptr);
        if (!editor)
            return int(QDialog::Rejected);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("data\\global\\0.txt"));
        const QPointer<QLineEdit> open(editor);
        QTest::keyClick(editor, Qt::Key_Return);
        EXPECT_TRUE(QTest::qWaitFor([&] { return open.isNull(); }));
        QTest::mouseClick(rename.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
        return rename.result();
    });
    Press(*dialog, dialog->AddFilesButton());
    EXPECT_EQ(dialog->ResultList(), (QStringList{QStringLiteral("data\\global\\0.txt"), QStringLiteral("data\\global\\excel\\a.txt")}));
    EXPECT_EQ(ArchiveFixtures::Read(ModFile(QStringLiteral("0.txt"))), "bee");
    EXPECT_EQ(ArchiveFixtures::Read(ModFile(QStringLiteral("a.txt"))), "ay");
    EXPECT_FALSE(QFile::exists(ModFile(QStringLiteral("b.txt"))));

    // A root-level file as target puts the copies at the archive's top level;
    // a file already in the MOD folder is recorded without copy or question.
    const QString inModFolder = fixtures.Write(QStringLiteral("Mods/Weapons/c.txt"), "sea");
    Click(*dialog, Item(*dialog, {Readme}));
    dialogs.AnswerFiles({inModFolder});
    dialogs.AnswerDialog([](QDialog& shown) { shown.accept(); return shown.result(); });
    Press(*dialog, dialog->AddFilesButton());
    EXPECT_TRUE(dialog->ResultList().contains(QStringLiteral("c.txt")));
    EXPECT_EQ(ArchiveFixtures::Read(inModFolder), "sea");
    EXPECT_TRUE(dialogs.AllAnswersUsed());
    EXPECT_TRUE(dialogs.Messages().isEmpty());
}

TEST_F(AddFileDialogTest, FilesWhoseNamesDifferOnlyInCaseAreTwoFilesAndTheOtherOneIsNotReplacedSilently)
{
    const QString upper = fixtures.Write(QStringLiteral("Mods/Weapons/Armor.txt"), "upper");
    fixtures.Write(QStringLiteral("Mods/Weapons/armor.txt"), "lower");
    auto dialog = Open();
    Click(*dialog, Item(*dialog, {Readme}));
    dialogs.AnswerFiles({upper});
    dialogs.AnswerDialog([](QDialog& shown) {
        auto& rename = dynamic_cast<RenameListDialog&>(shown);
        rename.List()->item(0)->setText(QStringLiteral("armor.txt"));   // as an in-place edit ends
        rename.accept();
        return rename.result();
    });
    dialogs.AnswerMessage(UserDialogs::IdNo);
    Press(*dialog, dialog->AddFilesButton());
    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_TRUE(dialogs.Messages()[0].text.contains(QLatin1String("armor.txt already exists")));
    EXPECT_EQ(ArchiveFixtures::Read(upper), "upper");
    EXPECT_EQ(ArchiveFixtures::Read(ModFile(QStringLiteral("armor.txt"))), "lower");
    EXPECT_TRUE(dialog->ResultList().isEmpty());
}

TEST_F(AddFileDialogTest, ExtractSavesOneFileWhereTheUserSaysAndAFailureSaysWhy)
{
    auto dialog = Open();
    Click(*dialog, Item(*dialog, {QStringLiteral("data"), QStringLiteral("global"), QStringLiteral("sfx"), QStringLiteral("hit.wav")}));
    const QString target = fixtures.Path(QStringLiteral("saved.wav"));
    dialogs.AnswerFile(target);
    Press(*dialog, dialog->ExtractButton());
    EXPECT_EQ(ArchiveFixtures::Read(target), gameFiles.value(Hit));
    EXPECT_TRUE(dialog->ResultList().isEmpty());

    const QString nowhere = fixtures.Path(QStringLiteral("saved.wav/inside.wav"));   // its folder is a file
    dialogs.AnswerFile(nowhere);
    dialogs.AnswerMessage(UserDialogs::IdOk);
    Press(*dialog, dialog->ExtractButton());
    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_TRUE(dialogs.Messages()[0].text.startsWith(Hit + QLatin1String(" could not be extracted from ")))
        << dialogs.Messages()[0].text.toStdString();
    EXPECT_TRUE(dialogs.Messages()[0].text.contains(QDir::toNativeSeparators(nowhere)));
}

TEST_F(AddFileDialogTest, AnArchiveThatCannotBeShownSaysWhyAndOnlyCloseAndArchiveStayEnabled)
{
    const QString damaged = fixtures.Write(QStringLiteral("damaged.mpq"), ArchiveFixtures::Pattern(8192, 7));
    const QString good = context.archivePath;
    const struct
    {
        const char* what;
        std::function<void()> arrange;
        const char* fragment;
    } cases[] = {
        {"missing archive", [&] { context.archivePath = fixtures.Path(QStringLiteral("nowhere.mpq")); }, "the file does not exist"},
        {"no MPQ archive", [&] { context.archivePath = damaged; }, "MPQ archive"},
        {"no listing file", [&] { context.archivePath = good; QFile::remove(context.listingPath); },
         "AllFiles.txt, which names the game's files, is missing"},
        {"no archive library", [&] { context.archivePath = fixtures.Path(QStringLiteral("Diablo II/patch_d2.mpq")) + QLatin1String("x");
                                     QFile::copy(good, context.archivePath);
                                     fixtures.Write(QStringLiteral("Program/AllFiles.txt"), "readme.tbl\n");
                                     qputenv("CARVESTONE_MPQ_LIBRARY", "/nonexistent/libstorm.so.9"); },
         "/nonexistent/libstorm.so.9 cannot be loaded"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.arrange();
        auto dialog = Open();
        EXPECT_TRUE(dialog->TopText()->text().contains(QLatin1String(c.fragment))) << dialog->TopText()->text().toStdString();
        EXPECT_EQ(dialog->Tree()->topLevelItemCount(), 0);
        EXPECT_EQ(ButtonsOf(*dialog), (Enabling{false, false, false}));
        EXPECT_TRUE(dialog->CloseButton()->isEnabled() && dialog->ArchiveButton()->isEnabled());
    }
    qunsetenv("CARVESTONE_MPQ_LIBRARY");
}

TEST_F(AddFileDialogTest, WhileTheChildListsTheBarFollowsItAndNothingCanStartAgainAndADeathLeavesTheDialog)
{
    AddFileDialog dialog(context, nullptr);
    {
        FakeChild dies(QStringLiteral("echo 'range 0 100'; echo 'progress 50'; sleep 1; kill -SEGV $$"));
        dialog.show();
        ProgressDialog* progress = dialog.findChild<ProgressDialog*>();
        ASSERT_NE(progress, nullptr);
        EXPECT_EQ(progress->windowTitle(), QStringLiteral("Reading Archive"));
        EXPECT_FALSE(progress->windowFlags().testFlag(Qt::WindowCloseButtonHint));
        EXPECT_TRUE(QTest::qWaitFor([&] { return progress->Bar()->value() == 50; }, 5000));
        EXPECT_EQ(progress->Bar()->maximum(), 100);
        for (QPushButton* button : {dialog.CloseButton(), dialog.ArchiveButton(), dialog.AddButton()})
            EXPECT_FALSE(button->isEnabled()) << button->text().toStdString();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        dialog.close();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(WaitIdle(dialog));
    }
    EXPECT_TRUE(dialog.TopText()->text().contains(ArchiveJob::DiedMessage())) << dialog.TopText()->text().toStdString();
    EXPECT_EQ(dialog.Tree()->topLevelItemCount(), 0);
    EXPECT_EQ(dialog.findChild<ProgressDialog*>(), nullptr);
    EXPECT_EQ(ArchiveJob::Listings().Find(context.archivePath), nullptr);

    dialogs.AnswerFile(context.archivePath);
    Press(dialog, dialog.ArchiveButton());
    ASSERT_EQ(dialog.Tree()->topLevelItemCount(), 1);
    EXPECT_EQ(dialog.TopText()->text(), QDir::toNativeSeparators(context.archivePath));
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(AddFileDialogTest, TheDemoArchiveBesideTheProgramGivesItsWeaponsTableToTheMod)
{
    const QString bin = QCoreApplication::applicationDirPath() + QLatin1String("/");
    context.programFolder = bin;
    context.listingPath = bin + QLatin1String("AllFiles.txt");
    context.archivePath = bin + QLatin1String("demo/patch_d2.mpq");
    auto dialog = Open();
    QTreeWidgetItem* weapons =
        Item(*dialog, {QStringLiteral("data"), QStringLiteral("global"), QStringLiteral("excel"), QStringLiteral("Weapons.txt")});
    ASSERT_NE(weapons, nullptr) << dialog->TopText()->text().toStdString();
    Click(*dialog, weapons);
    Press(*dialog, dialog->AddButton());
    EXPECT_EQ(dialog->ResultList(), QStringList{QStringLiteral("data\\global\\excel\\Weapons.txt")});
    EXPECT_EQ(ArchiveFixtures::Read(ModFile(QStringLiteral("Weapons.txt"))),
              ArchiveFixtures::Read(QStringLiteral(CARVESTONE_DEMO_SOURCE "/files/Weapons.txt")));
}
