#include "app/CCarvestoneApp.h"

#include "ScriptedDialogs.h"
#include "ScriptedOptionsSheet.h"
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
#include <memory>
#include <optional>
#include <tuple>

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

const QByteArray Header("Carvestone Project File Version 1.0\n");

class CCarvestoneAppTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("WINEPREFIX", temp.filePath(QStringLiteral("no-wine")).toLocal8Bit());
        QDir(temp.path()).mkdir(QStringLiteral("mods"));
        Store()->clear();
    }

    static std::unique_ptr<QSettings> Store() { return CarvestoneSettings::OpenStore(); }
    static QString Stored(const QString& key) { return Store()->value(key).toString(); }

    QString Mods() const { return temp.path() + QStringLiteral("/mods/"); }
    void StoreModsPath() { Store()->setValue(QStringLiteral("Settings/MODs Path"), Mods()); }
    QString WriteProject(const QString& name, const QByteArray& bytes = Header)
    {
        return TestFiles::Write(temp.filePath(name), bytes);
    }

    // Types the name into "Create New Project" and presses OK; none cancels.
    void AnswerNewProject(std::optional<QString> name)
    {
        dialogs.AnswerDialog([name](QDialog& dialog) {
            if (!name)
                return int(QDialog::Rejected);
            auto& newProject = dynamic_cast<CNewProjectDlg&>(dialog);
            newProject.setResult(QDialog::Rejected);
            newProject.NameEdit()->setText(*name);
            newProject.accept();
            return newProject.result();
        });
    }

    // Starts with a stored MODs path and the project, or cancels New without.
    void Start(const QString& project = {})
    {
        StoreModsPath();
        if (project.isEmpty())
            AnswerNewProject(std::nullopt);
        ASSERT_TRUE(app.InitInstance(project.isEmpty() ? QStringList() : QStringList{project}));
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

    QString LastMessage() const { return dialogs.Messages().isEmpty() ? QString() : dialogs.Messages().last().text; }

    QTemporaryDir temp;
    ScriptedDialogs dialogs;
    CCarvestoneApp app;
};

TEST_F(CCarvestoneAppTest, TheMostRecentProjectOpensOnlyWhenItExistsAndIsWanted)
{
    StoreModsPath();
    const QString recent = WriteProject(QStringLiteral("Recent.mod"));
    const QString gone = temp.filePath(QStringLiteral("gone.mod"));
    for (const auto& [file1, openMostRecent, opens] :
         {std::tuple{recent, 1, true}, std::tuple{gone, 1, false}, std::tuple{recent, 0, false}}) {
        SCOPED_TRACE(file1.toStdString() + (openMostRecent ? " wanted" : " not wanted"));
        Store()->setValue(QStringLiteral("Recent File List/File1"), file1);
        Store()->setValue(QStringLiteral("Settings/Open Most Recent"), openMostRecent);
        if (!opens)
            AnswerNewProject(std::nullopt);
        CCarvestoneApp started;
        ASSERT_TRUE(started.InitInstance({}));
        EXPECT_EQ(started.Document()->GetPathName(), opens ? recent : QString());
        EXPECT_TRUE(dialogs.AllAnswersUsed());
        EXPECT_TRUE(dialogs.Messages().isEmpty());
    }
}

TEST_F(CCarvestoneAppTest, ABrokenMostRecentProjectIsReportedDroppedAndNewFollows)
{
    StoreModsPath();
    Store()->setValue(QStringLiteral("Recent File List/File1"),
                      WriteProject(QStringLiteral("Broken.mod"), "not a project\n"));
    dialogs.AnswerMessage(UserDialogs::IdOk);
    AnswerNewProject(QStringLiteral("Fresh"));
    ASSERT_TRUE(app.InitInstance({}));

    EXPECT_EQ(dialogs.Messages()[0].text, QStringLiteral("Broken.mod has a bad format."));
    const QString fresh = Mods() + QStringLiteral("Fresh/Fresh.mod");
    EXPECT_EQ(app.Document()->GetPathName(), fresh);
    EXPECT_EQ(Stored(QStringLiteral("Recent File List/File1")), fresh);
}

