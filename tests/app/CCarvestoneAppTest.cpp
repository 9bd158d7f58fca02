#include "app/CCarvestoneApp.h"

#include "ScriptedDialogs.h"
#include "ScriptedOptionsSheet.h"
#include "TestFiles.h"
#include "grid/CGridCtrl.h"
#include "mainframe/CMainFrame.h"
#include "mainframe/CommandIds.h"
#include "project/CNewProjectDlg.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

#include <gtest/gtest.h>

namespace {

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

    // Types a name into "Create New Project" and presses OK.
    void AnswerNewProject(const QString& name)
    {
        dialogs.AnswerDialog([name](QDialog& dialog) {
            auto& newProject = dynamic_cast<CNewProjectDlg&>(dialog);
            newProject.setResult(QDialog::Rejected);
            newProject.NameEdit()->setText(name);
            newProject.accept();
            return newProject.result();
        });
    }

    void CancelNewProject()
    {
        dialogs.AnswerDialog([](QDialog&) { return int(QDialog::Rejected); });
    }

    // Starts with a stored MODs path and a project named on the command
    // line, or the New dialog cancelled when there is none.
    void Start(const QString& project = {})
    {
        StoreModsPath();
        if (project.isEmpty())
            CancelNewProject();
        ASSERT_TRUE(app.InitInstance(project.isEmpty() ? QStringList() : QStringList{project}));
    }

    QString LastMessage() const { return dialogs.Messages().isEmpty() ? QString() : dialogs.Messages().last().text; }

    QTemporaryDir temp;
    ScriptedDialogs dialogs;
    ScriptedOptionsSheet sheet;
    CCarvestoneApp app;
};

TEST_F(CCarvestoneAppTest, TheFirstRunShowsTheOptionsThenTheNewDialogAndStoresEverything)
{
    const QString programFolder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    const QString chosenMods = temp.filePath(QStringLiteral("first-mods"));
    sheet.Answer([&](OptionsValues& values) {
        values.modsPath = chosenMods;
        return true;
    });
    CancelNewProject();
    ASSERT_TRUE(app.InitInstance({}));

    ASSERT_EQ(sheet.Shown().size(), 1);
    EXPECT_EQ(sheet.Shown()[0].modsPath, programFolder + QStringLiteral("MODs/"));
    EXPECT_TRUE(dialogs.Messages().isEmpty()) << "the demo archive lies under the program's folder";
    EXPECT_TRUE(QFileInfo(chosenMods).isDir());
    EXPECT_TRUE(app.MainFrame()->isVisible());
    EXPECT_EQ(app.MainFrame()->windowTitle(), QStringLiteral("Untitled - Carvestone"));

    EXPECT_EQ(Stored(QStringLiteral("Settings/MODs Path")), chosenMods + QLatin1Char('/'));
    EXPECT_EQ(Stored(QStringLiteral("Settings/Diablo II MPQ")), programFolder + QStringLiteral("demo/patch_d2.mpq"));
    EXPECT_EQ(Stored(QStringLiteral("Settings/Grid Font")), QStringLiteral("Arial, 9, Regular"));
    EXPECT_EQ(Stored(QStringLiteral("Settings/Use Compression")), QStringLiteral("1"));
    EXPECT_EQ(Stored(QStringLiteral("Settings/Open Most Recent")), QStringLiteral("1"));
}

