#include "core/CarvestoneSettings.h"
#include "core/GameInstallation.h"

#include "FileSizeLimit.h"
#include "TestFiles.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <climits>
#include <tuple>

#include <gtest/gtest.h>

namespace {

TEST(GridFontValue, ParsesFaceSizeAndStyleWordsAndOddValuesAsTheRulesSay)
{
    // No digits give 0; a style only after a comma ending the number; the face keeps its blanks; exact words.
    for (const auto& [value, name, size, bold, italic] :
         {std::tuple{"Courier New, 12, Bold Italic", "Courier New", 12, true, true},
          {"Tahoma", "Tahoma", 9, false, false}, {"Arial, 9", "Arial", 9, false, false},
          {"Arial, 8, Italic", "Arial", 8, false, true}, {"Arial, big, Bold", "Arial", 0, false, false},
          {"Arial,  -3,Bold", "Arial", -3, true, false}, {"Arial, 10 , Bold", "Arial", 10, false, false},
          {" Arial ,10,bold", " Arial ", 10, false, false},
          {"Arial, 99999999999, Bold", "Arial", INT_MAX, true, false}}) {
        const auto f = CarvestoneSettings::ParseGridFont(QString::fromLatin1(value));
        EXPECT_EQ(std::tuple(f.name, f.size, f.bold, f.italic), std::tuple(QString(name), size, bold, italic)) << value;
    }
}

// The game's folder from a Wine prefix's user.reg whose game key, in another case, holds the line; a decoy.
TEST(GameInstallation, TheRecordedWindowsPathBecomesAFolderInThePrefixWithASlashElseNone)
{
    QTemporaryDir prefix;
    EXPECT_TRUE(GameInstallation::FolderInWinePrefix(prefix.path()).isEmpty()) << "no user.reg";
    QDir(prefix.path()).mkpath(QStringLiteral("drive_c/Games/Diablo II"));
    const QString found = QDir(prefix.path()).canonicalPath() + QStringLiteral("/drive_c/Games/Diablo II/");
    for (const auto& [line, folder] : {std::pair{QByteArray("\"InstallPath\"=\"C:\\\\games\\\\DIABLO II\""), found},
                                       {QByteArray("\"Unrelated\"=\"C:\\\\Games\""), QString()},
                                       {"\"InstallPath\"=\"C:\\\\" + QByteArray(257, 'x') + "\"", QString()},
                                       {QByteArray("\"InstallPath\"=\"Games\""), QString()}}) {
        TestFiles::Write(prefix.filePath(QStringLiteral("user.reg")),
                         "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21\n\n"
                         "[Software\\\\Blizzard Entertainment\\\\Battle.net] 1\n\"InstallPath\"=\"C:\\\\No\"\n\n"
                         "[software\\\\BLIZZARD Entertainment\\\\diablo ii] 1700000001\n#time=1da1234\n"
                         "\"Other\"=dword:00000001\n" + line + "\n\n[Software\\\\Wine] 1700000002\n");
        EXPECT_EQ(GameInstallation::FolderInWinePrefix(prefix.path()), folder) << line.left(40).toStdString();
    }
}

class SettingsStoreTest : public ::testing::Test
{
protected:
    CarvestoneSettings Loaded(const QString& gameFolder = {})
    {
        QSettings store(ini, QSettings::IniFormat);
        CarvestoneSettings settings;
        settings.Load(store, gameFolder, QStringLiteral("/opt/carvestone"));
        return settings;
    }

