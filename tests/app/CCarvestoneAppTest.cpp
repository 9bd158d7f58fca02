#include "app/CCarvestoneApp.h"

#include "ScriptedDialogs.h"
#include "ScriptedOptionsSheet.h"
#include "mainframe/CMainFrame.h"
#include "mainframe/CommandIds.h"
#include "project/CNewProjectDlg.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>

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

    QString Mods() const { return temp.path() + QStringLiteral("/mods/"); }

    void StoreModsPath() { Store()->setValue(QStringLiteral("Settings/MODs Path"), Mods()); }

    QString WriteProject(const QString& name, const QByteArray& bytes)
    {
        const QString path = temp.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
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
    EXPECT_EQ(sheet.Shown()[0].gameMpqPath, programFolder + QStringLiteral("demo/patch_d2.mpq"));
    EXPECT_EQ(sheet.Shown()[0].gridFontName, QStringLiteral("Arial"));
    EXPECT_TRUE(dialogs.Messages().isEmpty()) << "the demo archive lies under the program's folder";
    EXPECT_TRUE(QFileInfo(chosenMods).isDir());
    EXPECT_TRUE(app.MainFrame()->isVisible());
    EXPECT_EQ(app.MainFrame()->windowTitle(), QStringLiteral("Untitled - Carvestone"));

    const auto store = Store();
    EXPECT_EQ(store->value(QStringLiteral("Settings/MODs Path")).toString(), chosenMods + QLatin1Char('/'));
    EXPECT_EQ(store->value(QStringLiteral("Settings/Diablo II MPQ")).toString(),
              programFolder + QStringLiteral("demo/patch_d2.mpq"));
    EXPECT_EQ(store->value(QStringLiteral("Settings/Grid Font")).toString(), QStringLiteral("Arial, 9, Regular"));
    EXPECT_EQ(store->value(QStringLiteral("Settings/Use Compression")).toString(), QStringLiteral("1"));
    EXPECT_EQ(store->value(QStringLiteral("Settings/Open Most Recent")).toString(), QStringLiteral("1"));
}

TEST_F(CCarvestoneAppTest, TheMostRecentProjectOpensAtStart)
{
    StoreModsPath();
    const QString project = WriteProject(QStringLiteral("Recent.mod"), Header + "r.txt\n");
    Store()->setValue(QStringLiteral("Recent File List/File1"), project);
    ASSERT_TRUE(app.InitInstance({}));
    EXPECT_EQ(app.Document()->GetPathName(), project);
    EXPECT_EQ(app.MainFrame()->windowTitle(), QStringLiteral("Recent.mod - Carvestone"));
    EXPECT_TRUE(dialogs.AllAnswersUsed());
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
    EXPECT_EQ(Store()->value(QStringLiteral("Recent File List/File1")).toString(), fresh);
    EXPECT_FALSE(Store()->contains(QStringLiteral("Recent File List/File2")));
}

TEST_F(CCarvestoneAppTest, AMissingMostRecentProjectIsSkippedForTheNewDialog)
{
    StoreModsPath();
    Store()->setValue(QStringLiteral("Recent File List/File1"), temp.filePath(QStringLiteral("gone.mod")));
    CancelNewProject();
    ASSERT_TRUE(app.InitInstance({}));
    EXPECT_TRUE(app.Document()->GetPathName().isEmpty());
    EXPECT_TRUE(dialogs.Messages().isEmpty());
}

TEST_F(CCarvestoneAppTest, TheCommandLineProjectWinsAndOneThatFailsEndsTheStart)
{
    StoreModsPath();
    const QString recent = WriteProject(QStringLiteral("Recent.mod"), Header);
    const QString named = WriteProject(QStringLiteral("Named.mod"), Header);
    Store()->setValue(QStringLiteral("Recent File List/File1"), recent);
    ASSERT_TRUE(app.InitInstance({named}));
    EXPECT_EQ(app.Document()->GetPathName(), named);
    EXPECT_EQ(app.Settings().RecentFiles.value(0), named);

    CCarvestoneApp second;
    dialogs.AnswerMessage(UserDialogs::IdOk);
    EXPECT_FALSE(second.InitInstance({temp.filePath(QStringLiteral("absent.mod"))}));
    EXPECT_TRUE(LastMessage().endsWith(QStringLiteral("absent.mod was not found.")));
}

TEST_F(CCarvestoneAppTest, WithoutOpenMostRecentTheNewDialogComes)
{
    StoreModsPath();
    Store()->setValue(QStringLiteral("Settings/Open Most Recent"), 0);
    Store()->setValue(QStringLiteral("Recent File List/File1"), WriteProject(QStringLiteral("R.mod"), Header));
    CancelNewProject();
    ASSERT_TRUE(app.InitInstance({}));
    EXPECT_TRUE(app.Document()->GetPathName().isEmpty());
}

