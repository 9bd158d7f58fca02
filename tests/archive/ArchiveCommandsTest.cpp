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
    void ExpectModFolderUntouched()
    {
        EXPECT_EQ(ArchiveFixtures::Read(modArchive), "previous");
        EXPECT_EQ(ArchiveFixtures::FilesIn(modFolder).size(), 5);
    }

    QString output, errors;
};

} // namespace

TEST_F(ArchiveCommandsTest, BuildPacksEachEntryAsAskedKeepsTheGamesFilesAndInstallAsksFirst)
{
    for (bool compress : {false, true}) {
        SCOPED_TRACE(compress);
        const QStringList stored{QStringLiteral("--no-compression")};
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
    EXPECT_EQ(Run(&ArchiveCommands::Install, {project}, QStringLiteral("n\n")), 1);
    EXPECT_TRUE(errors.contains(QStringLiteral("nothing was installed"))) << errors.toStdString();
    EXPECT_EQ(ArchiveFixtures::Read(settings.GameMpqPath), gameOwnPatch);
    const QString nowhere = fixtures.Path(QStringLiteral("nowhere/"));
    EXPECT_NE(Run(&ArchiveCommands::Install, {project, QStringLiteral("--game-folder"), nowhere, QStringLiteral("--yes")}), 0);
    EXPECT_EQ(Run(&ArchiveCommands::Install, {project}, QStringLiteral("y\n")), 0);
    EXPECT_TRUE(output.startsWith(QStringLiteral("Are you sure you wish to install this MOD?")));
    EXPECT_EQ(ArchiveFixtures::Read(settings.GameMpqPath), ArchiveFixtures::Read(modArchive));
}

TEST_F(ArchiveCommandsTest, ABuildThatCannotRunFailsAndLeavesThePreviousModArchiveAlone)
{
    const QString damaged = fixtures.Write(QStringLiteral("damaged.mpq"), ArchiveFixtures::Pattern(4096, 5));
    const QString missing = fixtures.Path(QStringLiteral("nowhere.mpq"));
    fixtures.Write(QStringLiteral("Mods/Weapons/Weapons.mpq"), "previous");
    const QString kept = QStringLiteral("The MOD archive ") + modArchive + QStringLiteral(" was left as it was\r\n");
    for (const auto& [gameMpq, firstLine] :
         {std::pair{missing, QStringLiteral("Cannot copy the game archive ") + missing},
          std::pair{damaged, damaged + QStringLiteral(" is damaged or is not an MPQ archive.\r\n")}}) {
        SCOPED_TRACE(gameMpq.toStdString());
        EXPECT_EQ(Run(&ArchiveCommands::Build, {project, QStringLiteral("--game-mpq"), gameMpq}), 1);
        EXPECT_TRUE(output.startsWith(firstLine) && output.endsWith(kept)) << output.toStdString();
        EXPECT_FALSE(output.contains(QStringLiteral("Adding")));
        ExpectModFolderUntouched();
    }
    settings.GameMpqPath.clear();
    EXPECT_EQ(Run(&ArchiveCommands::Build, {project}), 1);
    EXPECT_TRUE(errors.contains(QStringLiteral("no game archive")));
    settings.GameMpqPath = fixtures.Path(QStringLiteral("Diablo II/patch_d2.mpq"));
    QFile::remove(modFolder + QLatin1String("armor.txt")); // one failed file fails the build
    EXPECT_EQ(Run(&ArchiveCommands::Build, {project}), 1);
    EXPECT_TRUE(output.contains(QStringLiteral("Adding data\\global\\excel\\armor.txt failed\r\n")));
}

TEST_F(ArchiveCommandsTest, LoadsAreCountedAndWithoutTheLibraryEveryOperationFailsAndBuildWritesNothing)
{
    MpqLibrary library;
    ASSERT_TRUE(library.Load());
    QStringList result{QStringLiteral("old")};
    // A nested operation never unloads under the outer one.
    library.ReadListing(fixtures.Path(QStringLiteral("absent.mpq")), project, result, nullptr);
    EXPECT_TRUE(library.IsLoaded());
    library.Unload();
    library.Unload(); // one Unload too many changes nothing
    EXPECT_TRUE(library.Load());
    library.Unload();
    EXPECT_FALSE(library.IsLoaded());
    EXPECT_TRUE(library.IsAvailable());

    fixtures.Write(QStringLiteral("Mods/Weapons/Weapons.mpq"), "previous");
    for (const char* name : {"libz.so.1", "/nonexistent/libstorm.so.9"}) { // no entry points; no library
        qputenv("CARVESTONE_MPQ_LIBRARY", name);
        EXPECT_TRUE(library.IsAvailable()) << name << ": answered from the first probe";
        MpqLibrary fresh;
        EXPECT_FALSE(fresh.Load() || fresh.IsLoaded() || fresh.IsAvailable()) << name;
    }
    MpqLibrary without;
    EXPECT_FALSE(ModBuilder::CanBuild(without, settings.GameMpqPath, 1));
    EXPECT_EQ(without.ReadListing(settings.GameMpqPath, project, result, nullptr), 0);
    EXPECT_FALSE(without.ExtractFile(settings.GameMpqPath, Weapons, modFolder, true));
    RecordingLog log;
    EXPECT_EQ(ModBuilder::Build(without, Request(), log), BuildOutcome::NotRun);
    EXPECT_EQ(log.text, QStringLiteral("Cannot load the archive library /nonexistent/libstorm.so.9\r\n"));
    EXPECT_EQ(Run(&ArchiveCommands::Build, {project}), 1);
    qunsetenv("CARVESTONE_MPQ_LIBRARY");
    EXPECT_TRUE(errors.contains(QStringLiteral("/nonexistent/libstorm.so.9 cannot be loaded"))) << errors.toStdString();
    EXPECT_TRUE(output.isEmpty());
    ExpectModFolderUntouched();
}

TEST_F(ArchiveCommandsTest, TheListingFileBesideTheProgramsFindsEveryFileOfTheDemoArchive)
{
    const QString listing = BinFolder() + QLatin1String("AllFiles.txt");
    EXPECT_EQ(Run(&ArchiveCommands::List, {BinFolder() + "demo/patch_d2.mpq", QStringLiteral("--listing"), listing}), 0);
    QStringList found = output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QStringList expected = QString::fromLatin1(ArchiveFixtures::Read(CARVESTONE_DEMO_SOURCE "/archive-names.txt"))
                               .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    found.sort();
    expected.sort();
    EXPECT_EQ(found, expected);
    EXPECT_EQ(Run(&ArchiveCommands::List, {project, QStringLiteral("--listing"), listing}), 1);
    EXPECT_TRUE(errors.contains(QStringLiteral("is damaged or is not an MPQ archive.")));
}
