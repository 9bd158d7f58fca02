#include "ArchiveFixtures.h"
#include "ScriptedDialogs.h"

#include "archive/BuildInstallCommands.h"
#include "archive/BuildingDialog.h"
#include "mainframe/CommandIds.h"
#include "project/CCarvestoneDoc.h"
#include "resources/StringTable.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

class BuildingDialogTest : public ModProjectTest
{
protected:
    void SetUp() override
    {
        ModProjectTest::SetUp();
        if (IsSkipped())
            return;
        ASSERT_EQ(document.OpenProject(project), CCarvestoneDoc::OpenResult::Opened);
        commands.SetDocument(&document);
    }

    bool Enabled(int id)
    {
        CommandState state;
        EXPECT_TRUE(commands.OnUpdateCommand(id, state));
        return state.enabled;
    }

    MpqLibrary library;
    CCarvestoneDoc document;
    BuildInstallCommands commands{library, settings};
};

} // namespace

TEST_F(BuildingDialogTest, BuildIsOfferedForAProjectWithFilesAndItsDialogStaysUntilTheBuildEnds)
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
    dialogs.AnswerDialog([&](QDialog& shown) {
        auto& dialog = dynamic_cast<BuildingDialog&>(shown);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Building - Weapons.mod"));
        EXPECT_TRUE(dialog.LogControl()->isReadOnly());
        EXPECT_FALSE(dialog.OkButton()->isEnabled());
        // Once the build's first log text has arrived, Escape and the close
        // box do nothing.
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
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.IsFinished(); }, 20000));
        EXPECT_TRUE(stayedOpen);
        EXPECT_EQ(appends, 9);   // each piece of each line is shown as it comes
        EXPECT_EQ(dialog.LogText(), expectedLog);
        EXPECT_EQ(dialog.LogControl()->toPlainText(), QString(expectedLog).remove(QLatin1Char('\r')));
        EXPECT_EQ(dialog.Outcome(), BuildOutcome::AllAdded);
        EXPECT_FALSE(ArchiveBusy::IsBusy());
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
        return dialog.result();
    });
    EXPECT_TRUE(commands.OnCommand(CommandId::Build));
    EXPECT_TRUE(dialogs.AllAnswersUsed());
    EXPECT_EQ(fixtures.SmpqExtract(modArchive, Weapons), modFiles.value(QStringLiteral("weapons.txt")));

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