TEST_F(CCarvestoneAppTest, TheNewCommandLoopsUntilAProjectIsCreatedOrCancelled)
{
    StoreModsPath();
    QDir(Mods()).mkdir(QStringLiteral("Taken"));
    CancelNewProject();
    ASSERT_TRUE(app.InitInstance({}));

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
    EXPECT_EQ(shown[0].text, QStringLiteral("Failed to create the directory \"%1\"")
                                 .arg(QDir::toNativeSeparators(Mods() + QStringLiteral("Taken"))));
    EXPECT_EQ(shown[1].text,
              QStringLiteral("Failed to create the directory \"%1\"").arg(QDir::toNativeSeparators(Mods())));
    EXPECT_EQ(app.Document()->GetPathName(), Mods() + QStringLiteral("Test/Test.mod"));
    EXPECT_EQ(app.MainFrame()->windowTitle(), QStringLiteral("Test.mod - Carvestone"));

    AnswerNewProject(QStringLiteral("Test"));
    dialogs.AnswerMessage(UserDialogs::IdOk);
    CancelNewProject();
    app.OnFileNew();
    EXPECT_EQ(LastMessage(), QStringLiteral("A project with the name \"Test\" already exists. Please choose another name."));
    EXPECT_EQ(app.Document()->GetPathName(), Mods() + QStringLiteral("Test/Test.mod"));
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}

TEST_F(CCarvestoneAppTest, CancellingTheSaveQuestionDuringNewKeepsTheFilesAndAsksAgain)
{
    StoreModsPath();
    const QString current = WriteProject(QStringLiteral("Current.mod"), Header);
    ASSERT_TRUE(app.InitInstance({current}));
    app.Document()->AddFile(QStringLiteral("changed.txt"));

    AnswerNewProject(QStringLiteral("Other"));
    dialogs.AnswerMessage(UserDialogs::IdCancel);
    dialogs.AnswerDialog([](QDialog& dialog) {
        EXPECT_EQ(dynamic_cast<CNewProjectDlg&>(dialog).Name(), QStringLiteral("Other"));
        return int(QDialog::Rejected);
    });
    app.OnFileNew();
    EXPECT_EQ(app.Document()->GetPathName(), current);
    EXPECT_TRUE(QFileInfo::exists(Mods() + QStringLiteral("Other/Other.mod")));
}

TEST_F(CCarvestoneAppTest, ARecentEntryThatFailsToOpenLeavesTheListButACancelDoesNot)
{
    StoreModsPath();
    const QString current = WriteProject(QStringLiteral("Current.mod"), Header);
    const QString older = WriteProject(QStringLiteral("Older.mod"), Header);
    ASSERT_TRUE(app.InitInstance({older}));
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
    EXPECT_EQ(Store()->value(QStringLiteral("Recent File List/File1")).toString(), current);
    EXPECT_FALSE(Store()->contains(QStringLiteral("Recent File List/File2")));
}

TEST_F(CCarvestoneAppTest, DroppedFilesOpenOneAfterTheOtherAndAShellRequestOpensToo)
{
    StoreModsPath();
    CancelNewProject();
    ASSERT_TRUE(app.InitInstance({}));
    const QString first = WriteProject(QStringLiteral("First.mod"), Header);
    const QString second = WriteProject(QStringLiteral("Second.mod"), Header);
    Q_EMIT app.MainFrame()->FilesDropped({first, second});
    EXPECT_EQ(app.Document()->GetPathName(), second);
    EXPECT_EQ(app.Settings().RecentFiles, QStringList({second, first}));

    app.OnShellOpenRequest(first);
    EXPECT_EQ(app.Document()->GetPathName(), first);
}

TEST_F(CCarvestoneAppTest, ExitAsksAboutChangesAndCancelKeepsTheProgramRunning)
{
    StoreModsPath();
    const QString project = WriteProject(QStringLiteral("P.mod"), Header);
    ASSERT_TRUE(app.InitInstance({project}));
    app.Document()->AddFile(QStringLiteral("x.txt"));

    dialogs.AnswerMessage(UserDialogs::IdCancel);
    app.MainFrame()->RouteCommand(CommandId::Exit);
    EXPECT_TRUE(app.MainFrame()->isVisible());
    EXPECT_EQ(dialogs.Messages().last().text, QStringLiteral("Save changes to P.mod?"));

    dialogs.AnswerMessage(UserDialogs::IdYes);
    app.MainFrame()->RouteCommand(CommandId::Exit);
    EXPECT_FALSE(app.MainFrame()->isVisible());
    QFile file(project);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), Header + "x.txt\n");
}

