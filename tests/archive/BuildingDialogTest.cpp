#include "ArchiveFixtures.h"
#include "ScriptedDialogs.h"

#include "app/CarvestoneSettings.h"
#include "archive/ArchiveBusy.h"
#include "archive/BuildInstallCommands.h"
#include "archive/BuildingDialog.h"
#include "mainframe/CommandIds.h"
#include "project/CCarvestoneDoc.h"
#include "resources/StringTable.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

class BuildingDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!ArchiveFixtures::HasSmpq())
            GTEST_SKIP() << "smpq is not installed; it makes the game archive of these tests";
        settings.GameMpqPath = fixtures.MakeGameArchive(QStringLiteral("Diablo II/patch_d2.mpq"),
                                                        {{QStringLiteral("data\\global\\excel\\misc.txt"), "misc"}});
        ASSERT_FALSE(settings.GameMpqPath.isEmpty());
        settings.GameFolder = fixtures.Path(QStringLiteral("Diablo II/"));
        projectPath = fixtures.Write(QStringLiteral("Mods/Weapons/Weapons.mod"),
                                     "Carvestone Project File Version 1.0\n"
                                     "data\\global\\excel\\armor.txt\n"
                                     "data\\global\\excel\\weapons.txt\n");
        fixtures.Write(QStringLiteral("Mods/Weapons/armor.txt"), "armor");
        fixtures.Write(QStringLiteral("Mods/Weapons/weapons.txt"), "weapons");
        request = {settings.GameMpqPath, fixtures.Path(QStringLiteral("Mods/Weapons/Weapons.mpq")),
                   fixtures.Path(QStringLiteral("Mods/Weapons/")),
                   {QStringLiteral("data\\global\\excel\\armor.txt"), QStringLiteral("data\\global\\excel\\weapons.txt")},
                   true};
    }

    static bool WaitUntilFinished(const BuildingDialog& dialog)
    {
        return QTest::qWaitFor([&] { return dialog.IsFinished(); }, 20000);
    }

    CommandState Update(BuildInstallCommands& commands, int id)
    {
        CommandState state;
        EXPECT_TRUE(commands.OnUpdateCommand(id, state));
        return state;
    }

    ArchiveFixtures fixtures;
    CarvestoneSettings settings;
    MpqLibrary library;
    QString projectPath;
    ModBuilder::Request request;
    const QString expectedLog = QStringLiteral("Adding data\\global\\excel\\armor.txt succeeded\r\n"
                                               "Adding data\\global\\excel\\weapons.txt succeeded\r\n");
};

} // namespace

