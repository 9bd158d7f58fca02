#include "BuildCommand.h"

#include "archive/RemasterModLayout.h"
#include "core/CarvestoneSettings.h"
#include "model/ExtractedDataRule.h"
#include "model/ProjectModel.h"

#include <QDir>

BuildCommand::BuildCommand()
    : ArchiveCommand(QStringLiteral("build"), QStringLiteral("PROJECT"), 1, 1,
                     QStringLiteral("Builds the project file PROJECT for the game it is for, one log line a file. "
                                    "Classic: a copy of the game archive in the project's folder, named after the "
                                    "project, with every MOD file added. Remaster: the mod folder NAME in the "
                                    "project's folder, holding NAME.mpq/modinfo.json and every MOD file at its "
                                    "archive name."),
                     {{QStringLiteral("game-mpq"), QStringLiteral("PATH"),
                       QStringLiteral("classic: the game archive (default: the one in Carvestone's options)")},
                      {QStringLiteral("game-data"), QStringLiteral("DIR"),
                       QStringLiteral("remaster: the extracted game data whose spelling of names the mod takes "
                                      "(default: the one in Carvestone's options)")},
                      {QStringLiteral("no-compression"), {}, QStringLiteral("store the MOD's files uncompressed")}})
{
}

int BuildCommand::Execute(const QCommandLineParser& parsed, CommandContext& context)
{
    ProjectModel project;
    if (!LoadProject(parsed.positionalArguments()[0], project, context) || !RequireKnownTarget(project, context))
        return Failure;
    // Both builds are named after the project's file name up to its last ".".
    if (RemasterModLayout::ModName(project.Title()).isEmpty()) {
        Fail(context, QStringLiteral("the project's file name %1 has no \".\"").arg(project.Title()));
        return Failure;
    }
    // The other game's option is a mistake in the call, not something to ignore.
    const bool remaster = project.Target() == BuildTarget::RemasterModFolder;
    const QString otherGames = remaster ? QStringLiteral("game-mpq") : QStringLiteral("game-data");
    if (parsed.isSet(otherGames)) {
        Fail(context, remaster ? QStringLiteral("%1 is a remaster MOD, built without the game's archive: give "
                                                "--game-data DIR, not --game-mpq")
                                     .arg(project.Title())
                               : QStringLiteral("%1 is a classic MOD, built on the game's archive: give --game-mpq "
                                                "PATH, not --game-data")
                                     .arg(project.Title()));
        return Failure;
    }
    return remaster ? BuildRemaster(parsed, project, context) : BuildClassic(parsed, project, context);
}

int BuildCommand::BuildClassic(const QCommandLineParser& parsed, const ProjectModel& project,
                               CommandContext& context) const
{
    if (!RequireLibrary(context)) {
        Fail(context, QStringLiteral("nothing was built"));
        return Failure;
    }
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
    return RunBuild(request, context);
}

int BuildCommand::BuildRemaster(const QCommandLineParser& parsed, const ProjectModel& project,
                                CommandContext& context) const
{
    ModBuilder::Request request;
    request.target = BuildTarget::RemasterModFolder;
    request.archivePath = RemasterModLayout::BuiltFolder(project.ProjectFolder(), project.Title());
    request.modFolder = project.ProjectFolder();
    request.entries = project.FileList();
    if (parsed.isSet(QStringLiteral("game-data"))) {
        request.gameDataPath = QDir::fromNativeSeparators(parsed.value(QStringLiteral("game-data")));
        const QString problem = ExtractedDataRule::Problem(request.gameDataPath);
        if (!problem.isEmpty()) {
            Fail(context, problem);
            return Failure;
        }
    } else if (ExtractedDataRule::IsExtractedData(context.settings.RemasterDataPath)) {
        // The options' folder gives the names their spelling when it is
        // there; a MOD builds without it, in its entries' own spelling.
        request.gameDataPath = context.settings.RemasterDataPath;
    }
    return RunBuild(request, context);
}
