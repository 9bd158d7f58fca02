#include "app/CCarvestoneApp.h"

#include "ArchiveFixtures.h"
#include "QStringPrinter.h"
#include "RoadSteps.h"
#include "ScriptedDialogs.h"
#include "browser/AddFileDialog.h"
#include "browser/CLeftView.h"
#include "build_install/BuildingDialog.h"
#include "build_install/RemasterInstallDialog.h"
#include "grid/CGridCtrl.h"
#include "mainframe/CMainFrame.h"
#include "options/CMODPropertyPage.h"
#include "options/CMODPropertySheet.h"
#include "project/CNewProjectDlg.h"
#include "table_editor/CCarvestoneView.h"
#include "ui/CommandIds.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTabBar>
#include <QTest>

namespace {

using RoadSteps::ClickItem;
using RoadSteps::Closed;
using RoadSteps::ShowAndWait;

const QString ModName = QStringLiteral("Sharper");

// A remaster modder's session by keys and clicks: the game found through the prefix's record, the demo's
// extracted data as the game's, a mod installed into a game folder of its own.
class RemasterRoad : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("CARVESTONE_CONFIG_DIR", fixtures.Path("config").toLocal8Bit());
        const auto store = CarvestoneSettings::OpenStore();
        store->setValue(QStringLiteral("Settings/MODs Path"), Mods() + QLatin1Char('/'));
        store->sync();
        QDir().mkpath(Mods());
        const QString prefix = fixtures.Path(QStringLiteral("wine"));
        QDir().mkpath(prefix + "/drive_c/Games/D2R");
        game = QDir(prefix + "/drive_c").canonicalPath() + "/Games/D2R/";
        fixtures.Write("wine/system.reg",
                       "WINE REGISTRY Version 2\n\n[Software\\\\Wow6432Node\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\"
                       "Uninstall\\\\Diablo II Resurrected] 1700000000\n\"InstallLocation\"=\"C:\\\\Games\\\\D2R\"\n");
        qputenv("WINEPREFIX", prefix.toLocal8Bit());
        demo = QCoreApplication::applicationDirPath() + QStringLiteral("/demo/remaster");
        ASSERT_TRUE(QFileInfo(demo + "/data/global/excel/weapons.txt").isFile()) << "the build makes the demo data";
    }

    QString Mods() const { return fixtures.Path(QStringLiteral("MODs")); }
    QString ProjectFolder() const { return Mods() + "/" + ModName + "/"; }
    CLeftView& Tree() const { return *app->MainFrame()->GetTreeView(); }
    CCarvestoneView& Tables() const { return dynamic_cast<CCarvestoneView&>(*app->MainFrame()->GetTableView()); }

    // The window offers a command a moment after the state that allows it; then the key goes to the focus.
    void Press(int id, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return app->MainFrame()->Action(id)->isEnabled(); }, 5000));
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        QCoreApplication::processEvents();
    }

    // Tools > item, clicked in the menu bar and then in the menu.
    void ClickTools(int id) const
    {
        QAction* action = app->MainFrame()->Action(id);
        ASSERT_TRUE(QTest::qWaitFor([&] { return action->isEnabled(); }, 5000));
        QMenuBar* bar = app->MainFrame()->menuBar();
        QAction* tools = bar->actions().value(3);
        ASSERT_EQ(tools->text(), QStringLiteral("&Tools"));
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(tools).center());
        ASSERT_TRUE(QTest::qWaitFor([&] { return tools->menu()->isVisible(); }, 5000));
        QTest::mouseClick(tools->menu(), Qt::LeftButton, {}, tools->menu()->actionGeometry(action).center());
    }

    ArchiveFixtures fixtures;
    QString game, demo;
    ScriptedDialogs dialogs;
    std::unique_ptr<CCarvestoneApp> app;
};

