#include "ListCommand.h"

#include "archive/MachineChannel.h"
#include "archive/MpqLibrary.h"
#include "core/CarvestoneSettings.h"
#include "core/TerminalText.h"

#include <QDir>
#include <QFile>

ListCommand::ListCommand()
    : ArchiveCommand(QStringLiteral("list"), QStringLiteral("ARCHIVE"), 1, 1,
                     QStringLiteral("Prints the names of the listing file that the MPQ archive ARCHIVE holds, one a "
                                    "line, in the listing's order."),
                     {{QStringLiteral("listing"), QStringLiteral("FILE"),
                       QStringLiteral("the listing file (default: AllFiles.txt beside the program)")}})
{
}

int ListCommand::Execute(const QCommandLineParser& parsed, CommandContext& context)
{
    const QString archive = parsed.positionalArguments()[0];
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
    for (const QString& name : names) {
        if (context.machine)
            context.machine->Name(name);
        else
            context.out << TerminalText::NameForTerminal(name) << "\n";
    }
    return Success;
}
