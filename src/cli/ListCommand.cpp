#include "ListCommand.h"

#include "archive/GameDataFolder.h"
#include "archive/MachineChannel.h"
#include "archive/MpqLibrary.h"
#include "core/CarvestoneSettings.h"
#include "core/TerminalText.h"
#include "model/ExtractedDataRule.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

ListCommand::ListCommand()
    : ArchiveCommand(QStringLiteral("list"), QStringLiteral("ARCHIVE"), 1, 1,
                     QStringLiteral("Prints the names of the listing file that the MPQ archive ARCHIVE holds, one a "
                                    "line, in the listing's order; or, when ARCHIVE is a folder of extracted game "
                                    "data (holding data/), the archive name of every file under it, sorted."),
                     {{QStringLiteral("listing"), QStringLiteral("FILE"),
                       QStringLiteral("the listing file (default: AllFiles.txt beside the program)")}})
{
}

int ListCommand::Execute(const QCommandLineParser& parsed, CommandContext& context)
{
    const QString archive = parsed.positionalArguments()[0];
    if (QFileInfo(archive).isDir())
        return ListFolder(archive, context);
    const QString listing = parsed.isSet(QStringLiteral("listing")) ? parsed.value(QStringLiteral("listing"))
                                                                     : context.settings.ListingFilePath();
    if (!RequireLibrary(context) || !RequireArchive(archive, context))
        return Failure;
    QFile listingFile(listing);
    if (!listingFile.open(QIODevice::ReadOnly)) {
        Fail(context, QStringLiteral("cannot read the listing file %1: %2")
                          .arg(QDir::toNativeSeparators(listing), listingFile.errorString()));
        return Failure;
    }
    QStringList names;
    context.library.ReadListing(archive, listing, names, context.machine);
    Print(names, context);
    return Success;
}

int ListCommand::ListFolder(const QString& folder, CommandContext& context) const
{
    const QString problem = ExtractedDataRule::Problem(folder);
    if (!problem.isEmpty()) {
        Fail(context, problem);
        return Failure;
    }
    int skipped = 0;
    Print(GameDataFolder::List(folder, context.machine, &skipped), context);
    // The window reads a listing's names, never its remarks.
    if (skipped > 0 && !context.machine)
        context.err << "list: " << skipped
                    << " files were left out: links, or names the game's archives cannot hold\n";
    return Success;
}

void ListCommand::Print(const QStringList& names, CommandContext& context)
{
    for (const QString& name : names) {
        if (context.machine)
            context.machine->Name(name);
        else
            context.out << TerminalText::NameForTerminal(name) << "\n";
    }
}
