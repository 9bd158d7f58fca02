#include "app/GameInstallation.h"

#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <utility>

#include <gtest/gtest.h>

namespace {

class GameInstallationTest : public ::testing::Test
{
protected:
    // A user.reg whose game key, spelt in another case, holds the line; a decoy.
    void WriteUserReg(const QByteArray& installPathLine)
    {
        const QByteArray text = "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21\n\n"
                                "[Software\\\\Blizzard Entertainment\\\\Battle.net] 1700000000\n"
                                "\"InstallPath\"=\"C:\\\\Wrong\"\n\n"
                                "[software\\\\BLIZZARD Entertainment\\\\diablo ii] 1700000001\n#time=1da1234\n"
                                "\"Other\"=dword:00000001\n"
                                + installPathLine + "\n\n[Software\\\\Wine] 1700000002\n";
        TestFiles::Write(prefix.filePath(QStringLiteral("user.reg")), text);
    }

    QTemporaryDir prefix;
};

TEST_F(GameInstallationTest, TheRecordedWindowsPathBecomesAFolderInThePrefixWithASlashElseNone)
{
    EXPECT_TRUE(GameInstallation::FolderInWinePrefix(prefix.path()).isEmpty()) << "no user.reg";
    QDir(prefix.path()).mkpath(QStringLiteral("drive_c/Games/Diablo II"));
    const QString found = QDir(prefix.path()).canonicalPath() + QStringLiteral("/drive_c/Games/Diablo II/");
    for (const auto& [line, folder] : {std::pair{QByteArray("\"InstallPath\"=\"C:\\\\games\\\\DIABLO II\""), found},
                                       {QByteArray("\"Unrelated\"=\"C:\\\\Games\""), QString()},
                                       {"\"InstallPath\"=\"C:\\\\" + QByteArray(257, 'x') + "\"", QString()},
                                       {QByteArray("\"InstallPath\"=\"Games\""), QString()}}) {
        SCOPED_TRACE(line.left(40).toStdString());
        WriteUserReg(line);
        EXPECT_EQ(GameInstallation::FolderInWinePrefix(prefix.path()), folder);
    }
}

} // namespace
