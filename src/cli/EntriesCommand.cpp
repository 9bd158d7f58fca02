#include "EntriesCommand.h"

#include "core/TerminalText.h"
#include "model/ProjectModel.h"

EntriesCommand::EntriesCommand()
    : ProjectCommand(QStringLiteral("entries"), QStringLiteral("PROJECT"), 1, 1,
                     QStringLiteral("Prints the MOD entries of the project file PROJECT, one a line, in the "
                                    "project's order."))
{
}

int EntriesCommand::Execute(const QCommandLineParser& parsed, CommandContext& context)
{
    ProjectModel project;
    if (!LoadProject(parsed.positionalArguments()[0], project, context))
        return Failure;
    for (const QString& entry : project.FileList())
        context.out << TerminalText::NameForTerminal(entry) << "\n";
    return Success;
}
