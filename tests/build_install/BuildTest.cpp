#include "ArchiveFixtures.h"
#include "ScriptedDialogs.h"
#include "SmallDisk.h"

#include "archive/ArchiveJob.h"
#include "archive/MachineChannel.h"
#include "archive/ModBuilder.h"
#include "build_install/BuildInstallCommands.h"
#include "build_install/BuildingDialog.h"
#include "cli/CarvestoneCli.h"
#include "core/CarvestoneSettings.h"
#include "core/StringTable.h"
#include "model/ProjectEntry.h"
#include "project/CCarvestoneDoc.h"
#include "ui/CommandIds.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QPushButton>
#include <QTest>
#include <QtEndian>

#include <functional>

namespace {

// A game archive of three files; a project of three entries, one replacing a game file, opened in the document.
class BuildTest : public SmpqTest
{
protected:
    void SetUp() override
    {
        SmpqTest::SetUp();
        if (IsSkipped())
            return;
        settings.GameMpqPath = fixtures.MakeGameArchive("Diablo II/patch_d2.mpq", gameFiles);
        ASSERT_FALSE(settings.GameMpqPath.isEmpty());
        settings.GameFolder = fixtures.Path("Diablo II/");
        settings.ProgramFolder = BinFolder();
        project = fixtures.Write("Mods/Weapons/Weapons.mod",
                                 "Carvestone Project File Version 1.0\n" + entries.join('\n').toLatin1() + "\n");
        for (auto it = modFiles.begin(); it != modFiles.end(); ++it)
            fixtures.Write("Mods/Weapons/" + it.key(), it.value());
        ASSERT_EQ(document.OpenProject(project), CCarvestoneDoc::OpenResult::Opened);
        commands.SetDocument(&document);
    }
    void TearDown() override { ArchiveJob::OverrideProgram({}); } // a shell script stood in for carvestone-cli
    ModBuilder::Request Request() const { return {settings.GameMpqPath, modArchive, modFolder, entries, true, {}}; }
    QByteArray ModFile(const QString& entry) const { return modFiles.value(entry.section('\\', -1)); }
    static bool RunToEnd(ArchiveJob& job) { return QTest::qWaitFor([&] { return !job.IsRunning(); }, 60000); }
    int Run(const QString& verb, const QStringList& arguments, QString input = {})
    {
        output.clear();
        errors.clear();
        QTextStream inStream(&input), outStream(&output), errStream(&errors);
        MpqLibrary cliLibrary;
        CommandContext context{settings, inStream, outStream, errStream, cliLibrary};
        return CarvestoneCli().Run(QStringList(verb) + arguments, context);
    }
    // The MOD archive holds the game's files and each entry, packed exactly as smpq packs the game's, or stored plain.
    void ExpectBuilt(bool compress)
    {
        for (const QString& name : gameFiles.keys())
            EXPECT_EQ(fixtures.SmpqExtract(modArchive, name), name == Weapons ? ModFile(name) : gameFiles.value(name));
        const QByteArray archiveBytes = ArchiveFixtures::Read(modArchive);
        for (const QString& entry : entries) {
            EXPECT_EQ(fixtures.SmpqExtract(modArchive, entry), ModFile(entry)) << entry.toStdString();
            const QByteArray packed = fixtures.SmpqPacked(entry, ModFile(entry));
            EXPECT_TRUE(!packed.isEmpty() && archiveBytes.contains(packed) == compress) << entry.toStdString();
            EXPECT_EQ(archiveBytes.contains(ModFile(entry)), !compress) << entry.toStdString();
        }
    }
    bool Enabled(int id)
    {
        CommandState state;
        EXPECT_TRUE(commands.OnUpdateCommand(id, state));
        return state.enabled;
    }
    // What a disabled command says it lacks.
    QString WhyDisabled(int id)
    {
        CommandState state;
        EXPECT_TRUE(commands.OnUpdateCommand(id, state));
        return state.whyDisabled;
    }
    // The log of a build of every entry, its last line naming the archive built.
    QString BuiltLog() const
    {
        return expectedLog + "Built the MOD archive " + QDir::toNativeSeparators(modArchive) + "\r\n";
    }
    // Runs Build as a user does, trying to close the dialog at its first log piece; `check` sees it when it ends.
    void BuildByCommand(const std::function<void(BuildingDialog&)>& check)
    {
        appends = 0;
        dialogs.AnswerDialog([&](QDialog& shown) {
            auto& dialog = dynamic_cast<BuildingDialog&>(shown);
            QObject::connect(dialog.LogControl(), &QPlainTextEdit::textChanged, &dialog, [&] {
                if (appends++ > 0)
                    return;
                QTest::keyClick(&dialog, Qt::Key_Escape);
                dialog.close();
                EXPECT_TRUE(dialog.isVisible() && !dialog.IsFinished() && !dialog.OkButton()->isEnabled());
            });
            dialog.show();
            EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.IsFinished(); }, 20000));
            check(dialog);
            QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
            EXPECT_FALSE(dialog.isVisible());
            return dialog.result();
        });
        EXPECT_TRUE(commands.OnCommand(CommandId::Build));
        EXPECT_TRUE(dialogs.AllAnswersUsed());
    }

    const QString Weapons = "data\\global\\excel\\weapons.txt";
    const QMap<QString, QByteArray> gameFiles{{Weapons, "old weapons"},
                                              {"data\\global\\excel\\misc.txt", ArchiveFixtures::Pattern(9000, 1)},
                                              {"data\\global\\sfx\\hit.wav", ArchiveFixtures::Pattern(20000, 2)}};
    const QStringList entries{Weapons, "data\\global\\excel\\armor.txt", "data\\global\\ui\\panel.dc6"};
    const QMap<QString, QByteArray> modFiles{{"weapons.txt", ArchiveFixtures::Pattern(70000, 3)},
                                             {"armor.txt", QByteArray("name\tcode\r\nTin Mail\ttin\r\n").repeated(40)},
                                             {"panel.dc6", ArchiveFixtures::Pattern(5000, 4)}};
    const QString expectedLog = "Adding data\\global\\excel\\weapons.txt succeeded\r\n"
                                "Adding data\\global\\excel\\armor.txt succeeded\r\n"
                                "Adding data\\global\\ui\\panel.dc6 succeeded\r\n";
    CarvestoneSettings settings;
    const QString modFolder = fixtures.Path("Mods/Weapons/"), modArchive = modFolder + "Weapons.mpq";
    MpqLibrary library;
    CCarvestoneDoc document;
    BuildInstallCommands commands{library, settings};
    ScriptedDialogs dialogs;
    RecordingLog log;
    QString project, output, errors;
    int appends = 0;
};

} // namespace

