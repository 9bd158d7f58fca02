// The table reader and writer: every byte sequence loads, a table whose
// load notes no change saves back byte for byte, and what a save writes
// loads back as the same cells.
#include "FuzzCheck.h"
#include "model/TableFile.h"

#include <algorithm>

namespace {

bool ColumnIsEmpty(const TableFile& table, int col)
{
    for (int row = 0; row < table.RowCount(); ++row) {
        if (!table.Field(row, col).isEmpty())
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const TableFile table = TableFile::Parse(bytes);
    const QByteArray saved = table.Bytes();
    if (table.Changes().isEmpty()) {
        FUZZ_CHECK(saved == bytes);
        FUZZ_CHECK(!table.DropsData());
    }
    FUZZ_CHECK(!saved.contains('\0'));

    const TableFile reloaded = TableFile::Parse(saved);
    FUZZ_CHECK(reloaded.RowCount() == table.RowCount());
    // Saved bytes end every line with CR LF and fill every line to the
    // header's count: all a reload may still do is drop one more empty
    // last column, which the load rule takes only one at a time.
    const bool droppedColumn = reloaded.ColumnCount() == table.ColumnCount() - 1;
    FUZZ_CHECK(reloaded.ColumnCount() == table.ColumnCount() || droppedColumn);
    if (droppedColumn)
        FUZZ_CHECK(ColumnIsEmpty(table, table.ColumnCount() - 1));
    for (const TableChange& change : reloaded.Changes())
        FUZZ_CHECK(change.kind == TableChange::TrailingColumn && droppedColumn);
    for (int row = 0; row < table.RowCount(); ++row) {
        for (int col = 0; col < reloaded.ColumnCount(); ++col)
            FUZZ_CHECK(reloaded.Field(row, col) == table.Field(row, col));
    }
    return 0;
}
