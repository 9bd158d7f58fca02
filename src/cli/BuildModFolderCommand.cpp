#include "BuildModFolderCommand.h"

BuildModFolderCommand::BuildModFolderCommand()
    : ArchiveCommand(QStringLiteral("build-mod-folder"), QStringLiteral("FOLDER MOD-FOLDER ENTRIES-FILE"), 3, 3,
                     QStringLiteral("Builds the remaster mod folder FOLDER (its name is the mod's) with the files of "
                                    "MOD-FOLDER that ENTRIES-FILE names, one entry a line."),
                     {{QStringLiteral("game-data"), QStringLiteral("DIR"),
                       QStringLiteral("the remaster's extracted data, whose spelling of names the mod takes")}})
{
}

int BuildModFolderCommand::Execute(const QCommandLineParser& parsed, CommandContext& context)
{
    const QStringList arguments = parsed.positionalArguments();
    ModBuilder::Request request;
    request.target = BuildTarget::RemasterModFolder;
    request.archivePath = arguments[0];
    request.modFolder = arguments[1];
    request.gameDataPath = parsed.value(QStringLiteral("game-data"));
    if (!ReadEntriesFile(arguments[2], request.entries, context))
        return Failure;
    return RunBuild(request, context);
}
