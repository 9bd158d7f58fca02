#include "model/EntryDiff.h"
#include "model/KeyMatcher.h"
#include "model/TableDiff.h"
#include "model/TableFile.h"

#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using Mark = TableDiff::Mark;

namespace {

QStringList Report(const QByteArray& base, const QByteArray& mod)
{
    const EntryDiff diff = EntryDiff::Compare("t.txt", "t.txt", mod, base, "original");
    EXPECT_EQ(diff.GetKind(), EntryDiff::Kind::Table) << diff.Error().toStdString();
    return diff.Lines();
}

// The length of a longest common subsequence, the slow way.
int LongestCommon(const std::vector<int>& a, const std::vector<int>& b)
{
    std::vector<std::vector<int>> length(a.size() + 1, std::vector<int>(b.size() + 1, 0));
    for (size_t i = 1; i <= a.size(); ++i)
        for (size_t j = 1; j <= b.size(); ++j)
            length[i][j] = a[i - 1] == b[j - 1] ? length[i - 1][j - 1] + 1 : std::max(length[i - 1][j], length[i][j - 1]);
    return length[a.size()][b.size()];
}

} // namespace

TEST(TableDiffTest, KeysMatchAsALongestCommonRunInOrder)
{
    QRandomGenerator random(7);
    for (int round = 0; round < 300; ++round) {
        // Mostly short runs, some long enough to divide the search many times.
        const int longest = round % 10 == 0 ? 400 : 40;
        std::vector<int> a(random.bounded(longest)), b(random.bounded(longest));
        const int alphabet = 1 + random.bounded(6);
        for (int& key : a)
            key = random.bounded(alphabet);
        for (int& key : b)
            key = random.bounded(alphabet);
        const KeyMatcher::Pairs pairs = KeyMatcher::Match(a, b);
        ASSERT_EQ(int(pairs.size()), LongestCommon(a, b)) << "round " << round;
        for (size_t i = 0; i < pairs.size(); ++i) {
            EXPECT_EQ(a[size_t(pairs[i].first)], b[size_t(pairs[i].second)]);
            EXPECT_TRUE(i == 0 || (pairs[i].first > pairs[i - 1].first && pairs[i].second > pairs[i - 1].second));
        }
    }
}

TEST(TableDiffTest, EachKindOfChangeIsReportedOnceInRowAndColumnOrderWithItsNames)
{
    const QByteArray base = "name\tlevel\tcode\tcost\r\n"
                            "Axe\t10\tax1\t5\r\n"
                            "Bow\t20\tbow\t8\r\n"
                            "Expansion\t\t\t\r\n"
                            "Cap\t30\tcap\t2\r\n"
                            "Expansion\t\t\t\r\n"
                            "Dirk\t40\tdir\t9\r\n";
    // Bow removed, a row inserted after Axe, Cap's level changed, the second
    // divider's cost filled, a column added before cost, cost and level swapped.
    const QByteArray mod = "name\tcost\tlevel\tcode\tspeed\r\n"
                           "Axe\t5\t10\tax1\t1\r\n"
                           "\t0\t0\tnew\t\r\n"
                           "Expansion\t\t\t\t\r\n"
                           "Cap\t2\t31\tcap\t3\r\n"
                           "Expansion\t7\t\t\t\r\n"
                           "Dirk\t9\t40\tdir\t4\r\n";
    EXPECT_EQ(Report(base, mod), (QStringList{
                                     "t.txt\tcol+\t\tspeed\t\t",
                                     "t.txt\trow-\tBow\t\t\t",
                                     "t.txt\trow+\t#3\t\t\t",
                                     "t.txt\tcell\tCap\tlevel\t30\t31",
                                     "t.txt\tcell\tExpansion#2\tcost\t\t7",
                                 }));

    const TableFile before = TableFile::Parse(base), after = TableFile::Parse(mod);
    const TableDiff diff = TableDiff::Compare(before, after);
    EXPECT_EQ(diff.MarkAt(4, 2), Mark::Changed);
    EXPECT_EQ(diff.MarkAt(4, 1), Mark::None);
    EXPECT_EQ(diff.MarkAt(2, 1), Mark::AddedRow);
    EXPECT_EQ(diff.MarkAt(2, 0), Mark::AddedRow);
    EXPECT_EQ(diff.MarkAt(6, 4), Mark::AddedColumn);
    EXPECT_EQ(diff.MarkAt(0, 4), Mark::AddedColumn);
    EXPECT_EQ(diff.MarkAt(0, 1), Mark::None);
    EXPECT_EQ(diff.MarkAt(7, 1), Mark::None);
    EXPECT_EQ(diff.BaseRow(4), 4);
    EXPECT_EQ(diff.BaseColumn(1), 3);
    EXPECT_EQ(diff.BaseRow(2), -1);
    const TableDiff::Counts counts = diff.Count();
    EXPECT_EQ(std::tuple(counts.cells, counts.rowsAdded, counts.rowsRemoved, counts.columnsAdded, counts.columnsRemoved),
              std::tuple(2, 1, 1, 1, 0));
    // The removed row stands before the row that follows it in the MOD.
    EXPECT_EQ(diff.Items()[1].row, 2);
}

