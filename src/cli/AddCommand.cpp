#include "AddCommand.h"

#include "core/TerminalText.h"
#include "model/ProjectModel.h"

AddCommand::AddCommand()
    : EntryEditCommand(QStringLiteral("add"), QStringLiteral("PROJECT ENTRY..."), 2, -1,
                       QStringLiteral("Adds each ENTRY (an archive name such as data\\global\\excel\\weapons.txt) "
                                      "to the project file PROJECT; the file itself is the MOD folder's file of that "
                                      "name part."))
{
}

bool AddCommand::CheckNames(const QStringList& entries, CommandContext& context) const
{
    for (const QString& argument : entries) {
        if (!ProjectModel::CanHoldEntry(TerminalText::NameFromTerminal(argument))) {
            Fail(context, QStringLiteral("\"%1\" cannot be an entry: it is empty, starts with \";\", holds a line "
                                         "break or a character the project file cannot store; nothing was changed")
                              .arg(argument));
            return false;
        }
    }
    return true;
}

bool AddCommand::Change(ProjectModel& project, const QString& entry, const QString& argument,
                        CommandContext& context) const
{
    if (project.AddFile(entry))
        return true;
    context.out << argument << " is already in the project\n";
    return false;
}
