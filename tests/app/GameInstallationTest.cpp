#include "app/GameInstallation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class GameInstallationTest : public ::testing::Test
{
protected:
    void WriteUserReg(const QByteArray& installPathLine)
    {
        QFile file(prefix.filePath(QStringLiteral("user.reg")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21\n\n"
                   "[Software\\\\Blizzard Entertainment\\\\Battle.net] 1700000000\n"
                   "\"InstallPath\"=\"C:\\\\Wrong\"\n\n"
                   "[Software\\\\Blizzard Entertainment\\\\Diablo II] 1700000001\n#time=1da1234\n"
                   "\"Other\"=dword:00000001\n"
                   + installPathLine + "\n\n[Software\\\\Wine] 1700000002\n");
    }

    QTemporaryDir prefix;
};

TEST_F(GameInstallationTest, TheInstallPathIsFoundUnderTheGamesKeyOnly)
{
    WriteUserReg("\"InstallPath\"=\"C:\\\\Games\\\\Diablo II\"");
    QFile file(prefix.filePath(QStringLiteral("user.reg")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_EQ(GameInstallation::ReadUserRegValue(text, QStringLiteral("Software\\Blizzard Entertainment\\Diablo II"),
                                                 QStringLiteral("InstallPath")),
              QStringLiteral("C:\\Games\\Diablo II"));
    EXPECT_EQ(GameInstallation::ReadUserRegValue(text, QStringLiteral("software\\blizzard entertainment\\diablo ii"),
                                                 QStringLiteral("installpath")),
              QStringLiteral("C:\\Games\\Diablo II"))
        << "registry names ignore case";
    EXPECT_TRUE(GameInstallation::ReadUserRegValue(text, QStringLiteral("Software\\Wine"), QStringLiteral("InstallPath"))
                    .isEmpty());
}

TEST_F(GameInstallationTest, TheWindowsPathBecomesAFolderInThePrefixWithASlash)
{
    QDir(prefix.path()).mkpath(QStringLiteral("drive_c/Games/Diablo II"));
    WriteUserReg("\"InstallPath\"=\"C:\\\\games\\\\DIABLO II\"");
    EXPECT_EQ(GameInstallation::FolderInWinePrefix(prefix.path()),
              QDir(prefix.path()).canonicalPath() + QStringLiteral("/drive_c/Games/Diablo II/"));
}

TEST_F(GameInstallationTest, OtherDrivesGoThroughTheDosDevicesLinks)
{
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
    WriteUserReg("\"Unrelated\"=\"C:\\\\Games\"");
    EXPECT_TRUE(GameInstallation::FolderInWinePrefix(prefix.path()).isEmpty());
    WriteUserReg("\"InstallPath\"=\"C:\\\\" + QByteArray(257, 'x') + "\"");
    EXPECT_TRUE(GameInstallation::FolderInWinePrefix(prefix.path()).isEmpty()) << "longer than the 260-byte buffer";
    WriteUserReg("\"InstallPath\"=\"Games\"");
    EXPECT_TRUE(GameInstallation::FolderInWinePrefix(prefix.path()).isEmpty()) << "not a drive path";
}

TEST_F(GameInstallationTest, FindFolderReadsThePrefixNamedByWineprefix)
{
    QDir(prefix.path()).mkpath(QStringLiteral("drive_c/D2"));
    WriteUserReg("\"InstallPath\"=\"C:\\\\D2\"");
    const QByteArray saved = qgetenv("WINEPREFIX");
    qputenv("WINEPREFIX", prefix.path().toLocal8Bit());
    const QString folder = GameInstallation::FindFolder();
    qputenv("WINEPREFIX", saved);
    EXPECT_EQ(folder, QDir(prefix.path()).canonicalPath() + QStringLiteral("/drive_c/D2/"));
}

} // namespace
