#pragma once

#include "Command.h"

class ProjectModel;

// A verb that works on a project file: it reads the project first and says
// why when it cannot.
class ProjectCommand : public Command
{
protected:
    using Command::Command;

    bool LoadProject(const QString& path, ProjectModel& project, CommandContext& context) const;
};