TEST_F(BuildTest, EachFailedEntryIsFollowedByItsCauseNoCopyGoesThroughTheTempFolderAndARebuildStartsFresh)
{
    // Many machines keep /tmp on a file system of its own: a copy made there could not be renamed into the MOD folder.
    SmallDisk otherFileSystem(64);
    QTemporaryDir sameFileSystem;
    log.watched = otherFileSystem.IsReady() ? otherFileSystem.Path() : sameFileSystem.path();
    QFile::remove(modFolder + "armor.txt");
    ModBuilder::Request request = Request();
    request.entries << "data\\" << "data\\..\\.."; // the last leaves the MOD folder
    const QByteArray systemTemp = qgetenv("TMPDIR"); // an empty TMPDIR means /tmp
    qputenv("TMPDIR", QFile::encodeName(log.watched));
    EXPECT_EQ(ModBuilder::Build(library, request, log), BuildOutcome::SomeFailed) << log.text.toStdString();
    qputenv("TMPDIR", systemTemp);
    EXPECT_EQ(log.text, "Adding data\\global\\excel\\weapons.txt succeeded\r\n"
                        "Adding data\\global\\excel\\armor.txt failed\r\n    armor.txt is not in the MOD folder\r\n"
                        "Adding data\\global\\ui\\panel.dc6 succeeded\r\n"
                        "Adding data\\ failed\r\n    the entry names a folder, not a file\r\n"
                        "Adding data\\..\\.. failed\r\n    .. is not a plain file name\r\n"
                        "Built the MOD archive " + QDir::toNativeSeparators(modArchive) + " without the files that failed\r\n");
    EXPECT_TRUE(log.busy);
    EXPECT_FALSE(ArchiveBusy::IsBusy() || library.IsLoaded());
    EXPECT_EQ(log.seen.join(u' ').toStdString(), "") << "files in the temp folder during the build";
    EXPECT_EQ(ArchiveFixtures::FilesIn(modFolder),
              QStringList({"Weapons.mod", "Weapons.mpq", "panel.dc6", "weapons.txt"})) << "no copy left behind";
    EXPECT_EQ(fixtures.SmpqExtract(modArchive, Weapons), ModFile(Weapons));

    request.entries = {"data\\global\\ui\\panel.dc6"};
    ASSERT_EQ(ModBuilder::Build(library, request, log), BuildOutcome::AllAdded);
    EXPECT_EQ(fixtures.SmpqExtract(modArchive, Weapons), gameFiles.value(Weapons));
    EXPECT_EQ(ArchiveFixtures::SmpqList(modArchive).count(u'\n'), 4);
}

