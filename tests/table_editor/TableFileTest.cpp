#include "table_editor/TableFile.h"

#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Kind = TableChange::Kind;

struct LoadCase
{
    const char* name;
    QByteArray bytes;
    QList<QStringList> rows; // as the grid shows them, short rows padded
    QByteArray saved;
    TableChanges changes;
};

QList<QStringList> PaddedRows(const TableFile& table)
{
    QList<QStringList> rows;
    for (int row = 0; row < table.RowCount(); ++row) {
        rows.append(QStringList());
        for (int col = 0; col < table.ColumnCount(); ++col)
            rows.last().append(table.Cell(row, col));
    }
    return rows;
}

const QList<LoadCase>& LoadCases()
{
    static const QList<LoadCase> cases = {
        {"two by two", "a\tb\r\nr\t1\r\n", {{"a", "b"}, {"r", "1"}}, "a\tb\r\nr\t1\r\n", {}},
        {"trailing TABs", "a\tb\t\r\nr\t1\t\r\n", {{"a", "b"}, {"r", "1"}}, "a\tb\r\nr\t1\r\n",
         {{Kind::TrailingColumn, 1}}},
        {"named last column of a header-only file stays", "a\tb\r\n", {{"a", "b"}}, "a\tb\r\n", {}},
        {"LF line ends", "a\tb\nr\t1\n", {{"a", "b"}, {"r", "1"}}, "a\tb\r\nr\t1\r\n", {{Kind::LineEnds, 1}}},
        {"CR line ends", "a\tb\rr\t1\r", {{"a", "b"}, {"r", "1"}}, "a\tb\r\nr\t1\r\n", {{Kind::LineEnds, 1}}},
        {"blank line in CR LF", "a\tb\r\n\r\nr\t1\r\n", {{"a", "b"}, {"", ""}, {"r", "1"}},
         "a\tb\r\n\t\r\nr\t1\r\n", {{Kind::ShortLines, 2}}},
        {"blank line in LF keeps its row", "a\n\nb\n", {{"a"}, {""}, {"b"}}, "a\r\n\r\nb\r\n",
         {{Kind::LineEnds, 1}}},
        {"blank line in CR keeps its row", "a\r\rb\r", {{"a"}, {""}, {"b"}}, "a\r\n\r\nb\r\n",
         {{Kind::LineEnds, 1}}},
        {"last line without an end", "a\tb\r\nr\t1", {{"a", "b"}, {"r", "1"}}, "a\tb\r\nr\t1\r\n",
         {{Kind::LineEnds, 2}}},
        {"long line", "a\tb\r\nr\t1\t2\t3\r\n", {{"a", "b"}, {"r", "1"}}, "a\tb\r\nr\t1\r\n",
         {{Kind::ExtraFields, 2}}},
        {"short line", "a\tb\tc\r\nr\r\n", {{"a", "b", "c"}, {"r", "", ""}}, "a\tb\tc\r\nr\t\t\r\n",
         {{Kind::ShortLines, 2}}},
        {"NUL inside a line", QByteArray("a\tb\r\nr\t1\0junk\r\nx\r\n", 17), {{"a", "b"}, {"r", "1"}},
         "a\tb\r\nr\t1\r\n", {{Kind::AfterNul, 2}}},
        {"NUL at a line start", QByteArray("a\r\n\0b\r\n", 7), {{"a"}}, "a\r\n", {{Kind::AfterNul, 2}}},
        {"0-byte file", "", {}, "", {}},
        {"bytes above 0x7F", "\xe9t\xe9\tna\xefve\r\n\xff\t\x80\r\n",
         {{"\u00e9t\u00e9", "na\u00efve"}, {"\u00ff", "\u0080"}},
         "\xe9t\xe9\tna\xefve\r\n\xff\t\x80\r\n", {}},
    };
    return cases;
}

TEST(TableFileTest, LoadRulesGiveTheRowsAndTheSavedBytes)
{
    for (const LoadCase& c : LoadCases()) {
        SCOPED_TRACE(c.name);
        const TableFile table = TableFile::Parse(c.bytes);
        EXPECT_EQ(PaddedRows(table), c.rows);
        EXPECT_EQ(table.Bytes(), c.saved);
        EXPECT_EQ(table.Changes(), c.changes);
        EXPECT_EQ(TableFile::Parse(table.Bytes()).Bytes(), table.Bytes()) << "a second save changes the bytes";
    }
}

TEST(TableFileTest, OnlyDroppedTextCountsAsLostData)
{
    EXPECT_TRUE(TableFile::Parse("a\r\nb\tlost\r\n").DropsData());
    EXPECT_TRUE(TableFile::Parse(QByteArray("a\r\n\0", 4)).DropsData());
    EXPECT_FALSE(TableFile::Parse("a\r\nb\t\t\r\n").DropsData());
    EXPECT_FALSE(TableFile::Parse("a\tb\t\nc\n").DropsData());
}

TEST(TableFileTest, ReadFileNamesTheFileAndTheCause)
{
    QTemporaryDir dir;
    const QString file = TestFiles::Write(dir.filePath("t.txt"), "a\tb\r\n");
    QByteArray bytes;
    QString error;
    EXPECT_TRUE(TableFile::ReadFile(file, &bytes, &error));
    EXPECT_EQ(bytes, "a\tb\r\n");

    const struct { QString path, message; } failures[] = {
        {dir.filePath("missing.txt"), "missing.txt was not found."},
        {dir.path(), "contains an invalid path."},
        {file + "/below.txt", "below.txt"},
    };
    for (const auto& failure : failures) {
        SCOPED_TRACE(failure.path.toStdString());
        EXPECT_FALSE(TableFile::ReadFile(failure.path, &bytes, &error));
        EXPECT_TRUE(error.contains(failure.message)) << error.toStdString();
        EXPECT_TRUE(error.contains(QDir::toNativeSeparators(failure.path))) << error.toStdString();
    }
}

TEST(TableFileTest, EveryGameTableComesBackByteForByte)
{
    const QDir folder(QStringLiteral(CARVESTONE_GAME_TABLES));
    const QStringList names = folder.entryList({QStringLiteral("*.txt")}, QDir::Files);
    if (names.isEmpty())
        GTEST_SKIP() << "no game tables in " << CARVESTONE_GAME_TABLES;
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray bytes = TestFiles::Read(folder.filePath(name));
        const TableFile table = TableFile::Parse(bytes);
        EXPECT_GT(table.ColumnCount(), 1);
        EXPECT_TRUE(table.Changes().isEmpty()) << table.Changes().first().Describe().toStdString();
        EXPECT_TRUE(table.Bytes() == bytes);
    }
}

} // namespace
