#pragma once

#include "archive/MpqLibrary.h"

#include <QStringList>
#include <QTextStream>

class CarvestoneSettings;

// The archive verbs of carvestone-cli.  Each takes the words after the verb,
// writes results to out and failures to err, and answers the exit status:
// 0 on success, 1 on failure, 2 for wrong usage.  Defaults come from the
// settings, which are only read.
class ArchiveCommands
{
public:
    ArchiveCommands(const CarvestoneSettings& settings, QTextStream& in, QTextStream& out, QTextStream& err);

    // list ARCHIVE [--listing FILE]
    int List(const QStringList& arguments);
    // extract ARCHIVE NAME DEST
    int Extract(const QStringList& arguments);
    // build PROJECT [--game-mpq PATH] [--no-compression]
    int Build(const QStringList& arguments);
    // install PROJECT [--game-folder DIR] [--yes]
    int Install(const QStringList& arguments);

private:
    bool RequireLibrary(const char* verb);
    bool RequireArchive(const char* verb, const QString& archive);
    bool Confirm(const QString& question);

    const CarvestoneSettings& settings;
    QTextStream& in;
    QTextStream& out;
    QTextStream& err;
    MpqLibrary library;
};
