#include "BuildFilesCommand.h"

#include "core/CarvestoneSettings.h"

BuildFilesCommand::BuildFilesCommand()
    : ArchiveCommand(QStringLiteral("build-files"), QStringLiteral("GAME-MPQ ARCHIVE MOD-FOLDER ENTRIES-FILE"), 4, 4,
                     QStringLiteral("Builds ARCHIVE from a copy of GAME-MPQ with the files of MOD-FOLDER that "
                                    "ENTRIES-FILE names, one entry a line."),
                     {{QStringLiteral("no-compression"), {}, QStringLiteral("store the MOD's files uncompressed")},
                      {QStringLiteral("listing"), QStringLiteral("FILE"),
                       QStringLiteral("the listing file (default: AllFiles.txt beside the program)")}})
{
}

int BuildFilesCommand::Execute(const QCommandLineParser& parsed, CommandContext& context)
{
    if (!RequireLibrary(context)) {
        Fail(context, QStringLiteral("nothing was built"));
        return Failure;
    }
    const QStringList arguments = parsed.positionalArguments();
    ModBuilder::Request request;
    request.gameMpqPath = arguments[0];
    request.archivePath = arguments[1];
    request.modFolder = arguments[2];
    request.compress = !parsed.isSet(QStringLiteral("no-compression"));
    request.listingPath = parsed.isSet(QStringLiteral("listing")) ? parsed.value(QStringLiteral("listing"))
                                                                   : context.settings.ListingFilePath();
    if (!ReadEntriesFile(arguments[3], request.entries, context))
        return Failure;
    return RunBuild(request, context);
}
