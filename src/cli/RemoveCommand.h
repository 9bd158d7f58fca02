#pragma once

#include "EntryEditCommand.h"

// remove PROJECT ENTRY...: takes MOD entries out of the project file.
class RemoveCommand : public EntryEditCommand
{
public:
    RemoveCommand();

protected:
    void Change(ProjectModel& project, const QString& entry, const QString& argument,
                CommandContext& context) const override;
};
