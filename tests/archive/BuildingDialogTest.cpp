#include "ArchiveFixtures.h"
#include "ScriptedDialogs.h"

#include "app/CarvestoneSettings.h"
#include "archive/BuildInstallCommands.h"
#include "archive/BuildingDialog.h"
#include "mainframe/CommandIds.h"
#include "project/CCarvestoneDoc.h"
#include "resources/StringTable.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

class BuildingDialogTest : public SmpqTest
{
protected:
    void SetUp() override
    {
        SmpqTest::SetUp();
        if (IsSkipped())
            return;
        settings.GameMpqPath = fixtures.MakeGameArchive(QStringLiteral("Diablo II/patch_d2.mpq"),
                                                        {{QStringLiteral("data\\global\\excel\\misc.txt"), "misc"}});
        ASSERT_FALSE(settings.GameMpqPath.isEmpty());
        settings.GameFolder = fixtures.Path(QStringLiteral("Diablo II/"));
        fixtures.Write(QStringLiteral("Mods/Weapons/armor.txt"), "armor");
        fixtures.Write(QStringLiteral("Mods/Weapons/weapons.txt"), "weapons");
        const QString projectPath = fixtures.Write(QStringLiteral("Mods/Weapons/Weapons.mod"),
                                                   "Carvestone Project File Version 1.0\n"
                                                   "data\\global\\excel\\armor.txt\ndata\\global\\excel\\weapons.txt\n");
        ASSERT_EQ(document.OpenProject(projectPath), CCarvestoneDoc::OpenResult::Opened);
        commands.SetDocument(&document);
    }

    static bool WaitUntilFinished(const BuildingDialog& dialog)
    {
        return QTest::qWaitFor([&] { return dialog.IsFinished(); }, 20000);
    }

    bool Enabled(int id)
    {
        CommandState state;
        EXPECT_TRUE(commands.OnUpdateCommand(id, state));
        return state.enabled;
    }

    CarvestoneSettings settings;
    MpqLibrary library;
    CCarvestoneDoc document;
    BuildInstallCommands commands{library, settings};
    const QString expectedLog = QStringLiteral("Adding data\\global\\excel\\armor.txt succeeded\r\n"
                                               "Adding data\\global\\excel\\weapons.txt succeeded\r\n");
};

} // namespace

TEST_F(BuildingDialogTest, RunsTheBuildOnceShownAndCannotBeClosedUntilItEnds)
{
    const ModBuilder::Request request{settings.GameMpqPath, fixtures.Path(QStringLiteral("Mods/Weapons/Weapons.mpq")),
                                      document.ProjectFolder(), document.FileList(), true};
    BuildingDialog dialog(library, request, QStringLiteral("Weapons.mod"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Building - Weapons.mod"));
    EXPECT_TRUE(dialog.LogControl()->isReadOnly());
    EXPECT_FALSE(dialog.OkButton()->isEnabled());

    // While the build runs (its first log text has arrived), Escape and the
    // close box do nothing.
    int appends = 0;
    bool stayedOpen = false;
    QObject::connect(dialog.LogControl(), &QPlainTextEdit::textChanged, &dialog, [&] {
        if (appends++ > 0)
            return;
        QTest::keyClick(&dialog, Qt::Key_Escape);
        dialog.close();
        stayedOpen = dialog.isVisible() && !dialog.IsFinished() && !dialog.OkButton()->isEnabled();
    });
    dialog.show();
    ASSERT_TRUE(WaitUntilFinished(dialog));
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(appends, 6);
    EXPECT_EQ(dialog.LogText(), expectedLog);
    EXPECT_EQ(dialog.LogControl()->toPlainText(), QString(expectedLog).remove(QLatin1Char('\r')));
    EXPECT_EQ(dialog.Outcome(), BuildOutcome::AllAdded);
    EXPECT_FALSE(ArchiveBusy::IsBusy());

    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(BuildingDialogTest, BuildIsOfferedForAProjectWithFilesAndRunsTheDialog)
{
    EXPECT_TRUE(Enabled(CommandId::Build));
    {
        ArchiveBusy busy;
        EXPECT_FALSE(Enabled(CommandId::Build));
        EXPECT_FALSE(Enabled(CommandId::Install));
    }
    CommandState other;
    EXPECT_FALSE(commands.OnUpdateCommand(CommandId::Build + 1000, other));

    ScriptedDialogs dialogs;
    QString title;
    QString log;
    bool escapeClosed = false;
    dialogs.AnswerDialog([&](QDialog& shown) {
        auto& building = dynamic_cast<BuildingDialog&>(shown);
        title = building.windowTitle();
        building.show();
        WaitUntilFinished(building);
        log = building.LogText();
        QTest::keyClick(&building, Qt::Key_Escape);
        escapeClosed = !building.isVisible();
        return building.result();
    });
    EXPECT_TRUE(commands.OnCommand(CommandId::Build));
    EXPECT_TRUE(dialogs.AllAnswersUsed());
    EXPECT_EQ(title, QStringLiteral("Building - Weapons.mod"));
    EXPECT_EQ(log, expectedLog);
    EXPECT_TRUE(escapeClosed);   // once the build has ended
    EXPECT_EQ(fixtures.SmpqExtract(fixtures.Path(QStringLiteral("Mods/Weapons/Weapons.mpq")),
                                   QStringLiteral("data\\global\\excel\\weapons.txt")),
              "weapons");

    settings.GameMpqPath.clear();
    EXPECT_FALSE(Enabled(CommandId::Build));
    commands.SetDocument(nullptr);
    EXPECT_FALSE(Enabled(CommandId::Build));
}

TEST_F(BuildingDialogTest, InstallAsksFirstAndReportsAFailure)
{
    EXPECT_FALSE(Enabled(CommandId::Install));   // not built yet
    const QString built = fixtures.Write(QStringLiteral("Mods/Weapons/Weapons.mpq"), "built MOD");
    EXPECT_TRUE(Enabled(CommandId::Install));
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

    // A file where the game folder should be cannot receive the archive.
    settings.GameFolder = built + QLatin1String("/");
    dialogs.AnswerMessage(UserDialogs::IdYes);
    dialogs.AnswerMessage(UserDialogs::IdOk);
    EXPECT_TRUE(commands.OnCommand(CommandId::Install));
    ASSERT_EQ(dialogs.Messages().size(), 4);
    EXPECT_TRUE(dialogs.Messages()[3].text.contains(QStringLiteral("does not exist")));
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}
