#include "app/CarvestoneSettings.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using GridFont = CarvestoneSettings::GridFont;

void ExpectFont(const GridFont& font, const QString& name, int size, bool bold, bool italic)
{
    EXPECT_EQ(font.name, name);
    EXPECT_EQ(font.size, size);
    EXPECT_EQ(font.bold, bold);
    EXPECT_EQ(font.italic, italic);
}

TEST(GridFontValue, ParsesFaceSizeAndStyleWords)
{
    ExpectFont(CarvestoneSettings::ParseGridFont(QStringLiteral("Arial, 12, Bold Italic")), "Arial", 12, true, true);
    ExpectFont(CarvestoneSettings::ParseGridFont(QStringLiteral("Courier New, 10, Regular")), "Courier New", 10, false,
               false);
    ExpectFont(CarvestoneSettings::ParseGridFont(QStringLiteral("Tahoma")), "Tahoma", 9, false, false);
    ExpectFont(CarvestoneSettings::ParseGridFont(QStringLiteral("Arial, 9")), "Arial", 9, false, false);
    ExpectFont(CarvestoneSettings::ParseGridFont(QStringLiteral("Arial, 8, Italic")), "Arial", 8, false, true);
}

TEST(GridFontValue, ParsesOddValuesAsTheRulesSay)
{
    // No digits give size 0, and the style is only read after a comma that
    // ends the number.
    ExpectFont(CarvestoneSettings::ParseGridFont(QStringLiteral("Arial, big, Bold")), "Arial", 0, false, false);
    ExpectFont(CarvestoneSettings::ParseGridFont(QStringLiteral("Arial,  -3,Bold")), "Arial", -3, true, false);
    ExpectFont(CarvestoneSettings::ParseGridFont(QStringLiteral("Arial, 10 , Bold")), "Arial", 10, false, false);
    ExpectFont(CarvestoneSettings::ParseGridFont(QStringLiteral(" Arial ,10,bold")), " Arial ", 10, false, false);
    ExpectFont(CarvestoneSettings::ParseGridFont(QStringLiteral("Arial, 99999999999, Bold")), "Arial", INT_MAX, true,
               false);
}

TEST(GridFontValue, WritesFaceSizeAndOneStyleWord)
{
    EXPECT_EQ(CarvestoneSettings::FormatGridFont({"Arial", 9, false, false}), QStringLiteral("Arial, 9, Regular"));
    EXPECT_EQ(CarvestoneSettings::FormatGridFont({"Arial", 9, true, false}), QStringLiteral("Arial, 9, Bold"));
    EXPECT_EQ(CarvestoneSettings::FormatGridFont({"Arial", 9, false, true}), QStringLiteral("Arial, 9, Italic"));
    EXPECT_EQ(CarvestoneSettings::FormatGridFont({"Courier New", 12, true, true}),
              QStringLiteral("Courier New, 12, Bold Italic"));
    for (const GridFont& font : {GridFont{"Verdana", 11, true, false}, GridFont{"Arial", 7, true, true}}) {
        const GridFont back = CarvestoneSettings::ParseGridFont(CarvestoneSettings::FormatGridFont(font));
        ExpectFont(back, font.name, font.size, font.bold, font.italic);
    }
}

class SettingsStoreTest : public ::testing::Test
{
protected:
    QString IniPath() const { return folder.filePath(QStringLiteral("Carvestone.ini")); }
    QTemporaryDir folder;
};

TEST_F(SettingsStoreTest, AnEmptyStoreGivesTheDefaults)
{
    QSettings store(IniPath(), QSettings::IniFormat);
    CarvestoneSettings settings;
    settings.Load(store, QString(), QStringLiteral("/opt/carvestone"));
    EXPECT_TRUE(settings.ModsPath.isEmpty());
    EXPECT_TRUE(settings.GameFolder.isEmpty());
    EXPECT_EQ(settings.ProgramFolder, QStringLiteral("/opt/carvestone/"));
    EXPECT_EQ(settings.GameMpqPath, QStringLiteral("/opt/carvestone/demo/patch_d2.mpq"));
    EXPECT_TRUE(settings.UseCompression);
    EXPECT_TRUE(settings.OpenMostRecent);
    EXPECT_EQ(settings.GridFontName, QStringLiteral("Arial"));
    EXPECT_EQ(settings.GridFontSize, 9);
    EXPECT_FALSE(settings.GridFontBold || settings.GridFontItalic);
    EXPECT_TRUE(settings.RecentFiles.isEmpty());
}

