#include "model/TableFile.h"

#include <gtest/gtest.h>

using Kind = TableChange::Kind;

TEST(TableFileTest, LoadRulesGiveTheRowsTheSavedBytesAndWhatIsLost)
{
    const struct { const char* name; QByteArray bytes; QList<QStringList> rows; QByteArray saved; TableChanges changes;
                   bool dropsData = false; } cases[] = {
        {"trailing TABs", "a\tb\t\r\nr\t1\t\r\n", {{"a", "b"}, {"r", "1"}}, "a\tb\r\nr\t1\r\n",
         {{Kind::TrailingColumn, 1}}},
        {"named last column of a header-only file stays", "a\tb\r\n", {{"a", "b"}}, "a\tb\r\n", {}},
        {"blank line in CR LF", "a\tb\r\n\r\nr\t1\r\n", {{"a", "b"}, {"", ""}, {"r", "1"}},
         "a\tb\r\n\t\r\nr\t1\r\n", {{Kind::ShortLines, 2}}},
        {"blank line in LF keeps its row", "a\n\nb\n", {{"a"}, {""}, {"b"}}, "a\r\n\r\nb\r\n",
         {{Kind::LineEnds, 1}}},
        {"blank line in CR keeps its row", "a\r\rb\r", {{"a"}, {""}, {"b"}}, "a\r\n\r\nb\r\n",
         {{Kind::LineEnds, 1}}},
        {"last line without an end", "a\tb\r\nr\t1", {{"a", "b"}, {"r", "1"}}, "a\tb\r\nr\t1\r\n",
         {{Kind::LineEnds, 2}}},
        {"long line", "a\tb\r\nr\t1\t2\t3\r\n", {{"a", "b"}, {"r", "1"}}, "a\tb\r\nr\t1\r\n",
         {{Kind::ExtraFields, 2}}, true},
        {"empty fields beyond the header", "a\r\nb\t\t\r\n", {{"a"}, {"b"}}, "a\r\nb\r\n", {{Kind::ExtraFields, 2}}},
        {"short line", "a\tb\tc\r\nr\r\n", {{"a", "b", "c"}, {"r", "", ""}}, "a\tb\tc\r\nr\t\t\r\n",
         {{Kind::ShortLines, 2}}},
        {"NUL inside a line", QByteArray("a\tb\r\nr\t1\0junk\r\nx\r\n", 17), {{"a", "b"}, {"r", "1"}},
         "a\tb\r\nr\t1\r\n", {{Kind::AfterNul, 2}}, true},
        {"NUL at a line start", QByteArray("a\r\n\0b\r\n", 7), {{"a"}}, "a\r\n", {{Kind::AfterNul, 2}}, true},
        {"0-byte file", "", {}, "", {}},
        {"bytes above 0x7F", "\xe9t\xe9\tna\xefve\r\n\xff\t\x80\r\n",
         {{"\u00e9t\u00e9", "na\u00efve"}, {"\u00ff", "\u0080"}}, "\xe9t\xe9\tna\xefve\r\n\xff\t\x80\r\n", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TableFile table = TableFile::Parse(c.bytes);
        QList<QStringList> rows(table.RowCount());
        for (int row = 0; row < table.RowCount(); ++row) {
            for (int col = 0; col < table.ColumnCount(); ++col)
                rows[row].append(table.Cell(row, col));
        }
        EXPECT_EQ(rows, c.rows);
        EXPECT_EQ(table.Bytes(), c.saved);
        EXPECT_EQ(table.Changes(), c.changes);
        EXPECT_EQ(table.DropsData(), c.dropsData);
        EXPECT_EQ(TableFile::Parse(table.Bytes()).Bytes(), table.Bytes()) << "a second save changes the bytes";
    }
}
