#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

// Writes a table the way the game reads it: cells as Latin-1 bytes, a TAB
// between the cells of a row and CR LF after every row, the last included.
// Cells hold nothing a table cannot (the grid's cell rule sees to that).
class TableWriter
{
public:
    void Reserve(qsizetype bytes) { out.reserve(bytes); }
    void AddCell(QStringView text);
    // A cell already in its Latin-1 bytes.
    void AddCell(QByteArrayView latin1);
    void EndRow();
    const QByteArray& Bytes() const { return out; }

private:
    QByteArray out;
    bool rowStarted = false;
};
