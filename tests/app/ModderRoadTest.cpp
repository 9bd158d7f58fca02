#include "app/CCarvestoneApp.h"

#include "ArchiveFixtures.h"
#include "RoadSteps.h"
#include "ScriptedDialogs.h"
#include "browser/AddFileDialog.h"
#include "browser/CLeftView.h"
#include "build_install/BuildingDialog.h"
#include "grid/CGridCtrl.h"
#include "mainframe/CMainFrame.h"
#include "options/CMODPropertyPage.h"
#include "options/CMODPropertySheet.h"
#include "project/CNewProjectDlg.h"
#include "table_editor/CCarvestoneView.h"
#include "ui/ChangeColours.h"
#include "ui/CommandIds.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QPushButton>
#include <QSettings>
#include <QTabBar>
#include <QTest>
#include <QTreeWidgetItemIterator>

namespace {

using RoadSteps::ClickItem;
using RoadSteps::Closed;
using RoadSteps::ShowAndWait;

const QString WeaponsEntry = QStringLiteral("data\\global\\excel\\Weapons.txt");
// The modder raises Thorn Sickle's minimum damage, 30 in the demo archive, to 45.
const QByteArray EditedRow("Thorn Sickle"), EditedColumn("mindam"), NewValue("45");

QStringList TreeTexts(QTreeWidget& tree)
{
    QStringList texts;
    for (QTreeWidgetItemIterator it(&tree); *it; ++it) {
        int depth = 0;
        for (const QTreeWidgetItem* parent = (*it)->parent(); parent; parent = parent->parent())
            ++depth;
        texts.append(QString(depth * 2, QLatin1Char(' ')) + (*it)->text(0));
    }
    return texts;
}

// A modder's first session and the next start by keys and clicks; the game's patch archive is the demo's.
class ModderRoad : public SmpqTest
{
protected:
    void SetUp() override
    {
        SmpqTest::SetUp();
        if (IsSkipped())
            return;
        qputenv("CARVESTONE_CONFIG_DIR", fixtures.Path(QStringLiteral("config")).toLocal8Bit());
        demoArchive = ArchiveFixtures::Read(QCoreApplication::applicationDirPath() + "/demo/patch_d2.mpq");
        ASSERT_FALSE(demoArchive.isEmpty()) << "the build makes the demo archive beside the tests";
        const QString prefix = fixtures.Path(QStringLiteral("wine"));
        fixtures.Write(QStringLiteral("wine/drive_c/Games/Diablo II/Patch_D2.mpq"), demoArchive);
        // The program names the folder as the file system resolves the drive.
        gameFolder = QDir(prefix + QStringLiteral("/drive_c")).canonicalPath() + QStringLiteral("/Games/Diablo II/");
        fixtures.Write(QStringLiteral("wine/user.reg"),
                       "WINE REGISTRY Version 2\n\n[Software\\\\Blizzard Entertainment\\\\Diablo II] 1700000000\n"
                       "\"InstallPath\"=\"C:\\\\Games\\\\Diablo II\"\n");
        qputenv("WINEPREFIX", prefix.toLocal8Bit());
        originalTable = fixtures.SmpqExtract(GamePatch(), WeaponsEntry).value_or(QByteArray());
        ASSERT_FALSE(originalTable.isEmpty());
    }

    QString GamePatch() const { return gameFolder + QStringLiteral("Patch_D2.mpq"); }
    QString Mods() const { return fixtures.Path(QStringLiteral("MODs")); }
    QString ProjectFolder() const { return Mods() + QStringLiteral("/Weapons/"); }
    CLeftView& Tree() const { return *app->MainFrame()->GetTreeView(); }
    CCarvestoneView& Tables() const { return dynamic_cast<CCarvestoneView&>(*app->MainFrame()->GetTableView()); }

