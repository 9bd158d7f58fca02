#include "ArchiveFixtures.h"
#include "FileSizeLimit.h"

#include "app/ArchiveCommands.h"
#include "app/CarvestoneSettings.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

const QByteArray ProjectHeader = "Carvestone Project File Version 1.0\n";

class ArchiveCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!ArchiveFixtures::HasSmpq())
            GTEST_SKIP() << "smpq is not installed; it makes and reads the archives of these tests";
        settings.GameMpqPath = fixtures.MakeGameArchive(
            QStringLiteral("Diablo II/patch_d2.mpq"),
            {{QStringLiteral("data\\global\\excel\\weapons.txt"), "old weapons"},
             {QStringLiteral("data\\global\\excel\\misc.txt"), ArchiveFixtures::Pattern(3000, 1)}});
        ASSERT_FALSE(settings.GameMpqPath.isEmpty());
        settings.GameFolder = fixtures.Path(QStringLiteral("Diablo II/"));
        gameOwnPatch = ArchiveFixtures::Read(settings.GameMpqPath);
        project = fixtures.Write(QStringLiteral("Mods/Weapons/Weapons.mod"),
                                 ProjectHeader + "data\\global\\excel\\weapons.txt\n"
                                                 "data\\global\\excel\\armor.txt\n"
                                                 "data\\global\\ui\\panel.dc6\n");
        fixtures.Write(QStringLiteral("Mods/Weapons/weapons.txt"), weapons);
        fixtures.Write(QStringLiteral("Mods/Weapons/armor.txt"), "armor");
        fixtures.Write(QStringLiteral("Mods/Weapons/panel.dc6"), ArchiveFixtures::Pattern(800, 3));
        modArchive = fixtures.Path(QStringLiteral("Mods/Weapons/Weapons.mpq"));
    }

    int Run(int (ArchiveCommands::*verb)(const QStringList&), const QStringList& arguments,
            const QString& input = QString())
    {
        output.clear();
        errors.clear();
        QString in = input;
        QTextStream inStream(&in);
        QTextStream outStream(&output);
        QTextStream errStream(&errors);
        ArchiveCommands commands(settings, inStream, outStream, errStream);
        return (commands.*verb)(arguments);
    }

    const QByteArray weapons = ArchiveFixtures::Pattern(50000, 2);
    const QString log = QStringLiteral("Adding data\\global\\excel\\weapons.txt succeeded\r\n"
                                       "Adding data\\global\\excel\\armor.txt succeeded\r\n"
                                       "Adding data\\global\\ui\\panel.dc6 succeeded\r\n");
    ArchiveFixtures fixtures;
    CarvestoneSettings settings;
    QByteArray gameOwnPatch;
    QString project;
    QString modArchive;
    QString output;
    QString errors;
};

} // namespace

TEST_F(ArchiveCommandsTest, BuildPrintsTheLogAndPacksAsTheSettingsOrTheSwitchSay)
{
    EXPECT_EQ(Run(&ArchiveCommands::Build, {project}), 0) << errors.toStdString();
    EXPECT_EQ(output, log);
    EXPECT_EQ(fixtures.SmpqExtract(modArchive, QStringLiteral("data\\global\\excel\\weapons.txt")), weapons);
    auto stored = ArchiveFixtures::StoredFileOf(modArchive, QStringLiteral("data\\global\\ui\\panel.dc6"));
    ASSERT_TRUE(stored);
    EXPECT_TRUE(stored->flags & ArchiveFixtures::FlagCompress);

    EXPECT_EQ(Run(&ArchiveCommands::Build, {project, QStringLiteral("--no-compression")}), 0);
    stored = ArchiveFixtures::StoredFileOf(modArchive, QStringLiteral("data\\global\\ui\\panel.dc6"));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->flags & (ArchiveFixtures::FlagCompress | ArchiveFixtures::FlagEncrypted), 0u);

}

TEST_F(ArchiveCommandsTest, BuildFailsWhenAnyFileFailsOrTheBuildCannotRun)
{
    QFile::remove(fixtures.Path(QStringLiteral("Mods/Weapons/armor.txt")));
    EXPECT_EQ(Run(&ArchiveCommands::Build, {project}), 1);
    EXPECT_TRUE(output.contains(QStringLiteral("Adding data\\global\\excel\\armor.txt failed\r\n")));
    const QByteArray built = ArchiveFixtures::Read(modArchive);
    ASSERT_FALSE(built.isEmpty());

    EXPECT_NE(Run(&ArchiveCommands::Build, {project, QStringLiteral("--game-mpq"),
                                            fixtures.Path(QStringLiteral("nowhere.mpq"))}),
              0);
    EXPECT_TRUE(output.startsWith(QStringLiteral("Cannot copy the game archive ")));
    EXPECT_EQ(ArchiveFixtures::Read(modArchive), built);

    EXPECT_EQ(Run(&ArchiveCommands::Build, {fixtures.Path(QStringLiteral("none.mod"))}), 1);
    EXPECT_EQ(Run(&ArchiveCommands::Build, {}), 2);
    EXPECT_EQ(Run(&ArchiveCommands::Build, {project, QStringLiteral("--fast")}), 2);
    settings.GameMpqPath.clear();
    EXPECT_EQ(Run(&ArchiveCommands::Build, {project}), 1);
    EXPECT_TRUE(errors.contains(QStringLiteral("no game archive")));
}