TEST_F(CCarvestoneAppTest, AboutShowsTheVersionAndThreeCreditLines)
{
    StoreModsPath();
    CancelNewProject();
    ASSERT_TRUE(app.InitInstance({}));
    dialogs.AnswerDialog([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("About Carvestone"));
        const auto labels = dialog.findChildren<QLabel*>();
        EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [](const QLabel* label) {
            return label->text() == QStringLiteral("Carvestone Version 1.02");
        }));
        const auto* credits = dialog.findChild<QPlainTextEdit*>();
        EXPECT_TRUE(credits->isReadOnly());
        EXPECT_EQ(credits->toPlainText().split(QLatin1Char('\n')).size(), 3);
        return int(QDialog::Accepted);
    });
    EXPECT_TRUE(app.MainFrame()->RouteCommand(CommandId::About));
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}

class EditOptionsTest : public CCarvestoneAppTest
{
protected:
    void SetUp() override
    {
        CCarvestoneAppTest::SetUp();
        StoreModsPath();
        CancelNewProject();
        ASSERT_TRUE(app.InitInstance({}));
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

    QString StoredValue(const char* name) { return Store()->value(QStringLiteral("Settings/") + name).toString(); }

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
    EXPECT_EQ(StoredValue("MODs Path"), typed + QLatin1Char('/'));
    EXPECT_TRUE(QFileInfo(typed).isDir());

    AnswerSheet([&](OptionsValues& values) { values.modsPath.clear(); });
    ASSERT_TRUE(app.EditOptions());
    EXPECT_EQ(StoredValue("MODs Path"), QStringLiteral("/"));
}

TEST_F(EditOptionsTest, AnArchiveUnderTheProgramFolderAsksNothingWhateverTheCase)
{
    AnswerSheet([&](OptionsValues& values) { values.gameMpqPath = programFolder.toUpper() + QStringLiteral("d2.mpq"); });
    ASSERT_TRUE(app.EditOptions());
    EXPECT_TRUE(dialogs.Messages().isEmpty());
    EXPECT_EQ(app.Settings().GameMpqPath, programFolder.toUpper() + QStringLiteral("d2.mpq"));
}

TEST_F(EditOptionsTest, YesCopiesTheArchiveBesideTheProgram)
{
    const QString outside = WriteProject(QStringLiteral("patch_d2.mpq"), "MPQ\x1a archive bytes");
    AnswerSheet([&](OptionsValues& values) { values.gameMpqPath = outside; });
    dialogs.AnswerMessage(UserDialogs::IdYes);
    ASSERT_TRUE(app.EditOptions());
    EXPECT_EQ(dialogs.Messages()[0].text,
              QStringLiteral("Copy the MPQ file to Carvestone's base path for safe keeping?\n(recommended)"));
    EXPECT_EQ(dialogs.Messages()[0].type, UserDialogs::TypeYesNo);
    const QString copy = programFolder + QStringLiteral("patch_d2.mpq");
    EXPECT_EQ(StoredValue("Diablo II MPQ"), copy);
    QFile file(copy);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("MPQ\x1a archive bytes"));

    AnswerSheet([&](OptionsValues& values) { values.gameMpqPath = outside; });
    dialogs.AnswerMessage(UserDialogs::IdNo);
    ASSERT_TRUE(app.EditOptions());
    EXPECT_EQ(StoredValue("Diablo II MPQ"), outside);
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
    EXPECT_EQ(StoredValue("Diablo II MPQ"), outside);
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
    AnswerSheet([](OptionsValues&) {});
    Store()->clear();
    ASSERT_TRUE(app.EditOptions());
    EXPECT_EQ(Store()->allKeys().filter(QStringLiteral("Settings/")).size(), 5);

    AnswerSheet([](OptionsValues& values) {
        values.gridFontName = QStringLiteral("Courier New");
        values.gridFontSize = 10;
        values.gridFontBold = true;
        values.gridFontItalic = true;
        values.useCompression = false;
    });
    ASSERT_TRUE(app.EditOptions());
    EXPECT_EQ(StoredValue("Grid Font"), QStringLiteral("Courier New, 10, Bold Italic"));
    EXPECT_EQ(StoredValue("Use Compression"), QStringLiteral("0"));
    EXPECT_EQ(app.Settings().GridFontName, QStringLiteral("Courier New"));
}

} // namespace
