#pragma once

#include "TableChange.h"

#include <QByteArrayView>
#include <QList>
#include <QStringList>

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
    static TableFile Parse(QByteArrayView bytes);
    // Reads a regular file whole; false with a message naming the file and
    // the cause ("%1 was not found." and the like) when it cannot.
    static bool ReadFile(const QString& path, QByteArray* bytes, QString* error);

    // Rows of cells, the header first; a row may hold fewer cells than the
    // column count (the rest are empty), never more.
    const QList<QStringList>& Rows() const { return rows; }
    int RowCount() const { return int(rows.size()); }
    int ColumnCount() const { return columns; }
    // What a save would change, in the order the rules are applied.
    const TableChanges& Changes() const { return changes; }
    // True when a save would drop text the file holds (after a NUL, or in
    // fields beyond the header), as opposed to mere line ends and TABs.
    bool DropsData() const;

    // The bytes the editor would save for this table.
    QByteArray Bytes() const;

private:
    void AddChange(TableChange::Kind kind, int line);
    void DropEmptyTrailingColumn();
    void NoteShortLines();

    QList<QStringList> rows;
    int columns = 0;
    TableChanges changes;
    bool droppedText = false;
};