TEST_F(BuildingDialogTest, RunsTheBuildOnceShownAndCannotBeClosedUntilItEnds)
{
    BuildingDialog dialog(library, request, QStringLiteral("Weapons.mod"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Building - Weapons.mod"));
    EXPECT_TRUE(dialog.LogControl()->isReadOnly());
    EXPECT_FALSE(dialog.OkButton()->isEnabled());

    // While the build runs (its first log text has arrived), Escape and the
    // close box do nothing.
    int attempts = 0;
    bool stayedOpen = true;
    QObject::connect(dialog.LogControl(), &QPlainTextEdit::textChanged, &dialog, [&] {
        if (attempts++ > 0)
            return;
        QTest::keyClick(&dialog, Qt::Key_Escape);
        dialog.close();
        stayedOpen = dialog.isVisible() && !dialog.IsFinished() && !dialog.OkButton()->isEnabled();
    });
    dialog.show();
    ASSERT_TRUE(WaitUntilFinished(dialog));
    EXPECT_GT(attempts, 0);
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.LogText(), expectedLog);
    EXPECT_EQ(dialog.LogControl()->toPlainText(), QString(expectedLog).remove(QLatin1Char('\r')));
    EXPECT_EQ(dialog.Outcome(), BuildOutcome::AllAdded);
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    EXPECT_FALSE(ArchiveBusy::IsBusy());

    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(BuildingDialogTest, EscapeClosesOnceTheBuildHasEnded)
{
    request.gameMpqPath = fixtures.Path(QStringLiteral("nowhere.mpq"));
    BuildingDialog dialog(library, request, QStringLiteral("Weapons.mod"));
    dialog.show();
    ASSERT_TRUE(WaitUntilFinished(dialog));
    EXPECT_EQ(dialog.Outcome(), BuildOutcome::NotRun);
    EXPECT_TRUE(dialog.LogControl()->toPlainText().startsWith(QStringLiteral("Cannot copy the game archive")));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(BuildingDialogTest, BuildCommandIsOfferedForAProjectWithFilesAndRunsTheDialog)
{
    CCarvestoneDoc document;
    ASSERT_EQ(document.OpenProject(projectPath), CCarvestoneDoc::OpenResult::Opened);
    BuildInstallCommands commands(library, settings);
    EXPECT_FALSE(Update(commands, CommandId::Build).enabled);   // no project yet
    commands.SetDocument(&document);
    EXPECT_TRUE(Update(commands, CommandId::Build).enabled);
    {
        ArchiveBusy busy;
        EXPECT_FALSE(Update(commands, CommandId::Build).enabled);
        EXPECT_FALSE(Update(commands, CommandId::Install).enabled);
    }
    CommandState other;
    EXPECT_FALSE(commands.OnUpdateCommand(CommandId::Build + 1000, other));

    ScriptedDialogs dialogs;
    QString title;
    QString log;
    dialogs.AnswerDialog([&](QDialog& shown) {
        auto& building = dynamic_cast<BuildingDialog&>(shown);
        title = building.windowTitle();
        building.show();
        WaitUntilFinished(building);
        log = building.LogText();
        building.accept();
        return int(QDialog::Accepted);
    });
    EXPECT_TRUE(commands.OnCommand(CommandId::Build));
    EXPECT_TRUE(dialogs.AllAnswersUsed());
    EXPECT_EQ(title, QStringLiteral("Building - Weapons.mod"));
    EXPECT_EQ(log, expectedLog);
    EXPECT_EQ(fixtures.SmpqExtract(request.archivePath, QStringLiteral("data\\global\\excel\\weapons.txt")), "weapons");

    settings.GameMpqPath.clear();
    EXPECT_FALSE(Update(commands, CommandId::Build).enabled);
}

TEST_F(BuildingDialogTest, InstallAsksFirstAndReportsAFailure)
{
    CCarvestoneDoc document;
    ASSERT_EQ(document.OpenProject(projectPath), CCarvestoneDoc::OpenResult::Opened);
    BuildInstallCommands commands(library, settings);
    commands.SetDocument(&document);
    EXPECT_FALSE(Update(commands, CommandId::Install).enabled);   // not built yet
    const QString built = fixtures.Write(QStringLiteral("Mods/Weapons/Weapons.mpq"), "built MOD");
    EXPECT_TRUE(Update(commands, CommandId::Install).enabled);
    const QByteArray gamePatch = ArchiveFixtures::Read(settings.GameMpqPath);

    ScriptedDialogs dialogs;
    dialogs.AnswerMessage(UserDialogs::IdNo);
    EXPECT_TRUE(commands.OnCommand(CommandId::Install));
    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_EQ(dialogs.Messages()[0].text, StringTable::Get(StringId::ConfirmInstall));
    EXPECT_EQ(dialogs.Messages()[0].type, UserDialogs::TypeYesNo | UserDialogs::IconQuestion);
    EXPECT_EQ(ArchiveFixtures::Read(settings.GameMpqPath), gamePatch);

    dialogs.AnswerMessage(UserDialogs::IdYes);
    EXPECT_TRUE(commands.OnCommand(CommandId::Install));
    EXPECT_EQ(ArchiveFixtures::Read(settings.GameMpqPath), "built MOD");
    EXPECT_EQ(ArchiveFixtures::Read(settings.GameFolder + QLatin1String("patch_d2.bak")), gamePatch);
    EXPECT_EQ(dialogs.Messages().size(), 2);

    // A folder where the game folder should be cannot receive the archive.
    settings.GameFolder = built + QLatin1String("/");
    dialogs.AnswerMessage(UserDialogs::IdYes);
    dialogs.AnswerMessage(UserDialogs::IdOk);
    EXPECT_TRUE(commands.OnCommand(CommandId::Install));
    ASSERT_EQ(dialogs.Messages().size(), 4);
    EXPECT_TRUE(dialogs.Messages()[3].text.contains(QStringLiteral("does not exist")));
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}