TEST_F(BuildTest, AGameArchiveThatKeepsNoNamesHasItsTablesReplacedAndItsFullHashTableGrown)
{
    const QMap<QString, QByteArray> game{
        {"data\\global\\excel\\armor.txt", "old"}, {"data\\global\\excel\\misc.txt", "old"}, {Weapons, "old"}};
    const QStringList tables = game.keys();
    ModBuilder::Request request = Request();
    request.gameMpqPath = fixtures.MakeGameArchive("nameless.mpq", game, {"-A"});
    // Without its "(listfile)", stored last before the hash table, StormLib knows no name unless AllFiles.txt tells it.
    QByteArray bytes = ArchiveFixtures::Read(request.gameMpqPath);
    ASSERT_GT(bytes.size(), 32);
    const qint64 hashTable = qFromLittleEndian<quint32>(bytes.constData() + 16);
    const int slots = int(qFromLittleEndian<quint32>(bytes.constData() + 24));
    qint64 listStart = 32;
    for (auto it = game.begin(); it != game.end(); ++it)
        listStart += fixtures.SmpqPacked(it.key(), it.value()).size();
    ASSERT_LT(listStart, hashTable);
    const qint64 listSize = hashTable - listStart;
    fixtures.Write("nameless.mpq", bytes.replace(listStart, listSize, QByteArray(listSize, 0)));
    ASSERT_FALSE(ArchiveFixtures::SmpqList(request.gameMpqPath).contains("excel/armor.txt")) << "no names are kept";
    request.listingPath = fixtures.Write("AllFiles.txt", tables.join("\r\n").toLatin1());
    request.entries = tables;
    for (const QString& table : tables)
        fixtures.Write("Mods/Weapons/" + ProjectEntry::NamePart(table), "new " + table.toLatin1());
    for (int i = 0; i < slots * 2; ++i) { // more new files than the hash table has slots
        fixtures.Write(QStringLiteral("Mods/Weapons/file%1.txt").arg(i), QByteArray::number(i));
        request.entries << QStringLiteral("data\\file%1.txt").arg(i);
    }
    // The window builds in a child process, which must be told the names too.
    ArchiveJob job(BinFolder());
    job.StartBuild(request);
    ASSERT_TRUE(RunToEnd(job));
    EXPECT_EQ(job.GetResult(), ArchiveJob::Result::Succeeded) << job.Message().toStdString();
    for (const QString& table : tables)
        EXPECT_EQ(fixtures.SmpqExtract(request.archivePath, table), "new " + table.toLatin1());
    EXPECT_EQ(fixtures.SmpqExtract(request.archivePath, request.entries.last()), QByteArray::number(slots * 2 - 1));
}