TEST_F(RemasterRoad, ANewRemasterModFromTheExtractedDemoIsEditedBuiltAndInstalledIntoTheModsFolder)
{
    dialogs.AnswerDialog([](QDialog& dialog) {
        auto& newProject = dynamic_cast<CNewProjectDlg&>(dialog);
        ShowAndWait(newProject);
        EXPECT_TRUE(newProject.ClassicButton()->isChecked()) << "classic unless chosen";
        QTest::keyClicks(newProject.NameEdit(), ModName);
        QTest::mouseClick(newProject.RemasterButton(), Qt::LeftButton);
        QTest::mouseClick(newProject.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
        return newProject.result();
    });
    app = std::make_unique<CCarvestoneApp>();
    ASSERT_TRUE(app->InitInstance({}));
    app->MainFrame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(app->MainFrame()));
    ASSERT_EQ(app->Document()->GetPathName(), ProjectFolder() + ModName + ".mod");
    EXPECT_EQ(ArchiveFixtures::Read(ProjectFolder() + ModName + ".mod"), "Carvestone Project File Version 1.0\r\n");
    EXPECT_EQ(app->Document()->Target(), BuildTarget::RemasterModFolder);

    // The options show the game that was found and the MOD's target.
    dialogs.AnswerDialog([this](QDialog& dialog) {
        auto& sheet = dynamic_cast<CMODPropertySheet&>(dialog);
        ShowAndWait(sheet);
        CMODPropertyPage& page = *sheet.PathsPage();
        EXPECT_EQ(page.RemasterFolderEdit()->text(), QDir::toNativeSeparators(game.chopped(1)));
        EXPECT_EQ(page.RemasterFoundLabel()->toolTip(), "Found: " + QDir::toNativeSeparators(game.chopped(1)));
        EXPECT_EQ(page.RemasterDataEdit()->text(), QDir::toNativeSeparators(demo));
        EXPECT_TRUE(page.TargetGroup()->isEnabled());
        EXPECT_TRUE(page.RemasterButton()->isChecked());
        QTest::mouseClick(sheet.Buttons()->button(QDialogButtonBox::Cancel), Qt::LeftButton);
        return Closed(sheet);
    });
    ClickTools(CommandId::Options);
    ASSERT_TRUE(dialogs.AllAnswersUsed());

    // Add File shows the extracted data as a folder tree; two tables come in as extraction brings them.
    ClickItem(Tree(), ModName + ".mod");
    dialogs.AnswerDialog([this](QDialog& dialog) {
        auto& add = dynamic_cast<AddFileDialog&>(dialog);
        ShowAndWait(add);
        const auto idle = [&add] { return !add.IsWorking(); };
        EXPECT_TRUE(QTest::qWaitFor(idle, 30000)) << "walking the folder";
        EXPECT_EQ(add.TopText()->text(), QDir::toNativeSeparators(demo));
        EXPECT_EQ(add.Tree()->topLevelItem(0)->text(0), QStringLiteral("remaster"));
        add.Tree()->expandAll();
        for (const QString& table : {QStringLiteral("weapons.txt"), QStringLiteral("armor.txt")}) {
            ClickItem(*add.Tree(), table);
            QTest::mouseClick(add.AddButton(), Qt::LeftButton);
            EXPECT_TRUE(QTest::qWaitFor(idle, 30000)) << "copying " << table.toStdString();
        }
        QTest::mouseClick(add.CloseButton(), Qt::LeftButton);
        return Closed(add);
    });
    ASSERT_NO_FATAL_FAILURE(Press(CommandId::AddFiles, Qt::Key_Insert));
    const QByteArray demoWeapons = ArchiveFixtures::Read(demo + "/data/global/excel/weapons.txt");
    EXPECT_EQ(ArchiveFixtures::Read(ProjectFolder() + "weapons.txt"), demoWeapons);
    EXPECT_EQ(app->Document()->FileList(),
              QStringList({"data\\global\\excel\\armor.txt", "data\\global\\excel\\weapons.txt"}));

    // Thorn Sickle's minimum damage becomes 45.
    ClickItem(Tree(), QStringLiteral("weapons.txt"));
    ASSERT_NO_FATAL_FAILURE(Press(CommandId::OpenFile, Qt::Key_Return));
    ASSERT_EQ(Tables().TableCount(), 1);
    CGridCtrl& grid = *Tables().GetCurrentGrid();
    int row = 0, column = 0;
    for (int r = 1; r < grid.GetRowCount() && row == 0; ++r)
        row = grid.GetCellText(r, 0) == QLatin1String("Thorn Sickle") ? r : 0;
    for (int c = 1; c < grid.GetColumnCount() && column == 0; ++c)
        column = grid.GetCellText(0, c) == QLatin1String("mindam") ? c : 0;
    ASSERT_GT(row * column, 0);
    grid.EnsureVisible(row, column);
    QRect cell;
    ASSERT_TRUE(grid.GetCellRect(row, column, &cell));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    QTest::keyClick(QApplication::focusWidget(), '4');
    QTest::keyClick(QApplication::focusWidget(), '5');
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    // The file came from the extracted data with its original kept: the tab counts the one change.
    EXPECT_EQ(Tables().TabBar()->tabText(0), QStringLiteral("weapons.txt* (1)"));
    ASSERT_NO_FATAL_FAILURE(Press(CommandId::FileSave, Qt::Key_S, Qt::ControlModifier));
    const QByteArray edited = ArchiveFixtures::Read(ProjectFolder() + "weapons.txt");
    EXPECT_NE(edited, demoWeapons);

    QString buildLog;
    dialogs.AnswerDialog(RoadSteps::FinishBuilding(buildLog));
    ASSERT_NO_FATAL_FAILURE(Press(CommandId::Build, Qt::Key_F7));
    EXPECT_EQ(buildLog, "Adding data\\global\\excel\\armor.txt succeeded\r\n"
                        "Adding data\\global\\excel\\weapons.txt succeeded\r\nBuilt the mod folder "
                            + QDir::toNativeSeparators(ProjectFolder() + ModName) + "\r\n");

    // Install asks first, then says how to start the game and puts the launcher arguments on the clipboard.
    const QString installed = game + "mods/" + ModName;
    dialogs.AnswerMessage(UserDialogs::IdYes);
    QString note;
    dialogs.AnswerDialog([&note](QDialog& dialog) {
        auto& done = dynamic_cast<RemasterInstallDialog&>(dialog);
        ShowAndWait(done);
        EXPECT_TRUE(QTest::qWaitFor([&] { return done.IsFinished(); }, 30000));
        note = done.Text();
        QApplication::clipboard()->clear();
        QTest::mouseClick(done.CopyButton(), Qt::LeftButton);
        EXPECT_EQ(done.ArgumentsEdit()->text(), "-mod " + ModName + " -txt");
        QTest::mouseClick(done.OkButton(), Qt::LeftButton);
        return Closed(done);
    });
    ClickTools(CommandId::Install);
    EXPECT_TRUE(dialogs.AllAnswersUsed());
    EXPECT_TRUE(dialogs.Messages().last().text.contains(QDir::toNativeSeparators(installed)))
        << dialogs.Messages().last().text.toStdString();
    EXPECT_EQ(QApplication::clipboard()->text(), "-mod " + ModName + " -txt");
    EXPECT_TRUE(note.startsWith(ModName + " is installed in " + QDir::toNativeSeparators(installed))) << note.toStdString();

    QJsonParseError parsed;
    const QJsonDocument info = QJsonDocument::fromJson(
        ArchiveFixtures::Read(installed + "/" + ModName + ".mpq/modinfo.json"), &parsed);
    EXPECT_EQ(parsed.error, QJsonParseError::NoError);
    EXPECT_EQ(info.object(), QJsonObject({{"name", ModName}, {"savepath", ModName + "/"}}));
    EXPECT_EQ(ArchiveFixtures::FilesUnder(installed + "/" + ModName + ".mpq/data"),
              (QMap<QString, QByteArray>{{"global/excel/armor.txt", ArchiveFixtures::Read(ProjectFolder() + "armor.txt")},
                                         {"global/excel/weapons.txt", edited}}));
    EXPECT_EQ(dialogs.Messages().size(), 1) << "the install question, nothing else";
}

} // namespace