TEST_F(CCarvestoneAppTest, TheMostRecentProjectOpensOnlyWhenItExistsAndIsWanted)
{
    StoreModsPath();
    const QString recent = WriteProject(QStringLiteral("Recent.mod"));
    struct Case
    {
        const char* name;
        QString file1;
        int openMostRecent;
        bool opens;
    };
    const QString gone = temp.filePath(QStringLiteral("gone.mod"));
    for (const Case& c : {Case{"wanted", recent, 1, true}, Case{"gone", gone, 1, false},
                          Case{"not wanted", recent, 0, false}}) {
        SCOPED_TRACE(c.name);
        Store()->setValue(QStringLiteral("Recent File List/File1"), c.file1);
        Store()->setValue(QStringLiteral("Settings/Open Most Recent"), c.openMostRecent);
        if (!c.opens)
            CancelNewProject();
        CCarvestoneApp started;
        ASSERT_TRUE(started.InitInstance({}));
        EXPECT_EQ(started.Document()->GetPathName(), c.opens ? recent : QString());
        EXPECT_TRUE(dialogs.AllAnswersUsed());
        EXPECT_TRUE(dialogs.Messages().isEmpty());
    }
}

TEST_F(CCarvestoneAppTest, ABrokenMostRecentProjectIsReportedDroppedAndNewFollows)
{
    StoreModsPath();
    const QString broken = WriteProject(QStringLiteral("Broken.mod"), "not a project\n");
    Store()->setValue(QStringLiteral("Recent File List/File1"), broken);
    dialogs.AnswerMessage(UserDialogs::IdOk);
    AnswerNewProject(QStringLiteral("Fresh"));
    ASSERT_TRUE(app.InitInstance({}));

    EXPECT_EQ(dialogs.Messages()[0].text, QStringLiteral("Broken.mod has a bad format."));
    const QString fresh = Mods() + QStringLiteral("Fresh/Fresh.mod");
    EXPECT_EQ(app.Document()->GetPathName(), fresh);
    EXPECT_EQ(app.Settings().RecentFiles, QStringList({fresh}));
    EXPECT_EQ(Stored(QStringLiteral("Recent File List/File1")), fresh);
    EXPECT_FALSE(Store()->contains(QStringLiteral("Recent File List/File2")));
}

TEST_F(CCarvestoneAppTest, TheCommandLineProjectWinsAndOneThatFailsEndsTheStart)
{
    const QString named = WriteProject(QStringLiteral("Named.mod"));
    Store()->setValue(QStringLiteral("Recent File List/File1"), WriteProject(QStringLiteral("Recent.mod")));
    Start(named);
    EXPECT_EQ(app.Document()->GetPathName(), named);
    EXPECT_EQ(app.MainFrame()->windowTitle(), QStringLiteral("Named.mod - Carvestone"));
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
    AnswerNewProject(QStringLiteral("Taken"));
    dialogs.AnswerMessage(UserDialogs::IdOk);
    AnswerNewProject(QString());
    dialogs.AnswerMessage(UserDialogs::IdOk);
    AnswerNewProject(QStringLiteral("Test"));
    app.OnFileNew();
    const auto& shown = dialogs.Messages();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0].owner, app.MainFrame()) << "without an owner the main window owns the box";
    EXPECT_EQ(shown[0].caption, QStringLiteral("Carvestone"));
    EXPECT_EQ(shown[0].type, UserDialogs::TypeOk);
    const QString failed = QStringLiteral("Failed to create the directory \"%1\"");
    EXPECT_EQ(shown[0].text, failed.arg(QDir::toNativeSeparators(Mods() + QStringLiteral("Taken"))));
    EXPECT_EQ(shown[1].text, failed.arg(QDir::toNativeSeparators(Mods())));
    EXPECT_EQ(app.Document()->GetPathName(), Mods() + QStringLiteral("Test/Test.mod"));

    // Test exists now; cancelling the save question of the changed project
    // keeps the new files and brings the dialog back with the name.
    app.Document()->AddFile(QStringLiteral("changed.txt"));
    AnswerNewProject(QStringLiteral("Test"));
    dialogs.AnswerMessage(UserDialogs::IdOk);
    AnswerNewProject(QStringLiteral("Other"));
    dialogs.AnswerMessage(UserDialogs::IdCancel);
    dialogs.AnswerDialog([](QDialog& dialog) {
        EXPECT_EQ(dynamic_cast<CNewProjectDlg&>(dialog).Name(), QStringLiteral("Other"));
        return int(QDialog::Rejected);
    });
    app.OnFileNew();
    EXPECT_EQ(shown[2].text,
              QStringLiteral("A project with the name \"Test\" already exists. Please choose another name."));
    EXPECT_EQ(app.Document()->GetPathName(), Mods() + QStringLiteral("Test/Test.mod"));
    EXPECT_TRUE(QFileInfo::exists(Mods() + QStringLiteral("Other/Other.mod")));
    EXPECT_TRUE(dialogs.AllAnswersUsed());
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
    EXPECT_EQ(Stored(QStringLiteral("Recent File List/File1")), current);
    EXPECT_FALSE(Store()->contains(QStringLiteral("Recent File List/File2")));
}