TEST_F(BuildTest, ACommandLineBuildThatCannotRunOrWithoutTheLibraryFailsAndLeavesThePreviousModArchiveAlone)
{
    const QString damaged = fixtures.Write("damaged.mpq", ArchiveFixtures::Pattern(4096, 5));
    const QString missing = fixtures.Path("nowhere.mpq");
    fixtures.Write("Mods/Weapons/Weapons.mpq", "previous");
    const QString kept = "The MOD archive " + modArchive + " was left as it was\r\n";
    for (const auto& [gameMpq, firstLine] : {std::pair{missing, "Cannot copy the game archive " + missing},
                                             {damaged, damaged + " is damaged or is not an MPQ archive.\r\n"}}) {
        SCOPED_TRACE(gameMpq.toStdString());
        EXPECT_EQ(Run("build", {project, "--game-mpq", gameMpq}), 1);
        EXPECT_TRUE(output.startsWith(firstLine) && output.endsWith(kept)) << output.toStdString();
        EXPECT_FALSE(output.contains("Adding"));
    }

    ASSERT_TRUE(library.Load());
    QStringList result{"old"};
    library.ReadListing(fixtures.Path("absent.mpq"), project, result, nullptr);
    EXPECT_TRUE(library.IsLoaded()) << "a nested operation never unloads under the outer one";
    library.Unload();
    EXPECT_FALSE(library.IsLoaded());
    EXPECT_TRUE(library.IsAvailable());
    for (const char* name : {"libz.so.1", "/nonexistent/libstorm.so.9"}) { // no entry points; no library
        qputenv("CARVESTONE_MPQ_LIBRARY", name);
        EXPECT_TRUE(library.IsAvailable()) << name << ": answered from the first probe";
        MpqLibrary fresh;
        EXPECT_FALSE(fresh.Load() || fresh.IsLoaded() || fresh.IsAvailable()) << name;
    }
    MpqLibrary without;
    EXPECT_FALSE(ModBuilder::CanBuild(without, settings.GameMpqPath, 1));
    EXPECT_EQ(ModBuilder::Build(without, Request(), log), BuildOutcome::NotRun);
    EXPECT_EQ(log.text, "Cannot load the archive library /nonexistent/libstorm.so.9\r\n");
    EXPECT_EQ(Run("build", {project}), 1);
    qunsetenv("CARVESTONE_MPQ_LIBRARY");
    EXPECT_TRUE(errors.contains("/nonexistent/libstorm.so.9 cannot be loaded")) << errors.toStdString();
    EXPECT_TRUE(output.isEmpty());
    EXPECT_EQ(ArchiveFixtures::Read(modArchive), "previous");
    EXPECT_EQ(ArchiveFixtures::FilesIn(modFolder).size(), 5);

    settings.GameMpqPath.clear();
    EXPECT_EQ(Run("build", {project}), 1);
    EXPECT_TRUE(errors.contains("no game archive"));
    settings.GameMpqPath = fixtures.Path("Diablo II/patch_d2.mpq");
    QFile::remove(modFolder + "armor.txt"); // one failed file fails the build
    EXPECT_EQ(Run("build", {project}), 1);
    EXPECT_TRUE(output.contains("Adding data\\global\\excel\\armor.txt failed\r\n"));
}