TEST_F(CCarvestoneAppTest, TheCommandLineProjectWinsAndOneThatFailsEndsTheStart)
{
    const QString named = WriteProject(QStringLiteral("Named.mod"));
    Store()->setValue(QStringLiteral("Recent File List/File1"), WriteProject(QStringLiteral("Recent.mod")));
    Start(named);
    EXPECT_EQ(app.Document()->GetPathName(), named);
    EXPECT_EQ(app.Settings().RecentFiles.value(0), named);

    CCarvestoneApp second;
    dialogs.AnswerMessage(UserDialogs::IdOk);
    EXPECT_FALSE(second.InitInstance({temp.filePath(QStringLiteral("absent.mod"))}));
    EXPECT_TRUE(LastMessage().endsWith(QStringLiteral("absent.mod was not found.")));
}

TEST_F(CCarvestoneAppTest, TheNewCommandLoopsUntilAProjectIsCreatedOrCancelled)
{
    Start();
    QDir(Mods()).mkdir(QStringLiteral("Taken"));
    for (const QString& name : {QStringLiteral("Taken"), QString()}) {
        AnswerNewProject(name);
        dialogs.AnswerMessage(UserDialogs::IdOk);
    }
    AnswerNewProject(QStringLiteral("Test"));
    app.OnFileNew();
    const auto& shown = dialogs.Messages();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0].owner, app.MainFrame()) << "without an owner the main window owns the box";
    const QString failed = QStringLiteral("Failed to create the directory \"%1\"");
    EXPECT_EQ(shown[0].text, failed.arg(QDir::toNativeSeparators(Mods() + QStringLiteral("Taken"))));
    EXPECT_EQ(shown[1].text, failed.arg(QDir::toNativeSeparators(Mods())));
    EXPECT_EQ(app.Document()->GetPathName(), Mods() + QStringLiteral("Test/Test.mod"));
}

TEST_F(CCarvestoneAppTest, ARecentEntryThatFailsToOpenLeavesTheListButACancelDoesNot)
{
    const QString current = WriteProject(QStringLiteral("Current.mod"));
    const QString older = WriteProject(QStringLiteral("Older.mod"));
    Start(older);
    ASSERT_TRUE(app.OpenDocumentFile(current));
    ASSERT_EQ(app.Settings().RecentFiles, QStringList({current, older}));

    app.Document()->AddFile(QStringLiteral("changed.txt"));
    dialogs.AnswerMessage(UserDialogs::IdCancel);
    EXPECT_TRUE(app.MainFrame()->RouteCommand(CommandId::RecentFileFirst + 1));
    EXPECT_EQ(app.Settings().RecentFiles, QStringList({current, older}));

    app.Document()->SetModifiedFlag(false);
    QFile::remove(older);
    dialogs.AnswerMessage(UserDialogs::IdOk);
    app.MainFrame()->RouteCommand(CommandId::RecentFileFirst + 1);
    EXPECT_TRUE(LastMessage().contains(QStringLiteral("Older.mod was not found.")));
    EXPECT_EQ(app.Settings().RecentFiles, QStringList({current}));
    EXPECT_FALSE(Store()->contains(QStringLiteral("Recent File List/File2")));
}

TEST_F(CCarvestoneAppTest, DroppedFilesOpenInTurnAndAShellRequestWaitsForAnOpenQuestion)
{
    Start();
    const QString first = WriteProject(QStringLiteral("First.mod"));
    const QString second = WriteProject(QStringLiteral("Second.mod"));
    Q_EMIT app.MainFrame()->FilesDropped({first, second});
    EXPECT_EQ(app.Settings().RecentFiles, QStringList({second, first}));

    auto question = std::make_unique<QDialog>(app.MainFrame());
    question->setModal(true);
    question->show();
    app.OnShellOpenRequest(first);
    QTest::qWait(100);
    EXPECT_EQ(app.Document()->GetPathName(), second) << "nothing opens under a modal window";
    question.reset();
    EXPECT_TRUE(QTest::qWaitFor([&] { return app.Document()->GetPathName() == first; }, 5000));
}

