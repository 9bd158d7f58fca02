#include "TestFiles.h"
#include "model/KeptOriginals.h"
#include "model/ModRebase.h"
#include "model/TableFile.h"
#include "model/TableMerge.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using ConflictKind = TableMerge::ConflictKind;

namespace {

TableMerge::Result Merge(const QByteArray& base, const QByteArray& theirs, const QByteArray& ours)
{
    return TableMerge::Merge(TableFile::Parse(base), TableFile::Parse(theirs), TableFile::Parse(ours));
}

QStringList Described(const std::vector<TableMerge::Conflict>& conflicts)
{
    QStringList lines;
    for (const TableMerge::Conflict& conflict : conflicts)
        lines.append(QStringList{TableMerge::KindName(conflict.kind), conflict.rowName, conflict.columnName,
                                 QString::number(conflict.row), QString::number(conflict.col), conflict.base,
                                 conflict.theirs, conflict.ours}
                         .join(' '));
    return lines;
}

} // namespace

TEST(TableMergeTest, TheModsCellRowAndColumnChangesLandOnTheNewDataAndABothSidedChangeKeepsTheMods)
{
    const QByteArray base = "name\ta\tb\tc\r\nr1\t1\t2\t3\r\nr2\t4\t5\t6\r\nr3\t7\t8\t9\r\nr4\t0\t0\t0\r\n";
    // The new data lost column b, gained column d and row n1, changed r1's a and r3's c.
    const QByteArray theirs = "name\ta\tc\td\r\nr1\t10\t3\tx\r\nr2\t4\t6\ty\r\nn1\t5\t5\tz\r\nr3\t7\t90\tw\r\n"
                              "r4\t0\t0\tv\r\n";
    // The MOD added column e and row m1, changed r1's c and r3's c.
    const QByteArray ours = "name\ta\tb\tc\te\r\nr1\t1\t2\t30\te1\r\nr2\t4\t5\t6\te2\r\nm1\t8\t8\t8\te3\r\n"
                            "r3\t7\t8\t91\te4\r\nr4\t0\t0\t0\te5\r\n";
    const TableMerge::Result result = Merge(base, theirs, ours);
    EXPECT_EQ(result.bytes, "name\ta\tc\te\td\r\n"
                            "r1\t10\t30\te1\tx\r\n"
                            "r2\t4\t6\te2\ty\r\n"
                            "n1\t5\t5\t\tz\r\n"
                            "m1\t8\t8\te3\t\r\n"
                            "r3\t7\t91\te4\tw\r\n"
                            "r4\t0\t0\te5\tv\r\n");
    EXPECT_EQ(Described(result.conflicts), QStringList{"cell r3 c 5 2 9 90 91"});

    // A MOD without changes takes the new data as it is; so does new data equal to the original.
    EXPECT_EQ(Merge(base, theirs, base).bytes, theirs);
    EXPECT_EQ(Merge(base, base, ours).bytes, ours);
}

TEST(TableMergeTest, UntouchedLinesKeepTheNewDatasBytesAndLineEnds)
{
    const QByteArray base = "name\ta\tb\r\nr1\t1\t2\r\nr2\t3\t4\r\nr3\t5\t6\r\n";
    const QByteArray theirs = "name\ta\tb\t\r\nr1\t1\t2\t\nr2\t3\t4\t\r\nr3\t5\t7\t";
    const QByteArray ours = "name\ta\tb\r\nr1\t1\t2\r\nr2\t33\t4\r\nr3\t5\t6\r\nr9\t9\t9\r\n";
    const TableMerge::Result result = Merge(base, theirs, ours);
    EXPECT_EQ(result.bytes, "name\ta\tb\t\r\nr1\t1\t2\t\nr2\t33\t4\r\nr3\t5\t7\t\r\nr9\t9\t9\r\n");
    EXPECT_TRUE(result.conflicts.empty());
}

