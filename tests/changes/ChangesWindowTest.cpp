#include "ArchiveFixtures.h"
#include "QStringPrinter.h"
#include "ScriptedDialogs.h"

#include "changes/ChangesCommands.h"
#include "changes/ChangesDock.h"
#include "changes/ModChanges.h"
#include "changes/RebaseDialog.h"
#include "core/CarvestoneSettings.h"
#include "grid/CGridCtrl.h"
#include "project/CCarvestoneDoc.h"
#include "table_editor/CCarvestoneView.h"
#include "ui/ChangeColours.h"
#include "ui/CommandIds.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTreeWidget>

namespace {

const QString Weapons = QStringLiteral("data\\global\\excel\\weapons.txt");
const QString Armor = QStringLiteral("data\\global\\excel\\armor.txt");
const QString Extra = QStringLiteral("data\\extra.dc6");
const QByteArray GameWeapons = "name\tmindam\tmaxdam\r\nAxe\t1\t2\r\nBow\t3\t4\r\n";
const QByteArray GameArmor = "name\tac\r\nCap\t1\r\n";
// The MOD: Bow's mindam made 30 (weapons came with a kept original), a row
// added to armor (compared with the game archive), a picture of its own.
const QByteArray ModWeapons = "name\tmindam\tmaxdam\r\nAxe\t1\t2\r\nBow\t30\t4\r\n";
const QByteArray ModArmor = "name\tac\r\nCap\t1\r\nHat\t2\r\n";

QStringList Rows(const QTreeWidget& list)
{
    QStringList rows;
    for (int index = 0; index < list.topLevelItemCount(); ++index) {
        QStringList cells;
        for (int col = 0; col < list.columnCount(); ++col)
            cells.append(list.topLevelItem(index)->text(col));
        rows.append(cells.join('|'));
    }
    return rows;
}

QStringList TabTexts(const CCarvestoneView& view)
{
    QStringList texts;
    for (int index = 0; index < view.TabBar()->count(); ++index)
        texts.append(view.TabBar()->tabText(index));
    return texts;
}

} // namespace

