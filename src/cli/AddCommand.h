#pragma once

#include "EntryEditCommand.h"

// add PROJECT ENTRY...: adds MOD entries to the project file.
class AddCommand : public EntryEditCommand
{
public:
    AddCommand();

protected:
    bool CheckNames(const QStringList& entries, CommandContext& context) const override;
    bool Change(ProjectModel& project, const QString& entry, const QString& argument,
                CommandContext& context) const override;
};
