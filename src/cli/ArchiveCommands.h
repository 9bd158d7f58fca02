#pragma once

#include "archive/ModBuilder.h"
#include "archive/MpqLibrary.h"

#include <QStringList>
#include <QTextStream>

class CarvestoneSettings;
class MachineChannel;

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
    // build-files GAME-MPQ ARCHIVE MOD-FOLDER ENTRIES-FILE [--no-compression],
    // the entries one a line: the window's build of its project as it is in
    // memory, saved or not.
    int BuildFiles(const QStringList& arguments);

    // With --machine, listings and build logs go out as protocol lines.
    void SetMachineChannel(MachineChannel* channel) { machine = channel; }

private:
    bool RequireLibrary(const char* verb);
    bool RequireArchive(const char* verb, const QString& archive);
    bool Confirm(const QString& question);

    const CarvestoneSettings& settings;
    QTextStream& in;
    QTextStream& out;
    QTextStream& err;
    int RunBuild(const ModBuilder::Request& request);

    MpqLibrary library;
    MachineChannel* machine = nullptr;
};