TEST_F(BuildTest, BothBuildsPackEachEntryAsAskedAndKeepTheGamesFilesTheDialogStaysToTheEndAndInstallAsksFirst)
{
    // Reported: Install was greyed with no word why.  A disabled Install names what it lacks.
    EXPECT_TRUE(Enabled(CommandId::Build));
    EXPECT_EQ(WhyDisabled(CommandId::Install), "the MOD has not been built yet");
    {
        ArchiveBusy busy;
        EXPECT_FALSE(Enabled(CommandId::Build) || Enabled(CommandId::Install));
        EXPECT_EQ(WhyDisabled(CommandId::Install), "archive work is under way");
    }
    const QString gameFolder = settings.GameFolder;
    settings.GameFolder.clear();
    EXPECT_EQ(WhyDisabled(CommandId::Install), "the Diablo II folder was not found");
    settings.GameFolder = gameFolder;
    // Each build packs otherwise than the one before it, so a build that ignored its setting would show.
    for (bool compress : {false, true}) {
        SCOPED_TRACE(compress);
        settings.UseCompression = compress;
        BuildByCommand([&](BuildingDialog& dialog) {
            EXPECT_EQ(dialog.windowTitle(), "Building - Weapons.mod");
            EXPECT_TRUE(dialog.LogControl()->isReadOnly() && dialog.OkButton()->isEnabled());
            EXPECT_EQ(dialog.LogText(), BuiltLog());
            EXPECT_EQ(appends, 10) << "each piece shows as it comes";
        });
        ExpectBuilt(compress);
        settings.UseCompression = true; // the command line packs unless told not to
        const QStringList stored{"--no-compression"};
        ASSERT_EQ(Run("build", QStringList{project} + (compress ? stored : QStringList())), 0)
            << errors.toStdString();
        EXPECT_EQ(output, BuiltLog());
        ExpectBuilt(!compress);
    }

    EXPECT_TRUE(Enabled(CommandId::Install));
    const QByteArray gamePatch = ArchiveFixtures::Read(settings.GameMpqPath);
    dialogs.AnswerMessage(UserDialogs::IdNo);
    EXPECT_TRUE(commands.OnCommand(CommandId::Install));
    EXPECT_EQ(Run("install", {project}, "n\n"), 1);
    EXPECT_TRUE(errors.contains("nothing was installed")) << errors.toStdString();
    EXPECT_EQ(ArchiveFixtures::Read(settings.GameMpqPath), gamePatch);
    EXPECT_NE(Run("install", {project, "--game-folder", fixtures.Path("nowhere/"), "--yes"}), 0);
    EXPECT_TRUE(errors.contains("does not exist")) << errors.toStdString();
    EXPECT_EQ(Run("install", {project}, "y\n"), 0);
    EXPECT_TRUE(output.startsWith("Are you sure you wish to install this MOD?"));
    EXPECT_EQ(ArchiveFixtures::Read(settings.GameMpqPath), ArchiveFixtures::Read(modArchive));
    // Reported: a finished install said nothing.  It says what went where and where the game's archive is kept.
    const QString said = "Installed Weapons.mpq as " + QDir::toNativeSeparators(settings.GameMpqPath)
        + "; the game's own archive is kept as " + QDir::toNativeSeparators(gameFolder + "patch_d2.bak") + ".";
    EXPECT_TRUE(output.endsWith(said + "\n")) << output.toStdString();
    EXPECT_TRUE(Enabled(CommandId::Install));
    EXPECT_EQ(WhyDisabled(CommandId::Install), QString());
    QString status;
    commands.SetStatusReport([&status](const QString& text) { status = text; });
    dialogs.AnswerMessage(UserDialogs::IdYes);
    EXPECT_TRUE(commands.OnCommand(CommandId::Install));
    EXPECT_EQ(status, said);
    settings.GameFolder = project + "/"; // a file where the game folder should be cannot receive the archive
    dialogs.AnswerMessage(UserDialogs::IdYes);
    dialogs.AnswerMessage(UserDialogs::IdOk);
    EXPECT_TRUE(commands.OnCommand(CommandId::Install));
    ASSERT_EQ(dialogs.Messages().size(), 4);
    EXPECT_EQ(dialogs.Messages()[0].text, StringTable::Get(StringId::ConfirmInstall));
    EXPECT_TRUE(dialogs.Messages()[3].text.contains("does not exist"));
    settings.GameMpqPath.clear();
    EXPECT_FALSE(Enabled(CommandId::Build));
    settings.GameMpqPath = fixtures.Path("Diablo II/patch_d2.mpq");
    for (const QString& entry : entries)
        ASSERT_TRUE(document.RemoveFile(entry));
    EXPECT_FALSE(Enabled(CommandId::Build)) << "a MOD without files has nothing to build";
}