// A MOD opened in a window with its table view and the changes list, its
// game archive made by smpq and read by the carvestone-cli beside the tests.
class ChangesWindowTest : public SmpqTest
{
protected:
    void SetUp() override
    {
        SmpqTest::SetUp();
        if (IsSkipped())
            return;
        settings.GameMpqPath = fixtures.MakeGameArchive("game.mpq", {{Weapons, GameWeapons}, {Armor, GameArmor}});
        settings.ProgramFolder = BinFolder();
        fixtures.Write("Mod/weapons.txt", ModWeapons);
        fixtures.Write("Mod/armor.txt", ModArmor);
        fixtures.Write("Mod/extra.dc6", "picture");
        fixtures.Write("Mod/.carvestone/originals/weapons.txt", GameWeapons);
        const QString project = fixtures.Write("Mod/Mod.mod", "Carvestone Project File Version 1.0\n"
                                                              + (QStringList{Extra, Armor, Weapons}.join('\n') + '\n').toLatin1());
        ASSERT_EQ(document.OpenProject(project), CCarvestoneDoc::OpenResult::Opened);
        document.SetTableView(view);
        window.setCentralWidget(view);
        commands = std::make_unique<ChangesCommands>(document, settings, window, *view);
        window.resize(900, 600);
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    ModChanges& Changes() const { return commands->Changes(); }
    ChangesDock& Dock() const { return commands->Dock(); }
    bool Compared()
    {
        return QTest::qWaitFor([&] { return !Changes().IsReadingGame() && Changes().Files().size() == 3; }, 30000);
    }
    void Activate(QTreeWidget& list, int row)
    {
        QTreeWidgetItem* item = list.topLevelItem(row);
        ASSERT_NE(item, nullptr) << row;
        const QPoint at = list.visualItemRect(item).center();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
    }
    QByteArray Mod(const QString& name) const { return ArchiveFixtures::Read(fixtures.Path("Mod/" + name)); }

    CarvestoneSettings settings;
    ScriptedDialogs dialogs;
    CCarvestoneDoc document;
    QMainWindow window;
    CCarvestoneView* view = new CCarvestoneView([this] { return document.ProjectFolder(); }, settings);
    std::unique_ptr<ChangesCommands> commands;
};

TEST_F(ChangesWindowTest, TheListCountsEveryChangeAgainstKeptOriginalsOrTheGameAndGoesToItsCell)
{
    ASSERT_TRUE(Compared());
    EXPECT_EQ(Changes().Counts(), (QHash<QString, int>{{Armor, 1}, {Weapons, 1}}));
    commands->OnCommand(CommandId::ChangesList);
    ASSERT_TRUE(Dock().isVisible());
    QTreeWidget& list = *Dock().List();
    EXPECT_EQ(Rows(list), (QStringList{Extra + "|file+||||", Armor + "|row+|Hat|||",
                                       Weapons + "|cell|Bow|mindam|3|30"}));
    EXPECT_EQ(Dock().Summary()->text(), "3 changes in 3 files");

    // The filter shows one file; a double click opens its table at the change.
    Dock().Filter()->setFocus();
    QTest::keyClick(Dock().Filter(), Qt::Key_End);
    EXPECT_EQ(Dock().Filter()->currentText(), Weapons);
    ASSERT_EQ(list.topLevelItemCount(), 1);
    Activate(list, 0);
    EXPECT_EQ(view->GetCurrentFileName(), "weapons.txt");
    EXPECT_EQ(view->GetFocusCell(), GridCellId(2, 1));
    EXPECT_EQ(TabTexts(*view), QStringList{"weapons.txt (1)"});

    // Armor has no kept original: its tab counts once the game's copy is there.
    QTest::keyClick(Dock().Filter(), Qt::Key_Home);
    Activate(list, 1);
    EXPECT_EQ(view->GetFocusCell(), GridCellId(2, 1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return TabTexts(*view).first() == "armor.txt (1)"; }, 30000))
        << TabTexts(*view).join(", ").toStdString();

    // An edit in an open table counts before it is saved; closing it unsaved goes back to the file.
    QTest::keyClick(view->GetCurrentGrid(), Qt::Key_Up);
    QTest::keyClicks(view->GetCurrentGrid(), "7");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(TabTexts(*view).first(), "armor.txt* (2)");
    ASSERT_TRUE(QTest::qWaitFor([&] { return Dock().Summary()->text() == "4 changes in 3 files"; }, 5000))
        << Dock().Summary()->text().toStdString();
    dialogs.AnswerMessage(UserDialogs::IdNo);
    view->CloseCurrentTable();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Dock().Summary()->text() == "3 changes in 3 files"; }, 5000));

    // A game archive that cannot be read is said, and only what has a kept original is compared.
    settings.GameMpqPath = fixtures.Write("damaged.mpq", ArchiveFixtures::Pattern(8192, 3));
    Changes().RefreshAll();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Dock().Summary()->text().contains("could not be read"); }, 30000))
        << Dock().Summary()->text().toStdString();
    EXPECT_EQ(Changes().Counts(), (QHash<QString, int>{{Weapons, 1}}));
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}