TEST(TableMergeTest, RowsAndColumnsOneSideRemovedAndTheOtherChangedAreReported)
{
    const QByteArray base = "name\ta\tb\r\nk1\t1\t1\r\nk2\t2\t2\r\nk3\t3\t3\r\nk4\t4\t4\r\n";
    // New data: column b, rows k2 and k4 gone, k3 changed, row "new" added.
    const QByteArray theirs = "name\ta\r\nk1\t1\r\nk3\t30\r\nnew\t5\r\n";
    // MOD: b changed in k1, k2 changed, k3 removed, k4 as it was, the same row "new" added.
    const QByteArray ours = "name\ta\tb\r\nk1\t1\t10\r\nk2\t20\t2\r\nk4\t4\t4\r\nnew\t5\r\n";
    const TableMerge::Result result = Merge(base, theirs, ours);
    EXPECT_EQ(result.bytes, "name\ta\tb\r\nk1\t1\t10\r\nk2\t20\t2\r\nnew\t5\t\r\n");
    EXPECT_EQ(Described(result.conflicts),
              (QStringList{"col-kept  b -1 2   ", "row-kept k2  2 -1   ", "row-dropped k3  -1 -1   "}));

    // Both sides changed one new row differently: the MOD's value stays.
    const TableMerge::Result both = Merge(base, "name\ta\tb\r\nk1\t1\t1\r\nx\t7\t7\r\n", "name\ta\tb\r\nk1\t1\t1\r\nx\t8\t7\r\n");
    EXPECT_EQ(both.bytes, "name\ta\tb\r\nk1\t1\t1\r\nx\t8\t7\r\n");
    EXPECT_EQ(Described(both.conflicts), QStringList{"cell x a 2 1  7 8"});
}

class ModRebaseTest : public ::testing::Test
{
protected:
    QString Path(const QString& name) const { return folder.filePath(name); }
    void WriteMod(const QString& name, const QByteArray& bytes) { TestFiles::Write(Path(name), bytes); }

    QTemporaryDir dir;
    QDir folder{dir.path()};
    QString projectFolder = dir.path() + '/';
    const QByteArray base = "name\ta\r\nr1\t1\r\nr2\t2\r\n";
    const QByteArray theirs = "name\ta\r\nr1\t1\r\nr2\t20\r\nr3\t3\r\n";
    const QByteArray armor = "name\ta\r\nr1\t5\r\nr2\t2\r\n";
    const QByteArray weapons = "name\ta\r\nr1\t1\r\nr2\t2\r\n";
};

TEST_F(ModRebaseTest, EveryTableIsWrittenThenTheOriginalsAndTheOldOnesWaitInTheBackup)
{
    WriteMod("armor.txt", armor);
    WriteMod("weapons.txt", weapons);
    WriteMod("pic.dc6", "picture");
    ASSERT_TRUE(KeptOriginals(projectFolder).Keep("data\\armor.txt", base, nullptr));
    ModRebase rebase(projectFolder);
    QString error;
    ASSERT_TRUE(rebase.Plan({{"data\\armor.txt", base, "orig", theirs, "new"},
                             {"data\\weapons.txt", base, "orig", theirs, "new"},
                             {"data\\gone.txt", base, "orig", std::nullopt, "new"},
                             {"data\\pic.dc6", {}, {}, QByteArray("p2"), "new"}},
                            &error))
        << error.toStdString();
    EXPECT_EQ(rebase.Notes(), (QStringList{"data\\gone.txt is not in the new game data: left as it is",
                                           "data\\pic.dc6 is not a table: left as it is"}));
    EXPECT_EQ(rebase.ConflictCount(), 0);
    QString backup;
    ASSERT_TRUE(rebase.Apply(&backup, &error)) << error.toStdString();
    EXPECT_EQ(TestFiles::Read(Path("armor.txt")), "name\ta\r\nr1\t5\r\nr2\t20\r\nr3\t3\r\n");
    EXPECT_EQ(TestFiles::Read(Path("weapons.txt")), theirs);
    EXPECT_EQ(TestFiles::Read(Path(".carvestone/originals/armor.txt")), theirs);
    EXPECT_EQ(TestFiles::Read(Path(".carvestone/originals/weapons.txt")), theirs);
    EXPECT_TRUE(backup.startsWith(projectFolder + "rebase-backup-")) << backup.toStdString();
    EXPECT_EQ(TestFiles::Read(backup + "/armor.txt"), armor);
    EXPECT_EQ(TestFiles::Read(backup + "/weapons.txt"), weapons);
    EXPECT_EQ(TestFiles::Read(backup + "/originals/armor.txt"), base);
    EXPECT_EQ(QDir(backup + "/originals").entryList(QDir::Files), QStringList{"armor.txt"});

    // Carried over once, the MOD has nothing more to carry.
    ASSERT_TRUE(rebase.Plan({{"data\\armor.txt", theirs, "orig", theirs, "new"}}, &error));
    ASSERT_TRUE(rebase.Apply(&backup, &error));
    EXPECT_TRUE(backup.isEmpty());
    EXPECT_EQ(rebase.NewBackupFolder(QDateTime(QDate(2024, 5, 1), QTime(12, 0))), projectFolder + "rebase-backup-20240501-120000");
}

