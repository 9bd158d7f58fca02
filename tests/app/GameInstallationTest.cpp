#include "app/GameInstallation.h"

#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString GameKey = QStringLiteral("Software\\Blizzard Entertainment\\Diablo II");

class GameInstallationTest : public ::testing::Test
{
protected:
    // A user.reg whose game key holds the line; another key has a decoy.
    QByteArray WriteUserReg(const QByteArray& installPathLine)
    {
        const QByteArray text = "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21\n\n"
                                "[Software\\\\Blizzard Entertainment\\\\Battle.net] 1700000000\n"
                                "\"InstallPath\"=\"C:\\\\Wrong\"\n\n"
                                "[Software\\\\Blizzard Entertainment\\\\Diablo II] 1700000001\n#time=1da1234\n"
                                "\"Other\"=dword:00000001\n"
                                + installPathLine + "\n\n[Software\\\\Wine] 1700000002\n";
        TestFiles::Write(prefix.filePath(QStringLiteral("user.reg")), text);
        return text;
    }

    QString InPrefix(const QString& path) const { return QDir(prefix.path()).canonicalPath() + path; }

    QTemporaryDir prefix;
};

TEST_F(GameInstallationTest, TheInstallPathIsFoundUnderTheGamesKeyOnlyWhateverTheCase)
{
    const QByteArray text = WriteUserReg("\"InstallPath\"=\"C:\\\\Games\\\\Diablo II\"");
    EXPECT_EQ(GameInstallation::ReadUserRegValue(text, GameKey, QStringLiteral("InstallPath")),
              QStringLiteral("C:\\Games\\Diablo II"));
    EXPECT_EQ(GameInstallation::ReadUserRegValue(text, GameKey.toLower(), QStringLiteral("installpath")),
              QStringLiteral("C:\\Games\\Diablo II"));
    EXPECT_TRUE(GameInstallation::ReadUserRegValue(text, QStringLiteral("Software\\Wine"), QStringLiteral("InstallPath"))
                    .isEmpty());
}

TEST_F(GameInstallationTest, TheWindowsPathBecomesAFolderInThePrefixWithASlash)
{
    QDir(prefix.path()).mkpath(QStringLiteral("drive_c/Games/Diablo II"));
    WriteUserReg("\"InstallPath\"=\"C:\\\\games\\\\DIABLO II\"");
    EXPECT_EQ(GameInstallation::FolderInWinePrefix(prefix.path()), InPrefix(QStringLiteral("/drive_c/Games/Diablo II/")));

    // Other drives go through the dosdevices links.
    QTemporaryDir elsewhere;
    QDir(prefix.path()).mkpath(QStringLiteral("dosdevices"));
    ASSERT_TRUE(QFile::link(elsewhere.path(), prefix.filePath(QStringLiteral("dosdevices/d:"))));
    WriteUserReg("\"InstallPath\"=\"D:\\\\D2\\\\\"");
    EXPECT_EQ(GameInstallation::FolderInWinePrefix(prefix.path()),
              QDir(elsewhere.path()).canonicalPath() + QStringLiteral("/D2/"));
}

TEST_F(GameInstallationTest, AMissingOrTooLongRecordGivesNoFolder)
{
    EXPECT_TRUE(GameInstallation::FolderInWinePrefix(prefix.path()).isEmpty()) << "no user.reg";
    for (const QByteArray& line : {QByteArray("\"Unrelated\"=\"C:\\\\Games\""),
                                   "\"InstallPath\"=\"C:\\\\" + QByteArray(257, 'x') + "\"",
                                   QByteArray("\"InstallPath\"=\"Games\"")}) {
        SCOPED_TRACE(line.left(40).toStdString());
        WriteUserReg(line);
        EXPECT_TRUE(GameInstallation::FolderInWinePrefix(prefix.path()).isEmpty());
    }
}

TEST_F(GameInstallationTest, FindFolderReadsThePrefixNamedByWineprefix)
{
    QDir(prefix.path()).mkpath(QStringLiteral("drive_c/D2"));
    WriteUserReg("\"InstallPath\"=\"C:\\\\D2\"");
    const QByteArray saved = qgetenv("WINEPREFIX");
    qputenv("WINEPREFIX", prefix.path().toLocal8Bit());
    const QString folder = GameInstallation::FindFolder();
    qputenv("WINEPREFIX", saved);
    EXPECT_EQ(folder, InPrefix(QStringLiteral("/drive_c/D2/")));
}

} // namespace
