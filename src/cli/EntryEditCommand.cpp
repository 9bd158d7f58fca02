#include "EntryEditCommand.h"

#include "core/TerminalText.h"
#include "model/ProjectModel.h"

bool EntryEditCommand::CheckNames(const QStringList&, CommandContext&) const
{
    return true;
}

int EntryEditCommand::Execute(const QCommandLineParser& parsed, CommandContext& context)
{
    ProjectModel project;
    const QStringList arguments = parsed.positionalArguments();
    if (!LoadProject(arguments[0], project, context))
        return Failure;
    const QStringList names = arguments.mid(1);
    if (!CheckNames(names, context))
        return Failure;
    for (const QString& argument : names)
        Change(project, TerminalText::NameFromTerminal(argument), argument, context);
    QString error;
    if (project.IsModified() && !project.Write(project.Path(), error)) {
        Fail(context, error);
        return Failure;
    }
    return Success;
}
