#include "ArchiveFixtures.h"
#include "FileSizeLimit.h"

#include "archive/GameDataFolder.h"
#include "archive/ListingProgress.h"
#include "archive/ModBuilder.h"
#include "archive/RemasterModInstaller.h"
#include "archive/RemasterModLayout.h"
#include "core/SafeFolderReplace.h"
#include "model/ExtractedDataRule.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QStringList Hidden(const QString& folder)
{
    return QDir(folder).entryList({".*"}, QDir::Dirs | QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

struct CountingProgress : ListingProgress
{
    void SetRange(int, int maximum) override { range = maximum; }
    void SetPosition(int position) override { last = position; }
    void ProcessEvents() override { ++events; }
    int range = -1, last = -1, events = 0;
};

class RemasterTest : public ::testing::Test
{
protected:
    // Extracted data as the tools leave it: lower case, with a file whose name no archive can hold.
    QString MakeGameData()
    {
        for (const char* name : {"data/global/excel/weapons.txt", "data/global/excel/armor.txt",
                                 "data/hd/items/sword.json", "data/local/lng/strings/item-names.json"})
            fixtures.Write(QStringLiteral("game data/%1").arg(name), QByteArray("game ") + name);
        fixtures.Write("game data/readme.txt", "not game data");
        fixtures.Write("game data/data/global/odd\\name.txt", "a backslash inside a file name");
        return fixtures.Path("game data");
    }

    ModBuilder::Request Request(const QStringList& entries, const QString& gameData = {}) const
    {
        ModBuilder::Request request;
        request.target = BuildTarget::RemasterModFolder;
        request.archivePath = fixtures.Path("MODs/Sharp/Sharp");
        request.modFolder = fixtures.Path("MODs/Sharp/");
        request.entries = entries;
        request.gameDataPath = gameData;
        return request;
    }

    ArchiveFixtures fixtures;
    MpqLibrary library;
};

TEST_F(RemasterTest, ExtractedDataIsWalkedSortedFoundInAnyCaseAndNoNameLeavesTheFolder)
{
    const QString data = MakeGameData();
    fixtures.Write("casc/Data/data/data.000", "storage");
    fixtures.Write("casc/Data/indices/0.idx", "index");
    EXPECT_TRUE(ExtractedDataRule::IsExtractedData(data));
    EXPECT_FALSE(ExtractedDataRule::IsExtractedData(fixtures.Path("casc/Data"))) << "the game's own storage";
    EXPECT_FALSE(ExtractedDataRule::IsExtractedData(fixtures.Path("casc")));
    EXPECT_TRUE(ExtractedDataRule::Problem(fixtures.Path("nowhere")).endsWith("is not a folder."));
    EXPECT_TRUE(ExtractedDataRule::Problem(data).isEmpty());

    ASSERT_TRUE(QFile::link(data + "/data/global/excel/armor.txt", data + "/data/global/excel/linked.txt"));
    CountingProgress progress;
    int skipped = 0;
    const QStringList names = GameDataFolder::List(data, &progress, &skipped);
    EXPECT_EQ(names, QStringList({"data\\global\\excel\\armor.txt", "data\\global\\excel\\weapons.txt",
                                  "data\\hd\\items\\sword.json", "data\\local\\lng\\strings\\item-names.json"}));
    EXPECT_EQ(skipped, 2) << "the link and the file whose name holds a backslash";
    EXPECT_EQ(progress.range, 4);
    EXPECT_EQ(progress.last, 4);
    EXPECT_EQ(progress.events, 6) << "the window hears of every file walked";

    EXPECT_EQ(GameDataFolder::FilePath(data, "DATA\\Global\\EXCEL\\Weapons.TXT"),
              data + "/data/global/excel/weapons.txt");
    EXPECT_EQ(GameDataFolder::Spelled(data, "Data\\Global\\Excel\\New.txt"), "data/global/excel/New.txt");
    fixtures.Write("secret.txt", "outside");
    ASSERT_TRUE(QFile::link(fixtures.Path("secret.txt"), data + "/data/global/out.txt"));
    for (const QString& outside : {QStringLiteral("data\\..\\..\\secret.txt"), QStringLiteral("data\\global\\out.txt"),
                                   QStringLiteral("data\\global"), QStringLiteral("data\\\\global\\excel\\armor.txt")})
        EXPECT_EQ(GameDataFolder::FilePath(data, outside), QString()) << outside.toStdString();

    // Into a folder under the name part, or onto a chosen file; nothing where the name is not there.
    const QString mod = fixtures.Path("MODs/Sharp/");
    QDir().mkpath(mod);
    fixtures.Write("MODs/Sharp/weapons.txt", "the modder's");
    QString error;
    EXPECT_TRUE(GameDataFolder::ExtractFile(data, "data\\global\\excel\\WEAPONS.txt", mod, true, &error));
    EXPECT_EQ(ArchiveFixtures::Read(mod + "WEAPONS.txt"), "game data/global/excel/weapons.txt");
    EXPECT_TRUE(GameDataFolder::ExtractFile(data, "data\\global\\excel\\armor.txt", mod + "chosen.txt", false));
    EXPECT_EQ(ArchiveFixtures::Read(mod + "chosen.txt"), "game data/global/excel/armor.txt");
    EXPECT_FALSE(GameDataFolder::ExtractFile(data, "data\\global\\excel\\absent.txt", mod, true, &error));
    EXPECT_EQ(error, "data\\global\\excel\\absent.txt is not in " + QDir::toNativeSeparators(data));
    EXPECT_FALSE(GameDataFolder::ExtractFile(data, "data\\global\\excel\\..", mod, true, &error));
    EXPECT_EQ(error, ".. is not a plain file name");
    for (const auto& [name, destination] : {std::pair{QStringLiteral("data\\global\\excel\\armor.txt"), QString()},
                                            {QString(), mod}}) {
        EXPECT_FALSE(GameDataFolder::ExtractFile(data, name, destination, true, &error));
        EXPECT_EQ(error, "no folder, name or destination was given");
    }
    EXPECT_EQ(ArchiveFixtures::FilesUnder(mod).keys(), QStringList({"WEAPONS.txt", "chosen.txt", "weapons.txt"}));
}

TEST_F(RemasterTest, ABuildLaysTheFilesOutAsTheGameSpellsThemAndReplacesThePreviousModOnlyWhenWhole)
{
    const QString data = MakeGameData();
    for (const char* file : {"Weapons.txt", "Armor.txt", "NewSkill.txt"})
        fixtures.Write(QStringLiteral("MODs/Sharp/%1").arg(file), QByteArray("mod ") + file);
    fixtures.Write("MODs/Sharp/.Sharp.build-abc123/stale", "left by a build that was stopped");
    RecordingLog log;
    const QStringList entries{"data\\global\\excel\\Armor.txt", "data\\Global\\Excel\\NewSkill.txt",
                              "data\\global\\excel\\Weapons.txt"};
    EXPECT_EQ(ModBuilder::Build(library, Request(entries, data), log), BuildOutcome::AllAdded);
    const QString built = fixtures.Path("MODs/Sharp/Sharp");
    EXPECT_EQ(log.text, "Adding data\\global\\excel\\Armor.txt succeeded\r\nAdding data\\Global\\Excel\\NewSkill.txt "
                        "succeeded\r\nAdding data\\global\\excel\\Weapons.txt succeeded\r\nBuilt the mod folder "
                            + QDir::toNativeSeparators(built) + "\r\n");
    EXPECT_TRUE(log.busy);
    const QMap<QString, QByteArray> first = ArchiveFixtures::FilesUnder(built);
    EXPECT_EQ(first.keys(), QStringList({"Sharp.mpq/data/global/excel/NewSkill.txt", "Sharp.mpq/data/global/excel/armor.txt",
                                         "Sharp.mpq/data/global/excel/weapons.txt", "Sharp.mpq/modinfo.json"}));
    EXPECT_EQ(first["Sharp.mpq/data/global/excel/weapons.txt"], "mod Weapons.txt");
    const QJsonObject info = QJsonDocument::fromJson(first["Sharp.mpq/modinfo.json"]).object();
    EXPECT_EQ(info, QJsonObject({{"name", "Sharp"}, {"savepath", "Sharp/"}}));
    EXPECT_TRUE(RemasterModLayout::IsModFolder(built));
    EXPECT_EQ(Hidden(fixtures.Path("MODs/Sharp")), QStringList()) << "no working folder or backup stays";

    // Without the game's data the entries' own spelling stands, each folder as the first entry wrote it.
    log.text.clear();
    EXPECT_EQ(ModBuilder::Build(library, Request(entries), log), BuildOutcome::AllAdded);
    EXPECT_EQ(ArchiveFixtures::FilesUnder(built).keys(), QStringList({"Sharp.mpq/data/global/excel/Armor.txt",
                                               "Sharp.mpq/data/global/excel/NewSkill.txt",
                                               "Sharp.mpq/data/global/excel/Weapons.txt", "Sharp.mpq/modinfo.json"}));

    // A file that cannot come keeps the whole previous mod; so do names that cannot be paths or that collide.
    const QMap<QString, QByteArray> second = ArchiveFixtures::FilesUnder(built);
    for (const QStringList& bad : {QStringList{"data\\global\\excel\\Weapons.txt", "data\\global\\excel\\Gone.txt"},
                                   QStringList{"data\\..\\Weapons.txt"},
                                   QStringList{"data\\global\\excel\\Weapons.txt", "data\\global\\EXCEL\\weapons.txt"}}) {
        SCOPED_TRACE(bad.join(' ').toStdString());
        fixtures.Write("MODs/Sharp/weapons.txt", "a second file whose name differs only in case");
        log.text.clear();
        EXPECT_EQ(ModBuilder::Build(library, Request(bad), log), BuildOutcome::SomeFailed);
        EXPECT_TRUE(log.text.contains(" failed\r\n    ")) << log.text.toStdString();
        EXPECT_TRUE(log.text.endsWith("The mod folder " + QDir::toNativeSeparators(built) + " was left as it was\r\n"));
        EXPECT_EQ(ArchiveFixtures::FilesUnder(built), second);
        EXPECT_EQ(Hidden(fixtures.Path("MODs/Sharp")), QStringList());
        QFile::remove(fixtures.Path("MODs/Sharp/weapons.txt"));
    }
    EXPECT_TRUE(log.text.contains("another file of the MOD already goes to data" + QString(QDir::separator())));

    // A folder of that name that Carvestone did not build is never replaced, nor one whose modinfo names another mod.
    const QString other = fixtures.Path("MODs/Other/Other");
    fixtures.Write("MODs/Other/Other/notes.txt", "the modder's own");
    fixtures.Write("MODs/Other/Armor.txt", "mod Armor.txt");
    ModBuilder::Request request = Request({"data\\global\\excel\\Armor.txt"});
    request.archivePath = other;
    request.modFolder = fixtures.Path("MODs/Other/");
    for (const QByteArray& info : {QByteArray(), QByteArray("{\"name\": \"Else\", \"savepath\": \"Else/\"}")}) {
        if (!info.isEmpty())
            fixtures.Write("MODs/Other/Other/Other.mpq/modinfo.json", info);
        log.text.clear();
        EXPECT_EQ(ModBuilder::Build(library, request, log), BuildOutcome::NotRun);
        EXPECT_TRUE(log.text.startsWith(QDir::toNativeSeparators(other) + " is in the way")) << log.text.toStdString();
    }
    EXPECT_EQ(ArchiveFixtures::FilesUnder(other).keys(), QStringList({"Other.mpq/modinfo.json", "notes.txt"}));
}

TEST_F(RemasterTest, AnInstallThatFailsPartWayLeavesTheInstalledModWholeAndAStoppedOneIsPutBack)
{
    const QString game = fixtures.Path("Diablo II Resurrected/");
    QDir().mkpath(game);
    fixtures.Write("MODs/Sharp/Sharp.mod", "Carvestone Project File Version 1.0\n");
    fixtures.Write("MODs/Sharp/Weapons.txt", "first build");
    EXPECT_FALSE(RemasterModInstaller::CanInstall(game, fixtures.Path("MODs/Sharp/Sharp.mod"))) << "nothing built";
    RecordingLog log;
    ASSERT_EQ(ModBuilder::Build(library, Request({"data\\global\\excel\\Weapons.txt"}), log), BuildOutcome::AllAdded);
    EXPECT_TRUE(RemasterModInstaller::CanInstall(game, fixtures.Path("MODs/Sharp/Sharp.mod")));
    EXPECT_FALSE(RemasterModInstaller::CanInstall({}, fixtures.Path("MODs/Sharp/Sharp.mod")));
    QString error;
    const QString built = fixtures.Path("MODs/Sharp/Sharp");
    ASSERT_TRUE(RemasterModInstaller::Install(built, game, error)) << error.toStdString();
    const QString installed = game + "mods/Sharp";
    EXPECT_EQ(RemasterModInstaller::InstalledFolder(game, "Sharp"), installed);
    const QMap<QString, QByteArray> firstInstall = ArchiveFixtures::FilesUnder(installed);
    EXPECT_EQ(firstInstall, ArchiveFixtures::FilesUnder(built));

    // The second build holds a file too big to copy: the install stops part-way.
    fixtures.Write("MODs/Sharp/Weapons.txt", "second build");
    fixtures.Write("MODs/Sharp/Big.dc6", ArchiveFixtures::Pattern(300000, 3));
    ASSERT_EQ(ModBuilder::Build(library, Request({"data\\global\\excel\\Weapons.txt", "data\\hd\\Big.dc6"}), log),
              BuildOutcome::AllAdded);
    {
        FileSizeLimit limit(200000);
        if (!limit.IsActive())
            GTEST_SKIP() << "cannot limit the file size of this process";
        EXPECT_FALSE(RemasterModInstaller::Install(built, game, error));
    }
    EXPECT_TRUE(error.startsWith("Cannot copy " + QDir::toNativeSeparators(built))) << error.toStdString();
    EXPECT_TRUE(error.contains("Disk full while accessing " + QDir::toNativeSeparators(installed) + "/Sharp.mpq/data/hd/Big.dc6"))
        << error.toStdString();
    EXPECT_EQ(ArchiveFixtures::FilesUnder(installed), firstInstall) << "the mod the game had is whole";
    EXPECT_EQ(Hidden(game + "mods"), QStringList()) << "no half copy stays";

    // A program stopped between its renames left only the backup: the next install starts from the old mod.
    ASSERT_TRUE(QDir().rename(installed, SafeFolderReplace::BackupPath(installed)));
    fixtures.Write("Diablo II Resurrected/mods/.Sharp.install-xyz789/half", "left by a stopped install");
    SafeFolderReplace::RecoverInterrupted(installed);
    EXPECT_EQ(ArchiveFixtures::FilesUnder(installed), firstInstall);
    ASSERT_TRUE(RemasterModInstaller::Install(built, game, error)) << error.toStdString();
    EXPECT_EQ(ArchiveFixtures::FilesUnder(installed), ArchiveFixtures::FilesUnder(built));
    EXPECT_EQ(Hidden(game + "mods"), QStringList());

    // The game's folders are found in the spelling they have.
    ASSERT_TRUE(QDir().rename(game + "mods", game + "Mods"));
    ASSERT_TRUE(QDir().rename(game + "Mods/Sharp", game + "Mods/SHARP"));
    EXPECT_EQ(RemasterModInstaller::InstalledFolder(game, "Sharp"), game + "Mods/SHARP");
    ASSERT_TRUE(RemasterModInstaller::Install(built, game, error)) << error.toStdString();
    EXPECT_EQ(QDir(game).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList({"Mods"}));
    EXPECT_EQ(ArchiveFixtures::FilesUnder(game + "Mods/SHARP"), ArchiveFixtures::FilesUnder(built));

    EXPECT_FALSE(RemasterModInstaller::Install(built, fixtures.Path("no game"), error));
    EXPECT_EQ(error, "The Diablo II: Resurrected folder " + QDir::toNativeSeparators(fixtures.Path("no game"))
                         + " does not exist.");
    EXPECT_FALSE(RemasterModInstaller::Install(fixtures.Path("MODs/Sharp"), game, error));
    EXPECT_TRUE(error.endsWith("has not been built (build the MOD first)."));
}

} // namespace