TEST_F(CCarvestoneAppTest, ExitAsksAboutChangesAndCancelKeepsTheProgramRunning)
{
    const QString project = WriteProject(QStringLiteral("P.mod"));
    Start(project);
    app.Document()->AddFile(QStringLiteral("x.txt"));
    dialogs.AnswerMessage(UserDialogs::IdCancel);
    app.MainFrame()->RouteCommand(CommandId::Exit);
    EXPECT_TRUE(app.MainFrame()->isVisible());
    EXPECT_EQ(LastMessage(), QStringLiteral("Save changes to P.mod?"));
    dialogs.AnswerMessage(UserDialogs::IdYes);
    app.MainFrame()->RouteCommand(CommandId::Exit);
    EXPECT_FALSE(app.MainFrame()->isVisible());
    EXPECT_EQ(TestFiles::Read(project), Header + "x.txt\n");
}

TEST_F(CCarvestoneAppTest, AFirstStartShowsTheSheetThenNewAndTheNextStartOpensTheProjectWithoutIt)
{
    const QString archive = WriteProject(QStringLiteral("patch_d2.mpq"), "MPQ\x1a");
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
    EXPECT_EQ(Stored(QStringLiteral("Settings/MODs Path")), mods + QLatin1Char('/'));
    EXPECT_EQ(Stored(QStringLiteral("Settings/Diablo II MPQ")), archive);
    EXPECT_EQ(Stored(QStringLiteral("Settings/Grid Font")), QStringLiteral("Arial, 9, Regular")) << "the unseen font page";
    EXPECT_EQ(Stored(QStringLiteral("Settings/Use Compression")), QStringLiteral("0"));
    EXPECT_EQ(Stored(QStringLiteral("Settings/Open Most Recent")), QStringLiteral("1"));

    // No answers queued: a sheet or a New dialog now would fail the test.
    CCarvestoneApp next;
    ASSERT_TRUE(next.InitInstance({}));
    EXPECT_EQ(next.Document()->GetPathName(), mods + QStringLiteral("/First/First.mod"));
    EXPECT_EQ(dialogs.Messages().size(), 1) << "only the first start's copy question";
}

TEST_F(CCarvestoneAppTest, TheOptionsCommandIsAlwaysThereAndTheFontIsReappliedAfterCancelAndOk)
{
    Store()->setValue(QStringLiteral("Settings/Diablo II MPQ"), WriteProject(QStringLiteral("patch_d2.mpq"), "MPQ\x1a"));
    Start();
    EXPECT_EQ(app.MainFrame()->windowTitle(), QStringLiteral("Untitled - Carvestone"));
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
    EXPECT_EQ(Store()->allKeys().filter(QStringLiteral("Settings/")).size(), 2) << "only the two stored before";

    AnswerSheet([](CMODPropertySheet& sheet) {
        QTabBar* tabs = sheet.Tabs()->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        Retype(sheet.FontPage()->SizeCombo()->lineEdit(), QStringLiteral("12"));
    }, QDialogButtonBox::Ok);
    dialogs.AnswerMessage(UserDialogs::IdNo); // no safe-keeping copy
    app.MainFrame()->RouteCommand(CommandId::Options);
    EXPECT_EQ(view.appliedSizes, QList<int>({9, 12})) << "the view takes the font after it is stored";
    EXPECT_TRUE(Stored(QStringLiteral("Settings/Grid Font")).endsWith(QStringLiteral(", 12, Regular")));
    EXPECT_TRUE(dialogs.AllAnswersUsed());
    app.MainFrame()->SetTableView(nullptr);
}

class EditOptionsTest : public CCarvestoneAppTest
{
protected:
    void SetUp() override
    {
        CCarvestoneAppTest::SetUp();
        Start();
        programFolder = temp.path() + QStringLiteral("/program/");
        QDir().mkpath(programFolder);
        app.Settings().ProgramFolder = programFolder;
        app.Settings().GameMpqPath = programFolder + QStringLiteral("patch_d2.mpq");
    }

    // Edits the sheet's values, presses OK and expects the options taken.
    void EditWithOk(std::function<void(OptionsValues&)> edit)
    {
        sheet.Answer([edit](OptionsValues& values) {
            edit(values);
            return true;
        });
        ASSERT_TRUE(app.EditOptions());
    }

