#include "ProjectCommand.h"

#include "model/ProjectModel.h"

bool ProjectCommand::LoadProject(const QString& path, ProjectModel& project, CommandContext& context) const
{
    QString error;
    if (project.Load(path, error))
        return true;
    Fail(context, error);
    return false;
}
