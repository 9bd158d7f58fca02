#pragma once

#include "ProjectCommand.h"

#include "archive/ModBuilder.h"

// A verb that works on archives: it needs the archive library, checks an
// archive before the library sees it, and builds with a log on the
// terminal (or on the machine channel for the window).
class ArchiveCommand : public ProjectCommand
{
protected:
    using ProjectCommand::ProjectCommand;

    bool RequireLibrary(CommandContext& context) const;
    bool RequireArchive(const QString& archive, CommandContext& context) const;
    int RunBuild(const ModBuilder::Request& request, CommandContext& context) const;
    // The entries a window's build hands over in a file, one a line.
    bool ReadEntriesFile(const QString& path, QStringList& entries, CommandContext& context) const;
    // A project whose target could not be read is not built or installed:
    // the wrong game's build would look like success.
    bool RequireKnownTarget(const ProjectModel& project, CommandContext& context) const;
};
