#pragma once

#include "TableDiff.h"
#include "TableFile.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// What one MOD file changes against its original, as carvestone-cli diff
// prints it and the changes list shows it.  A table is compared cell by
// cell (TableDiff); another file only as bytes.
class EntryDiff
{
public:
    enum class Kind {
        Identical, // the bytes are the original's
        NewFile,   // no original: the MOD brings the file
        FileDiffers, // not a table, and its bytes differ
        Table,     // a table; Diff() holds its changes (perhaps none)
        Failed,    // the file cannot be compared; Error() says why
    };
    // One change, its words as the report prints them: kind is "cell",
    // "row+", "row-", "col+", "col-", "file+" or "file~"; row and col are
    // where the change shows in the MOD's table (see TableDiff::Item).
    struct Change
    {
        QString kind;
        QString rowName;
        QString columnName;
        QString gameValue;
        QString modValue;
        int row = -1;
        int col = -1;
    };

    // original: the bytes the file came with, none when nothing is known of
    // it.  modPath names the MOD's file in messages.
    static EntryDiff Compare(const QString& entry, const QString& modPath, const QByteArray& mod,
                             const std::optional<QByteArray>& original, const QString& originalName);
    // A file that could not even be read.
    static EntryDiff Unreadable(const QString& entry, const QString& error);
    // Whether an archive name is one of the game's tables (.txt).
    static bool IsTableName(const QString& entry);

    const QString& Entry() const { return entry; }
    Kind GetKind() const { return kind; }
    const QString& Error() const { return error; }
    const TableDiff& Diff() const { return diff; }
    // How many changes a report lists for the file.
    int ChangeCount() const;

    // Every change, in the report's order.
    std::vector<Change> Changes() const;
    // One tab-separated line a change: archive name, kind, row name,
    // column name, game value, MOD value.
    QStringList Lines() const;
    // The counts: archive name, total, then "cell n", "row+ n", "row- n",
    // "col+ n", "col- n"; a file that is no table as in Lines().
    QStringList StatLines() const;

private:
    QString entry;
    Kind kind = Kind::Identical;
    QString error;
    TableFile base;
    TableFile mod;
    TableDiff diff;
};