TEST_F(SettingsStoreTest, TheGameFolderGivesTheArchiveDefaultAndAStoredPathWins)
{
    const QString game = folder.filePath(QStringLiteral("Diablo II"));
    QSettings store(IniPath(), QSettings::IniFormat);
    CarvestoneSettings settings;
    settings.Load(store, game, QStringLiteral("/opt/carvestone/"));
    EXPECT_EQ(settings.GameFolder, game + QLatin1Char('/'));
    EXPECT_EQ(settings.GameMpqPath, game + QStringLiteral("/patch_d2.mpq"));

    store.setValue(QStringLiteral("Settings/Diablo II MPQ"), QStringLiteral("/elsewhere/patch_d2.mpq"));
    settings.Load(store, game, QStringLiteral("/opt/carvestone/"));
    EXPECT_EQ(settings.GameMpqPath, QStringLiteral("/elsewhere/patch_d2.mpq"));
}

TEST_F(SettingsStoreTest, TheGamesArchiveIsFoundWhateverItsSpelling)
{
    QFile archive(folder.filePath(QStringLiteral("Patch_D2.MPQ")));
    ASSERT_TRUE(archive.open(QIODevice::WriteOnly));
    EXPECT_EQ(CarvestoneSettings::DefaultGameMpqPath(folder.path() + QLatin1Char('/'), QStringLiteral("/p/")),
              folder.path() + QStringLiteral("/Patch_D2.MPQ"));
}

TEST_F(SettingsStoreTest, OptionsAreStoredUnderTheirNamesWithIntegersAsOneOrZero)
{
    CarvestoneSettings settings;
    settings.GameMpqPath = QStringLiteral("/games/d2/patch_d2.mpq");
    settings.ModsPath = QStringLiteral("/home/me/MODs/");
    settings.GridFontName = QStringLiteral("Courier New");
    settings.GridFontSize = 10;
    settings.GridFontBold = true;
    settings.UseCompression = false;
    settings.OpenMostRecent = true;
    {
        QSettings store(IniPath(), QSettings::IniFormat);
        ASSERT_TRUE(settings.StoreOptions(store));
    }
    QSettings store(IniPath(), QSettings::IniFormat);
    EXPECT_EQ(store.value(QStringLiteral("Settings/Diablo II MPQ")).toString(), settings.GameMpqPath);
    EXPECT_EQ(store.value(QStringLiteral("Settings/MODs Path")).toString(), settings.ModsPath);
    EXPECT_EQ(store.value(QStringLiteral("Settings/Grid Font")).toString(), QStringLiteral("Courier New, 10, Bold"));
    EXPECT_EQ(store.value(QStringLiteral("Settings/Use Compression")).toString(), QStringLiteral("0"));
    EXPECT_EQ(store.value(QStringLiteral("Settings/Open Most Recent")).toString(), QStringLiteral("1"));

    CarvestoneSettings back;
    back.Load(store, QString(), QStringLiteral("/p/"));
    EXPECT_EQ(back.GridFontName, QStringLiteral("Courier New"));
    EXPECT_TRUE(back.GridFontBold);
    EXPECT_FALSE(back.UseCompression);
}

TEST_F(SettingsStoreTest, HandEditedValuesAreUnderstood)
{
    QFile ini(IniPath());
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Settings]\nGrid%20Font=Tahoma, 11, Italic\nUse%20Compression=true\nOpen%20Most%20Recent=0\n"
              "MODs%20Path=/home/me/MODs\n");
    ini.close();
    QSettings store(IniPath(), QSettings::IniFormat);
    CarvestoneSettings settings;
    settings.Load(store, QString(), QStringLiteral("/p/"));
    EXPECT_EQ(settings.GridFontName, QStringLiteral("Tahoma"));
    EXPECT_EQ(settings.GridFontSize, 11);
    EXPECT_TRUE(settings.GridFontItalic);
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
    }
    EXPECT_TRUE(settings.RemoveRecentFile(QStringLiteral("/d.mod")));
    EXPECT_FALSE(settings.RemoveRecentFile(QStringLiteral("/d.mod")));
    QSettings store(IniPath(), QSettings::IniFormat);
    settings.StoreRecentFiles(store);
    EXPECT_FALSE(store.contains(QStringLiteral("Recent File List/File4")));
    CarvestoneSettings back;
    back.Load(store, QString(), QStringLiteral("/p/"));
    EXPECT_EQ(back.RecentFiles, QStringList({"/e.mod", "/b.mod", "/c.mod"}));
}

TEST_F(SettingsStoreTest, AStoreThatCannotBeWrittenSaysSo)
{
    QFile blocker(folder.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QSettings store(folder.filePath(QStringLiteral("file/Carvestone.ini")), QSettings::IniFormat);
    CarvestoneSettings settings;
    EXPECT_FALSE(settings.StoreOptions(store));
}

TEST(SettingsLocation, TheConfigFolderVariableChoosesTheIniFile)
{
    const auto store = CarvestoneSettings::OpenStore();
    EXPECT_EQ(store->format(), QSettings::IniFormat);
    EXPECT_EQ(store->fileName(), qEnvironmentVariable("CARVESTONE_CONFIG_DIR") + QStringLiteral("/Carvestone.ini"));
}

} // namespace