    QTemporaryDir folder;
    const QString ini = folder.filePath(QStringLiteral("Carvestone.ini"));
};

TEST_F(SettingsStoreTest, TheArchiveIsTheGamesWhateverItsSpellingElseTheDemoAndHandEditedValuesWin)
{
    EXPECT_EQ(Loaded().GameMpqPath, QStringLiteral("/opt/carvestone/demo/patch_d2.mpq")) << "no game: the demo";
    const QString game = folder.filePath(QStringLiteral("Diablo II"));
    EXPECT_EQ(Loaded(game).GameMpqPath, game + QStringLiteral("/patch_d2.mpq"));
    TestFiles::Write(folder.filePath(QStringLiteral("Patch_D2.MPQ")), {});
    EXPECT_EQ(Loaded(folder.path()).GameMpqPath, folder.path() + QStringLiteral("/Patch_D2.MPQ"));

    TestFiles::Write(ini, "[Settings]\nGrid%20Font=Tahoma, 11, Italic\nUse%20Compression=true\nOpen%20Most%20Recent=0\n"
                          "MODs%20Path=/home/me/MODs\nDiablo%20II%20MPQ=/elsewhere/patch_d2.mpq\n");
    const CarvestoneSettings settings = Loaded(game);
    EXPECT_EQ(settings.GameMpqPath, QStringLiteral("/elsewhere/patch_d2.mpq"));
    EXPECT_EQ(settings.GridFontValue(), QStringLiteral("Tahoma, 11, Italic")) << "a list is joined back";
    EXPECT_TRUE(settings.UseCompression);
    EXPECT_FALSE(settings.OpenMostRecent);
    EXPECT_EQ(settings.ModsPath, QStringLiteral("/home/me/MODs/"));
}

TEST_F(SettingsStoreTest, StoredOptionsAndTheNewestFourRecentFilesComeBackAtTheNextStartAndOtherKeysStay)
{
    TestFiles::Write(ini, "[Other]\nHand%20Made=\"kept, as is\"\n");
    // Each flag on once while the others are off, so no value can stand in for another; paths an INI must escape.
    for (const auto& [compress, mostRecent, bold, italic, mpq] :
         {std::tuple{true, false, false, false, QStringLiteral("/home/me/My MODs, \"new\"; =old\\/")},
          {false, true, false, false, "@Variant(x)"},
          {false, false, true, false, QStringLiteral("C:\\Jeux\\\u00e9t\u00e9 \u65e5\u672c/patch_d2.mpq")},
          {false, false, false, true, QStringLiteral("tab\there\nline\x01" "ABC")},
          {true, true, true, true, " padded "}}) {
        SCOPED_TRACE(mpq.toStdString());
        CarvestoneSettings settings;
        settings.GameMpqPath = mpq;
        settings.ModsPath = QStringLiteral("/home/me/MODs/");
        settings.GridFontName = QStringLiteral("Courier New");
        settings.GridFontSize = 11;
        std::tie(settings.UseCompression, settings.OpenMostRecent, settings.GridFontBold, settings.GridFontItalic) =
            std::tuple(compress, mostRecent, bold, italic);
        QSettings store(ini, QSettings::IniFormat);
        ASSERT_TRUE(settings.StoreOptions(store));
        const CarvestoneSettings loaded = Loaded();
        EXPECT_EQ(std::tuple(loaded.GameMpqPath, loaded.ModsPath, loaded.GridFontName, loaded.GridFontSize),
                  std::tuple(mpq, settings.ModsPath, settings.GridFontName, 11));
        EXPECT_EQ(std::tie(loaded.UseCompression, loaded.OpenMostRecent, loaded.GridFontBold, loaded.GridFontItalic),
                  std::tie(compress, mostRecent, bold, italic));
    }
    CarvestoneSettings recent;
    for (const char* path : {"/a.mod", "/b.mod", "/c.mod", "/d.mod", "/b.mod", "/e.mod"})
        recent.AddRecentFile(QString::fromLatin1(path));
    QSettings store(ini, QSettings::IniFormat);
    ASSERT_TRUE(recent.StoreRecentFiles(store));
    EXPECT_EQ(QSettings(ini, QSettings::IniFormat).value("Other/Hand Made").toString(), QStringLiteral("kept, as is"));
    EXPECT_EQ(Loaded().RecentFiles, QStringList({"/e.mod", "/b.mod", "/d.mod", "/c.mod"})) << "all four, newest first";
}

// Sizes against the write buffer are SafeFileWriter's; here the stores report a failure and keep the old file.
TEST_F(SettingsStoreTest, ASettingsFileThatCannotBeWrittenFailsAndStaysWhole)
{
    TestFiles::Write(folder.filePath(QStringLiteral("file")), {});
    QSettings underAFile(folder.filePath(QStringLiteral("file/Carvestone.ini")), QSettings::IniFormat);
    EXPECT_FALSE(CarvestoneSettings().StoreOptions(underAFile));

    CarvestoneSettings settings;
    QSettings store(ini, QSettings::IniFormat);
    ASSERT_TRUE(settings.StoreOptions(store));
    const QByteArray old = TestFiles::Read(ini);
    settings.GameMpqPath = QString(20000, QLatin1Char('p'));
    settings.RecentFiles = {QString(20000, QLatin1Char('r'))};
    {
        FileSizeLimit limit(10000);
        ASSERT_TRUE(limit.IsActive());
        EXPECT_FALSE(settings.StoreOptions(store));
        EXPECT_FALSE(settings.StoreRecentFiles(store));
    }
    EXPECT_EQ(TestFiles::Read(ini), old);
}

} // namespace
