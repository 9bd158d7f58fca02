#include "options/OptionsPathRules.h"

#include "SmallDisk.h"
#include "TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class OptionsPathRulesTest : public ::testing::Test
{
protected:
    QString Path(const QString& name) const { return temp.filePath(name); }
    // A folder below a plain file: nothing can be made there, not even by root.
    QString UnderAFile() const
    {
        return TestFiles::Write(Path(QStringLiteral("plain-file")), "x") + QStringLiteral("/program/");
    }

    QTemporaryDir temp;
};

TEST_F(OptionsPathRulesTest, TheModsFieldShowsTheFolderWithoutAnyClosingSeparator)
{
    for (const auto& [stored, shown] : {std::pair{"/games/MODs/", "/games/MODs"}, std::pair{"/games/MODs///", "/games/MODs"},
                                        std::pair{"/games/MODs", "/games/MODs"}, std::pair{"/", "/"}, std::pair{"", ""}}) {
        EXPECT_EQ(OptionsPathRules::ShownModsPath(QString::fromLatin1(stored)),
                  QDir::toNativeSeparators(QString::fromLatin1(shown)))
            << stored;
    }
}

TEST_F(OptionsPathRulesTest, AGameArchivePathMustNameAnExistingFile)
{
    const QString archive = TestFiles::Write(Path(QStringLiteral("patch_d2.mpq")), "MPQ\x1a");
    EXPECT_EQ(OptionsPathRules::MpqPathProblem(archive), QString());
    EXPECT_EQ(OptionsPathRules::MpqPathProblem(QStringLiteral("  ")),
              QStringLiteral("Please choose the Diablo II MPQ that files are added from (the game's patch_d2.mpq)."));
    for (const QString& noFile : {Path(QStringLiteral("missing.mpq")), temp.path()}) {
        EXPECT_EQ(OptionsPathRules::MpqPathProblem(noFile),
                  QStringLiteral("The Diablo II MPQ \"%1\" does not exist.\nPlease choose the game's patch_d2.mpq.")
                      .arg(QDir::toNativeSeparators(noFile)));
    }
}

TEST_F(OptionsPathRulesTest, AModsFolderIsMadeWithItsParentsOrRefusedWithTheCause)
{
    const QString nested = Path(QStringLiteral("Documents/Carvestone/MODs"));
    EXPECT_EQ(OptionsPathRules::PrepareModsFolder(nested), QString());
    EXPECT_TRUE(QFileInfo(nested).isDir());
    EXPECT_EQ(OptionsPathRules::PrepareModsFolder(nested + QLatin1Char('/')), QString()) << "an existing folder";
    EXPECT_EQ(QDir(nested).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList())
        << "the write test leaves nothing behind";

    EXPECT_EQ(OptionsPathRules::PrepareModsFolder(QString()),
              QStringLiteral("Please enter the folder where MODs will be stored."));
    EXPECT_EQ(OptionsPathRules::PrepareModsFolder(QStringLiteral("MODs")),
              QStringLiteral("The MODs path \"MODs\" is not a full path.\n"
                             "Please enter the whole path of the folder, starting at the top of the disk."));
    EXPECT_FALSE(QFileInfo::exists(QDir::current().filePath(QStringLiteral("MODs"))));

    const QString blocked = UnderAFile() + QStringLiteral("MODs");
    const QString refusal = OptionsPathRules::PrepareModsFolder(blocked);
    EXPECT_TRUE(refusal.startsWith(QStringLiteral("MODs cannot be stored in \"%1\".\n").arg(QDir::toNativeSeparators(blocked))))
        << refusal.toStdString();
    EXPECT_TRUE(refusal.contains(QStringLiteral("invalid path"))) << refusal.toStdString();
}

TEST_F(OptionsPathRulesTest, AModsFolderOnAFullDiskIsRefused)
{
    SmallDisk disk(256);
    if (!disk.IsReady())
        GTEST_SKIP() << disk.Why().toStdString();
    const QString mods = disk.Path() + QStringLiteral("/MODs");
    ASSERT_TRUE(QDir().mkdir(mods));
    ASSERT_TRUE(disk.LeaveFree(0));
    EXPECT_EQ(OptionsPathRules::PrepareModsFolder(mods),
              QStringLiteral("MODs cannot be stored in \"%1\".\nDisk full while accessing %1.")
                  .arg(QDir::toNativeSeparators(mods)));
}

TEST_F(OptionsPathRulesTest, AProgramFolderThatCannotBeWrittenSendsModsToDocumentsAndTheCopyBesideTheSettings)
{
    const QString program = temp.path() + QStringLiteral("/program/");
    QDir().mkpath(program);
    const QString settingsFile = Path(QStringLiteral("config/Carvestone.ini"));
    EXPECT_EQ(OptionsPathRules::FirstRunModsPath(program), program + QStringLiteral("MODs/"));
    EXPECT_EQ(OptionsPathRules::SafeKeepingFolder(program, settingsFile), program);

    const QString readOnly = UnderAFile();
    EXPECT_EQ(OptionsPathRules::FirstRunModsPath(readOnly),
              QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QStringLiteral("/Carvestone/MODs/"));
    EXPECT_EQ(OptionsPathRules::SafeKeepingFolder(readOnly, settingsFile), Path(QStringLiteral("config/")));
}

} // namespace
