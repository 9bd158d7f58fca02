#include "app/CarvestoneSettings.h"

#include "FileSizeLimit.h"
#include "TestFiles.h"

#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <climits>
#include <tuple>
#include <utility>

#include <gtest/gtest.h>

namespace {

using GridFont = CarvestoneSettings::GridFont;

TEST(GridFontValue, ParsesFaceSizeAndStyleWordsAndOddValuesAsTheRulesSay)
{
    // No digits give 0; the style is read only after a comma that ends the
    // number; the face keeps its blanks; style words are exact.
    for (const auto& [value, expected] : {
             std::pair<const char*, GridFont>{"Courier New, 12, Bold Italic", {"Courier New", 12, true, true}},
             {"Tahoma", {"Tahoma", 9, false, false}}, {"Arial, 9", {"Arial", 9, false, false}},
             {"Arial, 8, Italic", {"Arial", 8, false, true}}, {"Arial, big, Bold", {"Arial", 0, false, false}},
             {"Arial,  -3,Bold", {"Arial", -3, true, false}}, {"Arial, 10 , Bold", {"Arial", 10, false, false}},
             {" Arial ,10,bold", {" Arial ", 10, false, false}},
             {"Arial, 99999999999, Bold", {"Arial", INT_MAX, true, false}}}) {
        SCOPED_TRACE(value);
        const GridFont font = CarvestoneSettings::ParseGridFont(QString::fromLatin1(value));
        EXPECT_EQ(std::tuple(font.name, font.size, font.bold, font.italic),
                  std::tuple(expected.name, expected.size, expected.bold, expected.italic));
    }
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
    EXPECT_EQ(Loaded().GameMpqPath, QStringLiteral("/opt/carvestone/demo/patch_d2.mpq")) << "no game: the demo";

    const QString game = folder.filePath(QStringLiteral("Diablo II"));
    EXPECT_EQ(Loaded(game).GameMpqPath, game + QStringLiteral("/patch_d2.mpq"));

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
    const QStringList four{"/e.mod", "/b.mod", "/d.mod", "/c.mod"};
    EXPECT_EQ(settings.RecentFiles, four);
    QSettings store(IniPath(), QSettings::IniFormat);
    ASSERT_TRUE(settings.StoreRecentFiles(store));
    EXPECT_EQ(Loaded().RecentFiles, four) << "all four come back at the next start";

    EXPECT_TRUE(settings.RemoveRecentFile(QStringLiteral("/d.mod")));
    ASSERT_TRUE(settings.StoreRecentFiles(store)); // the shorter list leaves no File4 behind
    EXPECT_EQ(Loaded().RecentFiles, QStringList({"/e.mod", "/b.mod", "/c.mod"}));
}

TEST_F(SettingsStoreTest, StoredOptionsComeBackAsTheyWereAtTheNextStartAndOtherKeysStay)
{
    // Each switch and style flag on once while its neighbours are off, so that
    // no value can stand in for another; archive paths an INI file must escape.
    TestFiles::Write(IniPath(), "[Other]\nHand%20Made=\"kept, as is\"\n");
    for (const auto& [compress, mostRecent, bold, italic, mpq] :
         {std::tuple{true, false, false, false, QStringLiteral("/home/me/My MODs, \"new\"; =old\\/")},
          std::tuple{false, true, false, false, QStringLiteral("@Variant(x)")},
          std::tuple{false, false, true, false, QStringLiteral("C:\\Jeux\\Diablo \u00e9t\u00e9 \u65e5\u672c/patch_d2.mpq")},
          std::tuple{false, false, false, true, QStringLiteral("tab\there\nline\x01" "ABC")},
          std::tuple{true, true, true, true, QStringLiteral(" padded ")}}) {
        SCOPED_TRACE(mpq.toStdString());
        CarvestoneSettings settings;
        settings.GameMpqPath = mpq;
        settings.ModsPath = QStringLiteral("/home/me/MODs/");
        settings.GridFontName = QStringLiteral("Courier New");
        settings.GridFontSize = 11;
        std::tie(settings.UseCompression, settings.OpenMostRecent, settings.GridFontBold, settings.GridFontItalic) =
            std::tuple(compress, mostRecent, bold, italic);
        {
            QSettings store(IniPath(), QSettings::IniFormat);
            ASSERT_TRUE(settings.StoreOptions(store));
        }
        const CarvestoneSettings loaded = Loaded();
        EXPECT_EQ(std::tuple(loaded.GameMpqPath, loaded.ModsPath, loaded.GridFontName, loaded.GridFontSize),
                  std::tuple(mpq, settings.ModsPath, settings.GridFontName, 11));
        EXPECT_EQ(std::tuple(loaded.UseCompression, loaded.OpenMostRecent, loaded.GridFontBold, loaded.GridFontItalic),
                  std::tuple(compress, mostRecent, bold, italic));
    }
    EXPECT_EQ(QSettings(IniPath(), QSettings::IniFormat).value(QStringLiteral("Other/Hand Made")).toString(),
              QStringLiteral("kept, as is"));
}

// Sizes against the write buffer are SafeFileWriter's; here only that the
// stores report a failure and leave the old file whole.
TEST_F(SettingsStoreTest, ASettingsFileThatCannotBeWrittenFailsAndStaysWhole)
{
    TestFiles::Write(folder.filePath(QStringLiteral("file")), {});
    QSettings underAFile(folder.filePath(QStringLiteral("file/Carvestone.ini")), QSettings::IniFormat);
    EXPECT_FALSE(CarvestoneSettings().StoreOptions(underAFile));

    CarvestoneSettings settings;
    QSettings store(IniPath(), QSettings::IniFormat);
    ASSERT_TRUE(settings.StoreOptions(store));
    const QByteArray old = TestFiles::Read(IniPath());
    settings.GameMpqPath = QString(20000, QLatin1Char('p'));
    settings.RecentFiles = {QString(20000, QLatin1Char('r'))};
    {
        FileSizeLimit limit(10000);
        ASSERT_TRUE(limit.IsActive());
        EXPECT_FALSE(settings.StoreOptions(store));
        EXPECT_FALSE(settings.StoreRecentFiles(store));
    }
    EXPECT_EQ(TestFiles::Read(IniPath()), old);
}

} // namespace