TEST_F(CCarvestoneAppTest, DroppedFilesOpenInTurnAndAShellRequestWaitsForAnOpenQuestion)
{
    Start();
    const QString first = WriteProject(QStringLiteral("First.mod"));
    const QString second = WriteProject(QStringLiteral("Second.mod"));
    Q_EMIT app.MainFrame()->FilesDropped({first, second});
    EXPECT_EQ(app.Document()->GetPathName(), second);
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

TEST_F(CCarvestoneAppTest, AboutShowsTheVersionAndThreeCreditLines)
{
    Start();
    dialogs.AnswerDialog([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("About Carvestone"));
        const auto labels = dialog.findChildren<QLabel*>();
        EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [](const QLabel* label) {
            return label->text() == QStringLiteral("Carvestone Version 1.02");
        }));
        EXPECT_EQ(dialog.findChild<QPlainTextEdit*>()->toPlainText().count(QLatin1Char('\n')), 2);
        return int(QDialog::Accepted);
    });
    EXPECT_TRUE(app.MainFrame()->RouteCommand(CommandId::About));
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}

TEST_F(CCarvestoneAppTest, TheGridsFailuresAreShownInAMessageBoxOwnedByTheMainWindow)
{
    Start();
    CGridCtrl grid(2, 2);
    dialogs.AnswerMessage(UserDialogs::IdOk);
    grid.PasteText({0, 0}, QStringLiteral("a\u4e00b"));
    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_EQ(dialogs.Messages()[0].owner, app.MainFrame());
    EXPECT_EQ(dialogs.Messages()[0].caption, QStringLiteral("Carvestone"));
    EXPECT_EQ(dialogs.Messages()[0].type, UserDialogs::TypeOk);
    EXPECT_EQ(grid.GetCellText(0, 0), QStringLiteral("ab"));
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
    }

    void AnswerSheet(std::function<void(OptionsValues&)> edit)
    {
        sheet.Answer([edit](OptionsValues& values) {
            edit(values);
            return true;
        });
    }

    QString programFolder;
};

TEST_F(EditOptionsTest, TheModsPathGetsItsSlashAndAnEmptyOneIsStoredAsASlash)
{
    const QString typed = temp.filePath(QStringLiteral("typed"));
    AnswerSheet([&](OptionsValues& values) {
        values.modsPath = typed;
        values.gameMpqPath = programFolder + QStringLiteral("patch_d2.mpq");
    });
    ASSERT_TRUE(app.EditOptions());
    EXPECT_EQ(Stored(QStringLiteral("Settings/MODs Path")), typed + QLatin1Char('/'));
    EXPECT_TRUE(QFileInfo(typed).isDir());

    AnswerSheet([&](OptionsValues& values) { values.modsPath.clear(); });
    ASSERT_TRUE(app.EditOptions());
    EXPECT_EQ(Stored(QStringLiteral("Settings/MODs Path")), QStringLiteral("/"));
}

