#include "RemoveCommand.h"

#include "model/ProjectModel.h"

RemoveCommand::RemoveCommand()
    : EntryEditCommand(QStringLiteral("remove"), QStringLiteral("PROJECT ENTRY..."), 2, -1,
                       QStringLiteral("Takes each ENTRY out of the project file PROJECT; the MOD folder's files "
                                      "stay where they are."))
{
}

void RemoveCommand::Change(ProjectModel& project, const QString& entry, const QString& argument,
                           CommandContext& context) const
{
    if (!project.RemoveFile(entry))
        context.out << argument << " is not in the project\n";
}