TEST_F(ChangesWindowTest, RebaseShowsEachMergedTableWithItsConflictBeforeWritingAndCancelWritesNothing)
{
    // New data: Axe's maxdam 20, Bow's mindam 33 (the MOD made it 30), a row Club.
    const QByteArray newWeapons = "name\tmindam\tmaxdam\r\nAxe\t1\t20\r\nBow\t33\t4\r\nClub\t5\t6\r\n";
    const QString onto = fixtures.MakeGameArchive("new.mpq", {{Weapons, newWeapons}, {Armor, GameArmor}});
    ASSERT_TRUE(Compared());
    view->OpenTable("weapons.txt");
    const ChangeColours colours = ChangeColours::For(QApplication::palette());

    const auto preview = [&](bool apply) {
        dialogs.AnswerFile(onto);
        dialogs.AnswerMessage(UserDialogs::IdOk); // the open tables are saved and closed first
        dialogs.AnswerDialog([&, apply](QDialog& shown) {
            auto& rebase = dynamic_cast<RebaseDialog&>(shown);
            rebase.show();
            EXPECT_TRUE(QTest::qWaitFor([&] { return !rebase.IsReading(); }, 30000));
            EXPECT_EQ(view->TableCount(), 0);
            QListWidget& tables = *rebase.Tables();
            EXPECT_EQ(tables.count(), 2);
            EXPECT_EQ(tables.item(1)->text(), "weapons.txt  (1 conflict)");
            QTest::mouseClick(tables.viewport(), Qt::LeftButton, {}, tables.visualItemRect(tables.item(1)).center());
            EXPECT_EQ(Rows(*rebase.Conflicts()), QStringList{"Bow|mindam|3|33|30"});
            CGridCtrl& grid = *rebase.Grid();
            EXPECT_EQ(grid.GetCellText(2, 1), "30");
            EXPECT_EQ(grid.GetCellText(1, 2), "20");
            QRect cell;
            EXPECT_TRUE(grid.GetCellRect(2, 1, &cell));
            EXPECT_EQ(grid.viewport()->grab().toImage().pixelColor(cell.bottomRight() - QPoint(3, 3)), colours.conflict);
            EXPECT_FALSE(rebase.Message()->text().contains("cannot"));
            QTest::mouseClick(apply ? rebase.RebaseButton() : rebase.CancelButton(), Qt::LeftButton);
            return rebase.result();
        });
        if (apply)
            dialogs.AnswerMessage(UserDialogs::IdOk);
        commands->OnCommand(CommandId::RebaseMod);
    };

    preview(false);
    EXPECT_EQ(Mod("weapons.txt"), ModWeapons);
    EXPECT_EQ(Mod(".carvestone/originals/weapons.txt"), GameWeapons);
    view->OpenTable("weapons.txt");
    preview(true);
    EXPECT_EQ(Mod("weapons.txt"), "name\tmindam\tmaxdam\r\nAxe\t1\t20\r\nBow\t30\t4\r\nClub\t5\t6\r\n");
    EXPECT_EQ(Mod("armor.txt"), ModArmor);
    EXPECT_EQ(Mod(".carvestone/originals/weapons.txt"), newWeapons);
    EXPECT_EQ(Mod(".carvestone/originals/armor.txt"), GameArmor);
    const QString told = dialogs.Messages().last().text;
    EXPECT_TRUE(told.startsWith("2 tables were carried over to " + QDir::toNativeSeparators(onto) + ", with 1 conflict"))
        << told.toStdString();
    EXPECT_TRUE(told.contains(QDir::toNativeSeparators(fixtures.Path("Mod/rebase-backup-")))) << told.toStdString();

    // New data that cannot be read: nothing to rebase, nothing written.
    dialogs.AnswerFile(fixtures.Write("damaged.mpq", ArchiveFixtures::Pattern(8192, 5)));
    dialogs.AnswerDialog([&](QDialog& shown) {
        auto& rebase = dynamic_cast<RebaseDialog&>(shown);
        rebase.show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !rebase.IsReading(); }, 30000));
        EXPECT_TRUE(rebase.Message()->text().startsWith("Nothing can be carried over: "))
            << rebase.Message()->text().toStdString();
        EXPECT_FALSE(rebase.RebaseButton()->isEnabled());
        QTest::keyClick(&rebase, Qt::Key_Escape);
        return rebase.result();
    });
    commands->OnCommand(CommandId::RebaseMod);
    EXPECT_EQ(Mod(".carvestone/originals/weapons.txt"), newWeapons);
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}