    QString programFolder;
    ScriptedOptionsSheet sheet;
};

TEST_F(EditOptionsTest, OkStoresAllFiveValuesEvenUnchangedWithTheModsSlash)
{
    Store()->clear();
    EditWithOk([](OptionsValues&) {});
    EXPECT_EQ(Store()->allKeys().filter(QStringLiteral("Settings/")).size(), 5);

    const QString typed = temp.filePath(QStringLiteral("typed"));
    EditWithOk([&](OptionsValues& values) { values.modsPath = typed; });
    EXPECT_EQ(Stored(QStringLiteral("Settings/MODs Path")), typed + QLatin1Char('/'));
    EXPECT_TRUE(QFileInfo(typed).isDir());
}

// The safe-keeping copy beside the program: made on Yes, an older one
// replaced only on a second Yes, and a copy that fails keeps the original.
TEST_F(EditOptionsTest, AnArchiveOutsideTheProgramFolderIsCopiedBesideIt)
{
    const QString outside = WriteProject(QStringLiteral("patch_d2.mpq"), "newer");
    const QString copy = programFolder + QStringLiteral("patch_d2.mpq");
    const auto choose = [&](std::initializer_list<int> answers) {
        for (const int answer : answers)
            dialogs.AnswerMessage(answer);
        EditWithOk([&](OptionsValues& values) { values.gameMpqPath = outside; });
    };
    choose({UserDialogs::IdYes});
    EXPECT_EQ(dialogs.Messages()[0].text,
              QStringLiteral("Copy the MPQ file to Carvestone's base path for safe keeping?\n(recommended)"));
    EXPECT_EQ(Stored(QStringLiteral("Settings/Diablo II MPQ")), copy);
    EXPECT_EQ(TestFiles::Read(copy), QByteArray("newer"));

    TestFiles::Write(copy, "older");
    choose({UserDialogs::IdYes, UserDialogs::IdNo});
    EXPECT_EQ(LastMessage(), QStringLiteral("An older copy of the MPQ file is kept at %1.\nReplace it with %2?")
                                 .arg(QDir::toNativeSeparators(copy), QDir::toNativeSeparators(outside)));
    EXPECT_EQ(TestFiles::Read(copy), QByteArray("older"));
    EXPECT_EQ(Stored(QStringLiteral("Settings/Diablo II MPQ")), outside);
    choose({UserDialogs::IdYes, UserDialogs::IdYes});
    EXPECT_EQ(TestFiles::Read(copy), QByteArray("newer"));
    EXPECT_EQ(Stored(QStringLiteral("Settings/Diablo II MPQ")), copy);

    QFile::remove(copy);
    QDir().mkdir(copy); // a folder in the way: nothing can replace it
    choose({UserDialogs::IdYes, UserDialogs::IdYes, UserDialogs::IdOk});
    EXPECT_EQ(Stored(QStringLiteral("Settings/Diablo II MPQ")), outside);
    EXPECT_TRUE(LastMessage().contains(QDir::toNativeSeparators(copy)));
}

TEST_F(EditOptionsTest, AProgramFolderThatCannotBeWrittenKeepsTheCopyBesideTheSettingsAndAsksOnlyOnce)
{
    const QString outside = WriteProject(QStringLiteral("patch_d2.mpq"), "MPQ\x1a");
    app.Settings().ProgramFolder = WriteProject(QStringLiteral("installed"), "x") + QStringLiteral("/");
    dialogs.AnswerMessage(UserDialogs::IdYes);
    EditWithOk([&](OptionsValues& values) { values.gameMpqPath = outside; });
    const QString besideSettings = QFileInfo(Store()->fileName()).absolutePath() + QStringLiteral("/patch_d2.mpq");
    EXPECT_EQ(Stored(QStringLiteral("Settings/Diablo II MPQ")), besideSettings);
    EXPECT_EQ(TestFiles::Read(besideSettings), QByteArray("MPQ\x1a"));

    EditWithOk([](OptionsValues&) {});
    EXPECT_EQ(dialogs.Messages().size(), 1) << "the kept copy is not offered for copying again";
    QFile::remove(besideSettings);
}

} // namespace
