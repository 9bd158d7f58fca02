#pragma once

#include "ArchiveCommand.h"

// What add and remove share: read the project, change its entry list, and
// write the project file back only when it changed.  (On ArchiveCommand:
// add may extract the files from an archive.)
class EntryEditCommand : public ArchiveCommand
{
protected:
    using ArchiveCommand::ArchiveCommand;

    int Execute(const QCommandLineParser& parsed, CommandContext& context) override;
    // False (after saying why) when the names cannot all be taken.
    virtual bool CheckNames(const QStringList& entries, CommandContext& context) const;
    // Changes the project for one entry; when nothing changes, a line on out
    // says why (an entry already there or not there is no failure).
    virtual void Change(ProjectModel& project, const QString& entry, const QString& argument,
                        CommandContext& context) const = 0;
};
