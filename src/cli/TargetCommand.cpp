#include "TargetCommand.h"

#include "model/ProjectModel.h"
#include "model/ProjectTarget.h"

#include <QDir>

TargetCommand::TargetCommand()
    : ProjectCommand(QStringLiteral("target"), QStringLiteral("PROJECT [classic|remaster]"), 1, 2,
                     QStringLiteral("Prints the game the project file PROJECT is built for: classic (a patch "
                                    "archive) or remaster (a mod folder); given a word, records it instead, in the "
                                    "file beside the project file."))
{
}

int TargetCommand::Execute(const QCommandLineParser& parsed, CommandContext& context)
{
    const QStringList arguments = parsed.positionalArguments();
    ProjectModel project;
    if (!LoadProject(arguments[0], project, context))
        return Failure;
    if (arguments.size() == 1) {
        if (!project.TargetProblem().isEmpty()) {
            Fail(context, project.TargetProblem());
            return Failure;
        }
        context.out << ProjectTarget::Word(project.Target()) << "\n";
        return Success;
    }
    BuildTarget target = BuildTarget::ClassicPatchArchive;
    if (!ProjectTarget::FromWord(arguments[1], target)) {
        context.err << Name() << ": \"" << arguments[1] << "\" is no game: say classic or remaster\n"
                    << "usage: carvestone-cli " << Synopsis() << "\n";
        return UsageError;
    }
    QString error;
    if (!ProjectTarget::Write(project.Path(), target, &error)) {
        Fail(context, error);
        return Failure;
    }
    return Success;
}
