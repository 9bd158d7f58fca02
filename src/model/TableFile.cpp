#include "TableFile.h"

#include "TableWriter.h"
#include "core/FileErrorText.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

bool EndsField(char ch)
{
    return ch == '\t' || ch == '\r' || ch == '\n';
}

// Skips the line end at pos; false when it is not CR LF (a lone CR or LF,
// or no end at all because the data stops).
bool SkipLineEnd(const char* data, qsizetype end, qsizetype& pos)
{
    if (pos >= end)
        return false;
    if (data[pos] == '\r' && pos + 1 < end && data[pos + 1] == '\n') {
        pos += 2;
        return true;
    }
    ++pos;
    return false;
}

qsizetype CountOf(const char* data, qsizetype end, char wanted)
{
    qsizetype count = 0;
    for (const char* at = data; (at = static_cast<const char*>(std::memchr(at, wanted, size_t(data + end - at))));
         ++at)
        ++count;
    return count;
}

} // namespace

TableFile TableFile::Parse(const QByteArray& bytes)
{
    TableFile table;
    table.data = bytes;
    const char* data = bytes.constData();
    const void* nul = bytes.isEmpty() ? nullptr : std::memchr(data, 0, size_t(bytes.size()));
    const qsizetype end = nul ? static_cast<const char*>(nul) - data : bytes.size();

    // A line keeps at most the header's count of fields: rows and fields
    // are reserved at once, so a large table's spans are never copied
    // while they grow.  Line ends are counted where memchr finds them,
    // which is many times faster than looking at every byte.
    const qsizetype lines = std::max(CountOf(data, end, '\n'), CountOf(data, end, '\r')) + 1;
    table.rows.reserve(size_t(lines));

    qsizetype pos = 0;
    int line = 0;
    while (pos < end) {
        ++line;
        table.ReadLine(line, end, pos);
        if (line == 1)
            table.fields.reserve(size_t(lines) * size_t(table.columns));
        const bool endedByNul = pos >= end && nul;
        if (!SkipLineEnd(data, end, pos) && !endedByNul)
            table.AddChange(TableChange::LineEnds, line);
        table.rows.back().lineEnd = pos;
    }
    if (nul) {
        const bool nulStartsLine = end == 0 || data[end - 1] == '\r' || data[end - 1] == '\n';
        table.AddChange(TableChange::AfterNul, nulStartsLine ? line + 1 : line);
    }
    table.DropEmptyTrailingColumn();
    table.NoteShortLines();
    return table;
}

// Cuts the fields of the line starting at pos; pos is left on its end.
// Fields beyond the header's count are noted and not kept.
void TableFile::ReadLine(int line, qsizetype end, qsizetype& pos)
{
    const char* bytes = data.constData();
    Row row{fields.size(), 0};
    for (;;) {
        const qsizetype start = pos;
        while (pos < end && !EndsField(bytes[pos]))
            ++pos;
        if (line == 1 || row.fieldCount < columns) {
            fields.push_back({start, pos - start});
            ++row.fieldCount;
        } else {
            AddChange(TableChange::ExtraFields, line);
            droppedText |= pos > start;
        }
        if (pos >= end || bytes[pos] != '\t')
            break;
        ++pos;
    }
    if (line == 1)
        columns = row.fieldCount;
    rows.push_back(row);
}

void TableFile::AddChange(TableChange::Kind kind, int line)
{
    const bool known = std::any_of(changes.cbegin(), changes.cend(),
                                   [kind](const TableChange& change) { return change.kind == kind; });
    if (!known)
        changes.append({kind, line});
}

// The last column goes only when nothing in it has text, its heading
// included: a named column is never lost, and column 0 (the row headings)
// always stays, so blank lines keep their rows.
void TableFile::DropEmptyTrailingColumn()
{
    if (columns < 2)
        return;
    const int last = columns - 1;
    for (int row = 0; row < RowCount(); ++row) {
        if (!Field(row, last).isEmpty())
            return;
    }
    columns = last;
    AddChange(TableChange::TrailingColumn, 1);
}

void TableFile::NoteShortLines()
{
    for (int row = 0; row < RowCount(); ++row) {
        if (FieldCount(row) < columns) {
            AddChange(TableChange::ShortLines, row + 1);
            return;
        }
    }
}

QByteArrayView TableFile::Line(int row) const
{
    const Row& line = rows[size_t(row)];
    const qsizetype start = fields[line.firstField].start;
    return QByteArrayView(data.constData() + start, line.lineEnd - start);
}

bool TableFile::DropsData() const
{
    return droppedText || std::any_of(changes.cbegin(), changes.cend(), [](const TableChange& change) {
               return change.kind == TableChange::AfterNul;
           });
}

bool TableFile::IsTabSeparated() const
{
    return columns >= 2 && std::none_of(changes.cbegin(), changes.cend(), [](const TableChange& change) {
               return change.kind == TableChange::AfterNul;
           });
}

QByteArray TableFile::Bytes() const
{
    TableWriter writer;
    writer.Reserve(data.size() + RowCount());
    for (int row = 0; row < RowCount(); ++row) {
        for (int col = 0; col < columns; ++col)
            writer.AddCell(Field(row, col));
        writer.EndRow();
    }
    return writer.Bytes();
}

bool TableFile::ReadFile(const QString& path, QByteArray* bytes, QString* error)
{
    const QFileInfo info(path);
    // A folder, a device or a pipe is no table, whatever its name.
    if (info.exists() && !info.isFile()) {
        *error = FileErrorText::ForErrno(EISDIR, path);
        return false;
    }
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        *error = FileErrorText::ForDevice(file, errno, path);
        return false;
    }
    errno = 0;
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = FileErrorText::ForDevice(file, errno, path);
        return false;
    }
    return true;
}
