#include "TableFile.h"

#include "TableWriter.h"
#include "app/FileErrorText.h"

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

// The fields of the line starting at pos; pos is left on the line's end.
QStringList ReadFields(const char* data, qsizetype end, qsizetype& pos)
{
    QStringList fields;
    for (;;) {
        const qsizetype start = pos;
        while (pos < end && !EndsField(data[pos]))
            ++pos;
        fields.append(QString::fromLatin1(data + start, pos - start));
        if (pos >= end || data[pos] != '\t')
            return fields;
        ++pos;
    }
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

} // namespace

TableFile TableFile::Parse(QByteArrayView bytes)
{
    TableFile table;
    const char* data = bytes.data();
    const void* nul = bytes.isEmpty() ? nullptr : std::memchr(data, 0, size_t(bytes.size()));
    const qsizetype end = nul ? static_cast<const char*>(nul) - data : bytes.size();

    qsizetype pos = 0;
    int line = 0;
    while (pos < end) {
        ++line;
        QStringList fields = ReadFields(data, end, pos);
        const bool endedByNul = pos >= end && nul;
        if (!SkipLineEnd(data, end, pos) && !endedByNul)
            table.AddChange(TableChange::LineEnds, line);
        if (line == 1) {
            table.columns = int(fields.size());
        } else if (fields.size() > table.columns) {
            table.AddChange(TableChange::ExtraFields, line);
            const auto dropped = fields.cbegin() + table.columns;
            table.droppedText |= std::any_of(dropped, fields.cend(), [](const QString& f) { return !f.isEmpty(); });
            fields.erase(dropped, fields.cend());
        }
        table.rows.append(std::move(fields));
    }
    if (nul) {
        const bool nulStartsLine = end == 0 || data[end - 1] == '\r' || data[end - 1] == '\n';
        table.AddChange(TableChange::AfterNul, nulStartsLine ? line + 1 : line);
    }
    table.DropEmptyTrailingColumn();
    table.NoteShortLines();
    return table;
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
    const bool empty = std::all_of(rows.cbegin(), rows.cend(),
                                   [last](const QStringList& row) { return row.value(last).isEmpty(); });
    if (!empty)
        return;
    columns = last;
    for (QStringList& row : rows) {
        if (row.size() > columns)
            row.removeLast();
    }
    AddChange(TableChange::TrailingColumn, 1);
}

void TableFile::NoteShortLines()
{
    const auto shortRow = std::find_if(rows.cbegin(), rows.cend(),
                                       [this](const QStringList& row) { return row.size() < columns; });
    if (shortRow != rows.cend())
        AddChange(TableChange::ShortLines, int(shortRow - rows.cbegin()) + 1);
}

bool TableFile::DropsData() const
{
    return droppedText || std::any_of(changes.cbegin(), changes.cend(), [](const TableChange& change) {
               return change.kind == TableChange::AfterNul;
           });
}

QByteArray TableFile::Bytes() const
{
    TableWriter writer;
    for (const QStringList& row : rows) {
        for (int col = 0; col < columns; ++col)
            writer.AddCell(col < row.size() ? QStringView(row.at(col)) : QStringView());
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