TEST_F(EditOptionsTest, AnArchiveOutsideTheProgramFolderIsCopiedBesideItOnYes)
{
    // Under the program's folder, whatever the case, nothing is asked.
    AnswerSheet([&](OptionsValues& values) { values.gameMpqPath = programFolder.toUpper() + "d2.mpq"; });
    ASSERT_TRUE(app.EditOptions());
    EXPECT_TRUE(dialogs.Messages().isEmpty());

    const QString outside = WriteProject(QStringLiteral("patch_d2.mpq"), "MPQ\x1a archive bytes");
    AnswerSheet([&](OptionsValues& values) { values.gameMpqPath = outside; });
    dialogs.AnswerMessage(UserDialogs::IdYes);
    ASSERT_TRUE(app.EditOptions());
    EXPECT_EQ(dialogs.Messages()[0].text,
              QStringLiteral("Copy the MPQ file to Carvestone's base path for safe keeping?\n(recommended)"));
    EXPECT_EQ(dialogs.Messages()[0].type, UserDialogs::TypeYesNo);
    const QString copy = programFolder + QStringLiteral("patch_d2.mpq");
    EXPECT_EQ(Stored(QStringLiteral("Settings/Diablo II MPQ")), copy);
    EXPECT_EQ(TestFiles::Read(copy), QByteArray("MPQ\x1a archive bytes"));

    AnswerSheet([&](OptionsValues& values) { values.gameMpqPath = outside; });
    dialogs.AnswerMessage(UserDialogs::IdNo);
    ASSERT_TRUE(app.EditOptions());
    EXPECT_EQ(Stored(QStringLiteral("Settings/Diablo II MPQ")), outside);
}

TEST_F(EditOptionsTest, AFailedCopyKeepsTheChosenArchiveAndSaysSo)
{
    const QString outside = WriteProject(QStringLiteral("patch_d2.mpq"), "bytes");
    // The program's folder is a file: nothing can be copied into it.
    const QString blocked = WriteProject(QStringLiteral("blocked"), "x");
    app.Settings().ProgramFolder = blocked + QLatin1Char('/');
    AnswerSheet([&](OptionsValues& values) { values.gameMpqPath = outside; });
    dialogs.AnswerMessage(UserDialogs::IdYes);
    dialogs.AnswerMessage(UserDialogs::IdOk);
    ASSERT_TRUE(app.EditOptions());
    EXPECT_EQ(Stored(QStringLiteral("Settings/Diablo II MPQ")), outside);
    EXPECT_TRUE(LastMessage().contains(QDir::toNativeSeparators(outside)));
    EXPECT_TRUE(LastMessage().contains(QDir::toNativeSeparators(blocked + QStringLiteral("/patch_d2.mpq"))));
}

TEST_F(EditOptionsTest, OkStoresAllFiveValuesEvenUnchangedAndCancelStoresNothing)
{
    Store()->clear();
    sheet.Answer([](OptionsValues&) { return false; });
    EXPECT_FALSE(app.EditOptions());
    EXPECT_TRUE(Store()->allKeys().filter(QStringLiteral("Settings/")).isEmpty());

    AnswerSheet([&](OptionsValues& values) { values.gameMpqPath = programFolder + QStringLiteral("p.mpq"); });
    ASSERT_TRUE(app.EditOptions());
    Store()->clear();
    AnswerSheet([](OptionsValues&) {});
    ASSERT_TRUE(app.EditOptions());
    EXPECT_EQ(Store()->allKeys().filter(QStringLiteral("Settings/")).size(), 5);

    AnswerSheet([](OptionsValues& values) {
        values.gridFontName = QStringLiteral("Courier New");
        values.gridFontSize = 10;
        values.gridFontBold = values.gridFontItalic = true;
        values.useCompression = false;
    });
    ASSERT_TRUE(app.EditOptions());
    EXPECT_EQ(Stored(QStringLiteral("Settings/Grid Font")), QStringLiteral("Courier New, 10, Bold Italic"));
    EXPECT_EQ(Stored(QStringLiteral("Settings/Use Compression")), QStringLiteral("0"));
}

} // namespace
