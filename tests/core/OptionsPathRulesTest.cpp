#include "core/OptionsPathRules.h"

#include "SmallDisk.h"
#include "TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(OptionsPathRulesTest, TheModsFolderIsMadeLeavingNothingBehindRefusedOnAFullDiskAndKeptOutOfAReadOnlyProgram)
{
    QTemporaryDir temp;
    const QString program = temp.filePath(QStringLiteral("program/"));
    const QString nested = program + QStringLiteral("Documents/Carvestone/MODs");
    EXPECT_EQ(OptionsPathRules::PrepareModsFolder(nested), QString());
    EXPECT_TRUE(QFileInfo(nested).isDir());
    EXPECT_EQ(OptionsPathRules::PrepareModsFolder(nested + QLatin1Char('/')), QString()) << "an existing folder";
    EXPECT_EQ(QDir(nested).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList())
        << "the write test leaves nothing behind";

    const QString settingsFile = temp.filePath(QStringLiteral("config/Carvestone.ini"));
    EXPECT_EQ(OptionsPathRules::FirstRunModsPath(program), program + QStringLiteral("MODs/"));
    EXPECT_EQ(OptionsPathRules::SafeKeepingFolder(program, settingsFile), program);
    // A folder below a plain file: nothing can be made there, not even by root.
    const QString readOnly = TestFiles::Write(temp.filePath("plain"), "x") + "/program/";
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    EXPECT_EQ(OptionsPathRules::FirstRunModsPath(readOnly), documents + QStringLiteral("/Carvestone/MODs/"));
    EXPECT_EQ(OptionsPathRules::SafeKeepingFolder(readOnly, settingsFile), temp.filePath(QStringLiteral("config/")));

    SmallDisk disk(256);
    if (!disk.IsReady())
        GTEST_SKIP() << disk.Why().toStdString();
    const QString mods = disk.Path() + QStringLiteral("/MODs");
    ASSERT_TRUE(QDir().mkdir(mods) && disk.LeaveFree(0));
    EXPECT_EQ(OptionsPathRules::PrepareModsFolder(mods),
              QStringLiteral("MODs cannot be stored in \"%1\".\nDisk full while accessing %1.").arg(mods));
}

} // namespace