TEST_F(ArchiveCommandsTest, WithoutTheLibraryBuildRefusesAndWritesNothing)
{
    qputenv("CARVESTONE_MPQ_LIBRARY", "/nonexistent/libstorm.so.9");
    const int status = Run(&ArchiveCommands::Build, {project});
    qunsetenv("CARVESTONE_MPQ_LIBRARY");
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(errors.contains(QStringLiteral("/nonexistent/libstorm.so.9 cannot be loaded"))) << errors.toStdString();
    EXPECT_TRUE(output.isEmpty());
    EXPECT_EQ(QDir(fixtures.Path(QStringLiteral("Mods/Weapons"))).entryList(QDir::Files | QDir::Hidden).size(), 4);
}

TEST_F(ArchiveCommandsTest, TwoInstallsKeepTheGamesOwnPatchAsBackup)
{
    ASSERT_EQ(Run(&ArchiveCommands::Build, {project}), 0);
    EXPECT_EQ(Run(&ArchiveCommands::Install, {project, QStringLiteral("--yes")}), 0) << errors.toStdString();
    const QString other = fixtures.Write(QStringLiteral("Mods/Other/Other.mod"),
                                         ProjectHeader + "data\\global\\excel\\armor.txt\n");
    fixtures.Write(QStringLiteral("Mods/Other/armor.txt"), "other armor");
    ASSERT_EQ(Run(&ArchiveCommands::Build, {other}), 0);
    EXPECT_EQ(Run(&ArchiveCommands::Install, {other, QStringLiteral("--game-folder"), settings.GameFolder}, "y\n"), 0);
    EXPECT_TRUE(output.startsWith(QStringLiteral("Are you sure you wish to install this MOD?")));

    EXPECT_EQ(ArchiveFixtures::Read(settings.GameFolder + QLatin1String("patch_d2.bak")), gameOwnPatch);
    EXPECT_EQ(ArchiveFixtures::Read(settings.GameFolder + QLatin1String("patch_d2.mpq")),
              ArchiveFixtures::Read(fixtures.Path(QStringLiteral("Mods/Other/Other.mpq"))));
}

TEST_F(ArchiveCommandsTest, InstallDeclinedUnbuiltOrOutOfSpaceChangesNothing)
{
    EXPECT_EQ(Run(&ArchiveCommands::Install, {project, QStringLiteral("--yes")}), 1);   // never built
    EXPECT_TRUE(errors.contains(QStringLiteral("has no built MOD archive")));
    ASSERT_EQ(Run(&ArchiveCommands::Build, {project}), 0);
    EXPECT_EQ(Run(&ArchiveCommands::Install, {project}, "n\n"), 1);
    EXPECT_EQ(QDir(settings.GameFolder).entryList(QDir::Files), QStringList{QStringLiteral("patch_d2.mpq")});
    settings.GameFolder.clear();
    EXPECT_EQ(Run(&ArchiveCommands::Install, {project, QStringLiteral("--yes")}), 1);
    settings.GameFolder = fixtures.Path(QStringLiteral("Diablo II/"));

    int status = 0;
    {
        FileSizeLimit limit(1000);
        if (!limit.IsActive())
            GTEST_SKIP() << "cannot limit the file size of this process";
        status = Run(&ArchiveCommands::Install, {project, QStringLiteral("--yes")});
    }
    EXPECT_NE(status, 0);
    EXPECT_FALSE(errors.isEmpty());
    EXPECT_EQ(ArchiveFixtures::Read(settings.GameFolder + QLatin1String("patch_d2.mpq")), gameOwnPatch);
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
    EXPECT_EQ(Run(&ArchiveCommands::List, {settings.GameMpqPath, QStringLiteral("--listing"),
                                           fixtures.Path(QStringLiteral("none.txt"))}),
              1);

    const QString out = fixtures.Path(QStringLiteral("out"));
    ASSERT_TRUE(QDir().mkpath(out));
    EXPECT_EQ(Run(&ArchiveCommands::Extract, {settings.GameMpqPath, QStringLiteral("data\\global\\excel\\weapons.txt"), out}), 0);
    EXPECT_EQ(ArchiveFixtures::Read(out + QLatin1String("/weapons.txt")), "old weapons");
    EXPECT_EQ(Run(&ArchiveCommands::Extract, {settings.GameMpqPath, QStringLiteral("data\\global\\excel\\weapons.txt"),
                                              out + QLatin1String("/copy.txt")}),
              0);
    EXPECT_EQ(ArchiveFixtures::Read(out + QLatin1String("/copy.txt")), "old weapons");
    EXPECT_EQ(Run(&ArchiveCommands::Extract, {settings.GameMpqPath, QStringLiteral("absent.txt"), out}), 1);
    EXPECT_FALSE(errors.isEmpty());
}

TEST(DemoArchiveTest, TheListingFileFindsEveryFileOfTheDemoArchive)
{
    const QString bin = QCoreApplication::applicationDirPath();
    QFile namesFile(QStringLiteral(CARVESTONE_DEMO_SOURCE "/archive-names.txt"));
    ASSERT_TRUE(namesFile.open(QIODevice::ReadOnly));
    QStringList expected = QString::fromLatin1(namesFile.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    MpqLibrary library;
    QStringList found;
    library.ReadListing(bin + QLatin1String("/demo/patch_d2.mpq"), bin + QLatin1String("/AllFiles.txt"), found, nullptr);
    found.sort();
    expected.sort();
    EXPECT_EQ(found, expected);
    ArchiveFixtures fixtures;
    const QString out = fixtures.Path(QStringLiteral("Weapons.txt"));
    ASSERT_TRUE(library.ExtractFile(bin + QLatin1String("/demo/patch_d2.mpq"), QStringLiteral("data\\global\\excel\\Weapons.txt"),
                                    out, false));
    QFile sample(QStringLiteral(CARVESTONE_DEMO_SOURCE "/files/Weapons.txt"));
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    EXPECT_EQ(ArchiveFixtures::Read(out), sample.readAll());
}
