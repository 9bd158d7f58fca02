#include "core/CarvestoneSettings.h"
#include "core/RemasterInstallation.h"

#include "QStringPrinter.h"
#include "TestFiles.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A prefix's system.reg as Wine writes it: keys relative to the machine, backslashes doubled.
QByteArray SystemReg(const QByteArray& key, const QByteArray& location)
{
    return "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n[Software\\\\Wow6432Node\\\\Blizzard] 1\n"
           "\"InstallLocation\"=\"C:\\\\Decoy\"\n\n["
        + key + "] 1700000000\n#time=1da1234\n\"DisplayName\"=\"Diablo II: Resurrected\"\n\"InstallLocation\"=\""
        + location + "\"\n";
}

class RemasterInstallationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        previousHome = qgetenv("HOME");
        previousPrefix = qgetenv("WINEPREFIX");
        qputenv("HOME", home.path().toLocal8Bit());
        qunsetenv("WINEPREFIX");
    }
    void TearDown() override
    {
        qputenv("HOME", previousHome);
        qputenv("WINEPREFIX", previousPrefix);
    }
    // A game folder in a prefix under the home folder; answers it as the program names it.
    QString MakeGame(const QString& prefix, const QString& folder)
    {
        const QString path = home.filePath(prefix + QStringLiteral("/drive_c/") + folder);
        EXPECT_TRUE(QDir().mkpath(path));
        return QDir(home.filePath(prefix + QStringLiteral("/drive_c"))).canonicalPath() + QLatin1Char('/') + folder
            + QLatin1Char('/');
    }

    QTemporaryDir home;
    QByteArray previousHome, previousPrefix;
};

TEST_F(RemasterInstallationTest, TheInstallersRecordWinsThenTheUsualFolderInEveryPrefixWinePrefixAlone)
{
    EXPECT_EQ(RemasterInstallation::FindFolder(), QString()) << "no prefix at all";
    const QString usual = MakeGame(".wine", "Program Files (x86)/Diablo II Resurrected");
    EXPECT_EQ(RemasterInstallation::FindFolder(), usual);

    const QString recorded = MakeGame(".wine", "Games/D2R");
    const QByteArray uninstall = "Software\\\\Wow6432Node\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\"
                                 "Diablo II Resurrected";
    TestFiles::Write(home.filePath(".wine/system.reg"), SystemReg(uninstall, "C:\\\\games\\\\d2r\\\\"));
    EXPECT_EQ(RemasterInstallation::FindFolder(), recorded) << "the record, its case as the disk has it";
    TestFiles::Write(home.filePath(".wine/system.reg"), SystemReg(uninstall, "C:\\\\Gone"));
    EXPECT_EQ(RemasterInstallation::FindFolder(), usual) << "a record of a folder that is gone";
    TestFiles::Write(home.filePath(".wine/system.reg"),
                     SystemReg("Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\Diablo II Resurrected",
                               "C:\\\\Games\\\\D2R"));
    EXPECT_EQ(RemasterInstallation::FindFolder(), recorded) << "the 64-bit view's record";

    // Proton keeps one prefix a game; Steam may live in either of its usual places.
    QDir(home.filePath(".wine")).removeRecursively();
    EXPECT_EQ(RemasterInstallation::FindFolder(), QString());
    const QString proton = MakeGame(".local/share/Steam/steamapps/compatdata/2000001/pfx",
                                    "Program Files (x86)/Diablo II Resurrected");
    QDir().mkpath(home.filePath(".local/share/Steam/steamapps/compatdata/1000001/pfx"));
    EXPECT_EQ(RemasterInstallation::FindFolder(), proton);
    EXPECT_EQ(RemasterInstallation::WinePrefixes().mid(2),
              QStringList({home.filePath(".local/share/Steam/steamapps/compatdata/1000001/pfx"),
                           home.filePath(".local/share/Steam/steamapps/compatdata/2000001/pfx")}));

    const QString chosen = MakeGame("chosen", "Program Files/Diablo II Resurrected");
    qputenv("WINEPREFIX", home.filePath("chosen").toLocal8Bit());
    EXPECT_EQ(RemasterInstallation::WinePrefixes(), QStringList({home.filePath("chosen")}));
    EXPECT_EQ(RemasterInstallation::FindFolder(), chosen);
}

// The folder found is used until the person chooses another; the extracted data is the demo's until then.
TEST(RemasterSettings, TheChosenFolderWinsOverTheFoundOneAndBothFoldersComeBackFromTheStore)
{
    QTemporaryDir folder;
    const QString ini = folder.filePath(QStringLiteral("Carvestone.ini"));
    const auto load = [&ini](const QString& found) {
        QSettings store(ini, QSettings::IniFormat);
        CarvestoneSettings settings;
        settings.Load(store, {}, QStringLiteral("/opt/carvestone"), found);
        return settings;
    };
    CarvestoneSettings settings = load(QStringLiteral("/games/D2R"));
    EXPECT_EQ(settings.RemasterDataPath, QStringLiteral("/opt/carvestone/demo/remaster"));
    EXPECT_EQ(settings.RemasterFolder(), QStringLiteral("/games/D2R/"));
    EXPECT_EQ(load({}).RemasterFolder(), QString());

    settings.RemasterDataPath = QStringLiteral("/home/me/d2r data");
    settings.RemasterFolderChosen = QStringLiteral("/mnt/other D2R/");
    QSettings store(ini, QSettings::IniFormat);
    ASSERT_TRUE(settings.StoreOptions(store));
    const CarvestoneSettings loaded = load(QStringLiteral("/games/D2R"));
    EXPECT_EQ(loaded.RemasterDataPath, QStringLiteral("/home/me/d2r data"));
    EXPECT_EQ(loaded.RemasterFolder(), QStringLiteral("/mnt/other D2R/"));
    EXPECT_EQ(loaded.RemasterFolderFound, QStringLiteral("/games/D2R/"));

    TestFiles::Write(ini, "[Settings]\nRemaster%20Folder=/games/other\nRemaster%20Data=\n");
    EXPECT_EQ(load({}).RemasterFolder(), QStringLiteral("/games/other/")) << "hand-edited without its slash";
    EXPECT_EQ(load({}).RemasterDataPath, QString()) << "emptied by hand: no extracted data";
}

} // namespace
