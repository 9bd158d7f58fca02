#include "BuildCommand.h"

#include "core/CarvestoneSettings.h"
#include "model/ProjectModel.h"

BuildCommand::BuildCommand()
    : ArchiveCommand(QStringLiteral("build"), QStringLiteral("PROJECT"), 1, 1,
                     QStringLiteral("Builds the MOD archive of the project file PROJECT: a copy of the game archive "
                                    "in the project's folder, named after the project, with every MOD file added; "
                                    "one log line a file."),
                     {{QStringLiteral("game-mpq"), QStringLiteral("PATH"),
                       QStringLiteral("the game archive (default: the one in Carvestone's options)")},
                      {QStringLiteral("no-compression"), {}, QStringLiteral("store the MOD's files uncompressed")}})
{
}

int BuildCommand::Execute(const QCommandLineParser& parsed, CommandContext& context)
{
    if (!RequireLibrary(context)) {
        Fail(context, QStringLiteral("nothing was built"));
        return Failure;
    }
    ProjectModel project;
    if (!LoadProject(parsed.positionalArguments()[0], project, context))
        return Failure;
    const CarvestoneSettings& settings = context.settings;
    ModBuilder::Request request;
    request.gameMpqPath =
        parsed.isSet(QStringLiteral("game-mpq")) ? parsed.value(QStringLiteral("game-mpq")) : settings.GameMpqPath;
    request.archivePath = ModBuilder::ArchivePathFor(project.ProjectFolder(), project.Title());
    request.modFolder = project.ProjectFolder();
    request.entries = project.FileList();
    request.compress = settings.UseCompression && !parsed.isSet(QStringLiteral("no-compression"));
    request.listingPath = settings.ListingFilePath();
    if (request.gameMpqPath.isEmpty()) {
        Fail(context, QStringLiteral("no game archive: give --game-mpq PATH or choose one in Carvestone's options"));
        return Failure;
    }
    if (request.archivePath.isEmpty()) {
        Fail(context, QStringLiteral("the project's file name %1 has no \".\"").arg(project.Title()));
        return Failure;
    }
    return RunBuild(request, context);
}