TEST(TableDiffTest, ARemovedColumnARenamedRowAndAMovedRowCostOnlyThemselves)
{
    const QByteArray base = "name\ta\tb\tc\r\nr1\t1\t2\t3\r\nr2\t4\t5\t6\r\nr3\t7\t8\t9\r\nr4\t0\t0\t0\r\n"
                            "r5\t1\t1\t1\r\n";
    const QByteArray mod = "name\ta\tc\r\nr2\t4\t6\r\nr3\t7\t9\r\nr4\t0\t0\r\nr1\t1\t3\r\nR5\t1\t1\r\n";
    EXPECT_EQ(Report(base, mod), (QStringList{
                                     "t.txt\tcol-\t\tb\t\t",
                                     "t.txt\trow-\tr1\t\t\t",
                                     "t.txt\trow-\tr5\t\t\t",
                                     "t.txt\trow+\tr1\t\t\t",
                                     "t.txt\trow+\tR5\t\t\t",
                                 }));
    // A column taken out at the end stands after the MOD's last column, the one that came in.
    EXPECT_EQ(Report("name\ta\tb\r\nr1\t1\t2\r\n", "name\ta\tc\r\nr1\t1\t2\r\n"),
              (QStringList{"t.txt\tcol+\t\tc\t\t", "t.txt\tcol-\t\tb\t\t"}));
}

TEST(TableDiffTest, FilesAreClassifiedBeforeTheyAreCompared)
{
    const QByteArray table = "a\tb\r\nx\t1\r\n";
    const auto kind = [](const QString& entry, const QByteArray& mod, std::optional<QByteArray> original) {
        return EntryDiff::Compare(entry, "mod/" + entry, mod, original, "the original").GetKind();
    };
    EXPECT_EQ(kind("t.txt", table, table), EntryDiff::Kind::Identical);
    EXPECT_EQ(kind("t.txt", table, std::nullopt), EntryDiff::Kind::NewFile);
    EXPECT_EQ(kind("x.dc6", "new", QByteArray("old")), EntryDiff::Kind::FileDiffers);
    EXPECT_EQ(kind("t.txt", "a\tb\r\nx\t2\r\n", table), EntryDiff::Kind::Table);

    const EntryDiff notATable = EntryDiff::Compare("t.txt", "mod/t.txt", "just words\r\n", table, "the original");
    EXPECT_EQ(notATable.GetKind(), EntryDiff::Kind::Failed);
    EXPECT_EQ(notATable.Error(), "mod/t.txt is not a tab-separated table");
    const EntryDiff renamed = EntryDiff::Compare("t.txt", "mod/t.txt", "c\td\r\nx\t1\r\n", table, "the original");
    EXPECT_EQ(renamed.Error(), "the headings of mod/t.txt have nothing in common with those of the original");
    EXPECT_TRUE(renamed.Lines().isEmpty());

    EXPECT_EQ(EntryDiff::Compare("x.dc6", "x", "new", std::nullopt, "").Lines(), QStringList{"x.dc6\tfile+\t\t\t\t"});
    EXPECT_EQ(EntryDiff::Compare("t.txt", "t", "a\tb\r\nx\t2\r\ny\t3\r\n", table, "").StatLines(),
              QStringList{"t.txt\t2\tcell 1\trow+ 1\trow- 0\tcol+ 0\tcol- 0"});
    EXPECT_EQ(EntryDiff::Compare("t.txt", "t", table, table, "").StatLines(),
              QStringList{"t.txt\t0\tcell 0\trow+ 0\trow- 0\tcol+ 0\tcol- 0"});
}

TEST(TableDiffTest, ARealTableComparesCellByCellAndLineEndsAloneChangeNoCell)
{
    QFile file(QStringLiteral(CARVESTONE_GAME_TABLES "/Weapons.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray original = file.readAll();
    const TableFile base = TableFile::Parse(original);
    ASSERT_GT(base.RowCount(), 4);

    QByteArray edited = original;
    edited.replace("\r\n", "\n");
    EXPECT_TRUE(TableDiff::Compare(base, TableFile::Parse(edited)).IsEmpty());

    // Row 3's second cell becomes "99" (or "98" where it was "99").
    const TableFile lf = TableFile::Parse(edited);
    const QByteArray line = lf.Line(3).toByteArray();
    const qsizetype tab = line.indexOf('\t'), next = line.indexOf('\t', tab + 1);
    const QByteArray value = line.mid(tab + 1, next - tab - 1) == "99" ? "98" : "99";
    edited.replace(line, line.left(tab + 1) + value + line.mid(next));
    const TableDiff diff = TableDiff::Compare(base, TableFile::Parse(edited));
    ASSERT_EQ(diff.Items().size(), 1u);
    EXPECT_EQ(diff.Items()[0].row, 3);
    EXPECT_EQ(diff.Items()[0].col, 1);
}