TEST_F(BuildTest, ABuildWhoseChildDiesSaysSoAndTheWindowAndTheOldArchiveStay)
{
    fixtures.Write("Mods/Weapons/Weapons.mpq", "previous");
    // It dies half way, leaving its copy of the game archive behind.
    const QString leftCopy = modArchive + ".a1B2c3";
    const QString dies = "printf '%s\\n' 'log Adding ' 'log data\\\\global\\\\excel\\\\weapons.txt'; : > '" + leftCopy;
    ArchiveJob::OverrideProgram("sh", {"-c", dies + "'; kill -KILL $$"});
    BuildByCommand([](BuildingDialog& dialog) {
        EXPECT_EQ(dialog.JobResult(), ArchiveJob::Result::Died);
        EXPECT_TRUE(dialog.LogText().startsWith("Adding data\\global\\excel\\weapons.txt\r\nThe build stopped: "
                                                "the archive work stopped unexpectedly"))
            << dialog.LogText().toStdString();
        EXPECT_TRUE(dialog.LogText().endsWith(" was left as it was\r\n"));
    });
    EXPECT_EQ(ArchiveFixtures::Read(modArchive), "previous");
    EXPECT_FALSE(QFile::exists(leftCopy));
    EXPECT_EQ(document.FileList(), entries);
}

TEST(MachineChannelTest, LogTextSurvivesTheTripThroughOneLine)
{
    for (const QString text : {"Adding data\\global\\excel\\armor.txt succeeded\r\n", "\\r is not a CR\n",
                               "ends with a backslash\\", "caf\u00e9\\n\r"}) {
        const QByteArray line = MachineChannel::Escape(text);
        EXPECT_FALSE(line.contains('\n') || line.contains('\r')) << line.toStdString();
        EXPECT_EQ(MachineChannel::Unescape(line), text);
    }
}

TEST_F(BuildTest, AListingThroughTheChildShowsProgressKeepsArchiveWorkBusyAndIsCachedOnlyWhenItSucceeds)
{
    const QString listing = fixtures.Write("AllFiles.txt", gameFiles.keys().join("\r\n").toLatin1() + "\r\n"
                                                               + QByteArray(5000, ';') + "\r\n");
    using enum ArchiveJob::Result;
    const struct { const char* script; QString folder; ArchiveJob::Result result; const char* message; } cases[] = {
        {"echo 'name data\\\\x.txt'; echo 'progress 5'", BinFolder(), Died, "stopped unexpectedly"}, // no "done"
        {"echo 'error list: x.mpq is damaged\\n'; echo 'done 1'; exit 1", BinFolder(), Failed, "x.mpq is damaged"},
        {nullptr, fixtures.Path("no-such-folder"), Failed, "carvestone-cli is missing"},
        {nullptr, BinFolder(), Succeeded, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        ArchiveJob::OverrideProgram(c.script ? "sh" : "", {"-c", c.script});
        ArchiveJob job(c.folder);
        QSignalSpy finished(&job, &ArchiveJob::Finished), ranges(&job, &ArchiveJob::RangeChanged),
            positions(&job, &ArchiveJob::PositionChanged);
        job.StartListing(settings.GameMpqPath, listing);
        EXPECT_TRUE(ArchiveBusy::IsBusy());
        ASSERT_TRUE(RunToEnd(job));
        EXPECT_FALSE(ArchiveBusy::IsBusy());
        EXPECT_EQ(job.GetResult(), c.result);
        EXPECT_TRUE(job.Message().contains(c.message)) << job.Message().toStdString();
        EXPECT_EQ(finished.size(), 1);
        EXPECT_EQ(ArchiveJob::Listings().Find(settings.GameMpqPath) != nullptr, c.result == Succeeded);
        if (c.result != Succeeded)
            continue;
        EXPECT_EQ(job.Names(), gameFiles.keys());
        ASSERT_EQ(ranges.size(), 1);
        EXPECT_EQ(ranges[0][1].toInt(), QFileInfo(listing).size());
        ASSERT_GE(positions.size(), 2); // the long comment line moves the bar on its own
        EXPECT_EQ(positions.last()[0].toInt(), QFileInfo(listing).size());
    }
}