    void AnswerNewProject(const QString& name)
    {
        dialogs.AnswerDialog([name](QDialog& dialog) {
            auto& newProject = dynamic_cast<CNewProjectDlg&>(dialog);
            ShowAndWait(newProject);
            QTest::keyClicks(newProject.NameEdit(), name);
            QTest::mouseClick(newProject.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
            return newProject.result();
        });
    }

    void Start()
    {
        app = std::make_unique<CCarvestoneApp>();
        ASSERT_TRUE(app->InitInstance({}));
        app->MainFrame()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(app->MainFrame()));
        ASSERT_EQ(app->Document()->GetPathName(), ProjectFolder() + QStringLiteral("Weapons.mod"));
    }

    // The window offers a command a moment after the state that allows it; then the key goes to the focus.
    void Press(int id, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return app->MainFrame()->Action(id)->isEnabled(); }, 5000));
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        QCoreApplication::processEvents();
    }

    void OpenWeaponsWithEnter()
    {
        ClickItem(Tree(), QStringLiteral("Weapons.txt"));
        ASSERT_NO_FATAL_FAILURE(Press(CommandId::OpenFile, Qt::Key_Return));
        ASSERT_EQ(Tables().TableCount(), 1) << "Enter opened the table";
    }

    QByteArray demoArchive, originalTable;
    QString gameFolder;
    ScriptedDialogs dialogs;
    std::unique_ptr<CCarvestoneApp> app;
};

