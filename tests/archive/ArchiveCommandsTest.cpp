#include "ArchiveFixtures.h"
#include "FileSizeLimit.h"

#include "app/ArchiveCommands.h"

#include <QCoreApplication>
#include <QDir>

namespace {

class ArchiveCommandsTest : public ModProjectTest
{
protected:
    int Run(int (ArchiveCommands::*verb)(const QStringList&), const QStringList& arguments,
            QString input = QString())
    {
        output.clear();
        errors.clear();
        QTextStream inStream(&input);
        QTextStream outStream(&output);
        QTextStream errStream(&errors);
        ArchiveCommands commands(settings, inStream, outStream, errStream);
        return (commands.*verb)(arguments);
    }

    QString output;
    QString errors;
};

} // namespace

TEST_F(ArchiveCommandsTest, BuildAddsEveryEntryToACopyOfTheGameArchivePackedAsAsked)
{
    struct Case
    {
        QStringList switches;
        std::uint32_t flags;
        int compression;
    };
    const std::uint32_t packed = ArchiveFixtures::FlagCompress | ArchiveFixtures::FlagEncrypted;
    for (const Case& packing : {Case{{}, packed, ArchiveFixtures::CompressionPkware},
                                Case{{QStringLiteral("--no-compression")}, 0, -1}}) {
        SCOPED_TRACE(packing.switches.join(' ').toStdString());
        ASSERT_EQ(Run(&ArchiveCommands::Build, QStringList{project} + packing.switches), 0) << errors.toStdString();
        EXPECT_EQ(output, expectedLog);
        QStringList names = ArchiveFixtures::SmpqList(modArchive);
        QStringList expected = gameFiles.keys() + entries.mid(1);
        names.sort();
        expected.sort();
        EXPECT_EQ(names, expected);
        for (const QString& name : gameFiles.keys()) {
            if (name != Weapons) {
                EXPECT_EQ(fixtures.SmpqExtract(modArchive, name), gameFiles.value(name)) << name.toStdString();
            }
        }
        for (const QString& entry : entries) {
            SCOPED_TRACE(entry.toStdString());
            EXPECT_EQ(fixtures.SmpqExtract(modArchive, entry), modFiles.value(entry.section(QLatin1Char('\\'), -1)));
            const auto stored = ArchiveFixtures::StoredFileOf(modArchive, entry);
            ASSERT_TRUE(stored);
            EXPECT_EQ(stored->flags & packed, packing.flags);
            EXPECT_EQ(stored->firstSectorCompression, packing.compression);
        }
        // Nothing but the archive is left beside the project's files.
        EXPECT_EQ(ArchiveFixtures::FilesIn(fixtures.Path(QStringLiteral("Mods/Weapons"))),
                  (QStringList{QStringLiteral("Weapons.mod"), QStringLiteral("Weapons.mpq"), QStringLiteral("armor.txt"),
                               QStringLiteral("panel.dc6"), QStringLiteral("weapons.txt")}));
    }
}

TEST_F(ArchiveCommandsTest, ABuildThatCannotRunFailsAndLeavesThePreviousModArchiveAlone)
{
    const QString damaged = fixtures.Write(QStringLiteral("damaged.mpq"), ArchiveFixtures::Pattern(4096, 5));
    fixtures.Write(QStringLiteral("Mods/Weapons/Weapons.mpq"), "previous");
    struct Case
    {
        QStringList arguments;
        int status;
        QString outputStart;
    };
    const QString missing = fixtures.Path(QStringLiteral("nowhere.mpq"));
    const QString keptLine = QStringLiteral("The MOD archive ") + modArchive + QStringLiteral(" was left as it was\r\n");
    for (const Case& run : {Case{{project, QStringLiteral("--game-mpq"), missing}, 1,
                                 QStringLiteral("Cannot copy the game archive ") + missing},
                            Case{{project, QStringLiteral("--game-mpq"), damaged}, 1,
                                 QStringLiteral("The game archive ") + damaged + QStringLiteral(" is not a readable")},
                            Case{{fixtures.Path(QStringLiteral("none.mod"))}, 1, QString()},
                            Case{{}, 2, QString()},
                            Case{{project, QStringLiteral("--fast")}, 2, QString()}}) {
        SCOPED_TRACE(run.arguments.join(' ').toStdString());
        EXPECT_EQ(Run(&ArchiveCommands::Build, run.arguments), run.status);
        EXPECT_TRUE(output.startsWith(run.outputStart)) << output.toStdString();
        EXPECT_TRUE(run.outputStart.isEmpty() || output.endsWith(keptLine)) << output.toStdString();
        EXPECT_FALSE(output.contains(QStringLiteral("Adding")));
        EXPECT_EQ(ArchiveFixtures::Read(modArchive), "previous");
        EXPECT_EQ(ArchiveFixtures::FilesIn(fixtures.Path(QStringLiteral("Mods/Weapons"))).size(), 5);
    }
    settings.GameMpqPath.clear();
    EXPECT_EQ(Run(&ArchiveCommands::Build, {project}), 1);
    EXPECT_TRUE(errors.contains(QStringLiteral("no game archive")));

    // A missing file fails its line and the build, yet the rest is built.
    QFile::remove(fixtures.Path(QStringLiteral("Mods/Weapons/armor.txt")));
    settings.GameMpqPath = fixtures.Path(QStringLiteral("Diablo II/patch_d2.mpq"));
    EXPECT_EQ(Run(&ArchiveCommands::Build, {project}), 1);
    EXPECT_TRUE(output.contains(QStringLiteral("Adding data\\global\\excel\\armor.txt failed\r\n")));
    EXPECT_EQ(fixtures.SmpqExtract(modArchive, Weapons), modFiles.value(QStringLiteral("weapons.txt")));
}

