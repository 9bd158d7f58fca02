#include "app/CCarvestoneApp.h"

#include "ScriptedDialogs.h"
#include "TestFiles.h"
#include "mainframe/CMainFrame.h"
#include "mainframe/CommandIds.h"
#include "options/CFontPropertyPage.h"
#include "options/CMODPropertyPage.h"
#include "options/CMODPropertySheet.h"
#include "options/FontSizeCombo.h"
#include "project/CNewProjectDlg.h"
#include "project/TableViewPart.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#include <gtest/gtest.h>

namespace {

// Stands in for the table view: only whether, and with which settings, it
// was told to take the grid font again.
class FontRecordingView : public TableViewPart
{
public:
    explicit FontRecordingView(const CarvestoneSettings& settings) : settings(settings) {}

    bool IsAnyTableModified() const override { return false; }
    bool SaveAllModifiedTables() override { return true; }
    bool OpenTable(const QString&) override { return false; }
    bool IsTableOpen(const QString&) const override { return false; }
    bool CloseTable(const QString&) override { return true; }
    void CloseAllTables() override {}
    QString GetCurrentFileName() const override { return {}; }
    GridCellId GetFocusCell() const override { return {}; }
    CGridCtrl* GetCurrentGrid() const override { return nullptr; }
    void MarkCurrentTableModified() override {}
    void ApplyGridFont() override { appliedSizes.append(settings.GridFontSize); }

    const CarvestoneSettings& settings;
    QList<int> appliedSizes;
};

class OptionsCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("WINEPREFIX", temp.filePath(QStringLiteral("no-wine")).toLocal8Bit());
        CarvestoneSettings::OpenStore()->clear();
        archive = TestFiles::Write(temp.filePath(QStringLiteral("patch_d2.mpq")), "MPQ\x1a");
    }

    static QString Stored(const QString& name)
    {
        return CarvestoneSettings::OpenStore()->value(QStringLiteral("Settings/") + name).toString();
    }

    static void Retype(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    // Shows the real sheet when the program runs it, lets fill() work on
    // it as a person would, then presses the button.
    void AnswerSheet(std::function<void(CMODPropertySheet&)> fill, QDialogButtonBox::StandardButton button)
    {
        dialogs.AnswerDialog([fill, button](QDialog& dialog) {
            auto& sheet = dynamic_cast<CMODPropertySheet&>(dialog);
            sheet.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&sheet));
            fill(sheet);
            QTest::mouseClick(sheet.Buttons()->button(button), Qt::LeftButton);
            return sheet.result();
        });
    }

    void AnswerNewProject(const QString& name)
    {
        dialogs.AnswerDialog([name](QDialog& dialog) {
            auto& newProject = dynamic_cast<CNewProjectDlg&>(dialog);
            newProject.NameEdit()->setText(name);
            newProject.accept();
            return newProject.result();
        });
    }

    QTemporaryDir temp;
    QString archive;
    ScriptedDialogs dialogs;
};