TEST_F(ModderRoad, FirstStartToAnInstalledModAndTheSameProjectAtTheNextStart)
{
    // The first start's sheet: another MODs folder typed in, compression off, OK; then no safe-keeping copy.
    dialogs.AnswerDialog([this](QDialog& dialog) {
        auto& sheet = dynamic_cast<CMODPropertySheet&>(dialog);
        ShowAndWait(sheet);
        QLineEdit* mods = sheet.PathsPage()->ModsPathEdit();
        EXPECT_EQ(mods->text(), QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + "/MODs"));
        EXPECT_EQ(sheet.PathsPage()->MpqPathEdit()->text(), QDir::toNativeSeparators(GamePatch()));
        mods->selectAll();
        QTest::keyClicks(mods, QDir::toNativeSeparators(Mods()));
        QTest::mouseClick(sheet.PathsPage()->UseCompressionBox(), Qt::LeftButton);
        QTest::mouseClick(sheet.Buttons()->button(QDialogButtonBox::Ok), Qt::LeftButton);
        return sheet.result();
    });
    dialogs.AnswerMessage(UserDialogs::IdNo);
    AnswerNewProject(QStringLiteral("Weapons"));
    ASSERT_NO_FATAL_FAILURE(Start());
    const auto store = CarvestoneSettings::OpenStore();
    for (const auto& [key, value] : {std::pair{"MODs Path", Mods() + QLatin1Char('/')}, {"Diablo II MPQ", GamePatch()},
                                     {"Use Compression", "0"}, {"Open Most Recent", "1"},
                                     {"Grid Font", "Arial, 9, Regular"}})
        EXPECT_EQ(store->value(QStringLiteral("Settings/") + key).toString(), value) << key;

    ClickItem(Tree(), QStringLiteral("Weapons.mod"));
    dialogs.AnswerDialog([](QDialog& dialog) {
        auto& add = dynamic_cast<AddFileDialog&>(dialog);
        ShowAndWait(add);
        const auto idle = [&add] { return !add.IsWorking(); };
        EXPECT_TRUE(QTest::qWaitFor(idle, 30000)) << "listing the archive";
        add.Tree()->expandAll();
        ClickItem(*add.Tree(), QStringLiteral("Weapons.txt"));
        QTest::mouseClick(add.AddButton(), Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor(idle, 30000)) << "extracting the table";
        QTest::mouseClick(add.CloseButton(), Qt::LeftButton);
        return Closed(add);
    });
    ASSERT_NO_FATAL_FAILURE(Press(CommandId::AddFiles, Qt::Key_Insert));
    EXPECT_EQ(ArchiveFixtures::Read(ProjectFolder() + QStringLiteral("Weapons.txt")), originalTable);
    const QStringList tree = TreeTexts(Tree());
    EXPECT_EQ(tree, QStringList({"Weapons.mod", "  data", "    global", "      excel", "        Weapons.txt"}));

    // The file's lines and fields are the grid's rows and columns.
    ASSERT_NO_FATAL_FAILURE(OpenWeaponsWithEnter());
    CGridCtrl& grid = *Tables().GetCurrentGrid();
    const QList<QByteArray> lines = originalTable.split('\n');
    const int field = int(lines[0].split('\t').indexOf(EditedColumn));
    int line = 0;
    while (line < lines.size() - 1 && !lines[line].startsWith(EditedRow + '\t'))
        ++line;
    ASSERT_EQ(grid.GetCellText(line, field), QStringLiteral("30"));
    grid.EnsureVisible(line, field);
    QRect cell;
    ASSERT_TRUE(grid.GetCellRect(line, field, &cell));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    for (const char key : NewValue)
        QTest::keyClick(QApplication::focusWidget(), key);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(grid.GetCellText(line, field), QString::fromLatin1(NewValue));
    EXPECT_EQ(Tables().TabBar()->tabText(0), QStringLiteral("Weapons.txt* (1)"));

    // The table came from the archive with its original kept: the edit is tinted and counted in the tree,
    // F8 finds it, Revert to Game Value in the cell's menu puts 30 back and Ctrl+Z brings 45 again.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center() + QPoint(0, cell.height()));
    const QColor tint = grid.viewport()->grab().toImage().pixelColor(cell.bottomRight() - QPoint(3, 3));
    EXPECT_EQ(tint, ChangeColours::For(grid.palette()).changedCell);
    QTreeWidgetItem* weaponsItem = Tree().findItems("Weapons.txt", Qt::MatchExactly | Qt::MatchRecursive).value(0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return weaponsItem->text(1) == "1"; }, 5000)) << "the tree's count";
    ASSERT_NO_FATAL_FAILURE(Press(CommandId::NextChange, Qt::Key_F8));
    EXPECT_EQ(grid.GetFocusCell(), GridCellId(line, field));
    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, cell.center());
    QMenu* popup = app->MainFrame()->TablePopup();
    ASSERT_TRUE(QTest::qWaitFor([&] { return popup->isVisible(); }, 5000));
    QAction* revert = app->MainFrame()->Action(CommandId::RevertToGameValue);
    ASSERT_TRUE(revert->isEnabled());
    QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(revert).center());
    // Offscreen, no window has the keys after a menu closes; on a desktop the grid has them back.
    app->MainFrame()->activateWindow();
    grid.setFocus();
    EXPECT_EQ(grid.GetCellText(line, field), QStringLiteral("30"));
    EXPECT_EQ(Tables().TabBar()->tabText(0), QStringLiteral("Weapons.txt*"));
    ASSERT_NO_FATAL_FAILURE(Press(CommandId::EditUndo, Qt::Key_Z, Qt::ControlModifier));
    EXPECT_EQ(grid.GetCellText(line, field), QString::fromLatin1(NewValue));
    EXPECT_EQ(Tables().TabBar()->tabText(0), QStringLiteral("Weapons.txt* (1)"));

    ASSERT_NO_FATAL_FAILURE(Press(CommandId::FileSave, Qt::Key_S, Qt::ControlModifier));
    EXPECT_EQ(Tables().TabBar()->tabText(0), QStringLiteral("Weapons.txt (1)"));
    EXPECT_EQ(ArchiveFixtures::Read(ProjectFolder() + QStringLiteral(".carvestone/originals/Weapons.txt")),
              originalTable);
    EXPECT_EQ(ArchiveFixtures::Read(ProjectFolder() + QStringLiteral("Weapons.mod")),
              "Carvestone Project File Version 1.0\n" + WeaponsEntry.toLatin1() + "\n");
    QList<QByteArray> expected = lines, fields = lines[line].split('\t');
    fields[field] = NewValue;
    expected[line] = fields.join('\t');
    const QByteArray edited = ArchiveFixtures::Read(ProjectFolder() + QStringLiteral("Weapons.txt"));
    EXPECT_TRUE(edited == expected.join('\n')) << "the saved table differs in more than the edited cell";

    QString buildLog;
    dialogs.AnswerDialog(RoadSteps::FinishBuilding(buildLog));
    ASSERT_NO_FATAL_FAILURE(Press(CommandId::Build, Qt::Key_F7));
    const QString modArchive = ProjectFolder() + QStringLiteral("Weapons.mpq");
    EXPECT_EQ(buildLog, QStringLiteral("Adding data\\global\\excel\\Weapons.txt succeeded\r\nBuilt the MOD archive ")
                            + QDir::toNativeSeparators(modArchive) + QStringLiteral("\r\n"));

    QAction* install = app->MainFrame()->Action(CommandId::Install);
    ASSERT_TRUE(QTest::qWaitFor([&] { return install->isEnabled(); }, 5000));
    QMenuBar* bar = app->MainFrame()->menuBar();
    QAction* tools = bar->actions().value(3);
    ASSERT_EQ(tools->text(), QStringLiteral("&Tools"));
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(tools).center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return tools->menu()->isVisible(); }, 5000));
    dialogs.AnswerMessage(UserDialogs::IdYes);
    QTest::mouseClick(tools->menu(), Qt::LeftButton, {}, tools->menu()->actionGeometry(install).center());
    EXPECT_TRUE(dialogs.AllAnswersUsed()) << "Install asked first";
    EXPECT_EQ(app->MainFrame()->statusBar()->currentMessage(),
              QStringLiteral("Installed Weapons.mpq as ") + QDir::toNativeSeparators(GamePatch())
                  + QStringLiteral("; the game's own archive is kept as ")
                  + QDir::toNativeSeparators(gameFolder + QStringLiteral("patch_d2.bak")) + QLatin1Char('.'));
    EXPECT_EQ(ArchiveFixtures::FilesIn(gameFolder), QStringList({"Patch_D2.mpq", "patch_d2.bak"}));
    EXPECT_TRUE(ArchiveFixtures::Read(gameFolder + QStringLiteral("patch_d2.bak")) == demoArchive)
        << "the backup is the game's own archive";
    EXPECT_TRUE(ArchiveFixtures::Read(GamePatch()) == ArchiveFixtures::Read(modArchive));
    EXPECT_EQ(fixtures.SmpqExtract(GamePatch(), WeaponsEntry), edited) << "smpq reads the edit from the game";

    // The next start, with no sheet and no New dialog, opens the same project with the edit in its table.
    app.reset();
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_EQ(TreeTexts(Tree()), tree);
    ASSERT_NO_FATAL_FAILURE(OpenWeaponsWithEnter());
    EXPECT_EQ(Tables().GetCurrentGrid()->GetCellText(line, field), QString::fromLatin1(NewValue));

    // A new MOD closes the tables of the one it replaces.
    AnswerNewProject(QStringLiteral("Sharper"));
    ASSERT_NO_FATAL_FAILURE(Press(CommandId::FileNew, Qt::Key_N, Qt::ControlModifier));
    EXPECT_EQ(app->Document()->GetPathName(), Mods() + QStringLiteral("/Sharper/Sharper.mod"));
    EXPECT_EQ(TreeTexts(Tree()), QStringList({"Sharper.mod"}));
    EXPECT_EQ(Tables().TableCount(), 0) << "Weapons.txt belongs to the project that was replaced";
    EXPECT_EQ(dialogs.Messages().size(), 2) << "the copy question and the install question, nothing else";
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}

} // namespace
