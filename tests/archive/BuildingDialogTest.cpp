#include "ArchiveFixtures.h"
#include "FakeChild.h"
#include "ScriptedDialogs.h"

#include "archive/BuildInstallCommands.h"
#include "archive/BuildingDialog.h"
#include "mainframe/CommandIds.h"
#include "project/CCarvestoneDoc.h"
#include "resources/StringTable.h"

#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>

#include <functional>

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
        settings.ProgramFolder = BinFolder();
        commands.SetDocument(&document);
    }
    bool Enabled(int id)
    {
        CommandState state;
        EXPECT_TRUE(commands.OnUpdateCommand(id, state));
        return state.enabled;
    }
    // Runs the Build command as a user does; once the build has ended,
    // `check` looks at the dialog before OK closes it.
    void BuildByCommand(const std::function<void(BuildingDialog&)>& check = {})
    {
        dialogs.AnswerDialog([&](QDialog& shown) {
            auto& dialog = dynamic_cast<BuildingDialog&>(shown);
            dialog.show();
            EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.IsFinished(); }, 20000));
            if (check)
                check(dialog);
            EXPECT_TRUE(dialog.OkButton()->isEnabled());
            QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
            EXPECT_FALSE(dialog.isVisible());
            return dialog.result();
        });
        EXPECT_TRUE(commands.OnCommand(CommandId::Build));
        EXPECT_TRUE(dialogs.AllAnswersUsed());
    }

    MpqLibrary library;
    CCarvestoneDoc document;
    BuildInstallCommands commands{library, settings};
    ScriptedDialogs dialogs;
};

} // namespace

TEST_F(BuildingDialogTest, TheBuildDialogStaysUntilTheBuildEndsHonoursUseCompressionAndInstallAsksFirst)
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
        // Once the first log text has arrived, Escape and the close box do nothing.
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
    // Compressed, the MOD files take well under half; stored, they alone outweigh that archive.
    qint64 modBytes = 0;
    for (const QByteArray& bytes : modFiles)
        modBytes += bytes.size();
    EXPECT_LT(QFileInfo(modArchive).size(), modBytes);
    settings.UseCompression = false;
    BuildByCommand();
    EXPECT_GT(QFileInfo(modArchive).size(), modBytes);
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

TEST_F(BuildingDialogTest, ABuildWhoseChildDiesSaysSoAndTheWindowAndTheOldArchiveStay)
{
    fixtures.Write(QStringLiteral("Mods/Weapons/Weapons.mpq"), "previous");
    // It dies half way, leaving its copy of the game archive behind.
    const QString leftCopy = modArchive + QLatin1String(".a1B2c3");
    FakeChild dies(QStringLiteral("printf '%s\\n' 'log Adding ' 'log data\\\\global\\\\excel\\\\weapons.txt'; : > '")
                   + leftCopy + QStringLiteral("'; kill -KILL $$"));
    BuildByCommand([](BuildingDialog& dialog) {
        EXPECT_EQ(dialog.JobResult(), ArchiveJob::Result::Died);
        EXPECT_TRUE(dialog.LogText().startsWith(QStringLiteral("Adding data\\global\\excel\\weapons.txt\r\nThe build stopped: "
                                                               "the archive work stopped unexpectedly")))
            << dialog.LogText().toStdString();
        EXPECT_TRUE(dialog.LogText().endsWith(QStringLiteral(" was left as it was\r\n")));
    });
    EXPECT_EQ(ArchiveFixtures::Read(modArchive), "previous");
    EXPECT_FALSE(QFile::exists(leftCopy));
    EXPECT_EQ(document.FileList(), entries);
}
