#pragma once

#include "EntryEditCommand.h"

// add PROJECT ENTRY... [--from ARCHIVE]: adds MOD entries to the project
// file; with --from, each entry's file is first extracted from the archive
// into the MOD folder and kept as the file's original, as the Add File
// dialog does.
class AddCommand : public EntryEditCommand
{
public:
    AddCommand();

protected:
    int Execute(const QCommandLineParser& parsed, CommandContext& context) override;
    bool CheckNames(const QStringList& entries, CommandContext& context) const override;
    void Change(ProjectModel& project, const QString& entry, const QString& argument,
                CommandContext& context) const override;

private:
    // Extracts the entry's file and keeps it as the original; false after
    // saying why it could not.
    bool Extract(const ProjectModel& project, const QString& entry, CommandContext& context) const;

    QString fromArchive;
    mutable bool extractionFailed = false;
};
