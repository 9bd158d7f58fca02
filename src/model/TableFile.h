#pragma once

#include "TableChange.h"

#include <QByteArray>
#include <QString>

#include <vector>

// A game table as the editor reads it.  Every byte is one Latin-1
// character; TAB separates the cells of a line; a line ends at CR LF, at a
// lone LF or at a lone CR, so a blank line is a row wherever it stands
// (the game numbers many tables by row).  The first line is the header: its
// field count is the table's column count.  The data ends at the end of the
// file or at the first NUL byte.  Parsing also notes every way in which
// saving would write other bytes than the file holds.
class TableFile
{
public:
    // Keeps the bytes (shared, not copied): cells are cut from them on demand,
    // so a large table costs no string per cell until the grid takes it.
    static TableFile Parse(const QByteArray& bytes);
    // Reads a regular file whole; false with a message naming the file and
    // the cause ("%1 was not found." and the like) when it cannot.
    static bool ReadFile(const QString& path, QByteArray* bytes, QString* error);

    // Rows of cells, the header first; a row may hold fewer fields than the
    // column count (the rest are empty), never more.
    int RowCount() const { return int(rows.size()); }
    int FieldCount(int row) const { return qMin(rows[size_t(row)].fieldCount, columns); }
    // The field's bytes; empty beyond the row's fields.  Inline: comparing
    // two versions of a large table asks for millions of them.
    QByteArrayView Field(int row, int col) const
    {
        if (col >= FieldCount(row))
            return {};
        const Span& span = fields[rows[size_t(row)].firstField + size_t(col)];
        return QByteArrayView(data.constData() + span.start, span.length);
    }
    QString Cell(int row, int col) const { return QString::fromLatin1(Field(row, col)); }
    // The row's line as the file holds it, its line end included (none on a
    // last line that has none): what a merge copies when the row stays.
    QByteArrayView Line(int row) const;
    int ColumnCount() const { return columns; }
    // What a save would change, in the order the rules are applied.
    const TableChanges& Changes() const { return changes; }
    // True when a save would drop text the file holds (after a NUL, or in
    // fields beyond the header), as opposed to mere line ends and TABs.
    bool DropsData() const;

    // True for what can only be a table: a header with at least two
    // headings, and no NUL byte (which no text holds).
    bool IsTabSeparated() const;

    // The bytes the editor would save for this table.
    QByteArray Bytes() const;

private:
    void ReadLine(int line, qsizetype end, qsizetype& pos);
    void AddChange(TableChange::Kind kind, int line);
    void DropEmptyTrailingColumn();
    void NoteShortLines();

    struct Span
    {
        qsizetype start;
        qsizetype length;
    };
    struct Row
    {
        size_t firstField;
        int fieldCount;
        qsizetype lineEnd = 0; // after the line's end
    };

    QByteArray data;
    std::vector<Span> fields; // every row's fields, row after row
    std::vector<Row> rows;
    int columns = 0;
    TableChanges changes;
    bool droppedText = false;
};
