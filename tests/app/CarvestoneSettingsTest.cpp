#include "app/CarvestoneSettings.h"

#include "TestFiles.h"

#include <QSettings>
#include <QTemporaryDir>

#include <climits>

#include <gtest/gtest.h>

namespace {

using GridFont = CarvestoneSettings::GridFont;

TEST(GridFontValue, ParsesFaceSizeAndStyleWordsAndOddValuesAsTheRulesSay)
{
    struct Case
    {
        const char* value;
        GridFont font;
    };
    for (const Case& c : {
             Case{"Arial, 12, Bold Italic", {"Arial", 12, true, true}},
             Case{"Courier New, 10, Regular", {"Courier New", 10, false, false}},
             Case{"Tahoma", {"Tahoma", 9, false, false}},
             Case{"Arial, 9", {"Arial", 9, false, false}},
             Case{"Arial, 8, Italic", {"Arial", 8, false, true}},
             // No digits give 0; the style is read only after a comma that
             // ends the number; the face keeps its blanks; words are exact.
             Case{"Arial, big, Bold", {"Arial", 0, false, false}},
             Case{"Arial,  -3,Bold", {"Arial", -3, true, false}},
             Case{"Arial, 10 , Bold", {"Arial", 10, false, false}},
             Case{" Arial ,10,bold", {" Arial ", 10, false, false}},
             Case{"Arial, 99999999999, Bold", {"Arial", INT_MAX, true, false}},
         }) {
        SCOPED_TRACE(c.value);
        const GridFont font = CarvestoneSettings::ParseGridFont(QString::fromLatin1(c.value));
        EXPECT_EQ(font.name, c.font.name);
        EXPECT_EQ(font.size, c.font.size);
        EXPECT_EQ(font.bold, c.font.bold);
        EXPECT_EQ(font.italic, c.font.italic);
    }
}

TEST(GridFontValue, WritesFaceSizeAndOneStyleWord)
{
    EXPECT_EQ(CarvestoneSettings::FormatGridFont({"Arial", 9, false, false}), QStringLiteral("Arial, 9, Regular"));
    EXPECT_EQ(CarvestoneSettings::FormatGridFont({"Arial", 9, true, false}), QStringLiteral("Arial, 9, Bold"));
    EXPECT_EQ(CarvestoneSettings::FormatGridFont({"Arial", 9, false, true}), QStringLiteral("Arial, 9, Italic"));
    EXPECT_EQ(CarvestoneSettings::FormatGridFont({"Courier New", 12, true, true}),
              QStringLiteral("Courier New, 12, Bold Italic"));
}

class SettingsStoreTest : public ::testing::Test
{
protected:
    QString IniPath() const { return folder.filePath(QStringLiteral("Carvestone.ini")); }
    CarvestoneSettings Loaded(const QString& gameFolder = {})
    {
        QSettings store(IniPath(), QSettings::IniFormat);
        CarvestoneSettings settings;
        settings.Load(store, gameFolder, QStringLiteral("/opt/carvestone"));
        return settings;
    }

    QTemporaryDir folder;
};

TEST_F(SettingsStoreTest, TheArchiveIsTheGamesWhateverItsSpellingElseTheDemoAndAStoredPathWins)
{
    const CarvestoneSettings fresh = Loaded();
    EXPECT_TRUE(fresh.GameFolder.isEmpty() && fresh.ModsPath.isEmpty() && fresh.RecentFiles.isEmpty());
    EXPECT_EQ(fresh.GameMpqPath, QStringLiteral("/opt/carvestone/demo/patch_d2.mpq")) << "no game: the demo archive";

    const QString game = folder.filePath(QStringLiteral("Diablo II"));
    const CarvestoneSettings settings = Loaded(game);
    EXPECT_EQ(settings.GameFolder, game + QLatin1Char('/'));
    EXPECT_EQ(settings.GameMpqPath, game + QStringLiteral("/patch_d2.mpq"));

    TestFiles::Write(folder.filePath(QStringLiteral("Patch_D2.MPQ")), {});
    EXPECT_EQ(Loaded(folder.path()).GameMpqPath, folder.path() + QStringLiteral("/Patch_D2.MPQ"));

    QSettings(IniPath(), QSettings::IniFormat)
        .setValue(QStringLiteral("Settings/Diablo II MPQ"), QStringLiteral("/elsewhere/patch_d2.mpq"));
    EXPECT_EQ(Loaded(game).GameMpqPath, QStringLiteral("/elsewhere/patch_d2.mpq"));
}

TEST_F(SettingsStoreTest, HandEditedValuesAreUnderstood)
{
    TestFiles::Write(IniPath(), "[Settings]\nGrid%20Font=Tahoma, 11, Italic\nUse%20Compression=true\n"
                                "Open%20Most%20Recent=0\nMODs%20Path=/home/me/MODs\n");
    const CarvestoneSettings settings = Loaded();
    EXPECT_EQ(settings.GridFontValue(), QStringLiteral("Tahoma, 11, Italic")) << "a list is joined back";
    EXPECT_TRUE(settings.UseCompression);
    EXPECT_FALSE(settings.OpenMostRecent);
    EXPECT_EQ(settings.ModsPath, QStringLiteral("/home/me/MODs/"));
}

TEST_F(SettingsStoreTest, RecentFilesKeepTheNewestFourNewestFirst)
{
    CarvestoneSettings settings;
    for (const char* path : {"/a.mod", "/b.mod", "/c.mod", "/d.mod", "/b.mod", "/e.mod"})
        settings.AddRecentFile(QString::fromLatin1(path));
    EXPECT_EQ(settings.RecentFiles, QStringList({"/e.mod", "/b.mod", "/d.mod", "/c.mod"}));
    {
        QSettings store(IniPath(), QSettings::IniFormat);
        ASSERT_TRUE(settings.StoreRecentFiles(store));
        EXPECT_EQ(store.value(QStringLiteral("Recent File List/File1")).toString(), QStringLiteral("/e.mod"));
        EXPECT_EQ(store.value(QStringLiteral("Recent File List/File4")).toString(), QStringLiteral("/c.mod"));
        EXPECT_TRUE(settings.RemoveRecentFile(QStringLiteral("/d.mod")));
        EXPECT_FALSE(settings.RemoveRecentFile(QStringLiteral("/d.mod")));
        settings.StoreRecentFiles(store);
        EXPECT_FALSE(store.contains(QStringLiteral("Recent File List/File4")));
    }
    EXPECT_EQ(Loaded().RecentFiles, QStringList({"/e.mod", "/b.mod", "/c.mod"}));
}

TEST_F(SettingsStoreTest, AStoreThatCannotBeWrittenSaysSo)
{
    TestFiles::Write(folder.filePath(QStringLiteral("file")), {});
    QSettings store(folder.filePath(QStringLiteral("file/Carvestone.ini")), QSettings::IniFormat);
    EXPECT_FALSE(CarvestoneSettings().StoreOptions(store));
}

TEST(SettingsLocation, TheConfigFolderVariableChoosesTheIniFile)
{
    const auto store = CarvestoneSettings::OpenStore();
    EXPECT_EQ(store->format(), QSettings::IniFormat);
    EXPECT_EQ(store->fileName(), qEnvironmentVariable("CARVESTONE_CONFIG_DIR") + QStringLiteral("/Carvestone.ini"));
}

} // namespace