TEST_F(ArchiveCommandsTest, WithoutTheLibraryEveryOperationFailsAndBuildRefusesAndWritesNothing)
{
    fixtures.Write(QStringLiteral("Mods/Weapons/Weapons.mpq"), "previous");
    LibraryOverride missing("/nonexistent/libstorm.so.9");
    MpqLibrary library;
    EXPECT_FALSE(ModBuilder::CanBuild(library, settings.GameMpqPath, 1));
    QStringList result{QStringLiteral("old")};
    EXPECT_EQ(library.ReadListing(settings.GameMpqPath, project, result, nullptr), 0);
    EXPECT_TRUE(result.isEmpty());
    EXPECT_FALSE(library.ExtractFile(settings.GameMpqPath, Weapons, modFolder, true));
    for (bool direct : {false, true}) {
        RecordingLog log;
        const BuildOutcome outcome = direct ? library.BuildArchive(modArchive, modFolder, entries, true, log)
                                            : ModBuilder::Build(library, Request(), log);
        EXPECT_EQ(outcome, BuildOutcome::NotRun);
        EXPECT_EQ(log.text, QStringLiteral("Cannot load the archive library /nonexistent/libstorm.so.9\r\n"));
    }
    EXPECT_EQ(Run(&ArchiveCommands::Build, {project}), 1);
    EXPECT_TRUE(errors.contains(QStringLiteral("/nonexistent/libstorm.so.9 cannot be loaded"))) << errors.toStdString();
    EXPECT_TRUE(output.isEmpty());
    EXPECT_EQ(ArchiveFixtures::Read(modArchive), "previous");
    EXPECT_EQ(ArchiveFixtures::FilesIn(modFolder).size(), 5);
    EXPECT_EQ(ArchiveFixtures::Read(modFolder + QLatin1String("weapons.txt")), modFiles.value(QStringLiteral("weapons.txt")));
}

