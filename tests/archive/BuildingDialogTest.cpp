#include "ArchiveFixtures.h"
#include "ScriptedDialogs.h"

#include "archive/BuildInstallCommands.h"
#include "archive/BuildingDialog.h"
#include "mainframe/CommandIds.h"
#include "project/CCarvestoneDoc.h"
#include "resources/StringTable.h"

#include <QCoreApplication>
#include <QFileInfo>
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
        // The build runs in the carvestone-cli built beside this test.
        settings.ProgramFolder = QCoreApplication::applicationDirPath() + QLatin1String("/");
        commands.SetDocument(&document);
    }
    bool Enabled(int id)
    {
        CommandState state;
        EXPECT_TRUE(commands.OnUpdateCommand(id, state));
        return state.enabled;
    }

    // Runs the Build command as a user does and closes its dialog once the
    // build has ended.
    void BuildByCommand()
    {
        dialogs.AnswerDialog([](QDialog& shown) {
            auto& dialog = dynamic_cast<BuildingDialog&>(shown);
            dialog.show();
            EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.IsFinished(); }, 20000));
            QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
            return dialog.result();
        });
        EXPECT_TRUE(commands.OnCommand(CommandId::Build));
    }

    MpqLibrary library;
    CCarvestoneDoc document;
    BuildInstallCommands commands{library, settings};
    ScriptedDialogs dialogs;
};

} // namespace

TEST_F(BuildingDialogTest, TheBuildDialogStaysUntilTheBuildEndsAndInstallAsksFirst)
{
    EXPECT_TRUE(Enabled(CommandId::Build));
    EXPECT_FALSE(Enabled(CommandId::Install));   // not built yet
    {
        ArchiveBusy busy;
        EXPECT_FALSE(Enabled(CommandId::Build) || Enabled(CommandId::Install));
    }
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
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
        return dialog.result();
    });
    EXPECT_TRUE(commands.OnCommand(CommandId::Build));
    EXPECT_EQ(fixtures.SmpqExtract(modArchive, Weapons), ModFile(Weapons));

    EXPECT_TRUE(Enabled(CommandId::Install));
    const QByteArray gamePatch = ArchiveFixtures::Read(settings.GameMpqPath);
    dialogs.AnswerMessage(UserDialogs::IdNo);
    EXPECT_TRUE(commands.OnCommand(CommandId::Install));
    EXPECT_EQ(ArchiveFixtures::Read(settings.GameMpqPath), gamePatch);
    // A file where the game folder should be cannot receive the archive.
    settings.GameFolder = project + QLatin1String("/");
    dialogs.AnswerMessage(UserDialogs::IdYes);
    dialogs.AnswerMessage(UserDialogs::IdOk);
    EXPECT_TRUE(commands.OnCommand(CommandId::Install));
    ASSERT_EQ(dialogs.Messages().size(), 3);
    EXPECT_EQ(dialogs.Messages()[0].text, StringTable::Get(StringId::ConfirmInstall));
    EXPECT_TRUE(dialogs.Messages()[2].text.contains(QStringLiteral("does not exist")));
    settings.GameMpqPath.clear();
    EXPECT_FALSE(Enabled(CommandId::Build));
}

TEST_F(BuildingDialogTest, TheBuildCommandCompressesTheModFilesOnlyWhenUseCompressionIsOn)
{
    qint64 modBytes = 0;
    for (const QByteArray& bytes : modFiles)
        modBytes += bytes.size();
    // The MOD files compress to well under half; stored whole they alone
    // outweigh the archive that holds them compressed.
    for (const bool compress : {false, true}) {
        settings.UseCompression = compress;
        BuildByCommand();
        const qint64 archiveBytes = QFileInfo(modArchive).size();
        EXPECT_EQ(archiveBytes < modBytes, compress) << archiveBytes << " bytes of archive, " << modBytes << " of files";
        EXPECT_EQ(fixtures.SmpqExtract(modArchive, Weapons), ModFile(Weapons));
    }
}
