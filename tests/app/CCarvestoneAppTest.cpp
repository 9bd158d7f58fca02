#include "app/CCarvestoneApp.h"
#include "app/CommandLineAnswer.h"
#include "app/SingleInstance.h"
#include "core/ProgramVersion.h"
#include "ui/QtUserDialogs.h"

#include "FakeTableView.h"
#include "ScriptedDialogs.h"
#include "ScriptedOptionsSheet.h"
#include "TestFiles.h"
#include "mainframe/CMainFrame.h"
#include "project/CNewProjectDlg.h"

#include <QAction>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <future>
#include <optional>
#include <tuple>

#include <gtest/gtest.h>

namespace {

struct FontRecordingView : FakeTableView
{
    explicit FontRecordingView(const CarvestoneSettings& settings) : settings(settings) {}
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
        Store()->setValue(QStringLiteral("Settings/MODs Path"), Mods());
    }

    static std::unique_ptr<QSettings> Store() { return CarvestoneSettings::OpenStore(); }
    static QString Stored(const QString& key) { return Store()->value(key).toString(); }

    QString Mods() const { return temp.path() + QStringLiteral("/mods/"); }
    QString Write(QString name, QByteArray bytes = Header) { return TestFiles::Write(temp.filePath(name), bytes); }

    // Types the name and presses OK; none cancels.
    void AnswerNewProject(std::optional<QString> name)
    {
        dialogs.AnswerDialog([name](QDialog& dialog) {
            if (!name)
                return int(QDialog::Rejected);
            auto& newProject = dynamic_cast<CNewProjectDlg&>(dialog);
            newProject.NameEdit()->setText(*name);
            newProject.accept();
            return newProject.result();
        });
    }

    void Start(const QString& project = {})
    {
        if (project.isEmpty())
            AnswerNewProject(std::nullopt);
        ASSERT_TRUE(app.InitInstance(project.isEmpty() ? QStringList() : QStringList{project}));
    }

    QString LastMessage() const { return dialogs.Messages().isEmpty() ? QString() : dialogs.Messages().last().text; }

    QTemporaryDir temp;
    ScriptedDialogs dialogs;
    ScriptedOptionsSheet sheet;
    CCarvestoneApp app;
};

TEST_F(CCarvestoneAppTest, TheMostRecentProjectOpensWhenWantedAndSoundElseNewFollowsAndABrokenOneLeavesTheList)
{
    const QString recent = Write(QStringLiteral("Recent.mod"));
    const QString gone = temp.filePath(QStringLiteral("gone.mod"));
    const QString broken = Write(QStringLiteral("Broken.mod"), "not a project\n");
    for (const auto& [file1, wanted, message] : {std::tuple{recent, 1, ""}, {gone, 1, ""}, {recent, 0, ""},
                                                 {broken, 1, "Broken.mod has a bad format."}}) {
        SCOPED_TRACE(file1.toStdString() + (wanted ? " wanted" : " not wanted"));
        Store()->setValue(QStringLiteral("Recent File List/File1"), file1);
        Store()->setValue(QStringLiteral("Settings/Open Most Recent"), wanted);
        const bool opens = file1 == recent && wanted;
        if (*message)
            dialogs.AnswerMessage(UserDialogs::IdOk);
        if (!opens)
            AnswerNewProject(std::nullopt);
        CCarvestoneApp started;
        ASSERT_TRUE(started.InitInstance({}));
        EXPECT_EQ(started.Document()->GetPathName(), opens ? recent : QString());
        EXPECT_TRUE(dialogs.AllAnswersUsed());
        EXPECT_EQ(LastMessage(), QString::fromLatin1(message));
    }
    EXPECT_FALSE(Store()->contains(QStringLiteral("Recent File List/File1")));
}

TEST_F(CCarvestoneAppTest, TheNewCommandLoopsUntilAProjectIsCreatedOrCancelled)
{
    Start();
    QDir(Mods()).mkdir(QStringLiteral("Taken"));
    AnswerNewProject(QStringLiteral("Taken"));
    dialogs.AnswerMessage(UserDialogs::IdOk);
    // An empty name once made the MODs folder itself and said it could not: the dialog asks for a name and stays.
    dialogs.AnswerDialog([](QDialog& dialog) {
        auto& newProject = dynamic_cast<CNewProjectDlg&>(dialog);
        newProject.NameEdit()->clear();
        newProject.accept();
        newProject.NameEdit()->setText(QStringLiteral("Test"));
        newProject.accept();
        return newProject.result();
    });
    dialogs.AnswerMessage(UserDialogs::IdOk);
    app.OnFileNew();
    const auto& shown = dialogs.Messages();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0].owner, app.MainFrame()) << "without an owner the main window owns the box";
    const QString failed = QStringLiteral("Failed to create the directory \"%1\"");
    EXPECT_EQ(shown[0].text, failed.arg(QDir::toNativeSeparators(Mods() + QStringLiteral("Taken"))));
    EXPECT_EQ(shown[1].text, QStringLiteral("Please enter a name for the new project."));
    EXPECT_EQ(app.Document()->GetPathName(), Mods() + QStringLiteral("Test/Test.mod"));
}