TEST_F(ModRebaseTest, AFailedWriteOfTheOriginalsPutsEveryTableBack)
{
    WriteMod("armor.txt", armor);
    WriteMod("weapons.txt", weapons);
    // The originals' folder cannot be made where a file stands.
    WriteMod(".carvestone", "in the way");
    ModRebase rebase(projectFolder);
    QString error;
    ASSERT_TRUE(rebase.Plan({{"data\\armor.txt", base, "orig", theirs, "new"},
                             {"data\\weapons.txt", base, "orig", theirs, "new"}},
                            &error));
    QString backup = "untouched";
    EXPECT_FALSE(rebase.Apply(&backup, &error));
    EXPECT_EQ(error, "The folder " + QDir::toNativeSeparators(Path(".carvestone/originals")) + " cannot be made: "
                         + QDir::toNativeSeparators(Path(".carvestone")) + " is a file.");
    EXPECT_EQ(backup, "untouched");
    EXPECT_EQ(TestFiles::Read(Path("armor.txt")), armor);
    EXPECT_EQ(TestFiles::Read(Path("weapons.txt")), weapons);
    EXPECT_EQ(folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              (QStringList{".carvestone", "armor.txt", "weapons.txt"}));
}

TEST_F(ModRebaseTest, ATableThatCannotBeMergedStopsThePlanWithItsName)
{
    WriteMod("armor.txt", armor);
    ModRebase rebase(projectFolder);
    QString error;
    const auto refused = [&](const ModRebase::Source& source) {
        error.clear();
        return !rebase.Plan({source}, &error);
    };
    EXPECT_TRUE(refused({"data\\armor.txt", std::nullopt, "", theirs, "new"}));
    EXPECT_TRUE(error.startsWith("data\\armor.txt has no original to merge from")) << error.toStdString();
    EXPECT_TRUE(refused({"data\\armor.txt", base, "orig", QByteArray("just text\r\n"), "armor.txt in new.mpq"}));
    EXPECT_EQ(error, "armor.txt in new.mpq is not a tab-separated table");
    EXPECT_TRUE(refused({"data\\armor.txt", base, "orig", QByteArray("x\ty\r\nr1\t1\r\n"), "armor.txt in new.mpq"}));
    EXPECT_EQ(error, "the headings of " + QDir::toNativeSeparators(Path("armor.txt"))
                         + " have nothing in common with those of armor.txt in new.mpq");
    EXPECT_TRUE(refused({"data\\missing.txt", base, "orig", theirs, "new"}));
    EXPECT_EQ(error, QDir::toNativeSeparators(Path("missing.txt")) + " was not found.");
}
