#include "ArchiveFixtures.h"

#include "app/ArchiveCommands.h"

namespace {

class ArchiveCommandsTest : public ModProjectTest
{
protected:
    int Run(int (ArchiveCommands::*verb)(const QStringList&), const QStringList& arguments, QString input = {})
    {
        output.clear();
        errors.clear();
        QTextStream inStream(&input), outStream(&output), errStream(&errors);
        ArchiveCommands commands(settings, inStream, outStream, errStream);
        return (commands.*verb)(arguments);
    }
    QString output, errors;
};

} // namespace

TEST_F(ArchiveCommandsTest, BuildPacksEachEntryAsAskedKeepsTheGamesFilesAndInstallAsksFirst)
{
    for (bool compress : {false, true}) {
        SCOPED_TRACE(compress);
        const QStringList stored{"--no-compression"};
        ASSERT_EQ(Run(&ArchiveCommands::Build, QStringList{project} + (compress ? QStringList() : stored)), 0)
            << errors.toStdString();
        EXPECT_EQ(output, expectedLog);
        for (const QString& name : gameFiles.keys())
            EXPECT_EQ(fixtures.SmpqExtract(modArchive, name), name == Weapons ? ModFile(name) : gameFiles.value(name));
        const QByteArray archiveBytes = ArchiveFixtures::Read(modArchive);
        for (const QString& entry : entries) {
            SCOPED_TRACE(entry.toStdString());
            EXPECT_EQ(fixtures.SmpqExtract(modArchive, entry), ModFile(entry));
            // Packed exactly as smpq packs the game's files, or stored plain.
            const QByteArray packed = fixtures.SmpqPacked(entry, ModFile(entry));
            ASSERT_FALSE(packed.isEmpty());
            EXPECT_EQ(archiveBytes.contains(packed), compress);
            EXPECT_EQ(archiveBytes.contains(ModFile(entry)), !compress);
        }
    }

    const QByteArray gameOwnPatch = ArchiveFixtures::Read(settings.GameMpqPath);
    EXPECT_EQ(Run(&ArchiveCommands::Install, {project}, "n\n"), 1);
    EXPECT_TRUE(errors.contains("nothing was installed")) << errors.toStdString();
    EXPECT_EQ(ArchiveFixtures::Read(settings.GameMpqPath), gameOwnPatch);
    EXPECT_NE(Run(&ArchiveCommands::Install, {project, "--game-folder", fixtures.Path("nowhere/"), "--yes"}), 0);
    EXPECT_TRUE(errors.contains("does not exist")) << errors.toStdString();
    EXPECT_EQ(Run(&ArchiveCommands::Install, {project}, "y\n"), 0);
    EXPECT_TRUE(output.startsWith("Are you sure you wish to install this MOD?"));
    EXPECT_EQ(ArchiveFixtures::Read(settings.GameMpqPath), ArchiveFixtures::Read(modArchive));
}

TEST_F(ArchiveCommandsTest, ABuildThatCannotRunOrWithoutTheLibraryFailsAndLeavesThePreviousModArchiveAlone)
{
    const QString damaged = fixtures.Write("damaged.mpq", ArchiveFixtures::Pattern(4096, 5));
    const QString missing = fixtures.Path("nowhere.mpq");
    fixtures.Write("Mods/Weapons/Weapons.mpq", "previous");
    const QString kept = "The MOD archive " + modArchive + " was left as it was\r\n";
    for (const auto& [gameMpq, firstLine] : {std::pair{missing, "Cannot copy the game archive " + missing},
                                             {damaged, damaged + " is damaged or is not an MPQ archive.\r\n"}}) {
        SCOPED_TRACE(gameMpq.toStdString());
        EXPECT_EQ(Run(&ArchiveCommands::Build, {project, "--game-mpq", gameMpq}), 1);
        EXPECT_TRUE(output.startsWith(firstLine) && output.endsWith(kept)) << output.toStdString();
        EXPECT_FALSE(output.contains("Adding"));
    }

    MpqLibrary library;
    ASSERT_TRUE(library.Load());
    QStringList result{"old"};
    library.ReadListing(fixtures.Path("absent.mpq"), project, result, nullptr);
    EXPECT_TRUE(library.IsLoaded()) << "a nested operation never unloads under the outer one";
    library.Unload();
    library.Unload(); // one Unload too many changes nothing
    EXPECT_TRUE(library.Load());
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
    RecordingLog log;
    EXPECT_EQ(ModBuilder::Build(without, Request(), log), BuildOutcome::NotRun);
    EXPECT_EQ(log.text, "Cannot load the archive library /nonexistent/libstorm.so.9\r\n");
    EXPECT_EQ(Run(&ArchiveCommands::Build, {project}), 1);
    qunsetenv("CARVESTONE_MPQ_LIBRARY");
    EXPECT_TRUE(errors.contains("/nonexistent/libstorm.so.9 cannot be loaded")) << errors.toStdString();
    EXPECT_TRUE(output.isEmpty());
    EXPECT_EQ(ArchiveFixtures::Read(modArchive), "previous");
    EXPECT_EQ(ArchiveFixtures::FilesIn(modFolder).size(), 5);

    settings.GameMpqPath.clear();
    EXPECT_EQ(Run(&ArchiveCommands::Build, {project}), 1);
    EXPECT_TRUE(errors.contains("no game archive"));
    settings.GameMpqPath = fixtures.Path("Diablo II/patch_d2.mpq");
    QFile::remove(modFolder + "armor.txt"); // one failed file fails the build
    EXPECT_EQ(Run(&ArchiveCommands::Build, {project}), 1);
    EXPECT_TRUE(output.contains("Adding data\\global\\excel\\armor.txt failed\r\n"));
}