TEST_F(CCarvestoneAppTest, TheCommandLineProjectWinsACancelledSaveQuestionKeepsAllAndAFailedRecentEntryLeavesTheList)
{
    const QString current = Write(QStringLiteral("Current.mod"));
    const QString older = Write(QStringLiteral("Older.mod"));
    Store()->setValue(QStringLiteral("Recent File List/File1"), current);
    Start(older);
    EXPECT_EQ(app.Document()->GetPathName(), older);
    ASSERT_TRUE(app.OpenDocumentFile(current));
    ASSERT_EQ(app.Settings().RecentFiles, QStringList({current, older}));

    app.Document()->AddFile(QStringLiteral("x.txt"));
    for (const int command : {CommandId::RecentFileFirst + 1, CommandId::Exit}) {
        dialogs.AnswerMessage(UserDialogs::IdCancel);
        app.MainFrame()->RouteCommand(command);
    }
    EXPECT_EQ(LastMessage(), QStringLiteral("Save changes to Current.mod?"));
    EXPECT_EQ(app.Settings().RecentFiles, QStringList({current, older}));
    EXPECT_EQ(app.Document()->GetPathName(), current);
    EXPECT_TRUE(app.MainFrame()->isVisible());

    QFile::remove(older);
    dialogs.AnswerMessage(UserDialogs::IdYes);
    dialogs.AnswerMessage(UserDialogs::IdOk);
    app.MainFrame()->RouteCommand(CommandId::RecentFileFirst + 1);
    EXPECT_EQ(TestFiles::Read(current), Header + "x.txt\n");
    EXPECT_TRUE(LastMessage().contains(QStringLiteral("Older.mod was not found.")));
    EXPECT_EQ(app.Settings().RecentFiles, QStringList({current}));
    EXPECT_FALSE(Store()->contains(QStringLiteral("Recent File List/File2")));
    app.MainFrame()->RouteCommand(CommandId::Exit);
    EXPECT_FALSE(app.MainFrame()->isVisible());

    CCarvestoneApp second;
    dialogs.AnswerMessage(UserDialogs::IdOk);
    EXPECT_FALSE(second.InitInstance({temp.filePath(QStringLiteral("absent.mod"))}));
    EXPECT_TRUE(LastMessage().endsWith(QStringLiteral("absent.mod was not found.")));
}

