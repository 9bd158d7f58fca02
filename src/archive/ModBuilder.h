#pragma once

#include "MpqLibrary.h"
#include "model/ProjectTarget.h"

#include <QString>
#include <QStringList>

class BuildLog;

// The Build command's work without its window: a fresh copy of the game
// archive receives every MOD file and then takes the place of the MOD
// archive.  The copy is made under a temporary name in the MOD archive's
// folder, so a build that cannot run to the end leaves the previous MOD
// archive exactly as it was; the log says why in a line of its own.  A
// remaster project's build is RemasterModBuilder's.
class ModBuilder
{
public:
    struct Request
    {
        QString gameMpqPath;
        // What the build makes: the MOD archive, or for the remaster the mod
        // folder (RemasterModLayout::BuiltFolder).
        QString archivePath;
        QString modFolder;
        QStringList entries;
        bool compress = true;
        // The names the game archive may hold (ProgramFolder + AllFiles.txt):
        // archives that keep no names of their own need them to be updated.
        QString listingPath;
        BuildTarget target = BuildTarget::ClassicPatchArchive;
        // The remaster's extracted data, whose spelling of names the mod
        // folder takes (none: the entries' own).
        QString gameDataPath = {};
    };

    // The MOD archive of a project: its folder, then its title up to the
    // last ".", then ".mpq".  Empty when the title has no ".".  The one rule
    // Build, Install and the command line share.
    static QString ArchivePathFor(const QString& projectFolder, const QString& title);
    // The same for a project file's path.
    static QString ArchivePathForProject(const QString& projectPath);
    // Build is offered when the library loads, a game archive is chosen, the
    // project has files and no other archive operation is running.
    static bool CanBuild(MpqLibrary& library, const QString& gameMpqPath, int entryCount);
    // A remaster build needs neither the library nor a game archive.
    static bool CanBuildRemaster(int entryCount);

    static BuildOutcome Build(MpqLibrary& library, const Request& request, BuildLog& log);
};