TEST_F(OptionsCommandTest, AFirstStartShowsTheSheetThenNewAndTheNextStartOpensTheProjectWithoutIt)
{
    const QString mods = temp.filePath(QStringLiteral("Documents/MODs"));
    const QString programFolder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    AnswerSheet([&](CMODPropertySheet& sheet) {
        // A writable program folder offers its own MODs folder and demo archive.
        EXPECT_EQ(sheet.PathsPage()->ModsPathEdit()->text(), QDir::toNativeSeparators(programFolder + "MODs"));
        EXPECT_EQ(sheet.PathsPage()->MpqPathEdit()->text(), QDir::toNativeSeparators(programFolder + "demo/patch_d2.mpq"));
        Retype(sheet.PathsPage()->ModsPathEdit(), QDir::toNativeSeparators(mods));
        QTest::mouseClick(sheet.PathsPage()->BrowseMpqButton(), Qt::LeftButton);
        QTest::mouseClick(sheet.PathsPage()->UseCompressionBox(), Qt::LeftButton);
    }, QDialogButtonBox::Ok);
    dialogs.AnswerFile(archive);
    dialogs.AnswerMessage(UserDialogs::IdNo); // no safe-keeping copy
    AnswerNewProject(QStringLiteral("First"));
    {
        CCarvestoneApp first;
        ASSERT_TRUE(first.InitInstance({}));
        EXPECT_TRUE(dialogs.AllAnswersUsed());
        EXPECT_EQ(first.Document()->GetPathName(), mods + QStringLiteral("/First/First.mod"));
    }
    EXPECT_EQ(Stored(QStringLiteral("MODs Path")), mods + QLatin1Char('/'));
    EXPECT_EQ(Stored(QStringLiteral("Diablo II MPQ")), archive);
    EXPECT_EQ(Stored(QStringLiteral("Grid Font")), QStringLiteral("Arial, 9, Regular")) << "the unseen font page";
    EXPECT_EQ(Stored(QStringLiteral("Use Compression")), QStringLiteral("0"));
    EXPECT_EQ(Stored(QStringLiteral("Open Most Recent")), QStringLiteral("1"));

    // No answers queued: a sheet or a New dialog now would fail the test.
    CCarvestoneApp next;
    ASSERT_TRUE(next.InitInstance({}));
    EXPECT_EQ(next.Document()->GetPathName(), mods + QStringLiteral("/First/First.mod"));
    EXPECT_EQ(dialogs.Messages().size(), 1) << "only the first start's copy question";
}

TEST_F(OptionsCommandTest, TheOptionsCommandIsAlwaysThereAndTheFontIsReappliedAfterCancelAndOk)
{
    CarvestoneSettings::OpenStore()->setValue(QStringLiteral("Settings/MODs Path"), temp.filePath(QStringLiteral("MODs/")));
    CarvestoneSettings::OpenStore()->setValue(QStringLiteral("Settings/Diablo II MPQ"), archive);
    dialogs.AnswerDialog([](QDialog&) { return int(QDialog::Rejected); });
    CCarvestoneApp app;
    ASSERT_TRUE(app.InitInstance({}));
    FontRecordingView view(app.Settings());
    app.MainFrame()->SetTableView(&view);
    app.MainFrame()->UpdateCommandUi();
    ASSERT_NE(app.MainFrame()->Action(CommandId::Options), nullptr);
    EXPECT_TRUE(app.MainFrame()->Action(CommandId::Options)->isEnabled());

    AnswerSheet([](CMODPropertySheet& sheet) {
        Retype(sheet.PathsPage()->ModsPathEdit(), QStringLiteral("typed but cancelled"));
    }, QDialogButtonBox::Cancel);
    EXPECT_TRUE(app.MainFrame()->RouteCommand(CommandId::Options));
    EXPECT_EQ(view.appliedSizes, QList<int>({9}));
    EXPECT_FALSE(CarvestoneSettings::OpenStore()->contains(QStringLiteral("Settings/Grid Font")));

    AnswerSheet([](CMODPropertySheet& sheet) {
        QTabBar* tabs = sheet.Tabs()->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        Retype(sheet.FontPage()->SizeCombo()->lineEdit(), QStringLiteral("12"));
    }, QDialogButtonBox::Ok);
    dialogs.AnswerMessage(UserDialogs::IdNo); // no safe-keeping copy
    app.MainFrame()->RouteCommand(CommandId::Options);
    EXPECT_EQ(view.appliedSizes, QList<int>({9, 12})) << "the view takes the font after it is stored";
    EXPECT_TRUE(Stored(QStringLiteral("Grid Font")).endsWith(QStringLiteral(", 12, Regular")));
    EXPECT_TRUE(dialogs.AllAnswersUsed());
    app.MainFrame()->SetTableView(nullptr);
}

} // namespace