TEST_F(CCarvestoneAppTest, DroppedFilesOpenInTurnAndAShellRequestWaitsForAnOpenQuestion)
{
    Start();
    const QString first = Write(QStringLiteral("First.mod"));
    const QString second = Write(QStringLiteral("Second.mod"));
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

TEST_F(CCarvestoneAppTest, TheOptionsCommandStoresOnlyOnOkAndTheOpenTablesTakeTheFontAfterEither)
{
    Start();
    FontRecordingView view(app.Settings());
    app.MainFrame()->SetTableView(&view);
    app.MainFrame()->UpdateCommandUi();
    EXPECT_TRUE(app.MainFrame()->Action(CommandId::Options)->isEnabled());
    for (const bool ok : {false, true}) {
        sheet.Answer([ok](OptionsValues& values) {
            values.gridFontSize = 12;
            return ok;
        });
        EXPECT_TRUE(app.MainFrame()->RouteCommand(CommandId::Options));
    }
    EXPECT_EQ(view.appliedSizes, QList<int>({9, 12})) << "the view takes the font after it is stored";
    EXPECT_EQ(Stored(QStringLiteral("Settings/Grid Font")), QStringLiteral("Arial, 12, Regular"));
    app.MainFrame()->SetTableView(nullptr);
}

TEST_F(CCarvestoneAppTest, AnArchiveOutsideTheProgramFolderIsCopiedBesideItOnlyWhenThePersonSaysSo)
{
    Start();
    app.Settings().ProgramFolder = Mods();
    const QString outside = Write(QStringLiteral("patch_d2.mpq"), "newer");
    const QString copy = Mods() + QStringLiteral("patch_d2.mpq");
    const auto choose = [&](std::initializer_list<int> answers) {
        for (const int answer : answers)
            dialogs.AnswerMessage(answer);
        sheet.Answer([&](OptionsValues& values) {
            values.gameMpqPath = outside;
            return true;
        });
        EXPECT_TRUE(app.EditOptions());
        return Stored(QStringLiteral("Settings/Diablo II MPQ"));
    };
    EXPECT_EQ(choose({UserDialogs::IdYes}), copy);
    EXPECT_EQ(dialogs.Messages()[0].text,
              QStringLiteral("Copy the MPQ file to Carvestone's base path for safe keeping?\n(recommended)"));
    EXPECT_EQ(TestFiles::Read(copy), QByteArray("newer"));

    TestFiles::Write(copy, "older");
    EXPECT_EQ(choose({UserDialogs::IdYes, UserDialogs::IdNo}), outside);
    EXPECT_EQ(LastMessage(), QStringLiteral("An older copy of the MPQ file is kept at %1.\nReplace it with %2?")
                                 .arg(QDir::toNativeSeparators(copy), QDir::toNativeSeparators(outside)));
    EXPECT_EQ(TestFiles::Read(copy), QByteArray("older"));
    choose({UserDialogs::IdYes, UserDialogs::IdYes});
    EXPECT_EQ(TestFiles::Read(copy), QByteArray("newer"));

    QFile::remove(copy);
    QDir().mkdir(copy); // a folder in the way: nothing can replace it
    EXPECT_EQ(choose({UserDialogs::IdYes, UserDialogs::IdYes, UserDialogs::IdOk}), outside);
    EXPECT_TRUE(LastMessage().contains(QDir::toNativeSeparators(copy)));

    app.Settings().ProgramFolder = Write(QStringLiteral("installed"), "x") + QStringLiteral("/");
    const qsizetype asked = dialogs.Messages().size();
    const QString besideSettings = QFileInfo(Store()->fileName()).absolutePath() + QStringLiteral("/patch_d2.mpq");
    EXPECT_EQ(choose({UserDialogs::IdYes}), besideSettings);
    EXPECT_EQ(TestFiles::Read(besideSettings), QByteArray("newer"));
    sheet.Answer([](OptionsValues&) { return true; });
    ASSERT_TRUE(app.EditOptions());
    EXPECT_EQ(dialogs.Messages().size(), asked + 1) << "the kept copy is not offered for copying again";
    QFile::remove(besideSettings);
}

TEST(QtUserDialogs, TheBoxesAnswerWithTheWindowsIds)
{
    using D = UserDialogs;
    for (const auto& [type, key, id] : {std::tuple<int, Qt::Key, int>{D::TypeOk, Qt::Key_Escape, D::IdOk},
                                        {D::TypeYesNo | D::IconQuestion, Qt::Key_Escape, D::IdNo},
                                        {D::TypeYesNoCancel, Qt::Key_Escape, D::IdCancel},
                                        {D::TypeYesNo, Qt::Key_Y, D::IdYes}}) {
        QTimer::singleShot(0, [key = key] {
            if (QWidget* box = QApplication::activeModalWidget())
                QTest::keyClick(box, key);
        });
        EXPECT_EQ(QtUserDialogs().Message(nullptr, QStringLiteral("Carvestone"), QStringLiteral("Go on?"), type), id);
    }
}

TEST(SingleInstance, ASecondStartHandsItsProjectToTheRunningOne)
{
    const QTemporaryDir folder;
    const QString key = folder.filePath(QStringLiteral("Carvestone.ini"));
    const QString project = QStringLiteral("/mods/Caf\u00e9.mod");
    SingleInstance running(key);
    ASSERT_TRUE(running.Listen());
    QSignalSpy requests(&running, &SingleInstance::OpenRequested);
    // The second start blocks while it hands over; the running one answers from its event loop.
    auto handedOver = std::async(std::launch::async, [&] { return SingleInstance(key).HandOver(project); });
    ASSERT_TRUE(requests.wait(5000));
    EXPECT_TRUE(handedOver.get());
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0][0].toString(), project);
    EXPECT_FALSE(SingleInstance(key + QStringLiteral("2")).HandOver(project)) << "another store, no running one";
}

} // namespace

// Reported: "carvestone --version" over ssh aborted for want of a display.  Help and version are answered on standard
// output before any window exists; the version is the one the whole program states.
TEST(CarvestoneProgram, HelpAndVersionAnswerWithoutADisplay)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    const auto run = [&environment](const QStringList& arguments, QByteArray* out) {
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(CARVESTONE_PROGRAM_PATH), arguments);
        EXPECT_TRUE(program.waitForFinished(30000));
        *out = program.readAllStandardOutput();
        EXPECT_EQ(program.readAllStandardError(), QByteArray());
        return program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    };
    QByteArray out;
    EXPECT_EQ(run({"--version"}, &out), 0);
    EXPECT_EQ(out, "carvestone " + ProgramVersion::Text().toLatin1() + "\n");
    for (const char* asked : {"--help", "-h"}) {
        EXPECT_EQ(run({QString::fromLatin1(asked)}, &out), 0) << asked;
        EXPECT_TRUE(out.startsWith("usage: carvestone [PROJECT]\n") && out.endsWith("\n")) << out.toStdString();
        EXPECT_TRUE(out.contains("--version")) << out.toStdString();
    }
    EXPECT_EQ(CommandLineAnswer::For({"--", "--help"}), std::nullopt) << "after --, a file of that name";
    EXPECT_EQ(CommandLineAnswer::For({"Mod.mod"}), std::nullopt);
}