TEST_F(ArchiveCommandsTest, InstallsKeepTheGamesOwnPatchAndOneShortOfSpaceChangesNothing)
{
    const QByteArray gameOwnPatch = ArchiveFixtures::Read(settings.GameMpqPath);
    const QString patch = settings.GameFolder + QLatin1String("patch_d2.mpq");
    const QString backup = settings.GameFolder + QLatin1String("patch_d2.bak");
    EXPECT_EQ(Run(&ArchiveCommands::Install, {project, QStringLiteral("--yes")}), 1);
    EXPECT_TRUE(errors.contains(QStringLiteral("has no built MOD archive")));
    ASSERT_EQ(Run(&ArchiveCommands::Build, {project}), 0);
    EXPECT_EQ(Run(&ArchiveCommands::Install, {project}, QStringLiteral("n\n")), 1);
    EXPECT_TRUE(output.startsWith(QStringLiteral("Are you sure you wish to install this MOD?")));
    EXPECT_EQ(ArchiveFixtures::FilesIn(settings.GameFolder), QStringList{QStringLiteral("patch_d2.mpq")});
    EXPECT_EQ(Run(&ArchiveCommands::Install, {project, QStringLiteral("--game-folder"), settings.GameFolder},
                  QStringLiteral("y\n")),
              0);
    EXPECT_EQ(ArchiveFixtures::Read(patch), ArchiveFixtures::Read(modArchive));

    // The second MOD is bigger than the disk allows.
    const QString other = fixtures.Write(QStringLiteral("Mods/Other/Other.mod"),
                                         "Carvestone Project File Version 1.0\ndata\\global\\excel\\armor.txt\n");
    fixtures.Write(QStringLiteral("Mods/Other/armor.txt"), ArchiveFixtures::Pattern(300000, 6));
    ASSERT_EQ(Run(&ArchiveCommands::Build, {other, QStringLiteral("--no-compression")}), 0);
    int status = 0;
    {
        FileSizeLimit limit(ArchiveFixtures::Read(modArchive).size() + 1000);
        if (!limit.IsActive())
            GTEST_SKIP() << "cannot limit the file size of this process";
        status = Run(&ArchiveCommands::Install, {other, QStringLiteral("--yes")});
    }
    EXPECT_NE(status, 0);
    EXPECT_FALSE(errors.isEmpty());
    EXPECT_EQ(ArchiveFixtures::Read(patch), ArchiveFixtures::Read(modArchive));
    EXPECT_EQ(ArchiveFixtures::Read(backup), gameOwnPatch);

    ASSERT_EQ(Run(&ArchiveCommands::Install, {other, QStringLiteral("--yes")}), 0);
    EXPECT_EQ(ArchiveFixtures::Read(patch), ArchiveFixtures::Read(fixtures.Path(QStringLiteral("Mods/Other/Other.mpq"))));
    EXPECT_EQ(ArchiveFixtures::Read(backup), gameOwnPatch);
    EXPECT_EQ(ArchiveFixtures::FilesIn(settings.GameFolder),
              (QStringList{QStringLiteral("patch_d2.bak"), QStringLiteral("patch_d2.mpq")}));
    settings.GameFolder.clear();
    EXPECT_EQ(Run(&ArchiveCommands::Install, {project, QStringLiteral("--yes")}), 1);
}

TEST_F(ArchiveCommandsTest, ListAndExtractSpeakForTheArchive)
{
    const QString listing = fixtures.Write(QStringLiteral("names.txt"),
                                           "data\\global\\excel\\misc.txt\r\nnone.txt\r\n"
                                           "data\\global\\excel\\weapons.txt");
    EXPECT_EQ(Run(&ArchiveCommands::List, {settings.GameMpqPath, QStringLiteral("--listing"), listing}), 0);
    EXPECT_EQ(output, QStringLiteral("data\\global\\excel\\misc.txt\ndata\\global\\excel\\weapons.txt\n"));
    EXPECT_EQ(Run(&ArchiveCommands::List, {project, QStringLiteral("--listing"), listing}), 1);
    EXPECT_TRUE(errors.contains(QStringLiteral("is not a readable MPQ archive")));
    EXPECT_EQ(Run(&ArchiveCommands::List, {settings.GameMpqPath, QStringLiteral("--listing"), project + QLatin1String("x")}), 1);

    const QString out = fixtures.Path(QStringLiteral("Mods"));
    EXPECT_EQ(Run(&ArchiveCommands::Extract, {settings.GameMpqPath, Weapons, out}), 0);
    EXPECT_EQ(ArchiveFixtures::Read(out + QLatin1String("/weapons.txt")), "old weapons");
    EXPECT_EQ(Run(&ArchiveCommands::Extract, {settings.GameMpqPath, QStringLiteral("absent.txt"), out}), 1);
    EXPECT_FALSE(errors.isEmpty());
}

TEST(DemoArchiveTest, TheListingFileBesideTheProgramsFindsEveryFileOfTheDemoArchive)
{
    const QString bin = QCoreApplication::applicationDirPath();
    const QString demo = bin + QLatin1String("/demo/patch_d2.mpq");
    QStringList expected = QString::fromLatin1(ArchiveFixtures::Read(QStringLiteral(CARVESTONE_DEMO_SOURCE
                                                                                    "/archive-names.txt")))
                               .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    MpqLibrary library;
    QStringList found;
    library.ReadListing(demo, bin + QLatin1String("/AllFiles.txt"), found, nullptr);
    found.sort();
    expected.sort();
    EXPECT_EQ(found, expected);
    ArchiveFixtures fixtures;
    const QString out = fixtures.Path(QStringLiteral("Weapons.txt"));
    ASSERT_TRUE(library.ExtractFile(demo, QStringLiteral("data\\global\\excel\\Weapons.txt"), out, false));
    EXPECT_EQ(ArchiveFixtures::Read(out), ArchiveFixtures::Read(QStringLiteral(CARVESTONE_DEMO_SOURCE "/files/Weapons.txt")));
}
