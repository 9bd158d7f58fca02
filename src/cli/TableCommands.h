#pragma once

#include <QStringList>
#include <QTextStream>

// The table verb of carvestone-cli, for mod pipelines that check their
// tables: it loads a table with exactly the editor's code and says what a
// save from the editor would change.
class TableCommands
{
public:
    TableCommands(QTextStream& out, QTextStream& err);

    // table FILE [--resave OUT]: exit 0 when a save would give back the same
    // bytes, 1 when it would change them, 2 on wrong usage or a file that
    // cannot be read (or OUT that cannot be written).
    int Check(const QStringList& arguments);

private:
    QTextStream& out;
    QTextStream& err;
};
