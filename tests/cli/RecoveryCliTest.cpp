// carvestone-cli recovery: the unsaved work of programs that ended without
// saving, listed and written out where no screen is at hand.
#include "model/RecoveryFolder.h"
#include "model/RecoveryRecord.h"

#include "TestFiles.h"

#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class RecoveryCliTest : public ::testing::Test
{
protected:
    int Run(const QStringList& arguments)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("CARVESTONE_DATA_DIR"), work.filePath(QStringLiteral("data")));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(CARVESTONE_CLI_PATH), QStringList{QStringLiteral("recovery")} + arguments);
        EXPECT_TRUE(process.waitForFinished(30000));
        err = QString::fromLocal8Bit(process.readAllStandardError());
        out = QString::fromLocal8Bit(process.readAllStandardOutput());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    QString Path(const QString& relative) const { return work.filePath(relative); }
    QString Records() const { return Path(QStringLiteral("data/recovery/")); }

    QTemporaryDir work;
    QString out, err;
};

TEST_F(RecoveryCliTest, ListsWhatARecordHoldsWritesItOutUnderFreeNamesAndDiscardsItOnlyOnceWritten)
{
    QDir().mkpath(Records());
    QDir().mkpath(Path(QStringLiteral("Mod")));
    RecoveryRecord record;
    record.processId = 77;
    record.writtenAt = 1700000000000;
    record.projectPath = Path(QStringLiteral("Mod/Mod.mod"));
    record.projectModified = true;
    record.entries = {QStringLiteral("data\\global\\excel\\Weapons.txt"), QStringLiteral("data\\global\\excel\\Armor.txt")};
    record.tables = {{QStringLiteral("Weapons.txt"), true, "name\tmindam\r\nThorn Sickle\t45\r\n", -1, 0},
                     {QStringLiteral("Armor.txt"), false, {}, -1, 0}};
    TestFiles::Write(Records() + QStringLiteral("77-1.recovery"), record.Serialize());
    TestFiles::Write(Path(QStringLiteral("Mod/Weapons.txt")), "written by another program since");
    TestFiles::Write(Records() + QStringLiteral("78-1.recovery"), "Carvestone Recovery Record Version 9\n");

    EXPECT_EQ(Run({}), 1) << "a record that cannot be read fails the run";
    EXPECT_TRUE(err.contains(QStringLiteral("78-1.recovery could not be read (it was written by another version of "
                                            "Carvestone); it was set aside as")))
        << err.toStdString();
    EXPECT_EQ(out, QDir::toNativeSeparators(record.projectPath)
                       + QStringLiteral(" (recorded %1 by process 77)\n"
                                        "  unsaved entry list of 2 entries\n"
                                        "  Weapons.txt: unsaved changes; the file was changed since\n"
                                        "  Armor.txt: open, no unsaved changes\n")
                             .arg(QDateTime::fromMSecsSinceEpoch(record.writtenAt).toString(Qt::ISODate)));

    // A folder that cannot be made keeps the record.
    TestFiles::Write(Path(QStringLiteral("blocked")), "");
    EXPECT_EQ(Run({"--save-to", Path(QStringLiteral("blocked/out")), "--discard"}), 1);
    EXPECT_TRUE(QFile::exists(Records() + QStringLiteral("77-1.recovery")));

    const QString out1 = Path(QStringLiteral("out"));
    QDir().mkpath(out1);
    TestFiles::Write(out1 + QStringLiteral("/Weapons.txt"), "already there");
    EXPECT_EQ(Run({"--save-to", out1, "--discard"}), 0) << err.toStdString();
    EXPECT_EQ(TestFiles::Read(out1 + QStringLiteral("/Weapons.txt")), "already there");
    EXPECT_EQ(TestFiles::Read(out1 + QStringLiteral("/Weapons (recovered).txt")), "name\tmindam\r\nThorn Sickle\t45\r\n");
    EXPECT_EQ(TestFiles::Read(out1 + QStringLiteral("/Mod.mod")),
              "Carvestone Project File Version 1.0\ndata\\global\\excel\\Weapons.txt\ndata\\global\\excel\\Armor.txt\n");
    EXPECT_FALSE(QFile::exists(Records() + QStringLiteral("77-1.recovery")));
    EXPECT_EQ(Run({}), 0);
    EXPECT_EQ(out, QString());
}

} // namespace
